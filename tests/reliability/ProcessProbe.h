#pragma once

#include <QList>
#include <QString>

// What this test process holds open, counted from /proc, and the editor
// processes it started (found by the work directory on their command line,
// which is this test program's own directory).
class ProcessProbe
{
public:
    struct Snapshot {
        int fds = 0;
        int threads = 0;
        int editors = 0;
    };

    // Of this process, or of the process `pid`.
    static int openFileDescriptors(qint64 pid = 0);
    static qint64 residentKiB(qint64 pid = 0);
    // The IPv4 port the process listens on; 0 when none. For this process
    // it allocates nothing.
    static quint16 listeningPort(qint64 pid = 0);
    // The uid= argument of the editor started with port=<port>.
    static QString editorUidOnPort(quint16 port);
    // Editors whose command line carries work=<this program's directory>.
    static QList<qint64> editorPids();
    static Snapshot snapshot();
    // Polls until the counts are back at `baseline` (or at most `timeoutMs`).
    static Snapshot settleTo(const Snapshot& baseline, int timeoutMs = 5000);
    // A saved console file is either absent or whole, alone in its folder.
    static bool wholeOrAbsent(const QString& path);
};
