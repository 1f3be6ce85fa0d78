#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Files.h"
#include "transfer/TransferViews.h"

namespace vorlan::transfer {

class FileTransfers;

// An offer received: the "Save file" dialog (153) with its "File already
// exists." dialog (154). Accepting opens the file and the receive window.
class ReceiveOffer : public ReceiveFileDialogControl {
public:
    // False when the system could not make the dialog.
    bool HasView() const { return view_ != nullptr; }
    // `name` is the offered name already made safe (SafeFileName).
    ReceiveOffer(FileTransfers& service, int peerId, int transferId, bool receiverListens, std::int64_t fileSize,
                 const std::string& name);

    int PeerId() const { return peerId_; }
    int TransferId() const { return transferId_; }
    // Closes the dialog without a word to the sender (withdrawn, user gone).
    void Dismiss();

    // ReceiveFileDialogControl
    void Accept() override;
    void Cancel() override;

private:
    // The buttons of the "File already exists." dialog.
    class ExistsButtons : public FileExistsControl {
    public:
        explicit ExistsButtons(ReceiveOffer& offer) : offer_(offer) {}
        void Overwrite() override { offer_.Overwrite(); }
        void Resume() override { offer_.Resume(); }
        void Cancel() override;

    private:
        ReceiveOffer& offer_;
    };

    void Overwrite();
    void Resume();
    // "Save to:" trimmed, "/" turned into "\"; empty when it is no full path.
    std::string SavePath() const;
    void StartReceiving(const std::string& path, std::unique_ptr<platform::File> file, std::int64_t offset);
    void CloseDialogs();

    FileTransfers& service_;
    int peerId_;
    int transferId_;
    bool listens_;
    std::int64_t fileSize_;
    std::string name_;
    ExistsButtons existsButtons_{*this};
    std::unique_ptr<ReceiveFileDialogView> view_;
    std::unique_ptr<FileExistsDialogView> exists_;
};

}  // namespace vorlan::transfer
