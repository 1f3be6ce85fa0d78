// Logs N clients into a chat server over loopback and measures main-chat fan-out:
// offered lines/s, deliveries/s, the share delivered, delivery latency, and the
// server's CPU time and memory (read from /proc for the given server pid).
//
// Each client binds its own 127.0.x.y source address (never 127.0.0.1, which the
// server treats as the host), sends "020" lines at a fixed rate below the flood
// limit, and every receiver timestamps the deliveries it reads. The generator is
// deliberately independent of Vorlan's own event loop: it measures the server.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "BenchSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::NowNs;
using bench::ProcessSample;
using bench::RaiseFileLimit;
using bench::SampleProcess;

constexpr char kSep = '\xAC';

struct Settings {
    int clients = 100;
    double linesPerSecond = 1.0;  // per client
    int seconds = 10;
    int port = 5555;
    int serverPid = 0;
    int warmupSeconds = 2;
};

struct Client {
    int fd = -1;
    int index = 0;
    bool loggedIn = false;
    std::string pending;  // unsent bytes
    std::string tail;     // unterminated received bytes
    std::uint64_t nextSendNs = 0;
};

struct Stats {
    std::uint64_t linesSent = 0;
    std::uint64_t deliveries = 0;
    std::vector<std::uint32_t> latencyUs;  // sampled
    std::uint64_t sampleCounter = 0;
};

bool measuring = false;
std::uint64_t measureStartNs = 0;

std::string SourceAddress(int index) {
    // 127.0.1.1, 127.0.1.2, ... skipping .0 and .255 in the last byte.
    int host = index % 254 + 1;
    int net = index / 254 + 1;
    return "127.0." + std::to_string(net) + "." + std::to_string(host);
}

int ConnectClient(int index, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, SourceAddress(index).c_str(), &local.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

void Flush(Client& c) { bench::FlushPending(c.fd, c.pending); }

void Queue(Client& c, const std::string& text) {
    c.pending.append(text);
    c.pending.push_back('\0');
    Flush(c);
}

// A delivery is "04" id SEP "0" "L" sendTimeNs.
void HandleMessage(Client& c, const char* m, std::size_t len, Stats& stats) {
    if (len >= 2 && m[0] == '0' && m[1] == '0') {
        // UserEntry: the own entry ends with flag "1".
        if (m[len - 1] == '1') c.loggedIn = true;
        return;
    }
    if (len < 4 || m[0] != '0' || m[1] != '4') return;
    const char* sep = static_cast<const char*>(std::memchr(m, kSep, len));
    if (!sep || sep + 3 > m + len || sep[1] != '0' || sep[2] != 'L') return;
    if (!measuring) return;
    std::uint64_t sent = std::strtoull(sep + 3, nullptr, 10);
    if (sent < measureStartNs) return;
    ++stats.deliveries;
    if ((++stats.sampleCounter & 7) == 0) {
        stats.latencyUs.push_back(static_cast<std::uint32_t>((NowNs() - sent) / 1000));
    }
}

void ReadClient(Client& c, Stats& stats) {
    char buffer[65536];
    for (;;) {
        ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        std::size_t start = 0;
        std::size_t size = static_cast<std::size_t>(n);
        while (start < size) {
            const char* zero = static_cast<const char*>(std::memchr(buffer + start, 0, size - start));
            if (!zero) break;
            std::size_t end = static_cast<std::size_t>(zero - buffer);
            if (c.tail.empty()) {
                HandleMessage(c, buffer + start, end - start, stats);
            } else {
                c.tail.append(buffer + start, end - start);
                HandleMessage(c, c.tail.data(), c.tail.size(), stats);
                c.tail.clear();
            }
            start = end + 1;
        }
        c.tail.append(buffer + start, size - start);
        if (size < sizeof buffer) return;
    }
}

Settings ParseArguments(int argc, char** argv) {
    Settings s;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--clients")
            s.clients = std::atoi(value);
        else if (key == "--rate")
            s.linesPerSecond = std::atof(value);
        else if (key == "--seconds")
            s.seconds = std::atoi(value);
        else if (key == "--port")
            s.port = std::atoi(value);
        else if (key == "--server-pid")
            s.serverPid = std::atoi(value);
        else if (key == "--warmup")
            s.warmupSeconds = std::atoi(value);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings = ParseArguments(argc, argv);
    RaiseFileLimit();
    ProcessSample beforeLogin = SampleProcess(settings.serverPid);

    int epoll = epoll_create1(0);
    std::vector<Client> clients(static_cast<std::size_t>(settings.clients));
    for (int i = 0; i < settings.clients; ++i) {
        Client& c = clients[static_cast<std::size_t>(i)];
        c.index = i;
        c.fd = ConnectClient(i, settings.port);
        if (c.fd < 0) {
            std::fprintf(stderr, "client %d could not connect: %s\n", i, std::strerror(errno));
            return 1;
        }
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.u32 = static_cast<std::uint32_t>(i);
        epoll_ctl(epoll, EPOLL_CTL_ADD, c.fd, &ev);
        Queue(c, std::string("00load") + std::to_string(i) + kSep);
    }

    Stats stats;
    std::vector<epoll_event> events(1024);
    auto pump = [&](int timeoutMs) {
        int n = epoll_wait(epoll, events.data(), static_cast<int>(events.size()), timeoutMs);
        for (int k = 0; k < n; ++k) {
            Client& c = clients[events[static_cast<std::size_t>(k)].data.u32];
            ReadClient(c, stats);
        }
    };

    // Log-in: wait until every client learnt its own id and the join storm settled.
    std::uint64_t loginDeadline = NowNs() + 120ull * 1000000000ull;
    while (NowNs() < loginDeadline) {
        pump(50);
        if (std::all_of(clients.begin(), clients.end(), [](const Client& c) { return c.loggedIn; })) break;
    }
    int loggedIn =
        static_cast<int>(std::count_if(clients.begin(), clients.end(), [](const Client& c) { return c.loggedIn; }));
    std::uint64_t settle = NowNs() + 1000000000ull;
    while (NowNs() < settle) pump(50);
    ProcessSample afterLogin = SampleProcess(settings.serverPid);

    // Senders are spread evenly over one period so the offered load is smooth.
    std::uint64_t periodNs = static_cast<std::uint64_t>(1e9 / settings.linesPerSecond);
    std::uint64_t start = NowNs();
    for (auto& c : clients) c.nextSendNs = start + periodNs * static_cast<std::uint64_t>(c.index) / clients.size();
    std::uint64_t warmupEnd = start + static_cast<std::uint64_t>(settings.warmupSeconds) * 1000000000ull;
    std::uint64_t sendEnd = warmupEnd + static_cast<std::uint64_t>(settings.seconds) * 1000000000ull;
    std::uint64_t drainEnd = sendEnd + 3000000000ull;
    ProcessSample measureStart{};
    std::uint64_t linesInWindow = 0;

    while (true) {
        std::uint64_t now = NowNs();
        if (!measuring && now >= warmupEnd) {
            measuring = true;
            measureStartNs = now;
            measureStart = SampleProcess(settings.serverPid);
        }
        if (now >= drainEnd) break;
        if (now < sendEnd) {
            for (auto& c : clients) {
                if (c.nextSendNs > now) continue;
                Queue(c, "020L" + std::to_string(now));
                c.nextSendNs += periodNs;
                if (measuring) ++linesInWindow;
            }
        }
        for (auto& c : clients)
            if (!c.pending.empty()) Flush(c);
        pump(1);
    }
    ProcessSample measureEnd = SampleProcess(settings.serverPid);

    double expected = static_cast<double>(linesInWindow) * static_cast<double>(settings.clients - 1);
    std::sort(stats.latencyUs.begin(), stats.latencyUs.end());
    auto percentile = [&](double p) -> double {
        if (stats.latencyUs.empty()) return 0;
        std::size_t i = static_cast<std::size_t>(p * static_cast<double>(stats.latencyUs.size() - 1));
        return stats.latencyUs[i] / 1000.0;
    };
    double cpu = measureEnd.cpuSeconds - measureStart.cpuSeconds;
    double millions = static_cast<double>(stats.deliveries) / 1e6;
    std::printf("clients            %d (logged in %d)\n", settings.clients, loggedIn);
    std::printf("offered lines/s    %.0f\n", static_cast<double>(linesInWindow) / settings.seconds);
    std::printf("deliveries/s       %.0f\n", static_cast<double>(stats.deliveries) / settings.seconds);
    std::printf("delivered          %.2f%%\n",
                expected > 0 ? 100.0 * static_cast<double>(stats.deliveries) / expected : 0.0);
    std::printf("latency p50        %.1f ms\n", percentile(0.50));
    std::printf("latency p99        %.1f ms\n", percentile(0.99));
    if (settings.serverPid > 0) {
        std::printf("server CPU         %.2f s per million deliveries\n", millions > 0 ? cpu / millions : 0.0);
        std::printf("server memory      %.1f KiB per logged-in client (RSS %ld -> %ld KiB)\n",
                    loggedIn > 0 ? static_cast<double>(afterLogin.rssKiB - beforeLogin.rssKiB) / loggedIn : 0.0,
                    beforeLogin.rssKiB, afterLogin.rssKiB);
    }
    for (auto& c : clients) ::close(c.fd);
    ::close(epoll);
    return loggedIn == settings.clients ? 0 : 2;
}
