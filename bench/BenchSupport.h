// What the load generators share: a monotonic clock, the file limit, and a
// sample of the server process read from /proc.
#pragma once

#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

inline std::uint64_t NowNs() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Thousands of sockets need more than the default limit of open files.
inline void RaiseFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// Hands `pending` to the non-blocking socket until it is empty or refused.
inline void FlushPending(int fd, std::string& pending) {
    while (!pending.empty() && fd >= 0) {
        ssize_t n = ::send(fd, pending.data(), pending.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        pending.erase(0, static_cast<std::size_t>(n));
    }
}

struct ProcessSample {
    double cpuSeconds = 0;
    long rssKiB = 0;
    long peakKiB = 0;
    double runQueueSeconds = 0;  // runnable but waiting for a CPU
};

inline ProcessSample SampleProcess(int pid) {
    ProcessSample s;
    if (pid <= 0) return s;
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream stat(proc + "/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::size_t close = content.rfind(')');
    if (close != std::string::npos) {
        std::vector<std::string> fields;
        for (std::size_t pos = close + 2; pos < content.size();) {
            std::size_t next = content.find(' ', pos);
            if (next == std::string::npos) next = content.size();
            fields.push_back(content.substr(pos, next - pos));
            pos = next + 1;
        }
        if (fields.size() > 13) {
            double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
            s.cpuSeconds = (std::stod(fields[11]) + std::stod(fields[12])) / ticks;
        }
    }
    std::ifstream status(proc + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) s.rssKiB = std::atol(line.c_str() + 6);
        if (line.rfind("VmHWM:", 0) == 0) s.peakKiB = std::atol(line.c_str() + 6);
    }
    std::ifstream schedstat(proc + "/schedstat");
    double onCpuNs = 0, waitingNs = 0;
    if (schedstat >> onCpuNs >> waitingNs) s.runQueueSeconds = waitingNs / 1e9;
    return s;
}

}  // namespace bench
