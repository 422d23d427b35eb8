#include "LoopbackEcho.h"

#include "BenchStats.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

void noDelay(int fd)
{
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// Reads until a line feed; false on end of stream.
bool readLine(int fd, std::string& buffer)
{
    buffer.clear();
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        buffer.append(chunk, std::size_t(n));
        if (!buffer.empty() && buffer.back() == '\n')
            return true;
    }
}

bool writeAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

bool LoopbackEcho::measure(int roundTrips, int lineBytes, BenchStats& stats)
{
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (server < 0 || bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(server, 1) != 0 || getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return false;

    const pid_t child = fork();
    if (child == 0) {
        close(server);
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            _exit(1);
        noDelay(fd);
        std::string line;
        while (readLine(fd, line) && writeAll(fd, line)) {
        }
        _exit(0);
    }

    const int peer = accept(server, nullptr, nullptr);
    close(server);
    if (peer < 0)
        return false;
    noDelay(peer);

    std::string line(std::size_t(lineBytes > 1 ? lineBytes - 1 : 1), 'x');
    line.push_back('\n');
    std::string answer;
    bool ok = true;
    for (int i = 0; i < roundTrips && ok; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ok = writeAll(peer, line) && readLine(peer, answer);
        const auto end = std::chrono::steady_clock::now();
        stats.add(std::chrono::duration<double, std::micro>(end - start).count());
    }
    close(peer);
    waitpid(child, nullptr, 0);
    return ok;
}
