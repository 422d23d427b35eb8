#include "ProcessProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QThread>

namespace {

int entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size();
}

// The arguments of every editor started from this program's directory.
QList<QPair<qint64, QList<QByteArray>>> editors()
{
    const QByteArray marker = QByteArray("work=") + QCoreApplication::applicationDirPath().toLocal8Bit();
    const qint64 self = QCoreApplication::applicationPid();
    QList<QPair<qint64, QList<QByteArray>>> found;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : pids) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(name));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        // A zombie's command line is empty: it is gone for our purposes.
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        if (args.contains(marker))
            found.append(qMakePair(pid, args));
    }
    return found;
}

QByteArray argument(const QList<QByteArray>& args, const QByteArray& key)
{
    for (const QByteArray& arg : args) {
        if (arg.startsWith(key + "="))
            return arg.mid(key.size() + 1);
    }
    return QByteArray();
}

} // namespace

int ProcessProbe::openFileDescriptors()
{
    return entries(QStringLiteral("/proc/self/fd"));
}

int ProcessProbe::threads()
{
    return entries(QStringLiteral("/proc/self/task"));
}

QList<qint64> ProcessProbe::editorPids()
{
    QList<qint64> pids;
    for (const auto& editor : editors())
        pids << editor.first;
    return pids;
}

QList<QString> ProcessProbe::editorUids()
{
    QList<QString> uids;
    for (const auto& editor : editors())
        uids << QString::fromUtf8(argument(editor.second, "uid"));
    return uids;
}

quint16 ProcessProbe::editorPort()
{
    for (const auto& editor : editors())
        return static_cast<quint16>(argument(editor.second, "port").toUInt());
    return 0;
}

ProcessProbe::Snapshot ProcessProbe::snapshot()
{
    Snapshot s;
    s.fds = openFileDescriptors();
    s.threads = threads();
    s.editors = editorPids().size();
    return s;
}

ProcessProbe::Snapshot ProcessProbe::settleTo(const Snapshot& baseline, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    Snapshot now = snapshot();
    while (timer.elapsed() < timeoutMs
           && (now.fds > baseline.fds || now.threads > baseline.threads || now.editors > baseline.editors)) {
        QThread::msleep(20);
        QCoreApplication::processEvents();
        now = snapshot();
    }
    return now;
}
