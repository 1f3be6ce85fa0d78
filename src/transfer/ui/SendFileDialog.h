#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"
#include "transfer/TransferViews.h"
#include "transfer/ui/BrowseDialog.h"
#include "ui/Dialog.h"

namespace vorlan::transfer {

// What every transfer window needs from the program: the settings, the
// colours and the main window, whose icons the file dialogs show.
struct TransferWindowContext {
    HINSTANCE instance = nullptr;
    storage::Options* options = nullptr;
    const storage::Colors* colors = nullptr;
    HWND mainWindow = nullptr;
};

// "Open file" (dialog 152): the addressee, the file's size, the buffer size,
// the send mode with its "Port range:" row and the file's address with "...".
// The core decides; the window shows and reports. Its close box and buttons
// go to the core, which destroys the object (and with it the window).
class SendFileDialog : public ui::Dialog, public SendFileDialogView, private BrowseOwner {
public:
    SendFileDialog(const TransferWindowContext& context, SendFileDialogControl& control);
    bool Create();

    // SendFileDialogView
    void SetCaption(const std::string& caption) override;
    void SetToUser(const std::string& name) override { toUser_.SetText(name); }
    void SetFileSize(const std::string& text) override { fileSize_.SetText(text); }
    void SetBufferSize(const std::string& text) override { bufferSize_.SetText(text); }
    void SetPortRange(const std::string& text) override { portRange_.SetText(text); }
    void SetSendMode(bool client, bool server) override;
    void SetFileAddress(const std::string& path) override;
    void SetStartFolder(const std::string& folder) override { startFolder_ = folder; }
    void FocusFileAddress() override { SetFocus(address_.handle()); }
    void Show() override;
    std::string BufferSizeText() const override { return bufferSize_.Text(); }
    std::string PortRangeText() const override { return portRange_.Text(); }
    std::string FileAddressText() const override { return address_.Text(); }
    bool IsClientChecked() const override;
    bool IsServerChecked() const override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void OnCommand(int id, int notification);
    void ToggleMode(int id);
    void OpenBrowse();
    void TakeBrowseChoice(const BrowseChoice& choice) override;

    TransferWindowContext context_;
    SendFileDialogControl& control_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl toUser_;
    conversation::ChatTextControl fileSize_;
    conversation::ChatTextControl bufferSize_;
    conversation::ChatTextControl portRange_;
    conversation::ChatTextControl address_;
    std::string startFolder_;
    bool portRowShown_ = true;  // as the template has it
    bool settingAddress_ = false;
    std::unique_ptr<BrowseDialog> browse_;
};

}  // namespace vorlan::transfer
