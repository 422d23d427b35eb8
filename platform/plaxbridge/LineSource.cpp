#include "LineSource.h"

#include "InterruptGuard.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace {

constexpr int PollMilliseconds = 100;

} // namespace

LineSource::LineSource(int fd)
    : m_fd(fd)
{
}

LineSource::Status LineSource::next(std::string& line)
{
    for (;;) {
        if (InterruptGuard::interrupted())
            return Status::Interrupted;
        const std::size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            line.assign(m_buffer, 0, end);
            m_buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return Status::Line;
        }
        if (m_eof) {
            if (m_buffer.empty())
                return Status::End;
            line.swap(m_buffer);
            m_buffer.clear();
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return Status::Line;
        }
        pollfd p = {m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, PollMilliseconds);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Status::Failed;
        }
        if (ready == 0)
            continue;
        char chunk[4096];
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return Status::Failed;
        }
        if (n == 0)
            m_eof = true;
        else
            m_buffer.append(chunk, static_cast<std::size_t>(n));
    }
}
