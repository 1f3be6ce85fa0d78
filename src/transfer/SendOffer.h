#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "transfer/TransferViews.h"

namespace vorlan::transfer {

class FileTransfers;

// The "Open file" dialog (152) of one send: checks the chosen file, reads the
// buffer size, mode and port range, and on "send" opens the send window and
// sends the offer.
class SendOffer : public SendFileDialogControl {
public:
    // False when the system could not make the dialog.
    bool HasView() const { return view_ != nullptr; }
    // `transferId` is free (0..999); `droppedPath` empty for the menu variant.
    SendOffer(FileTransfers& service, int peerId, int transferId, const std::string& droppedPath);

    int PeerId() const { return peerId_; }
    int TransferId() const { return transferId_; }

    // SendFileDialogControl
    void RefreshFile() override;
    void Send() override;
    void Cancel() override;

private:
    FileTransfers& service_;
    int peerId_;
    int transferId_;
    std::unique_ptr<SendFileDialogView> view_;
};

}  // namespace vorlan::transfer
