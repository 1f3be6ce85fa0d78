#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "storage/Records.h"
#include "transfer/TransferService.h"
#include "transfer/TransferViews.h"

namespace vorlan::transfer {

class SendOffer;
class ReceiveOffer;
class SendTransfer;
class ReceiveTransfer;
class TransferWindow;

// What the transfers need from the rest of the program: the chat connection
// that carries the control messages, the users it knows, and the settings that
// remember the last transfer's choices.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    // Sends `FileTransferRelay` ("12") to `peerId` with `body`: the relay flag
    // and the payload. Dropped while not connected.
    virtual void SendControl(int peerId, const std::string& body) = 0;
    // The user's name as the user tree holds it; empty when no such user.
    virtual std::string UserName(int userId) const = 0;
    // The host text by which this client reached its chat server.
    virtual std::string ServerAddress() const = 0;
    // The remembered transfer settings (send buffer, modes, port ranges,
    // folders) and "Close window when transfer is complete"; changed in place.
    virtual storage::Options& Options() = 0;
    virtual TransferNotices& Notices() = 0;
};

// Timings and the local address, which tests replace.
struct TransferTuning {
    std::uint32_t speedMs = 1000;       // timer 105
    std::uint32_t keepAliveMs = 60000;  // timer 106
    // The local address listening transfer sockets bind to; empty: any.
    std::string listenAddress;
};

// The file transfers of one client: the "Open file" and "Save file" dialogs,
// the send and receive windows with their connections, and the control
// messages between the two clients. Windows are reached only through the
// views of TransferViews.h.
class FileTransfers : public TransferService, private platform::DeferredTask {
public:
    static constexpr std::size_t kMaxSendDialogs = 1000;
    static constexpr std::size_t kMaxReceiveDialogs = 1000;

    FileTransfers(TransferHost& host, TransferWindowFactory& windows, TransferTuning tuning = {});
    ~FileTransfers() override;
    FileTransfers(const FileTransfers&) = delete;
    FileTransfers& operator=(const FileTransfers&) = delete;

    // TransferService
    void StartSend(int peerId, const std::string& droppedPath) override;
    void OnFileTransferControl(const std::string& message) override;
    void CancelTransfersWith(int userId) override;
    void CancelAllPendingTransfers() override;
    void StopAll() override;
    void DestroyAll() override;

    // The four lists, for tests and the shut-down.
    std::size_t SendDialogCount() const { return sendDialogs_.size(); }
    std::size_t ReceiveDialogCount() const { return receiveDialogs_.size(); }
    std::size_t SendWindowCount() const { return sendWindows_.size(); }
    std::size_t ReceiveWindowCount() const { return receiveWindows_.size(); }

    // ---- used by the dialogs and windows of this service -------------------------
    TransferHost& Host() { return host_; }
    TransferWindowFactory& Windows() { return windows_; }
    const TransferTuning& Tuning() const { return tuning_; }
    // The smallest id 0..999 that no send dialog or send window holds; -1 when all are taken.
    int FreeTransferId() const;
    void OpenSendWindow(std::unique_ptr<SendTransfer> window);
    void OpenReceiveWindow(std::unique_ptr<ReceiveTransfer> window);
    // Removes the object from its list; it is freed from the event loop.
    void Close(const SendOffer* dialog);
    void Close(const ReceiveOffer* dialog);
    void Close(const TransferWindow* window);
    // Frees `item` from the event loop (a view whose own call closed it).
    void Discard(std::shared_ptr<void> item);

private:
    void OnDeferred() override;
    void HandleControl(int peerId, int transferId, const std::string& subCode, const std::string& fields);
    SendTransfer* FindSendWindow(int peerId, int transferId);
    ReceiveTransfer* FindReceiveWindow(int peerId, int transferId);
    template <class List, class T>
    void Retire(List& list, const T* item);
    // The send and receive windows, for what both kinds do.
    std::vector<TransferWindow*> AllWindows() const;

    TransferHost& host_;
    TransferWindowFactory& windows_;
    TransferTuning tuning_;
    std::vector<std::unique_ptr<SendOffer>> sendDialogs_;
    std::vector<std::unique_ptr<ReceiveOffer>> receiveDialogs_;
    std::vector<std::unique_ptr<SendTransfer>> sendWindows_;
    std::vector<std::unique_ptr<ReceiveTransfer>> receiveWindows_;
    // Closed dialogs and windows wait here until the event loop frees them, so
    // that a window's handler that closed it can return normally.
    std::vector<std::shared_ptr<void>> retired_;
};

}  // namespace vorlan::transfer
