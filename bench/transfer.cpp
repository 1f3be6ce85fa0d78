// File transfer throughput: one file moved over loopback by two processes,
// first as a plain blocking socket copy (read 1 MiB, send; receive, write),
// then by two FileTransfers ("1 MB" buffer, the receiver listening, the
// sender connecting), and the throughput of the second against the first
// with the CPU seconds of each side.
// Usage: vorlan-transfer-bench --file PATH [--port N] [--runs N]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/EventLoop.h"
#include "transfer/FileTransfers.h"

namespace {

using namespace vorlan;
using namespace vorlan::transfer;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Result {
    double seconds = 0;
    double senderCpu = 0;
    double receiverCpu = 0;
    bool ok = false;
};

// ---- the plain copy -------------------------------------------------------------------

int ListenOn(int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 5) != 0) std::exit(2);
    return fd;
}

int ConnectTo(int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::exit(3);
    return fd;
}

Result PlainCopy(const std::string& source, const std::string& target, int port) {
    int ready[2], report[2];
    if (pipe(ready) != 0 || pipe(report) != 0) std::exit(4);
    const pid_t child = fork();
    if (child == 0) {
        const double cpu0 = CpuSeconds();
        int listener = ListenOn(port);
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        int fd = accept(listener, nullptr, nullptr);
        std::FILE* out = std::fopen(target.c_str(), "wb");
        std::vector<char> buffer(1 << 20);
        ssize_t n;
        while ((n = recv(fd, buffer.data(), buffer.size(), 0)) > 0) std::fwrite(buffer.data(), 1, n, out);
        std::fclose(out);
        double cpu = CpuSeconds() - cpu0;
        (void)!write(report[1], &cpu, sizeof cpu);
        _exit(0);
    }
    char byte;
    (void)!read(ready[0], &byte, 1);
    const double cpu0 = CpuSeconds();
    const std::uint64_t start = bench::NowNs();
    int fd = ConnectTo(port);
    std::FILE* in = std::fopen(source.c_str(), "rb");
    std::vector<char> buffer(1 << 20);
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        for (std::size_t sent = 0; sent < n;) {
            const ssize_t count = send(fd, buffer.data() + sent, n - sent, MSG_NOSIGNAL);
            if (count <= 0) std::exit(5);
            sent += static_cast<std::size_t>(count);
        }
    }
    std::fclose(in);
    shutdown(fd, SHUT_WR);
    char end;
    while (recv(fd, &end, 1, 0) > 0) {
    }
    close(fd);
    Result result;
    result.senderCpu = CpuSeconds() - cpu0;
    (void)!read(report[0], &result.receiverCpu, sizeof result.receiverCpu);
    int status = 0;
    waitpid(child, &status, 0);
    result.seconds = static_cast<double>(bench::NowNs() - start) / 1e9;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

// ---- the file transfer ------------------------------------------------------------------

struct Views : TransferWindowFactory {
    struct Window : TransferWindowView {
        std::string& status;
        explicit Window(std::string& s) : status(s) {}
        void SetCaption(const std::string&) override {}
        void SetIconsFor(const std::string&) override {}
        void SetStatus(const std::string& text) override { status = text; }
        void SetFileName(const std::string&) override {}
        void SetFileLocation(const std::string&) override {}
        void SetProgress(int) override {}
        void SetSpeed(const std::string&) override {}
        void SetDone(const std::string&) override {}
        void SetTotal(const std::string&) override {}
        void SetMiddleButton(const std::string&) override {}
        void SetThirdButton(const std::string&) override {}
        void Show() override {}
    };
    struct SendDialog : SendFileDialogView {
        SendFileDialogControl& control;
        std::string path;
        explicit SendDialog(SendFileDialogControl& c) : control(c) {}
        void SetCaption(const std::string&) override {}
        void SetToUser(const std::string&) override {}
        void SetFileSize(const std::string&) override {}
        void SetBufferSize(const std::string&) override {}
        void SetPortRange(const std::string&) override {}
        void SetSendMode(bool, bool) override {}
        void SetFileAddress(const std::string& text) override { path = text; }
        void SetStartFolder(const std::string&) override {}
        void FocusFileAddress() override {}
        void Show() override {}
        std::string BufferSizeText() const override { return "1 MB"; }
        std::string PortRangeText() const override { return "0"; }
        std::string FileAddressText() const override { return path; }
        bool IsClientChecked() const override { return true; }
        bool IsServerChecked() const override { return false; }
    };
    struct ReceiveDialog : ReceiveFileDialogView {
        ReceiveFileDialogControl& control;
        std::string saveTo, ports;
        explicit ReceiveDialog(ReceiveFileDialogControl& c) : control(c) {}
        void SetCaption(const std::string&) override {}
        void SetFromUser(const std::string&) override {}
        void SetReceiveMode(const std::string&) override {}
        void SetFileSize(const std::string&) override {}
        void SetPortRange(const std::string&, bool) override {}
        void SetSaveTo(const std::string& text) override { saveTo = text; }
        void SetStartFolder(const std::string&) override {}
        void FocusSaveTo() override {}
        void ShowMinimisedAndFlash() override {}
        std::string SaveToText() const override { return saveTo; }
        std::string PortRangeText() const override { return ports; }
    };
    std::string status;
    SendDialog* sendDialog = nullptr;
    ReceiveDialog* receiveDialog = nullptr;
    std::string ports;
    std::unique_ptr<SendFileDialogView> CreateSendFileDialog(SendFileDialogControl& c) override {
        auto dialog = std::make_unique<SendDialog>(c);
        sendDialog = dialog.get();
        return dialog;
    }
    std::unique_ptr<ReceiveFileDialogView> CreateReceiveFileDialog(ReceiveFileDialogControl& c) override {
        auto dialog = std::make_unique<ReceiveDialog>(c);
        dialog->ports = ports;
        receiveDialog = dialog.get();
        return dialog;
    }
    std::unique_ptr<FileExistsDialogView> CreateFileExistsDialog(FileExistsControl&) override { std::exit(6); }
    std::unique_ptr<TransferWindowView> CreateSendWindow(TransferWindowControl&) override {
        return std::make_unique<Window>(status);
    }
    std::unique_ptr<TransferWindowView> CreateReceiveWindow(TransferWindowControl&) override {
        return std::make_unique<Window>(status);
    }
    void OpenWithShell(const std::string&) override {}
};

struct Host : TransferHost, TransferNotices {
    storage::Options options;
    void SendControl(int, const std::string&) override {}
    std::string UserName(int) const override { return "peer"; }
    std::string ServerAddress() const override { return "127.0.0.1"; }
    storage::Options& Options() override { return options; }
    TransferNotices& Notices() override { return *this; }
    void Notice(const std::string&) override {}
    void FileDone(const std::string&, const std::string&) override {}
};

const std::string kSep = "\xAC";

Result FileTransfer(const std::string& source, const std::string& target, std::int64_t size, int port) {
    int ready[2], report[2];
    if (pipe(ready) != 0 || pipe(report) != 0) std::exit(4);
    std::remove(target.c_str());
    TransferTuning tuning;
    tuning.listenAddress = "127.0.0.1";
    const pid_t child = fork();
    if (child == 0) {
        const double cpu0 = CpuSeconds();
        Host host;
        Views views;
        views.ports = std::to_string(port);
        FileTransfers receiver(host, views, tuning);
        receiver.OnFileTransferControl("141" + kSep + "0" + kSep + "12" + std::to_string(size) + kSep + "x");
        views.receiveDialog->saveTo = target;
        views.receiveDialog->control.Accept();
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        const bool done =
            platform::EventLoop::RunUntil([&] { return views.status == "File transfer complete"; }, 600 * 1000);
        double cpu = CpuSeconds() - cpu0;
        (void)!write(report[1], &cpu, sizeof cpu);
        _exit(done ? 0 : 7);
    }
    char byte;
    (void)!read(ready[0], &byte, 1);
    const double cpu0 = CpuSeconds();
    const std::uint64_t start = bench::NowNs();
    Host host;
    Views views;
    FileTransfers sender(host, views, tuning);
    sender.StartSend(2, source);
    views.sendDialog->control.Send();
    sender.OnFileTransferControl("142" + kSep + "0" + kSep + "01127.0.0.1" + kSep + std::to_string(port) + kSep + "0");
    const bool sent =
        platform::EventLoop::RunUntil([&] { return views.status == "File transfer complete"; }, 600 * 1000);
    Result result;
    result.senderCpu = CpuSeconds() - cpu0;
    (void)!read(report[0], &result.receiverCpu, sizeof result.receiverCpu);
    int status = 0;
    waitpid(child, &status, 0);
    result.seconds = static_cast<double>(bench::NowNs() - start) / 1e9;
    result.ok = sent && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

bool SameFiles(const std::string& a, const std::string& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> p(1 << 20), q(1 << 20);
    while (x && y) {
        x.read(p.data(), static_cast<std::streamsize>(p.size()));
        y.read(q.data(), static_cast<std::streamsize>(q.size()));
        if (x.gcount() != y.gcount() || std::memcmp(p.data(), q.data(), static_cast<std::size_t>(x.gcount())) != 0)
            return false;
    }
    return x.eof() && y.eof();
}

}  // namespace

int main(int argc, char** argv) {
    std::string file;
    int port = 47600, runs = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--file") file = argv[i + 1];
        if (option == "--port") port = std::atoi(argv[i + 1]);
        if (option == "--runs") runs = std::atoi(argv[i + 1]);
    }
    std::ifstream probe(file, std::ios::binary | std::ios::ate);
    const std::int64_t size = probe ? static_cast<std::int64_t>(probe.tellg()) : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: vorlan-transfer-bench --file PATH [--port N] [--runs N]\n");
        return 1;
    }
    const double gib = static_cast<double>(size) / (1 << 30);
    const std::string target = file + ".received";
    std::vector<double> ratios, senderCpu, receiverCpu, copySenderCpu, copyReceiverCpu;
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    for (int run = 0; run < runs; ++run) {
        // Alternating the order, so that neither side always follows the other's writes.
        Result copy, transfer;
        if (run % 2 == 0) {
            copy = PlainCopy(file, target, port);
            transfer = FileTransfer(file, target, size, port + 1);
        } else {
            transfer = FileTransfer(file, target, size, port + 1);
            copy = PlainCopy(file, target, port);
        }
        const bool same = SameFiles(file, target);
        std::remove(target.c_str());
        auto line = [&](const char* name, const Result& r) {
            std::printf("%-14s %6.2f s %8.1f MiB/s  sender %.2f CPU s/GiB  receiver %.2f CPU s/GiB%s\n", name,
                        r.seconds, static_cast<double>(size) / (1 << 20) / r.seconds, r.senderCpu / gib,
                        r.receiverCpu / gib, r.ok ? "" : "  (FAILED)");
        };
        line("plain copy", copy);
        line("file transfer", transfer);
        std::printf("throughput ratio %.1f%%  received file %s\n", 100.0 * copy.seconds / transfer.seconds,
                    same ? "identical" : "DIFFERS");
        if (!copy.ok || !transfer.ok || !same) return 1;
        ratios.push_back(100.0 * copy.seconds / transfer.seconds);
        senderCpu.push_back(transfer.senderCpu / gib), receiverCpu.push_back(transfer.receiverCpu / gib);
        copySenderCpu.push_back(copy.senderCpu / gib), copyReceiverCpu.push_back(copy.receiverCpu / gib);
    }
    std::printf(
        "median of %d runs: throughput ratio %.1f%%; CPU s/GiB transfer sender %.2f receiver %.2f, "
        "plain copy sender %.2f receiver %.2f\n",
        runs, median(ratios), median(senderCpu), median(receiverCpu), median(copySenderCpu), median(copyReceiverCpu));
    return 0;
}
