#include "transfer/SendOffer.h"

#include <algorithm>

#include "platform/Files.h"
#include "transfer/ControlPayload.h"
#include "transfer/FileTransfers.h"
#include "transfer/SendTransfer.h"
#include "transfer/TransferText.h"

namespace vorlan::transfer {

namespace {

// The file named by "File address:", open for reading, and its size (-1 when
// it cannot be read); nothing when the path is no file or cannot be opened.
struct CheckedFile {
    std::string path;
    std::unique_ptr<platform::File> file;
    std::int64_t size = -1;
};

std::unique_ptr<CheckedFile> OpenChosenFile(const std::string& field) {
    auto checked = std::make_unique<CheckedFile>();
    checked->path = NormalisePath(field);
    if (!platform::IsFullPath(checked->path) || !platform::FileExists(checked->path)) return nullptr;
    checked->file = std::make_unique<platform::File>();
    // Others may read the file while it is sent, but not change it.
    if (!checked->file->Open(checked->path, platform::File::Mode::Read, true)) return nullptr;
    checked->size = checked->file->Size();
    return checked;
}

std::string SizeText(std::int64_t size) {
    if (size < 0) return "Couldn't get file size";
    if (size > kMaxFileSize) return "File size limit exceeded";
    return FormatSize(size);
}

}  // namespace

SendOffer::SendOffer(FileTransfers& service, int peerId, int transferId, const std::string& droppedPath)
    : service_(service), peerId_(peerId), transferId_(transferId) {
    storage::Options& options = service_.Host().Options();
    view_ = service_.Windows().CreateSendFileDialog(*this);
    if (!view_) return;
    view_->SetCaption("Open file");
    view_->SetToUser(service_.Host().UserName(peerId));
    if (droppedPath.empty()) {
        view_->SetStartFolder(options.lastSendFolder);
        view_->SetFileAddress(options.lastSendFolder);
    } else {
        std::string path = droppedPath;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (platform::DirectoryExists(path)) {
            view_->SetStartFolder(path.ends_with('\\') ? path : path + "\\");
        } else {
            view_->SetStartFolder(FolderOf(path));
            view_->SetFileAddress(droppedPath);
        }
    }
    view_->SetBufferSize(options.sendBufferSizeText);
    view_->SetPortRange(options.sendPortRange);
    view_->SetSendMode(options.sendModeClient, !options.sendModeClient && options.sendModeServer);
    RefreshFile();
    view_->Show();
}

void SendOffer::RefreshFile() {
    auto checked = OpenChosenFile(view_->FileAddressText());
    if (!checked) {
        view_->SetCaption("Open file");
        view_->SetFileSize("");
        return;
    }
    const bool usable = checked->size >= 0 && checked->size <= kMaxFileSize;
    view_->SetCaption(usable ? "Open file - " + NameOf(checked->path) : "Open file");
    view_->SetFileSize(SizeText(checked->size));
}

void SendOffer::Send() {
    const auto buffer = ParseBufferSize(view_->BufferSizeText());
    if (!buffer) return;
    auto checked = OpenChosenFile(view_->FileAddressText());
    if (!checked) {
        view_->SetFileSize("");
        view_->FocusFileAddress();
        return;
    }
    view_->SetFileSize(SizeText(checked->size));
    if (checked->size <= 0 || checked->size > kMaxFileSize) {
        view_->FocusFileAddress();
        return;
    }
    const bool client = view_->IsClientChecked();
    const bool server = !client && view_->IsServerChecked();
    const PortRange ports = ParsePortRange(server ? view_->PortRangeText() : "0");

    storage::Options& options = service_.Host().Options();
    const std::string name = NameOf(checked->path);
    const std::int64_t size = checked->size;
    SendStart start;
    start.transferId = transferId_;
    start.peerId = peerId_;
    start.senderListens = server;
    start.bufferSize = buffer->bytes;
    start.ports = ports;
    start.path = checked->path;
    start.fileSize = size;
    start.file = std::move(checked->file);
    options.lastSendFolder = FolderOf(start.path);
    service_.OpenSendWindow(std::make_unique<SendTransfer>(service_, std::move(start)));
    if (client || server) service_.Host().SendControl(peerId_, control::Offer(server, transferId_, size, name));
    options.sendBufferSizeText = buffer->text;
    options.sendModeClient = client;
    options.sendModeServer = server;
    if (server) options.sendPortRange = ports.text;
    service_.Close(this);
}

void SendOffer::Cancel() { service_.Close(this); }

}  // namespace vorlan::transfer
