#include "ProcessProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringList>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size();
}

// The arguments of every other process with `marker` among them; by default
// the editors started from this program's directory.
QList<QPair<qint64, QList<QByteArray>>> editors(
    const QByteArray& marker = "work=" + QCoreApplication::applicationDirPath().toLocal8Bit())
{
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

QString proc(qint64 pid, const char* item)
{
    return pid ? QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(item))
               : QStringLiteral("/proc/self/%1").arg(QLatin1String(item));
}

} // namespace

int ProcessProbe::openFileDescriptors(qint64 pid)
{
    return entries(proc(pid, "fd"));
}

qint64 ProcessProbe::residentKiB(qint64 pid)
{
    QFile statm(proc(pid, "statm"));
    const qint64 pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() : 0;
    return pages * (sysconf(_SC_PAGESIZE) / 1024);
}

quint16 ProcessProbe::listeningPort(qint64 pid)
{
    // Our own sockets are asked directly: quick, and nothing is allocated.
    for (int fd = 0; !pid && fd < 1024; ++fd) {
        int listening = 0;
        socklen_t size = sizeof listening;
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) == 0 && listening
            && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 && address.sin_family == AF_INET)
            return ntohs(address.sin_port);
    }
    if (!pid)
        return 0;
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

QString ProcessProbe::editorUidOnPort(quint16 port)
{
    for (const auto& editor : editors("port=" + QByteArray::number(port)))
        return QString::fromUtf8(argument(editor.second, "uid"));
    return QString();
}

QList<qint64> ProcessProbe::editorPids()
{
    QList<qint64> pids;
    for (const auto& editor : editors())
        pids << editor.first;
    return pids;
}

ProcessProbe::Snapshot ProcessProbe::snapshot()
{
    Snapshot s;
    s.fds = openFileDescriptors();
    s.threads = entries(QStringLiteral("/proc/self/task"));
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

bool ProcessProbe::wholeOrAbsent(const QString& path)
{
    const QFileInfo info(path);
    if (info.absoluteDir().entryList(QDir::Files) != (info.exists() ? QStringList{info.fileName()} : QStringList()))
        return false;
    QFile file(path);
    return !info.exists()
        || (file.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(file.readAll()).object().value("format") == "KX9F");
}
