#pragma once

#include <QList>
#include <QString>

// What a process holds open, counted from /proc, and the editor processes
// this test program started (found by the work directory on their command
// line, which is this program's own directory). A pid of 0 is this process.
namespace ProcessProbe {

struct Snapshot {
    int fds = 0;
    int threads = 0;
    int editors = 0;
};

int openFileDescriptors(qint64 pid = 0);
qint64 residentKiB(qint64 pid);
// The IPv4 port the process listens on; 0 when none.
quint16 listeningPort(qint64 pid = 0);
// The uid= argument of the editor started with port=<port>.
QString editorUidOnPort(quint16 port);
QList<qint64> editorPids();
Snapshot snapshot();
// Polls until the counts are back at `baseline` (or at most `timeoutMs`).
Snapshot settleTo(const Snapshot& baseline, int timeoutMs = 5000);
// A saved console file is either absent or whole, alone in its folder.
bool wholeOrAbsent(const QString& path);

} // namespace ProcessProbe
