#include "ProcessProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QThread>

#include <unistd.h>

namespace ProcessProbe {
namespace {

int entries(const QString& path) { return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(); }

QString proc(qint64 pid, const char* item)
{
    return QStringLiteral("/proc/%1/%2").arg(pid ? QString::number(pid) : QStringLiteral("self"), QLatin1String(item));
}

// Other processes with `marker` among their arguments (a zombie has none):
// by default the editors started from this program's directory.
QList<QPair<qint64, QList<QByteArray>>> editors(const QByteArray& marker = "work=" + QCoreApplication::applicationDirPath().toLocal8Bit())
{
    QList<QPair<qint64, QList<QByteArray>>> found;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(name));
        const qint64 pid = name.toLongLong();
        if (pid && pid != QCoreApplication::applicationPid() && cmdline.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> args = cmdline.readAll().split('\0');
            if (args.contains(marker))
                found.append(qMakePair(pid, args));
        }
    }
    return found;
}

} // namespace

int openFileDescriptors(qint64 pid) { return entries(proc(pid, "fd")); }

qint64 residentKiB(qint64 pid)
{
    QFile statm(proc(pid, "statm"));
    const qint64 pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() : 0;
    return pages * (sysconf(_SC_PAGESIZE) / 1024);
}

quint16 listeningPort(qint64 pid)
{
    // The process's sockets by inode, matched against the listening entries
    // of the kernel's table ("st" 0A).
    QSet<QByteArray> inodes;
    const QString fdDir = proc(pid, "fd");
    for (const QString& fd : QDir(fdDir).entryList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(fdDir + QLatin1Char('/') + fd);
        if (target.contains(QLatin1String("socket:[")))
            inodes.insert(target.section(QLatin1Char('['), 1).chopped(1).toLatin1());
    }
    QFile table(proc(pid, "net/tcp"));
    table.open(QIODevice::ReadOnly);
    for (const QByteArray& line : table.readAll().split('\n').mid(1)) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 9 && fields[3] == "0A" && inodes.contains(fields[9]))
            return static_cast<quint16>(fields[1].mid(fields[1].indexOf(':') + 1).toUInt(nullptr, 16));
    }
    return 0;
}

QString editorUidOnPort(quint16 port)
{
    for (const QByteArray& arg : editors("port=" + QByteArray::number(port)).value(0).second) {
        if (arg.startsWith("uid="))
            return QString::fromUtf8(arg.mid(4));
    }
    return QString();
}

QList<qint64> editorPids()
{
    QList<qint64> pids;
    for (const auto& editor : editors())
        pids << editor.first;
    return pids;
}

Snapshot snapshot() { return Snapshot{openFileDescriptors(), entries(QStringLiteral("/proc/self/task")), int(editors().size())}; }

Snapshot settleTo(const Snapshot& baseline, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    Snapshot now = snapshot();
    while (timer.elapsed() < timeoutMs && (now.fds > baseline.fds || now.threads > baseline.threads || now.editors > baseline.editors)) {
        QThread::msleep(20);
        QCoreApplication::processEvents();
        now = snapshot();
    }
    return now;
}

bool wholeOrAbsent(const QString& path)
{
    const QFileInfo info(path);
    if (info.absoluteDir().entryList(QDir::Files) != (info.exists() ? QStringList{info.fileName()} : QStringList()))
        return false;
    QFile file(path);
    return !info.exists()
        || (file.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(file.readAll()).object().value("format") == "KX9F");
}

} // namespace ProcessProbe
