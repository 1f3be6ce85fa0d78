#include "transfer/SendTransfer.h"

#include <algorithm>

#include "transfer/FileTransfers.h"

namespace vorlan::transfer {

namespace {

// An acknowledgement token's value: its leading digits (0 for none), as
// atoi would read them, but never beyond `limit`.
std::int64_t TokenValue(const std::string& token, std::int64_t limit) {
    std::int64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), limit);
    }
    return value;
}

}  // namespace

SendTransfer::SendTransfer(FileTransfers& service, SendStart start)
    : TransferWindow(service, true, start.peerId, start.transferId, start.path, start.fileSize, std::move(start.file)),
      bufferSize_(std::clamp(start.bufferSize, 1, kMaxBufferSize)),
      ports_(start.ports) {
    awaitingPeer_ = start.peerId;
    View().SetCaption(name_ + " - send");
    SetStatus("Waiting for user to accept");
    View().SetDone("0 B");
    View().SetMiddleButton("open file");
    SetThirdButton("cancel");
}

void SendTransfer::OnReceiverCanceled() {
    if (ended_ || WasConnected()) return;
    awaitingPeer_ = 0;
    End("Canceled");
}

bool SendTransfer::StartAt(std::int64_t offset) {
    awaitingPeer_ = 0;
    // An offset at or past the end leaves nothing to send and nothing that
    // could ever complete; the receiver is told the transfer is off.
    if (offset < 0 || offset >= fileSize_ || !file_->Seek(offset)) {
        TellPeerCanceled();
        End("Canceled");
        return false;
    }
    sentPos_ = acknowledged_ = speedRef_ = offset;
    ShowPercent(offset);
    View().SetDone(FormatSize(offset));
    return true;
}

void SendTransfer::OnReceiverListening(const control::Endpoint& endpoint) {
    if (!StartAt(endpoint.offset)) return;
    if (!StartConnect(endpoint.address, endpoint.port)) {
        TellPeerCanceled();  // its listening port would wait for nobody
        End("Couldn't connect");
        return;
    }
    SetStatus("Connecting");
}

void SendTransfer::OnReceiverWillConnect(std::int64_t offset) {
    if (!StartAt(offset)) return;
    const int port = OpenListener(ports_);
    if (port == 0) {
        TellPeerCanceled();
        End("Couldn't start server");
        return;
    }
    SetStatus("Waiting for connection");
    service_.Host().SendControl(peerId_, control::SenderListening(transferId_, port));
}

// Also a window that listens or connects for that user: nobody will come.
void SendTransfer::PeerGone() {
    if (ended_ || WasConnected()) return;
    awaitingPeer_ = 0;
    End("Canceled");
}

void SendTransfer::Stop() {
    StopTimer(kSpeedTimer);
    if (ended_) return;
    if (awaitingPeer_ != 0 || !WasConnected()) {
        awaitingPeer_ = 0;
        End("Canceled");
    } else {
        End("Connection closed");
    }
}

void SendTransfer::MiddleButton() {
    if (platform::FileExists(Path())) service_.Windows().OpenWithShell(Path());
}

void SendTransfer::OnTransferConnect(TransferSocket&, int error) {
    if (ended_) return;
    if (error != 0) {
        TellPeerCanceled();
        End("Couldn't connect");
        return;
    }
    DataSocketUp();
    SendNextBlocks();
}

void SendTransfer::OnTransferAccept(TransferSocket&) {
    if (ended_ || data_) return;
    if (!AcceptData()) return;  // the listener waits for the next attempt
    SendNextBlocks();
}

void SendTransfer::OnTransferSendReady(TransferSocket& socket) {
    if (&socket == data_.get()) SendNextBlocks();
}

void SendTransfer::SendNextBlocks() {
    if (ended_ || !data_ || !data_->IsOpen()) return;
    while (sentPos_ < fileSize_ && !data_->HasPending()) {
        const auto length = static_cast<std::size_t>(std::min<std::int64_t>(bufferSize_, fileSize_ - sentPos_));
        block_.Resize(length);
        std::size_t got = 0;
        while (got < length) {
            const std::int64_t count = file_->Read(block_.Data() + got, length - got);
            if (count <= 0) break;
            got += static_cast<std::size_t>(count);
        }
        if (got != length) {
            End("File transfer failed");
            return;
        }
        if (status_ == "Connecting" || status_ == "Waiting for connection") {
            SetStatus("Sending file");
            StartTimer(kSpeedTimer, service_.Tuning().speedMs);
        }
        sentPos_ += static_cast<std::int64_t>(length);
        if (sentPos_ == fileSize_) CloseFile();  // every byte is handed over
        data_->SendBlock(block_);
        if (!data_->IsOpen()) return;
    }
    if (sentPos_ == fileSize_) {
        block_.Release();
        ReadWaitingAcknowledgements();
    }
}

void SendTransfer::OnTransferReceive(TransferSocket& socket) {
    if (&socket != data_.get()) return;
    // While blocks still go out, acknowledgements are read with the speed
    // tick: waking for each one would cost the stream a switch per token.
    if (sentPos_ < fileSize_ && status_ == "Sending file") {
        acknowledgementsWaiting_ = true;
        return;
    }
    ReadAcknowledgements();
}

void SendTransfer::ReadWaitingAcknowledgements() {
    if (!acknowledgementsWaiting_) return;
    acknowledgementsWaiting_ = false;
    ReadAcknowledgements();
}

void SendTransfer::ReadAcknowledgements() {
    char buffer[4096];
    std::uint32_t waiting = 0;
    do {
        const int count = data_->Receive(buffer, sizeof buffer);
        if (count <= 0) return;
        std::size_t start = 0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
            if (buffer[i] != '\0') continue;
            std::string token = std::move(data_->partialToken);
            data_->partialToken.clear();
            token.append(buffer + start, i - start);
            start = i + 1;
            if (!token.empty()) Count(token);  // empty: a keep-alive
            if (ended_) return;
        }
        std::string& partial = data_->partialToken;
        const std::size_t rest = static_cast<std::size_t>(count) - start;
        if (partial.size() + rest > 50) {
            partial.clear();
        } else {
            partial.append(buffer + start, rest);
        }
    } while (data_->IsOpen() && data_->PendingBytes(waiting) && waiting > 0);
}

void SendTransfer::Count(const std::string& token) {
    acknowledged_ += TokenValue(token, fileSize_ - acknowledged_);
    ShowPercent(acknowledged_);
    View().SetDone(FormatSize(acknowledged_));
    if (acknowledged_ >= fileSize_ && thirdButton_ == "cancel") Complete();
}

void SendTransfer::Complete() {
    End("File transfer complete");
    service_.Host().Notices().FileDone("File sent:", Path());
    if (service_.Host().Options().closeWhenComplete) CloseWindow();
}

void SendTransfer::OnTransferClose(TransferSocket& socket, int error) {
    if (&socket != data_.get() || ended_) return;
    // Acknowledgements that arrived in front of the end still count.
    ReadAcknowledgements();
    if (ended_) return;
    End(error != 0 ? "Connection lost" : "Connection closed");
}

void SendTransfer::OnTimer(int id) {
    if (id != kSpeedTimer) return;
    if (!ended_) ReadWaitingAcknowledgements();
    if (acknowledged_ == speedRef_ && thirdButton_ == "close") {
        StopTimer(kSpeedTimer);
        View().SetSpeed("0 B/s");
        return;
    }
    ShowSpeed(acknowledged_);
}

void SendTransfer::End(const std::string& status) {
    ended_ = true;
    SetStatus(status);
    SetThirdButton("close");
    EndSockets();
    CloseFile();
    block_.Release();
}

}  // namespace vorlan::transfer
