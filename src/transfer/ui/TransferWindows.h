#pragma once

#include <windows.h>

#include <memory>

#include "transfer/TransferViews.h"
#include "transfer/ui/SendFileDialog.h"

namespace vorlan::transfer {

// Makes the file transfer windows the core asks for. The main window hands it
// to the core before the core exists and binds it to the settings and itself
// right after; a window that cannot be made is reported as none.
class TransferWindows : public TransferWindowFactory {
public:
    explicit TransferWindows(HINSTANCE instance) { context_.instance = instance; }

    void Bind(storage::Options& options, const storage::Colors& colors, HWND mainWindow);

    std::unique_ptr<SendFileDialogView> CreateSendFileDialog(SendFileDialogControl& control) override;
    std::unique_ptr<ReceiveFileDialogView> CreateReceiveFileDialog(ReceiveFileDialogControl& control) override;
    std::unique_ptr<FileExistsDialogView> CreateFileExistsDialog(FileExistsControl& control) override;
    std::unique_ptr<TransferWindowView> CreateSendWindow(TransferWindowControl& control) override;
    std::unique_ptr<TransferWindowView> CreateReceiveWindow(TransferWindowControl& control) override;
    void OpenWithShell(const std::string& path) override;

private:
    TransferWindowContext context_;
};

}  // namespace vorlan::transfer
