#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "transfer/ControlPayload.h"
#include "transfer/TransferWindow.h"

namespace vorlan::transfer {

// What the "send" button hands to a new send window.
struct SendStart {
    int transferId = 0;
    int peerId = 0;
    bool senderListens = false;  // "Server" mode; else "Client"
    int bufferSize = 1;
    PortRange ports;   // used in "Server" mode
    std::string path;  // folder + name
    std::int64_t fileSize = 0;
    std::unique_ptr<platform::File> file;  // open for reading
};

// A send window (dialog 155) and its transfer: waits for the receiver's
// answer, connects or listens, streams the file in blocks and counts the
// receiver's acknowledgements up to completion.
class SendTransfer : public TransferWindow {
public:
    SendTransfer(FileTransfers& service, SendStart start);

    // The receiver's answers.
    void OnReceiverCanceled();
    void OnReceiverListening(const control::Endpoint& endpoint);
    void OnReceiverWillConnect(std::int64_t offset);

    void PeerGone() override;
    void Stop() override;
    std::int64_t Acknowledged() const { return acknowledged_; }

    // TransferWindowControl
    void MiddleButton() override;
    void ThirdButton() override { CloseWindow(); }

private:
    std::string_view WithdrawNotice() const override { return control::kOfferWithdrawn; }
    std::string_view CancelNotice() const override { return control::kSenderCanceled; }
    const char* CaptionSuffix() const override { return " - send"; }

    // TransferSocketEvents
    void OnTransferConnect(TransferSocket& socket, int error) override;
    void OnTransferAccept(TransferSocket& socket) override;
    void OnTransferReceive(TransferSocket& socket) override;
    void OnTransferSendReady(TransferSocket& socket) override;
    void OnTransferClose(TransferSocket& socket, int error) override;
    // TimerOwner
    void OnTimer(int id) override;

    // The receiver's offset: false (and the transfer refused) when it is no
    // position inside the file.
    bool StartAt(std::int64_t offset);
    void SendNextBlocks();
    void ReadAcknowledgements();
    void ReadWaitingAcknowledgements();
    void Count(const std::string& token);
    void Complete();
    // An end state: status, "close", connection and file closed.
    void End(const std::string& status);

    int bufferSize_;
    PortRange ports_;
    std::int64_t sentPos_ = 0;
    std::int64_t acknowledged_ = 0;
    bool acknowledgementsWaiting_ = false;  // a receive event not yet answered
    ByteBlock block_;
};

}  // namespace vorlan::transfer
