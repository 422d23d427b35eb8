#include "EditorWatch.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <chrono>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The parent's pid from /proc/PID/stat; the command name before it may
// hold blanks and parentheses, so the fields are counted after the last ')'.
pid_t parentOf(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? static_cast<pid_t>(fields.at(1).toLong()) : -1;
}

bool isEditor(const QString& pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(QByteArray("uid=", 4));
}

} // namespace

void EditorWatch::adoptOrphans()
{
    ::prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
}

EditorWatch::~EditorWatch()
{
    // Time for a healthy editor to end once the plug-in has let it go.
    release(2000);
}

bool EditorWatch::start()
{
    if (m_pid > 0)
        return true;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const pid_t pid = static_cast<pid_t>(entry.toLong(&number));
        if (number && parentOf(entry) == ::getpid() && isEditor(entry)) {
            m_pid = pid;
            break;
        }
    }
    if (m_pid <= 0)
        return false;
    m_thread = std::thread([this] {
        // Reaped only under the lock, so that release() never signals a
        // process id that has been handed out again.
        siginfo_t info = {};
        while (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        int status = 0;
        struct rusage usage = {};
        m_status = ::wait4(m_pid, &status, 0, &usage) == m_pid ? status : 0;
        m_cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                       + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        m_maxRssKiB = usage.ru_maxrss;
        m_exited = true;
        m_changed.notify_all();
    });
    return true;
}

bool EditorWatch::exited() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exited;
}

bool EditorWatch::waitForExit(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_pid <= 0)
        return false;
    return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_exited; });
}

bool EditorWatch::usage(double& cpuSeconds, long& maxRssKiB) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_exited)
        return false;
    cpuSeconds = m_cpuSeconds;
    maxRssKiB = m_maxRssKiB;
    return true;
}

QString EditorWatch::cause() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_exited)
        return QString();
    if (WIFSIGNALED(m_status))
        return QStringLiteral("exited (signal %1)").arg(WTERMSIG(m_status));
    return QStringLiteral("exited (status %1)").arg(WEXITSTATUS(m_status));
}

void EditorWatch::release(int graceMs)
{
    if (m_pid <= 0)
        return;
    // A stopped editor ignores everything but SIGKILL.
    if (!waitForExit(graceMs)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_exited)
            ::kill(m_pid, SIGKILL);
    }
    if (m_thread.joinable())
        m_thread.join();
    m_pid = -1;
}
