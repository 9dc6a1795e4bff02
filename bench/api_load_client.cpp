// The client side of the HTTP load benchmark (bench/api_load.cpp): sends count sequential GET requests, each on
// a new connection, reads each answer to the end, checks it, and prints one line of figures.
//
//   api_load_client <port> <path> <count>
//   -> requests=10000 failed=0 seconds=1.23 p50_us=110 p99_us=250 max_us=900
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// One request on a new connection; true when a complete 200 answer came back.
bool fetch(const sockaddr_in& address, const std::string& request, std::string& buffer)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
              ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size());
    buffer.clear();
    char chunk[65536];
    while (ok) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        buffer.append(chunk, size_t(n));
    }
    ::close(fd);
    if (!ok || buffer.compare(0, 15, "HTTP/1.1 200 OK") != 0)
        return false;
    const size_t blank = buffer.find("\r\n\r\n");
    const size_t length = buffer.find("Content-Length: ");
    if (blank == std::string::npos || length == std::string::npos || length > blank)
        return false;
    return std::strtoull(buffer.c_str() + length + 16, nullptr, 10) == buffer.size() - blank - 4;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: api_load_client <port> <path> <count>\n");
        return 2;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(std::atoi(argv[1])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string request = std::string("GET ") + argv[2] + " HTTP/1.1\r\nHost: localhost\r\n\r\n";
    const int count = std::atoi(argv[3]);

    std::vector<double> latencies;
    latencies.reserve(size_t(count));
    std::string buffer;
    int failed = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        const Clock::time_point before = Clock::now();
        if (!fetch(address, request, buffer))
            ++failed;
        latencies.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies.empty() ? 0.0 : latencies[size_t(q * (latencies.size() - 1))]; };
    std::printf("requests=%d failed=%d seconds=%.4f p50_us=%.1f p99_us=%.1f max_us=%.1f\n", count, failed, seconds,
                at(0.50), at(0.99), latencies.empty() ? 0.0 : latencies.back());
    return failed == 0 ? 0 : 1;
}
