// Reads arbitrary bytes as a delivered file-transfer control ("14"): the
// parsers never read past their input, a parsed control rebuilds to the same
// bytes, an offered name never leaves its folder, and the service takes the
// message (offers open dialogs or are refused; nothing else happens without
// windows) without crashing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "transfer/ControlPayload.h"
#include "transfer/FileTransfers.h"
#include "transfer/TransferText.h"

namespace {

using namespace vorlan::transfer;

struct NoWindows : TransferWindowFactory {
    struct Dialog : ReceiveFileDialogView {
        void SetCaption(const std::string&) override {}
        void SetFromUser(const std::string&) override {}
        void SetReceiveMode(const std::string&) override {}
        void SetFileSize(const std::string&) override {}
        void SetPortRange(const std::string&, bool) override {}
        void SetSaveTo(const std::string&) override {}
        void SetStartFolder(const std::string&) override {}
        void FocusSaveTo() override {}
        void ShowMinimisedAndFlash() override {}
        std::string SaveToText() const override { return {}; }
        std::string PortRangeText() const override { return {}; }
    };
    std::unique_ptr<SendFileDialogView> CreateSendFileDialog(SendFileDialogControl&) override { std::abort(); }
    std::unique_ptr<ReceiveFileDialogView> CreateReceiveFileDialog(ReceiveFileDialogControl&) override {
        return std::make_unique<Dialog>();
    }
    std::unique_ptr<FileExistsDialogView> CreateFileExistsDialog(FileExistsControl&) override { std::abort(); }
    std::unique_ptr<TransferWindowView> CreateSendWindow(TransferWindowControl&) override { std::abort(); }
    std::unique_ptr<TransferWindowView> CreateReceiveWindow(TransferWindowControl&) override { std::abort(); }
    void OpenWithShell(const std::string&) override { std::abort(); }
};

struct Host : TransferHost, TransferNotices {
    vorlan::storage::Options options;
    void SendControl(int, const std::string& body) override {
        if (body.empty() || (body[0] != '0' && body[0] != '1')) std::abort();
    }
    std::string UserName(int id) const override { return id > 0 ? "user" : ""; }
    std::string ServerAddress() const override { return "127.0.0.1"; }
    vorlan::storage::Options& Options() override { return options; }
    TransferNotices& Notices() override { return *this; }
    void Notice(const std::string&) override {}
    void FileDone(const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string message(reinterpret_cast<const char*>(data), size);
    if (const auto step = control::ParseControl(message)) {
        const std::string sep = "\xAC";
        const std::string rebuilt = "14" + std::to_string(step->originator) + sep + std::to_string(step->transferId) +
                                    sep + step->subCode + step->fields;
        // Numbers are read strictly, so only leading zeros may differ.
        if (rebuilt.size() > message.size()) std::abort();
        if (const auto offer = control::ParseOffer(step->fields)) {
            const std::string name = SafeFileName(offer->name);
            if (name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..") std::abort();
            (void)Percent(offer->size / 3, offer->size);
            (void)FormatSize(offer->size);
        }
        if (const auto endpoint = control::ParseReceiverListening(step->fields)) {
            if (endpoint->port < 1 || endpoint->port > 65535) std::abort();
        }
        (void)control::ParseSenderListening(step->fields);
        (void)control::ParseOffset(step->fields);
    }
    (void)ParseBufferSize(message);
    (void)ParsePortRange(message);

    static Host host;
    static NoWindows windows;
    FileTransfers transfers(host, windows);
    transfers.OnFileTransferControl(message);
    transfers.CancelAllPendingTransfers();
    return 0;
}
