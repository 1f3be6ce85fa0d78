// A hostile crowd against one chat server over loopback, every member inside the
// limits, beside legitimate users whose experience is measured:
// - legitimate users: each says one main-chat line a second, reads everything
//   and answers profile and version queries at once, as the program does;
// - attackers: each sends a burst of 20 lines of 1000 characters (the most one
//   receive notification may carry) every 1.25 s;
// - reflection pairs: both members ask the same legitimate user 20 questions
//   (version queries from one, profile queries from the other) every 1.25 s,
//   moving to another user each time;
// - slow readers that log in and never read, connections that never log in, and
//   connect/disconnect cycles.
// Reports the legitimate users dropped, the share of legitimate lines delivered
// to legitimate users, their latency, and the server's peak memory (VmHWM).
//
// Every connection binds its own 127.0.x.y source (never 127.0.0.1, the host).
// Attackers and questioners read and discard, so that they stay and keep going;
// one that is dropped anyway logs in again. Single-threaded, on its own epoll.
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
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

namespace {

using bench::NowNs;
using bench::ProcessSample;
using bench::RaiseFileLimit;
using bench::SampleProcess;

constexpr char kSep = '\xAC';
constexpr std::uint64_t kSecond = 1000000000ull;

struct Settings {
    int port = 5555;
    int serverPid = 0;
    int seconds = 20;
    int warmupSeconds = 3;
    int legit = 200;
    int attackers = 100;
    int pairs = 20;
    int slow = 50;
    int idle = 50;
    int churnPerSecond = 50;
    // Over the one-second flood period with room for the server's check to run
    // late under this load, so that two bursts never share one check.
    std::uint64_t burstPeriodNs = 1250000000ull;
};

enum class Role { Legit, Attacker, Questioner, Slow, Idle };

struct Conn {
    Role role = Role::Legit;
    int index = 0;  // within its role
    int fd = -1;
    int ownId = 0;
    bool loggedIn = false;
    bool dropped = false;  // the server closed it
    int reconnects = 0;
    std::string pending;  // unsent bytes
    std::string tail;     // unterminated received bytes
    std::uint64_t nextSendNs = 0;
    int bursts = 0;
};

// 127.0.<net>.<1..254>, one block of third bytes per role.
std::string SourceAddress(int net, int index) {
    return "127.0." + std::to_string(net + index / 254) + "." + std::to_string(index % 254 + 1);
}

int NetOf(Role role) {
    switch (role) {
        case Role::Legit: return 1;
        case Role::Attacker: return 10;
        case Role::Questioner: return 20;
        case Role::Slow: return 30;
        case Role::Idle: return 40;
    }
    return 50;
}

int OpenSocket(const std::string& source, int port, bool wait) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK), 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, source.c_str(), &local.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0 && errno != EINPROGRESS) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (wait) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

struct Stats {
    std::uint64_t legitLinesInWindow = 0;
    std::uint64_t deliveries = 0;  // legitimate lines to legitimate users, in the window
    std::vector<std::uint32_t> latencyUs;
    std::uint64_t answers = 0;  // queries answered by legitimate users
    std::uint64_t queriesSent = 0;
    std::uint64_t attackLines = 0;
    std::uint64_t churnCycles = 0;
};

bool measuring = false;
std::uint64_t measureStartNs = 0;
std::vector<char> legitIds(1001, 0);

void Flush(Conn& c) { bench::FlushPending(c.fd, c.pending); }

void Queue(Conn& c, const std::string& text) {
    c.pending.append(text);
    c.pending.push_back('\0');
}

void HandleMessage(Conn& c, const char* m, std::size_t len, Stats& stats) {
    if (len < 2) return;
    if (m[0] == '0' && m[1] == '0') {
        // UserEntry; the own one ends with flag "1".
        if (m[len - 1] == '1') {
            c.loggedIn = true;
            c.ownId = std::atoi(m + 2);
        }
        return;
    }
    if (c.role != Role::Legit) return;
    if (m[0] == '0' && m[1] == '4') {
        const char* sep = static_cast<const char*>(std::memchr(m, kSep, len));
        if (!sep || sep + 3 > m + len || sep[1] != '0' || sep[2] != 'L' || !measuring) return;
        int sender = std::atoi(m + 2);
        if (sender < 1 || sender > 1000 || !legitIds[static_cast<std::size_t>(sender)]) return;
        std::uint64_t sent = std::strtoull(sep + 3, nullptr, 10);
        if (sent < measureStartNs) return;
        ++stats.deliveries;
        stats.latencyUs.push_back(static_cast<std::uint32_t>((NowNs() - sent) / 1000));
        return;
    }
    // Queries are answered at once, the requester id copied as received.
    std::string requester(m + 2, len - 2);
    if (m[0] == '1' && m[1] == '1') {
        std::string reply = "10" + requester;
        for (const char* field : {"legit", "legit@example.org", "Land", "http://example.org", "chatting", "x",
                                  "1.1.2000", "http://example.org/p.bmp", "Available"}) {
            reply += kSep;
            reply += field;
        }
        Queue(c, reply);
        ++stats.answers;
    } else if (m[0] == '1' && m[1] == '5') {
        Queue(c, "14" + requester + kSep + "1.17");
        ++stats.answers;
    }
}

// False when the server closed the connection.
bool ReadConn(Conn& c, Stats& stats, std::vector<char>& buffer) {
    for (;;) {
        ssize_t n = ::recv(c.fd, buffer.data(), buffer.size(), 0);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        std::size_t size = static_cast<std::size_t>(n);
        // Attackers and questioners need only their own entry, which comes first.
        if (c.role == Role::Legit || !c.loggedIn) {
            std::size_t start = 0;
            while (start < size) {
                const char* zero = static_cast<const char*>(std::memchr(buffer.data() + start, 0, size - start));
                if (!zero) break;
                std::size_t end = static_cast<std::size_t>(zero - buffer.data());
                if (c.tail.empty()) {
                    HandleMessage(c, buffer.data() + start, end - start, stats);
                } else {
                    c.tail.append(buffer.data() + start, end - start);
                    HandleMessage(c, c.tail.data(), c.tail.size(), stats);
                    c.tail.clear();
                }
                start = end + 1;
            }
            c.tail.append(buffer.data() + start, size - start);
            if (c.tail.size() > (1u << 20)) c.tail.clear();
        }
        if (size < buffer.size()) return true;
    }
}

Settings ParseArguments(int argc, char** argv) {
    Settings s;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        int value = std::atoi(argv[i + 1]);
        if (key == "--port") s.port = value;
        if (key == "--server-pid") s.serverPid = value;
        if (key == "--seconds") s.seconds = value;
        if (key == "--warmup") s.warmupSeconds = value;
        if (key == "--legit") s.legit = value;
        if (key == "--attackers") s.attackers = value;
        if (key == "--pairs") s.pairs = value;
        if (key == "--slow") s.slow = value;
        if (key == "--idle") s.idle = value;
        if (key == "--churn") s.churnPerSecond = value;
    }
    s.seconds = std::clamp(s.seconds, 1, 600);
    return s;
}

// A generator that fell behind must not catch up with bursts closer together
// than one period: that would be a flood, not an attack inside the limits.
std::uint64_t NextBurst(std::uint64_t due, std::uint64_t now, std::uint64_t period) {
    return std::max(due + period, now + period);
}

const char* RoleName(Role role) {
    switch (role) {
        case Role::Legit: return "legit";
        case Role::Attacker: return "atk";
        case Role::Questioner: return "ask";
        case Role::Slow: return "slow";
        case Role::Idle: return "idle";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings = ParseArguments(argc, argv);
    RaiseFileLimit();
    ProcessSample atStart = SampleProcess(settings.serverPid);
    int epoll = epoll_create1(EPOLL_CLOEXEC);
    Stats stats;

    std::vector<Conn> conns;
    auto add = [&](Role role, int count) {
        for (int i = 0; i < count; ++i) {
            Conn c;
            c.role = role;
            c.index = i;
            conns.push_back(c);
        }
    };
    add(Role::Legit, settings.legit);
    add(Role::Attacker, settings.attackers);
    add(Role::Questioner, 2 * settings.pairs);
    add(Role::Slow, settings.slow);
    add(Role::Idle, settings.idle);

    auto open = [&](std::size_t k) -> bool {
        Conn& c = conns[k];
        c.fd = OpenSocket(SourceAddress(NetOf(c.role), c.index), settings.port, true);
        if (c.fd < 0) return false;
        c.loggedIn = false;
        c.tail.clear();
        c.pending.clear();
        if (c.role != Role::Slow && c.role != Role::Idle) {
            epoll_event ev{};
            ev.events = EPOLLIN;
            ev.data.u64 = k;
            epoll_ctl(epoll, EPOLL_CTL_ADD, c.fd, &ev);
        }
        if (c.role != Role::Idle) {
            Queue(c, "00" + std::string(RoleName(c.role)) + std::to_string(c.index) + kSep);
            Flush(c);
        }
        return true;
    };
    for (std::size_t k = 0; k < conns.size(); ++k) {
        if (!open(k)) {
            std::fprintf(stderr, "connection %zu could not connect: %s\n", k, std::strerror(errno));
            return 1;
        }
    }

    std::vector<char> buffer(256 * 1024);
    std::vector<epoll_event> events(1024);
    auto closeConn = [&](Conn& c) {
        epoll_ctl(epoll, EPOLL_CTL_DEL, c.fd, nullptr);
        ::close(c.fd);
        c.fd = -1;
    };
    auto pump = [&](int timeoutMs) {
        int n = epoll_wait(epoll, events.data(), static_cast<int>(events.size()), timeoutMs);
        for (int e = 0; e < n; ++e) {
            std::size_t k = events[static_cast<std::size_t>(e)].data.u64;
            Conn& c = conns[k];
            if (c.fd < 0 || ReadConn(c, stats, buffer)) continue;
            closeConn(c);
            if (c.role == Role::Legit) {
                c.dropped = true;  // stays gone: it is what the benchmark counts
            } else {
                // The log-in counts too: the next burst waits for a fresh period.
                ++c.reconnects;
                open(k);
                c.nextSendNs = NowNs() + settings.burstPeriodNs;
            }
        }
    };

    // Log-in: every reading connection learns its own id.
    std::uint64_t deadline = NowNs() + 120 * kSecond;
    auto allIn = [&] {
        return std::all_of(conns.begin(), conns.end(),
                           [](const Conn& c) { return c.role == Role::Slow || c.role == Role::Idle || c.loggedIn; });
    };
    while (NowNs() < deadline && !allIn()) pump(50);
    std::vector<int> legitTargets;
    for (const Conn& c : conns) {
        if (c.role == Role::Legit && c.loggedIn) {
            legitIds[static_cast<std::size_t>(c.ownId)] = 1;
            legitTargets.push_back(c.ownId);
        }
    }
    if (legitTargets.size() != static_cast<std::size_t>(settings.legit)) {
        std::fprintf(stderr, "only %zu of %d legitimate users logged in\n", legitTargets.size(), settings.legit);
        return 1;
    }
    for (std::uint64_t settle = NowNs() + kSecond; NowNs() < settle;) pump(20);
    ProcessSample afterLogin = SampleProcess(settings.serverPid);

    std::uint64_t start = NowNs();
    ProcessSample generatorStart = SampleProcess(static_cast<int>(getpid()));
    for (Conn& c : conns) {
        std::uint64_t period = c.role == Role::Legit ? kSecond : settings.burstPeriodNs;
        std::size_t ofRole = c.role == Role::Legit        ? settings.legit
                             : c.role == Role::Attacker   ? settings.attackers
                             : c.role == Role::Questioner ? settings.pairs
                                                          : 1;
        // A pair's two members ask at the same moment.
        std::size_t slot =
            c.role == Role::Questioner ? static_cast<std::size_t>(c.index / 2) : static_cast<std::size_t>(c.index);
        c.nextSendNs = start + period * slot / std::max<std::size_t>(ofRole, 1);
    }
    std::uint64_t warmupEnd = start + static_cast<std::uint64_t>(settings.warmupSeconds) * kSecond;
    std::uint64_t sendEnd = warmupEnd + static_cast<std::uint64_t>(settings.seconds) * kSecond;
    std::uint64_t drainEnd = sendEnd + 3 * kSecond;
    const std::string attackLine = "020A" + std::string(999, 'a');
    std::deque<std::pair<std::uint64_t, int>> churn;  // close time, fd
    std::uint64_t nextChurnNs = start;
    int churnIndex = 0;
    ProcessSample measureStart{};

    std::uint64_t lastLoopNs = NowNs(), mostLagNs = 0;
    while (true) {
        std::uint64_t now = NowNs();
        if (measuring) mostLagNs = std::max(mostLagNs, now - lastLoopNs);
        lastLoopNs = now;
        if (!measuring && now >= warmupEnd) {
            measuring = true;
            measureStartNs = now;
            measureStart = SampleProcess(settings.serverPid);
        }
        if (now >= drainEnd) break;
        if (now < sendEnd) {
            for (Conn& c : conns) {
                if (c.fd < 0 || c.nextSendNs > now || !c.loggedIn) continue;
                if (c.role == Role::Legit) {
                    Queue(c, "020L" + std::to_string(now));
                    if (measuring) ++stats.legitLinesInWindow;
                    c.nextSendNs += kSecond;
                } else if (c.role == Role::Attacker) {
                    for (int i = 0; i < 20; ++i) Queue(c, attackLine);
                    stats.attackLines += 20;
                    c.nextSendNs = NextBurst(c.nextSendNs, now, settings.burstPeriodNs);
                } else if (c.role == Role::Questioner) {
                    int pair = c.index / 2;
                    int target =
                        legitTargets[static_cast<std::size_t>(pair + settings.pairs * c.bursts) % legitTargets.size()];
                    const char* code = c.index % 2 == 0 ? "13" : "09";
                    for (int i = 0; i < 20; ++i) Queue(c, code + std::to_string(target));
                    stats.queriesSent += 20;
                    ++c.bursts;
                    c.nextSendNs = NextBurst(c.nextSendNs, now, settings.burstPeriodNs);
                }
            }
            for (; nextChurnNs <= now; nextChurnNs += kSecond / static_cast<std::uint64_t>(settings.churnPerSecond)) {
                int fd = OpenSocket(SourceAddress(NetOf(Role::Idle) + 10, churnIndex++ % 254), settings.port, false);
                if (fd >= 0) churn.emplace_back(now + 10000000ull, fd), ++stats.churnCycles;
            }
        }
        while (!churn.empty() && (churn.front().first <= now || now >= sendEnd)) {
            ::close(churn.front().second);
            churn.pop_front();
        }
        for (Conn& c : conns)
            if (!c.pending.empty()) Flush(c);
        pump(1);
    }
    ProcessSample atEnd = SampleProcess(settings.serverPid);
    ProcessSample generatorEnd = SampleProcess(static_cast<int>(getpid()));

    int legitDropped = 0, attackerDrops = 0, questionerDrops = 0;
    for (const Conn& c : conns) {
        if (c.role == Role::Legit) legitDropped += c.dropped ? 1 : 0;
        if (c.role == Role::Attacker) attackerDrops += c.reconnects;
        if (c.role == Role::Questioner) questionerDrops += c.reconnects;
    }
    double expected = static_cast<double>(stats.legitLinesInWindow) * (settings.legit - 1);
    std::sort(stats.latencyUs.begin(), stats.latencyUs.end());
    auto percentile = [&](double p) -> double {
        if (stats.latencyUs.empty()) return 0;
        return stats.latencyUs[static_cast<std::size_t>(p * static_cast<double>(stats.latencyUs.size() - 1))] / 1000.0;
    };
    std::printf(
        "crowd              %d legitimate, %d attackers, %d reflection pairs, %d slow readers, "
        "%d never logging in, %d connect/disconnect per s\n",
        settings.legit, settings.attackers, settings.pairs, settings.slow, settings.idle, settings.churnPerSecond);
    std::printf("legit dropped      %d\n", legitDropped);
    std::printf("legit delivered    %.2f%% (%llu of %.0f)\n", expected > 0 ? 100.0 * stats.deliveries / expected : 0.0,
                static_cast<unsigned long long>(stats.deliveries), expected);
    std::printf("legit latency      p50 %.1f ms, p99 %.1f ms, max %.1f ms\n", percentile(0.50), percentile(0.99),
                percentile(1.0));
    std::printf("attack             %llu long lines, %llu queries (%llu answered), %llu connect/disconnect cycles\n",
                static_cast<unsigned long long>(stats.attackLines), static_cast<unsigned long long>(stats.queriesSent),
                static_cast<unsigned long long>(stats.answers), static_cast<unsigned long long>(stats.churnCycles));
    std::printf("generator          longest loop turn %.1f ms, CPU %.1f s\n", static_cast<double>(mostLagNs) / 1e6,
                generatorEnd.cpuSeconds - generatorStart.cpuSeconds);
    std::printf("attackers dropped  %d (logged in again), questioners dropped %d\n", attackerDrops, questionerDrops);
    if (settings.serverPid > 0) {
        std::printf("server memory      peak %.1f MiB (RSS %.1f MiB at start, %.1f after log-in, %.1f at the end)\n",
                    atEnd.peakKiB / 1024.0, atStart.rssKiB / 1024.0, afterLogin.rssKiB / 1024.0, atEnd.rssKiB / 1024.0);
        std::printf("server CPU         %.1f s in %d s, and %.1f s runnable but waiting for a CPU\n",
                    atEnd.cpuSeconds - measureStart.cpuSeconds, settings.seconds + 3,
                    atEnd.runQueueSeconds - measureStart.runQueueSeconds);
    }
    for (Conn& c : conns)
        if (c.fd >= 0) ::close(c.fd);
    ::close(epoll);
    return legitDropped == 0 ? 0 : 2;
}
