#include "BatchCommand.h"

#include "InterruptGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcess>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitInterrupted = 130;
constexpr int TerminateWaitMs = 60000;

struct Job {
    QString source;
    QString output;
    QStringList arguments;
    std::unique_ptr<QProcess> process;
    bool done = false;
    QString line;       // the setup's line of the final list
    QByteArray pending; // Json mode: standard error up to an unfinished line
    QString error;      // Json mode: the message of the child's error event
};

// Json mode: the child's events so far, tagged with its setup, on our
// standard error; lines that are not events pass as they are.
void relay(Job& job, bool last)
{
    job.pending += job.process->readAllStandardError();
    if (last && !job.pending.isEmpty() && !job.pending.endsWith('\n'))
        job.pending += '\n';
    int end;
    while ((end = job.pending.indexOf('\n')) >= 0) {
        const QByteArray line = job.pending.left(end);
        job.pending.remove(0, end + 1);
        QJsonObject event = line.startsWith('{') ? QJsonDocument::fromJson(line).object() : QJsonObject();
        if (event.isEmpty()) {
            std::fprintf(stderr, "%s\n", line.constData());
            continue;
        }
        if (event.value(QLatin1String("event")).toString() == QLatin1String("error"))
            job.error = event.value(QLatin1String("message")).toString();
        event.insert(QStringLiteral("setup"), job.source);
        std::fprintf(stderr, "%s\n", QJsonDocument(event).toJson(QJsonDocument::Compact).constData());
    }
    std::fflush(stderr);
}

// The child's own account of why it failed: its last message.
QString reasonOf(const QString& errors, int exitCode)
{
    const QStringList lines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = lines.size() - 1; i >= 0; --i) {
        QString line = lines.at(i).trimmed();
        if (line.startsWith(QLatin1String("plaxbridge convert: warning")))
            continue;
        line.remove(QStringLiteral("plaxbridge convert: "));
        line.remove(QStringLiteral("plaxbridge: "));
        if (!line.isEmpty())
            return line;
    }
    return QStringLiteral("exit status %1").arg(exitCode);
}

void finish(Job& job, bool json)
{
    job.done = true;
    QProcess& p = *job.process;
    if (json)
        relay(job, true);
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        job.line = QStringLiteral("ok      %1 -> %2").arg(job.source, job.output);
    else if (p.exitStatus() != QProcess::NormalExit)
        job.line = QStringLiteral("failed  %1: plaxbridge stopped unexpectedly").arg(job.source);
    else
        job.line = QStringLiteral("failed  %1: %2")
                       .arg(job.source, json ? (job.error.isEmpty() ? QStringLiteral("exit status %1").arg(p.exitCode())
                                                                    : job.error)
                                             : reasonOf(QString::fromLocal8Bit(p.readAllStandardError()), p.exitCode()));
}

} // namespace

BatchCommand::BatchCommand(Options options)
    : m_options(std::move(options))
{
}

int BatchCommand::run()
{
    const bool json = m_options.progress == ProgressReporter::Mode::Json;
    ProgressReporter progress(json ? ProgressReporter::Mode::Json : ProgressReporter::Mode::None);
    if (!QDir().mkpath(m_options.outDir)
        || (!m_options.reportDir.isEmpty() && !QDir().mkpath(m_options.reportDir))) {
        progress.error(QStringLiteral("cannot make the folder %1")
                           .arg(QDir().mkpath(m_options.outDir) ? m_options.reportDir : m_options.outDir));
        return ExitFailed;
    }

    std::vector<Job> jobs;
    QMap<QString, QString> byOutput;
    for (const QString& source : m_options.sources) {
        const QString name = QFileInfo(source).completeBaseName();
        Job job;
        job.source = source;
        job.output = QDir(m_options.outDir).filePath(name + QStringLiteral(".KX9F"));
        const QString key = QFileInfo(job.output).absoluteFilePath();
        if (byOutput.contains(key)) {
            progress.error(QStringLiteral("%1 and %2 would both be written to %3")
                               .arg(byOutput.value(key), source, job.output));
            return ExitUsage;
        }
        byOutput.insert(key, source);
        if (m_options.verbose)
            job.arguments << QStringLiteral("-v");
        job.arguments << QStringLiteral("convert")
                      << (json ? QStringLiteral("--progress=json") : QStringLiteral("--progress=none"));
        if (!m_options.reportDir.isEmpty()) {
            const QDir reports(m_options.reportDir);
            job.arguments << QStringLiteral("--report") << reports.filePath(name + QStringLiteral(".html"))
                          << QStringLiteral("--report") << reports.filePath(name + QStringLiteral(".json"));
        }
        job.arguments << source << job.output;
        jobs.push_back(std::move(job));
    }

    int next = 0;
    int running = 0;
    bool interrupted = false;
    while (next < int(jobs.size()) || running > 0) {
        while (!interrupted && running < m_options.jobs && next < int(jobs.size())) {
            Job& job = jobs[next++];
            job.process = std::make_unique<QProcess>();
            // Each child's summary would only repeat the final list.
            job.process->setStandardOutputFile(QProcess::nullDevice());
            if (m_options.verbose && !json)
                job.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            job.process->start(m_options.program, job.arguments);
            ++running;
        }
        for (Job& job : jobs) {
            if (!job.process || job.done)
                continue;
            if (job.process->state() == QProcess::NotRunning || job.process->waitForFinished(50)) {
                finish(job, json);
                --running;
            } else if (json) {
                relay(job, false);
            }
        }
        if (InterruptGuard::interrupted() && !interrupted) {
            interrupted = true;
            // Each child stops as after Ctrl-C: no output, its editor gone.
            for (Job& job : jobs) {
                if (job.process && !job.done)
                    job.process->terminate();
            }
            for (Job& job : jobs) {
                if (job.process && !job.done && !job.process->waitForFinished(TerminateWaitMs))
                    job.process->kill();
            }
        }
    }

    int failed = 0;
    for (Job& job : jobs) {
        if (job.line.isEmpty())
            job.line = QStringLiteral("skipped %1: interrupted").arg(job.source);
        if (!job.line.startsWith(QLatin1String("ok")))
            ++failed;
        std::printf("%s\n", qPrintable(job.line));
    }
    std::fflush(stdout);
    if (interrupted)
        return ExitInterrupted;
    return failed > 0 ? ExitFailed : ExitOk;
}
