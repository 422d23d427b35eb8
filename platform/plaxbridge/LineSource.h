#pragma once

#include <string>

// Reads lines from a file descriptor without blocking past an interrupt:
// it waits in short polls and gives up as soon as InterruptGuard reports a
// signal, whichever thread of the process received it.
class LineSource {
public:
    enum class Status { Line, End, Interrupted, Failed };

    explicit LineSource(int fd);

    // The next line without its line feed (and without a trailing carriage
    // return). The last line of the input may lack its line feed.
    Status next(std::string& line);

private:
    int m_fd;
    std::string m_buffer;
    bool m_eof = false;
};
