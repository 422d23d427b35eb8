#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/types.h>

// Watches the editor that the plug-in starts. The plug-in starts it detached
// (its parent exits at once); as a child subreaper this process adopts it and
// waits for it on a thread of its own, and so tells an editor that ended,
// and how, from one that hangs, and leaves none behind.
class EditorWatch {
public:
    // Before the plug-in starts the editor.
    static void adoptOrphans();

    EditorWatch() = default;
    EditorWatch(const EditorWatch&) = delete;
    EditorWatch& operator=(const EditorWatch&) = delete;
    ~EditorWatch();

    // Once the editor has connected: finds it among this process's children
    // and starts waiting for it. False when there is none.
    bool start();
    bool exited() const;
    // The watched editor's process id; -1 when there is none.
    pid_t pid() const { return m_pid; }
    // Waits up to `ms` for the editor to end; true when it has. False at once
    // when no editor is watched.
    bool waitForExit(int ms);
    // "exited (signal 9)" or "exited (status 3)"; empty while it runs.
    QString cause() const;
    // Gives the editor `graceMs` to end, then kills it, and reaps it.
    void release(int graceMs);
    // The ended editor's CPU time (user + system) and peak resident memory;
    // false while it runs or when none was watched.
    bool usage(double& cpuSeconds, long& maxRssKiB) const;

private:
    pid_t m_pid = -1;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_exited = false;
    int m_status = 0;
    double m_cpuSeconds = 0.0;
    long m_maxRssKiB = 0;
};
