#include "ConversionRun.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double cpuSeconds(const rusage& usage)
{
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long long summaryNumber(const QString& summary, const char* label)
{
    const QRegularExpression re(QStringLiteral("%1\\s+(\\d+)").arg(QLatin1String(label)));
    return re.match(summary).captured(1).toLongLong();
}

} // namespace

ConversionRun::Result ConversionRun::run(const QString& hostDir, const QString& source, const QString& output,
                                         const QStringList& environment)
{
    Result result;
    prctl(PR_SET_CHILD_SUBREAPER, 1);

    const QString summaryPath = output + QStringLiteral(".summary");
    const QByteArray program = QFile::encodeName(QDir(hostDir).filePath(QStringLiteral("plaxbridge")));
    const QByteArray src = QFile::encodeName(source);
    const QByteArray out = QFile::encodeName(output);
    const QByteArray summaryFile = QFile::encodeName(summaryPath);
    std::vector<QByteArray> env;
    for (const QString& entry : environment)
        env.push_back(entry.toLocal8Bit());

    // The child must not inherit unwritten output: it would write it again.
    std::fflush(nullptr);
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid < 0) {
        result.error = QStringLiteral("fork failed");
        return result;
    }
    if (pid == 0) {
        for (const QByteArray& entry : env)
            putenv(const_cast<char*>(entry.constData()));
        if (FILE* f = std::freopen(summaryFile.constData(), "w", stdout))
            (void)f;
        std::freopen("/dev/null", "w", stderr);
        execl(program.constData(), program.constData(), "convert", "--progress=none", src.constData(),
              out.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    result.seconds = clock.nsecsElapsed() / 1e9;
    result.maxRssPlaxbridgeKiB = usage.ru_maxrss;
    result.cpuPlaxbridgeSeconds = cpuSeconds(usage);

    // The editor leaves when plaxbridge lets it go; as our adopted child it
    // waits for us to collect its figures.
    for (int i = 0; i < 200; ++i) {
        int editorStatus = 0;
        rusage editor {};
        const pid_t gone = wait4(-1, &editorStatus, WNOHANG, &editor);
        if (gone > 0) {
            result.maxRssEditorKiB = std::max(result.maxRssEditorKiB, long(editor.ru_maxrss));
            result.cpuEditorSeconds += cpuSeconds(editor);
            continue;
        }
        if (gone < 0 && errno == ECHILD)
            break;
        QThread::msleep(10);
    }

    QFile summary(summaryPath);
    summary.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(summary.readAll());
    summary.remove();
    QFile::remove(output);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !text.contains(QStringLiteral("Converted"))) {
        result.error = QStringLiteral("plaxbridge convert failed (status %1)").arg(status);
        return result;
    }
    result.ok = true;
    result.editorCommands = summaryNumber(text, "editor commands");
    result.scenes = summaryNumber(text, "scenes");
    result.valuesWritten = summaryNumber(text, "values written");
    // plaxbridge waits for its editor itself, so the figures above hold
    // both processes; its summary tells them apart.
    const QRegularExpression cpu(QStringLiteral("CPU\\s+([\\d.]+) s, editor ([\\d.]+) s"));
    const QRegularExpression memory(QStringLiteral("peak memory\\s+([\\d.]+) MiB, editor ([\\d.]+) MiB"));
    const QRegularExpressionMatch cpuMatch = cpu.match(text);
    const QRegularExpressionMatch memoryMatch = memory.match(text);
    if (cpuMatch.hasMatch() && memoryMatch.hasMatch()) {
        result.cpuPlaxbridgeSeconds = cpuMatch.captured(1).toDouble();
        result.cpuEditorSeconds = cpuMatch.captured(2).toDouble();
        result.maxRssPlaxbridgeKiB = long(memoryMatch.captured(1).toDouble() * 1024);
        result.maxRssEditorKiB = long(memoryMatch.captured(2).toDouble() * 1024);
    }
    return result;
}
