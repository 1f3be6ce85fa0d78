#include "transfer/ReceiveTransfer.h"

#include <algorithm>

#include "transfer/FileTransfers.h"

namespace vorlan::transfer {

namespace {
// The most read from the socket at once; what is left comes with the next notification.
constexpr std::size_t kMaxRead = 1 << 20;
}  // namespace

ReceiveTransfer::ReceiveTransfer(FileTransfers& service, ReceiveStart start)
    : TransferWindow(service, false, start.peerId, start.transferId, start.path, start.fileSize, std::move(start.file)),
      listens_(start.receiverListens),
      received_(start.offset) {
    speedRef_ = received_;
    ShowPercent(received_);
    View().SetDone(FormatSize(received_));
    View().SetMiddleButton(middleButton_);
    SetThirdButton("delete file");
}

void ReceiveTransfer::Begin(const PortRange& ports) {
    if (!listens_) {
        awaitingPeer_ = peerId_;
        SetStatus("Waiting for user to start server");
        service_.Host().SendControl(peerId_, control::ReceiverWillConnect(transferId_, received_));
        return;
    }
    const int port = OpenListener(ports);
    if (port == 0) {
        End("Couldn't start server");
        TellPeerCanceled();
        return;
    }
    SetStatus("Waiting for connection");
    service_.Host().SendControl(peerId_, control::ReceiverListening(transferId_, port, received_));
}

void ReceiveTransfer::OnSenderCanceled() {
    if (ended_ || WasConnected()) return;
    awaitingPeer_ = 0;
    End("Canceled");
}

void ReceiveTransfer::OnSenderListening(const control::Endpoint& endpoint) {
    awaitingPeer_ = 0;
    if (!StartConnect(endpoint.address, endpoint.port)) {
        TellPeerCanceled();  // its listening port would wait for nobody
        End("Couldn't connect");
        SetThirdButton("close");
        return;
    }
    SetStatus("Connecting");
}

// Also a window that listens or connects for that user: nobody will come.
void ReceiveTransfer::PeerGone() {
    if (ended_ || WasConnected()) return;
    awaitingPeer_ = 0;
    End("Canceled");
}

void ReceiveTransfer::Stop() {
    StopTimer(kSpeedTimer);
    if (ended_) return;
    awaitingPeer_ = 0;
    End(WasConnected() ? "Connection closed" : "Canceled");
}

void ReceiveTransfer::MiddleButton() {
    if (middleButton_ == "pause") {
        CloseWindow();  // the partial file stays for a later "resume"
    } else if (platform::FileExists(Path())) {
        service_.Windows().OpenWithShell(Path());
    }
}

void ReceiveTransfer::ThirdButton() {
    const bool remove = thirdButton_ == "delete file";
    const std::string path = Path();
    CloseWindow();
    if (remove) platform::RemoveFile(path);
}

void ReceiveTransfer::OnTransferConnect(TransferSocket&, int error) {
    if (ended_) return;
    if (error != 0) {
        TellPeerCanceled();
        End("Couldn't connect");
        SetThirdButton("close");
        return;
    }
    DataSocketUp();
    Receiving();
}

void ReceiveTransfer::OnTransferAccept(TransferSocket&) {
    if (ended_ || data_) return;
    if (!AcceptData()) return;
    Receiving();
}

void ReceiveTransfer::Receiving() {
    SetStatus("Receiving file");
    speedRef_ = received_;
    StartTimer(kSpeedTimer, service_.Tuning().speedMs);
    StartTimer(kKeepAliveTimer, service_.Tuning().keepAliveMs);
}

void ReceiveTransfer::OnTransferReceive(TransferSocket& socket) {
    if (&socket == data_.get()) ReadData();
}

void ReceiveTransfer::ReadData() {
    // One receive takes what waits, up to the buffer: asking the count first
    // would only cost a call.
    if (buffer_.Size() < kMaxRead) buffer_.Resize(kMaxRead);
    const int count = data_->Receive(buffer_.Data(), static_cast<int>(kMaxRead));
    if (count <= 0 || ended_) return;
    // Bytes beyond the offered size are not the file's: they are not written.
    const auto kept = static_cast<std::size_t>(std::min<std::int64_t>(count, fileSize_ - received_));
    if (kept > 0) {
        if (!file_->IsOpen() || !file_->Write(buffer_.Data(), kept)) {
            StopTimer(kKeepAliveTimer);
            End("File transfer failed");
            return;
        }
        received_ += static_cast<std::int64_t>(kept);
        ShowPercent(received_);
        View().SetDone(FormatSize(received_));
        if (received_ == fileSize_) AllWritten();
    }
    if (kept == 0) return;
    const std::string token = std::to_string(kept);
    data_->Send(token.c_str(), token.size() + 1);
}

void ReceiveTransfer::AllWritten() {
    allWritten_ = true;
    SetStatus("Waiting for connection to be closed");
    middleButton_ = "open file";
    View().SetMiddleButton(middleButton_);
    CloseFile();
    StopTimer(kKeepAliveTimer);
    service_.Host().Notices().FileDone("File received:", Path());
}

void ReceiveTransfer::OnTransferClose(TransferSocket& socket, int error) {
    if (&socket != data_.get() || ended_) return;
    // What arrived in front of the end is still the file's.
    std::uint32_t waiting = 0;
    while (!ended_ && data_->IsOpen() && data_->PendingBytes(waiting) && waiting > 0) ReadData();
    if (ended_) return;
    if (received_ == fileSize_ && error == 0) {
        End("File transfer complete");
        if (service_.Host().Options().closeWhenComplete) CloseWindow();
        return;
    }
    End(error != 0 ? "Connection lost" : "Connection closed");
}

void ReceiveTransfer::OnTimer(int id) {
    if (id == kKeepAliveTimer) {
        if (data_ && data_->IsOpen()) data_->Send("", 1);
        return;
    }
    if (id != kSpeedTimer) return;
    if (received_ == speedRef_ && status_ != "Receiving file") {
        StopTimer(kSpeedTimer);
        View().SetSpeed("0 B/s");
        return;
    }
    ShowSpeed(received_);
}

void ReceiveTransfer::End(const std::string& status) {
    ended_ = true;
    StopTimer(kKeepAliveTimer);
    SetStatus(status);
    EndSockets();
    CloseFile();
    buffer_.Release();
}

}  // namespace vorlan::transfer
