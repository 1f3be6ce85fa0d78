#include "transfer/ReceiveOffer.h"

#include "transfer/ControlPayload.h"
#include "transfer/FileTransfers.h"
#include "transfer/ReceiveTransfer.h"
#include "transfer/TransferText.h"

namespace vorlan::transfer {

ReceiveOffer::ReceiveOffer(FileTransfers& service, int peerId, int transferId, bool receiverListens,
                           std::int64_t fileSize, const std::string& name)
    : service_(service),
      peerId_(peerId),
      transferId_(transferId),
      listens_(receiverListens),
      fileSize_(fileSize),
      name_(name) {
    const storage::Options& options = service_.Host().Options();
    view_ = service_.Windows().CreateReceiveFileDialog(*this);
    if (!view_) return;
    view_->SetCaption("Save file - " + name_);
    view_->SetFromUser(service_.Host().UserName(peerId_));
    view_->SetReceiveMode(listens_ ? "Server" : "Client");
    view_->SetFileSize(FormatSize(fileSize_));
    view_->SetPortRange(options.receivePortRange, listens_);
    view_->SetSaveTo(options.lastSaveFolder + name_);
    view_->SetStartFolder(options.lastSaveFolder);
    view_->ShowMinimisedAndFlash();
}

std::string ReceiveOffer::SavePath() const {
    std::string path = NormalisePath(view_->SaveToText());
    return platform::IsFullPath(path) ? path : std::string();
}

void ReceiveOffer::Accept() {
    const std::string path = SavePath();
    if (!path.empty() && platform::FileExists(path)) {
        if (!exists_) exists_ = service_.Windows().CreateFileExistsDialog(existsButtons_);
        if (exists_) exists_->ShowInFront();
        return;
    }
    auto file = std::make_unique<platform::File>();
    if (path.empty() || !file->Open(path, platform::File::Mode::Truncate, true)) {
        view_->FocusSaveTo();
        return;
    }
    StartReceiving(path, std::move(file), 0);
}

// The old file is replaced as a whole: bytes of it beyond the new file's
// length would otherwise stay behind and corrupt the result.
void ReceiveOffer::Overwrite() {
    const std::string path = SavePath();
    auto file = std::make_unique<platform::File>();
    if (path.empty() || !file->Open(path, platform::File::Mode::Truncate, true)) return;
    StartReceiving(path, std::move(file), 0);
}

void ReceiveOffer::Resume() {
    const std::string path = SavePath();
    auto file = std::make_unique<platform::File>();
    if (path.empty() || !file->Open(path, platform::File::Mode::Append, true)) return;
    const std::int64_t length = file->Size();
    // A file as long as the offer (or longer) has nothing left to receive.
    if (length < 0 || length >= fileSize_) return;
    StartReceiving(path, std::move(file), length);
}

void ReceiveOffer::StartReceiving(const std::string& path, std::unique_ptr<platform::File> file, std::int64_t offset) {
    storage::Options& options = service_.Host().Options();
    const PortRange ports = ParsePortRange(listens_ ? view_->PortRangeText() : options.receivePortRange);
    if (listens_) options.receivePortRange = ports.text;
    options.lastSaveFolder = FolderOf(path);

    ReceiveStart start;
    start.transferId = transferId_;
    start.peerId = peerId_;
    start.receiverListens = listens_;
    start.ports = ports;
    start.path = path;
    start.fileSize = fileSize_;
    start.offset = offset;
    start.file = std::move(file);
    auto window = std::make_unique<ReceiveTransfer>(service_, std::move(start));
    ReceiveTransfer& opened = *window;
    service_.OpenReceiveWindow(std::move(window));
    opened.Begin(ports);
    CloseDialogs();
}

void ReceiveOffer::Cancel() {
    service_.Host().SendControl(peerId_, control::Notice(control::kReceiverCanceled, transferId_));
    CloseDialogs();
}

void ReceiveOffer::ExistsButtons::Cancel() { offer_.service_.Discard(std::move(offer_.exists_)); }

void ReceiveOffer::Dismiss() { CloseDialogs(); }

void ReceiveOffer::CloseDialogs() { service_.Close(this); }

}  // namespace vorlan::transfer
