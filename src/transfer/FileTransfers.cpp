#include "transfer/FileTransfers.h"

#include <algorithm>

#include "transfer/ControlPayload.h"
#include "transfer/ReceiveOffer.h"
#include "transfer/ReceiveTransfer.h"
#include "transfer/SendOffer.h"
#include "transfer/SendTransfer.h"
#include "transfer/TransferText.h"

namespace vorlan::transfer {

namespace {
constexpr const char* kTooManySendDialogs = "Maximum number of file sending windows has been reached.";
constexpr int kTransferIds = 1000;
}  // namespace

FileTransfers::FileTransfers(TransferHost& host, TransferWindowFactory& windows, TransferTuning tuning)
    : host_(host), windows_(windows), tuning_(std::move(tuning)) {}

FileTransfers::~FileTransfers() { DestroyAll(); }

// ---- starting a send --------------------------------------------------------------

void FileTransfers::StartSend(int peerId, const std::string& droppedPath) {
    if (peerId <= 0 || host_.UserName(peerId).empty()) return;
    const int transferId = FreeTransferId();
    // Without a free id an offer could not be told apart from another one.
    if (sendDialogs_.size() >= kMaxSendDialogs || transferId < 0) {
        host_.Notices().Notice(kTooManySendDialogs);
        return;
    }
    auto dialog = std::make_unique<SendOffer>(*this, peerId, transferId, droppedPath);
    if (dialog->HasView()) sendDialogs_.push_back(std::move(dialog));
}

int FileTransfers::FreeTransferId() const {
    std::vector<bool> used(kTransferIds, false);
    for (const auto& dialog : sendDialogs_) {
        if (dialog->TransferId() >= 0) used[static_cast<std::size_t>(dialog->TransferId())] = true;
    }
    for (const auto& window : sendWindows_) {
        if (window->TransferId() >= 0) used[static_cast<std::size_t>(window->TransferId())] = true;
    }
    const auto free = std::find(used.begin(), used.end(), false);
    return free == used.end() ? -1 : static_cast<int>(free - used.begin());
}

void FileTransfers::OpenSendWindow(std::unique_ptr<SendTransfer> window) {
    sendWindows_.push_back(std::move(window));
    sendWindows_.back()->Show();
}

void FileTransfers::OpenReceiveWindow(std::unique_ptr<ReceiveTransfer> window) {
    receiveWindows_.push_back(std::move(window));
    receiveWindows_.back()->Show();
}

// ---- control messages ----------------------------------------------------------------

void FileTransfers::OnFileTransferControl(const std::string& message) {
    const auto step = control::ParseControl(message);
    if (!step) return;
    HandleControl(step->originator, step->transferId, step->subCode, step->fields);
}

void FileTransfers::HandleControl(int peerId, int transferId, const std::string& subCode, const std::string& fields) {
    const auto refuse = [&] { host_.SendControl(peerId, control::Notice(control::kReceiverCanceled, transferId)); };
    const auto dialog = std::find_if(receiveDialogs_.begin(), receiveDialogs_.end(), [&](const auto& offer) {
        return offer->PeerId() == peerId && offer->TransferId() == transferId;
    });
    // A receive window of this offer whose connection is not up yet.
    ReceiveTransfer* unconnected = nullptr;
    for (const auto& window : receiveWindows_) {
        if (window->PeerId() == peerId && window->TransferId() == transferId && !window->WasConnected() &&
            !window->Ended()) {
            unconnected = window.get();
        }
    }

    if (subCode == control::kOfferClientSend || subCode == control::kOfferServerSend) {
        const auto offer = control::ParseOffer(fields);
        if (!offer) return;
        if (receiveDialogs_.size() >= kMaxReceiveDialogs) return refuse();
        if (dialog != receiveDialogs_.end()) return;  // the same offer twice
        const std::string name = SafeFileName(offer->name);
        // Nothing to receive, more than may be offered, or no name to save under.
        if (offer->size <= 0 || offer->size > kMaxFileSize || name.empty()) {
            refuse();
            return;
        }
        const bool receiverListens = subCode == control::kOfferClientSend;
        auto offered = std::make_unique<ReceiveOffer>(*this, peerId, transferId, receiverListens, offer->size, name);
        // Without a dialog (the system is out of windows) nobody could answer it.
        if (!offered->HasView()) return refuse();
        receiveDialogs_.push_back(std::move(offered));
    } else if (subCode == control::kOfferWithdrawn) {
        if (dialog != receiveDialogs_.end()) {
            (*dialog)->Dismiss();
        } else if (unconnected) {
            // The withdrawal crossed this side's acceptance: nobody will connect.
            unconnected->OnSenderCanceled();
        }
    } else if (subCode == control::kSenderCanceled) {
        if (unconnected) unconnected->OnSenderCanceled();
    } else if (subCode == control::kSenderListening) {
        ReceiveTransfer* window = FindReceiveWindow(peerId, transferId);
        const auto endpoint = control::ParseSenderListening(fields);
        if (window && endpoint) window->OnSenderListening(*endpoint);
    } else if (subCode == control::kReceiverCanceled) {
        // Also after the answer: the receiver gave up before the connection was made.
        for (const auto& window : sendWindows_) {
            if (window->PeerId() == peerId && window->TransferId() == transferId && !window->WasConnected() &&
                !window->Ended()) {
                window->OnReceiverCanceled();
                break;
            }
        }
    } else if (subCode == control::kReceiverListening) {
        SendTransfer* window = FindSendWindow(peerId, transferId);
        const auto endpoint = control::ParseReceiverListening(fields);
        if (window && endpoint) window->OnReceiverListening(*endpoint);
    } else if (subCode == control::kReceiverWillConnect) {
        SendTransfer* window = FindSendWindow(peerId, transferId);
        const auto offset = control::ParseOffset(fields);
        if (window && offset) window->OnReceiverWillConnect(*offset);
    }
}

SendTransfer* FileTransfers::FindSendWindow(int peerId, int transferId) {
    for (const auto& window : sendWindows_) {
        if (window->AwaitingPeer() == peerId && window->TransferId() == transferId) return window.get();
    }
    return nullptr;
}

ReceiveTransfer* FileTransfers::FindReceiveWindow(int peerId, int transferId) {
    for (const auto& window : receiveWindows_) {
        if (window->AwaitingPeer() == peerId && window->TransferId() == transferId) return window.get();
    }
    return nullptr;
}

// ---- users leaving, the connection ending, shut-down ------------------------------------

void FileTransfers::CancelTransfersWith(int userId) {
    std::vector<const SendOffer*> sends;
    for (const auto& dialog : sendDialogs_) {
        if (dialog->PeerId() == userId) sends.push_back(dialog.get());
    }
    for (const SendOffer* dialog : sends) Close(dialog);
    std::vector<ReceiveOffer*> offers;
    for (const auto& dialog : receiveDialogs_) {
        if (dialog->PeerId() == userId) offers.push_back(dialog.get());
    }
    for (ReceiveOffer* dialog : offers) dialog->Dismiss();
    for (TransferWindow* window : AllWindows()) {
        if (window->PeerId() == userId) window->PeerGone();
    }
}

void FileTransfers::CancelAllPendingTransfers() {
    while (!sendDialogs_.empty()) Close(sendDialogs_.back().get());
    while (!receiveDialogs_.empty()) receiveDialogs_.back()->Dismiss();
    for (TransferWindow* window : AllWindows()) window->PeerGone();
}

void FileTransfers::StopAll() {
    for (TransferWindow* window : AllWindows()) window->Stop();
}

void FileTransfers::DestroyAll() {
    // Windows first: their sockets and files close before the dialogs go.
    sendWindows_.clear();
    receiveWindows_.clear();
    sendDialogs_.clear();
    receiveDialogs_.clear();
    retired_.clear();
}

std::vector<TransferWindow*> FileTransfers::AllWindows() const {
    std::vector<TransferWindow*> windows;
    for (const auto& window : sendWindows_) windows.push_back(window.get());
    for (const auto& window : receiveWindows_) windows.push_back(window.get());
    return windows;
}

// ---- closing ----------------------------------------------------------------------------

template <class List, class T>
void FileTransfers::Retire(List& list, const T* item) {
    const auto found =
        std::find_if(list.begin(), list.end(), [item](const auto& entry) { return entry.get() == item; });
    if (found == list.end()) return;
    std::shared_ptr<void> retired(std::move(*found));
    list.erase(found);
    Discard(std::move(retired));
}

void FileTransfers::Close(const SendOffer* dialog) { Retire(sendDialogs_, dialog); }

void FileTransfers::Close(const ReceiveOffer* dialog) { Retire(receiveDialogs_, dialog); }

void FileTransfers::Close(const TransferWindow* window) {
    for (const auto& send : sendWindows_) {
        if (send.get() == window) return Retire(sendWindows_, send.get());
    }
    for (const auto& receive : receiveWindows_) {
        if (receive.get() == window) return Retire(receiveWindows_, receive.get());
    }
}

void FileTransfers::Discard(std::shared_ptr<void> item) {
    if (!item) return;
    retired_.push_back(std::move(item));
    ScheduleDeferred();
}

void FileTransfers::OnDeferred() {
    auto retired = std::move(retired_);
    retired_.clear();
}

}  // namespace vorlan::transfer
