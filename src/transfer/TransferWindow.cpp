#include "transfer/TransferWindow.h"

#include "transfer/ControlPayload.h"
#include "transfer/FileTransfers.h"

namespace vorlan::transfer {
namespace {

// Stands in for a window the system could not make: the transfer runs and
// ends as it would, its notices and log lines still written.
class NoWindow : public TransferWindowView {
public:
    void SetCaption(const std::string&) override {}
    void SetIconsFor(const std::string&) override {}
    void SetStatus(const std::string&) override {}
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

std::unique_ptr<TransferWindowView> WindowOrNone(std::unique_ptr<TransferWindowView> window) {
    return window ? std::move(window) : std::make_unique<NoWindow>();
}

}  // namespace

TransferWindow::TransferWindow(FileTransfers& service, bool sendWindow, int peerId, int transferId,
                               const std::string& path, std::int64_t fileSize, std::unique_ptr<platform::File> file)
    : service_(service),
      view_(WindowOrNone(sendWindow ? service.Windows().CreateSendWindow(*this)
                                    : service.Windows().CreateReceiveWindow(*this))),
      peerId_(peerId),
      transferId_(transferId),
      folder_(FolderOf(path)),
      name_(NameOf(path)),
      fileSize_(fileSize),
      file_(std::move(file)) {
    view_->SetIconsFor(name_);
    view_->SetFileName(name_);
    view_->SetFileLocation(folder_);
    view_->SetSpeed("0 B/s");
    view_->SetTotal(FormatSize(fileSize_));
}

TransferWindow::~TransferWindow() {
    EndSockets();
    CloseFile();
}

void TransferWindow::GoToLocation() { service_.Windows().OpenWithShell(folder_); }

void TransferWindow::CloseWindow() {
    // Also once the peer listens or connects: without a word it would wait
    // for this side until its user gave up.
    if (awaitingPeer_ != 0 || (!connected_ && !ended_)) {
        service_.Host().SendControl(peerId_, control::Notice(WithdrawNotice(), transferId_));
        awaitingPeer_ = 0;
    }
    StopTimer(kSpeedTimer);
    StopTimer(kKeepAliveTimer);
    EndSockets();
    CloseFile();
    service_.Close(this);
}

void TransferWindow::TellPeerCanceled() {
    service_.Host().SendControl(peerId_, control::Notice(CancelNotice(), transferId_));
}

void TransferWindow::SetStatus(const std::string& text) {
    status_ = text;
    view_->SetStatus(text);
}

void TransferWindow::SetThirdButton(const std::string& text) {
    thirdButton_ = text;
    view_->SetThirdButton(text);
}

void TransferWindow::ShowPercent(std::int64_t done) {
    const int percent = Percent(done, fileSize_);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    view_->SetCaption("(" + std::to_string(percent) + "%) " + name_ + CaptionSuffix());
    view_->SetProgress(percent);
}

void TransferWindow::CloseFile() {
    if (file_) file_->Close();
}

void TransferWindow::EndSockets() {
    if (listener_) listener_->End();
    if (data_) data_->End();
}

int TransferWindow::OpenListener(const PortRange& ports) {
    const int first = ports.first, last = ports.last == 0 ? ports.first : ports.last;
    for (int port = first; port <= last && port <= 65535; ++port) {
        if (port < 0) continue;
        auto socket = std::make_unique<TransferSocket>(*this);
        if (!socket->Create(static_cast<std::uint16_t>(port), platform::kEventAll, service_.Tuning().listenAddress)) {
            continue;
        }
        if (!socket->Listen(5)) return 0;  // a failed listen ends the attempt
        listener_ = std::move(socket);
        return listener_->LocalPort();
    }
    return 0;
}

bool TransferWindow::StartConnect(std::string address, int port) {
    if (address == "0") address = service_.Host().ServerAddress();
    data_ = std::make_unique<TransferSocket>(*this);
    if (!data_->Create(0, platform::kEventAll)) return false;
    if (data_->Connect(address, static_cast<std::uint16_t>(port))) return true;
    return platform::AsyncSocket::LastError() == platform::kWouldBlock;
}

bool TransferWindow::AcceptData() {
    auto data = std::make_unique<TransferSocket>(*this);
    if (!listener_->Accept(*data)) return false;
    data_ = std::move(data);
    listener_->End();
    DataSocketUp();
    return true;
}

void TransferWindow::DataSocketUp() {
    connected_ = true;
    // The last block and the last acknowledgement must not wait for more bytes.
    data_->SetNoDelay(true);
}

void TransferWindow::ShowSpeed(std::int64_t done) {
    view_->SetSpeed(FormatSize(done - speedRef_) + "/s");
    speedRef_ = done;
}

}  // namespace vorlan::transfer
