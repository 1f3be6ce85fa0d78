#include "transfer/ui/TransferWindows.h"

#include "transfer/ui/DialogRows.h"
#include "transfer/ui/ReceiveFileDialog.h"
#include "transfer/ui/TransferDialogIds.h"
#include "transfer/ui/ProgressWindow.h"

namespace vorlan::transfer {
namespace {

template <class Window, class... Args>
std::unique_ptr<Window> Made(const TransferWindowContext& context, Args&... args) {
    if (context.options == nullptr) return nullptr;
    auto window = std::make_unique<Window>(context, args...);
    if (!window->Create()) return nullptr;
    return window;
}

}  // namespace

void TransferWindows::Bind(storage::Options& options, const storage::Colors& colors, HWND mainWindow) {
    context_.options = &options;
    context_.colors = &colors;
    context_.mainWindow = mainWindow;
}

std::unique_ptr<SendFileDialogView> TransferWindows::CreateSendFileDialog(SendFileDialogControl& control) {
    return Made<SendFileDialog>(context_, control);
}

std::unique_ptr<ReceiveFileDialogView> TransferWindows::CreateReceiveFileDialog(ReceiveFileDialogControl& control) {
    return Made<ReceiveFileDialog>(context_, control);
}

std::unique_ptr<FileExistsDialogView> TransferWindows::CreateFileExistsDialog(FileExistsControl& control) {
    return Made<FileExistsDialog>(context_, control);
}

std::unique_ptr<TransferWindowView> TransferWindows::CreateSendWindow(TransferWindowControl& control) {
    int templateId = IDD_SEND_WINDOW;
    return Made<ProgressWindow>(context_, control, templateId);
}

std::unique_ptr<TransferWindowView> TransferWindows::CreateReceiveWindow(TransferWindowControl& control) {
    int templateId = IDD_RECEIVE_WINDOW;
    return Made<ProgressWindow>(context_, control, templateId);
}

void TransferWindows::OpenWithShell(const std::string& path) { OpenInShell(path); }

}  // namespace vorlan::transfer
