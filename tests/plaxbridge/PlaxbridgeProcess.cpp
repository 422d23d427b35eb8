#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QProcessEnvironment>

QStringList PlaxbridgeProcess::Result::outLines() const
{
    QStringList lines = out.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString PlaxbridgeProcess::binDir()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("QORA_BIN_DIR"));
}

namespace {

QString programDirectory;

} // namespace

QString PlaxbridgeProcess::program()
{
    return QDir(programDirectory.isEmpty() ? binDir() : programDirectory).filePath(QStringLiteral("plaxbridge"));
}

void PlaxbridgeProcess::setProgramDirectory(const QString& directory)
{
    programDirectory = directory;
}

void PlaxbridgeProcess::start(QProcess& process, const QStringList& arguments,
                              const QStringList& environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& entry : environment) {
        const int eq = entry.indexOf(QLatin1Char('='));
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process.setProcessEnvironment(env);
    process.setProgram(program());
    process.setArguments(arguments);
    process.start();
    process.waitForStarted(10000);
}

PlaxbridgeProcess::Result PlaxbridgeProcess::finish(QProcess& process, int timeoutMs)
{
    Result result;
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

PlaxbridgeProcess::Result PlaxbridgeProcess::run(const QStringList& arguments,
                                                 const QByteArray& input, int timeoutMs,
                                                 const QStringList& environment)
{
    QProcess process;
    start(process, arguments, environment);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    return finish(process, timeoutMs);
}

PlaxbridgeProcess::Result PlaxbridgeProcess::shell(const QStringList& lines, int timeoutMs)
{
    return run({QStringLiteral("shell")}, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
               timeoutMs);
}
