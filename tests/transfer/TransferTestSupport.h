#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "client/ClientTestSupport.h"
#include "transfer/FileTransfers.h"
#include "transfer/SessionTransfers.h"
#include "transfer/TransferViews.h"

// Recording windows for the file transfers and a client that runs them.
namespace vorlan::transfer::test_support {

using client::test_support::WaitFor;

inline std::string Sep() { return std::string(1, '\xAC'); }

// Bytes that differ from block to block, so that a misplaced block shows.
inline std::string Pattern(std::size_t size, unsigned seed = 7) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) { return client::test_support::ReadFile(path); }

struct SendDialog : SendFileDialogView {
    SendFileDialogControl& control;
    std::string caption, toUser, fileSize, bufferSize = "64 KB", portRange = "0", fileAddress, startFolder;
    bool client = true, server = false, shown = false;
    int focused = 0;
    explicit SendDialog(SendFileDialogControl& c) : control(c) {}
    void SetCaption(const std::string& t) override { caption = t; }
    void SetToUser(const std::string& t) override { toUser = t; }
    void SetFileSize(const std::string& t) override { fileSize = t; }
    void SetBufferSize(const std::string& t) override { bufferSize = t; }
    void SetPortRange(const std::string& t) override { portRange = t; }
    void SetSendMode(bool c, bool s) override { client = c, server = s; }
    void SetFileAddress(const std::string& t) override { fileAddress = t; }
    void SetStartFolder(const std::string& t) override { startFolder = t; }
    void FocusFileAddress() override { ++focused; }
    void Show() override { shown = true; }
    std::string BufferSizeText() const override { return bufferSize; }
    std::string PortRangeText() const override { return portRange; }
    std::string FileAddressText() const override { return fileAddress; }
    bool IsClientChecked() const override { return client; }
    bool IsServerChecked() const override { return server; }
};

struct ReceiveDialog : ReceiveFileDialogView {
    ReceiveFileDialogControl& control;
    std::string caption, fromUser, mode, fileSize, portRange, saveTo, startFolder;
    bool portRow = false;
    int flashed = 0, focused = 0;
    explicit ReceiveDialog(ReceiveFileDialogControl& c) : control(c) {}
    void SetCaption(const std::string& t) override { caption = t; }
    void SetFromUser(const std::string& t) override { fromUser = t; }
    void SetReceiveMode(const std::string& t) override { mode = t; }
    void SetFileSize(const std::string& t) override { fileSize = t; }
    void SetPortRange(const std::string& t, bool visible) override { portRange = t, portRow = visible; }
    void SetSaveTo(const std::string& t) override { saveTo = t; }
    void SetStartFolder(const std::string& t) override { startFolder = t; }
    void FocusSaveTo() override { ++focused; }
    void ShowMinimisedAndFlash() override { ++flashed; }
    std::string SaveToText() const override { return saveTo; }
    std::string PortRangeText() const override { return portRange; }
};

struct ExistsDialog : FileExistsDialogView {
    FileExistsControl& control;
    int shown = 0;
    explicit ExistsDialog(FileExistsControl& c) : control(c) {}
    void ShowInFront() override { ++shown; }
};

struct Window : TransferWindowView {
    TransferWindowControl& control;
    std::string caption, icons, status, name, location, speed, done, total, middle, third;
    int progress = -1, captionChanges = 0;
    bool shown = false;
    explicit Window(TransferWindowControl& c) : control(c) {}
    void SetCaption(const std::string& t) override { caption = t, ++captionChanges; }
    void SetIconsFor(const std::string& t) override { icons = t; }
    void SetStatus(const std::string& t) override { status = t; }
    void SetFileName(const std::string& t) override { name = t; }
    void SetFileLocation(const std::string& t) override { location = t; }
    void SetProgress(int p) override { progress = p; }
    void SetSpeed(const std::string& t) override { speed = t; }
    void SetDone(const std::string& t) override { done = t; }
    void SetTotal(const std::string& t) override { total = t; }
    void SetMiddleButton(const std::string& t) override { middle = t; }
    void SetThirdButton(const std::string& t) override { third = t; }
    void Show() override { shown = true; }
};

// The windows a transfer service made, the newest last; a destroyed window's
// entry becomes null.
struct RecordingFactory : TransferWindowFactory {
    template <class T>
    struct Tracked : T {
        std::vector<T*>& list;
        std::size_t index;
        template <class C>
        Tracked(std::vector<T*>& l, C& control) : T(control), list(l), index(l.size()) {
            list.push_back(this);
        }
        ~Tracked() override { list[index] = nullptr; }
    };
    std::vector<SendDialog*> sendDialogs;
    std::vector<ReceiveDialog*> receiveDialogs;
    std::vector<ExistsDialog*> existsDialogs;
    std::vector<Window*> sendWindows, receiveWindows;
    std::vector<std::string> opened;
    bool outOfWindows = false;  // every Create fails, as when the system has no windows left

    template <class T, class View, class C>
    std::unique_ptr<View> Make(std::vector<T*>& list, C& control) {
        if (outOfWindows) return nullptr;
        return std::make_unique<Tracked<T>>(list, control);
    }
    std::unique_ptr<SendFileDialogView> CreateSendFileDialog(SendFileDialogControl& c) override {
        return Make<SendDialog, SendFileDialogView>(sendDialogs, c);
    }
    std::unique_ptr<ReceiveFileDialogView> CreateReceiveFileDialog(ReceiveFileDialogControl& c) override {
        return Make<ReceiveDialog, ReceiveFileDialogView>(receiveDialogs, c);
    }
    std::unique_ptr<FileExistsDialogView> CreateFileExistsDialog(FileExistsControl& c) override {
        return Make<ExistsDialog, FileExistsDialogView>(existsDialogs, c);
    }
    std::unique_ptr<TransferWindowView> CreateSendWindow(TransferWindowControl& c) override {
        return Make<Window, TransferWindowView>(sendWindows, c);
    }
    std::unique_ptr<TransferWindowView> CreateReceiveWindow(TransferWindowControl& c) override {
        return Make<Window, TransferWindowView>(receiveWindows, c);
    }
    void OpenWithShell(const std::string& path) override { opened.push_back(path); }
};

inline TransferTuning TestTuning() {
    TransferTuning tuning;
    tuning.speedMs = 50;
    tuning.keepAliveMs = 3600 * 1000;
    tuning.listenAddress = "127.0.0.1";
    return tuning;
}

// A chat client whose session hands its transfer steps to a real
// SessionTransfers over recording windows.
class TransferClient : public client::test_support::TestClient, public RecordingFactory {
public:
    std::unique_ptr<SessionTransfers> transfers;

    TransferClient(const std::string& folder, const std::string& name, std::uint16_t chatPort,
                   TransferTuning tuning = TestTuning())
        : TestClient(folder, [&](client::ClientSessionSettings& s) {
              s.profile.name = name;
              s.options.chatPort = chatPort;
          }) {
        transfers = std::make_unique<SessionTransfers>([this]() -> client::ClientSession& { return *session; },
                                                       static_cast<RecordingFactory&>(*this), tuning);
    }
    ~TransferClient() override { transfers.reset(); }

    void OnFileTransferControl(const std::string& message) override { transfers->OnFileTransferControl(message); }
    void CancelTransfersWith(int id) override { transfers->CancelTransfersWith(id); }
    void CancelAllPendingTransfers() override { transfers->CancelAllPendingTransfers(); }
};

}  // namespace vorlan::transfer::test_support
