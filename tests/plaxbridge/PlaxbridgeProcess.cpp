#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

QString programDirectory;

} // namespace

QStringList PlaxbridgeProcess::Result::outLines() const
{
    QStringList lines = out.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::string PlaxbridgeProcess::Result::show() const
{
    return "exit " + std::to_string(exitCode) + "\nstdout:\n" + out.toStdString() + "\nstderr:\n"
           + err.right(3000).toStdString();
}

void PlaxbridgeProcess::setProgramDirectory(const QString& directory)
{
    programDirectory = directory;
}

void PlaxbridgeProcess::start(QProcess& process, const QStringList& arguments, const QStringList& environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.setProgram(QDir(programDirectory.isEmpty() ? binDir() : programDirectory).filePath("plaxbridge"));
    process.setArguments(arguments);
    process.start();
    process.waitForStarted(10000);
}

PlaxbridgeProcess::Result PlaxbridgeProcess::finish(QProcess& process, int timeoutMs)
{
    Result result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
    }
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

PlaxbridgeProcess::Result PlaxbridgeProcess::run(const QStringList& arguments, const QByteArray& input,
                                                 int timeoutMs, const QStringList& environment)
{
    QProcess process;
    start(process, arguments, environment);
    process.write(input);
    process.closeWriteChannel();
    return finish(process, timeoutMs);
}

PlaxbridgeProcess::Result PlaxbridgeProcess::shell(const QStringList& lines)
{
    return run({QStringLiteral("shell")}, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QStringList entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

void expectShell(const QList<QPair<QString, QString>>& rows)
{
    QStringList calls;
    for (const auto& row : rows)
        calls << row.first;
    const auto r = PlaxbridgeProcess::shell(calls);
    EXPECT_EQ(r.exitCode, 0) << r.show();
    EXPECT_FALSE(r.err.contains("###QORA:")) << "the plug-in's log without -v: " << r.show();
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), rows.size()) << r.show();
    for (int i = 0; i < rows.size(); ++i) {
        const QString& expected = rows[i].second;
        if (expected.endsWith("..."))
            EXPECT_TRUE(lines[i].startsWith(expected.chopped(3))) << rows[i].first.toStdString() << ": " << lines[i].toStdString();
        else
            EXPECT_EQ(lines[i], expected) << rows[i].first.toStdString();
    }
}
