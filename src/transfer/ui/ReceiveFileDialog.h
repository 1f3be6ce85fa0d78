#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"
#include "transfer/TransferViews.h"
#include "transfer/ui/BrowseDialog.h"
#include "transfer/ui/SendFileDialog.h"
#include "ui/Dialog.h"

namespace vorlan::transfer {

// "Save file - name" (dialog 153): who offers what, the receive mode, the
// "Port range:" row when this side listens, and where to save with "...".
// It opens minimised and flashes; "accept", "cancel" and the close box go to
// the core, which destroys the object (and with it the window).
class ReceiveFileDialog : public ui::Dialog, public ReceiveFileDialogView, private BrowseOwner {
public:
    ReceiveFileDialog(const TransferWindowContext& context, ReceiveFileDialogControl& control);
    bool Create();

    // ReceiveFileDialogView
    void SetCaption(const std::string& caption) override;
    void SetFromUser(const std::string& name) override { fromUser_.SetText(name); }
    void SetReceiveMode(const std::string& text) override { mode_.SetText(text); }
    void SetFileSize(const std::string& text) override { fileSize_.SetText(text); }
    void SetPortRange(const std::string& text, bool visible) override;
    void SetSaveTo(const std::string& path) override { saveTo_.SetText(path); }
    void SetStartFolder(const std::string& folder) override { startFolder_ = folder; }
    void FocusSaveTo() override { SetFocus(saveTo_.handle()); }
    void ShowMinimisedAndFlash() override;
    std::string SaveToText() const override { return saveTo_.Text(); }
    std::string PortRangeText() const override { return portRange_.Text(); }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void OnCommand(int id, int notification);
    void OpenBrowse();
    void TakeBrowseChoice(const BrowseChoice& choice) override;

    TransferWindowContext context_;
    ReceiveFileDialogControl& control_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl fromUser_;
    conversation::ChatTextControl mode_;
    conversation::ChatTextControl fileSize_;
    conversation::ChatTextControl portRange_;
    conversation::ChatTextControl saveTo_;
    std::string startFolder_;
    std::string offeredName_;   // from the caption, for a folder chosen in "Browse"
    bool portRowShown_ = true;  // as the template has it
    std::unique_ptr<BrowseDialog> browse_;
};

// "Save file" with "File already exists." (dialog 154): its buttons and close
// box go to the core.
class FileExistsDialog : public ui::Dialog, public FileExistsDialogView {
public:
    FileExistsDialog(const TransferWindowContext& context, FileExistsControl& control);
    bool Create();
    void ShowInFront() override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TransferWindowContext context_;
    FileExistsControl& control_;
};

}  // namespace vorlan::transfer
