#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "transfer/ControlPayload.h"
#include "transfer/TransferWindow.h"

namespace vorlan::transfer {

// What an accepted offer hands to a new receive window.
struct ReceiveStart {
    int transferId = 0;
    int peerId = 0;
    bool receiverListens = false;  // receive mode "Server"; else "Client"
    PortRange ports;               // used when this side listens
    std::string path;              // folder + name
    std::int64_t fileSize = 0;
    std::int64_t offset = 0;               // 0, or the length of the file resumed
    std::unique_ptr<platform::File> file;  // open for writing at `offset`
};

// A receive window (dialog 156) and its transfer: listens or waits for the
// sender's port, writes what arrives, acknowledges every piece, keeps the
// connection alive, and completes on the sender's orderly close.
class ReceiveTransfer : public TransferWindow {
public:
    ReceiveTransfer(FileTransfers& service, ReceiveStart start);
    // Opens the listening port or asks the sender to listen; call once shown.
    void Begin(const PortRange& ports);

    // The sender's notices.
    void OnSenderCanceled();
    void OnSenderListening(const control::Endpoint& endpoint);

    void PeerGone() override;
    void Stop() override;
    std::int64_t Received() const { return received_; }

    // TransferWindowControl
    void MiddleButton() override;
    void ThirdButton() override;

private:
    std::string_view WithdrawNotice() const override { return control::kReceiverCanceled; }
    std::string_view CancelNotice() const override { return control::kReceiverCanceled; }
    const char* CaptionSuffix() const override { return " - receive"; }

    // TransferSocketEvents
    void OnTransferConnect(TransferSocket& socket, int error) override;
    void OnTransferAccept(TransferSocket& socket) override;
    void OnTransferReceive(TransferSocket& socket) override;
    void OnTransferClose(TransferSocket& socket, int error) override;
    // TimerOwner
    void OnTimer(int id) override;

    void Receiving();
    void ReadData();
    void AllWritten();
    void End(const std::string& status);

    bool listens_;
    std::int64_t received_;
    bool allWritten_ = false;
    std::string middleButton_ = "pause";
    ByteBlock buffer_;
};

}  // namespace vorlan::transfer
