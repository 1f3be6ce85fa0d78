#pragma once

#include <windows.h>

#include <string>

#include "transfer/TransferViews.h"
#include "transfer/ui/TransferDialogIds.h"
#include "transfer/ui/SendFileDialog.h"
#include "transfer/ui/WindowIcons.h"
#include "ui/Dialog.h"

namespace vorlan::transfer {

// A send window (dialog 155) or a receive window (dialog 156): status, file
// name and location, a progress bar, speed, bytes done and total, the file
// type's shell icons and three buttons whose texts the core sets. Presses and
// the close box go to the core, which destroys the object (and the window).
class ProgressWindow : public ui::Dialog, public TransferWindowView {
public:
    ProgressWindow(const TransferWindowContext& context, TransferWindowControl& control, int templateId);
    ~ProgressWindow() override;
    bool Create();

    // TransferWindowView
    void SetCaption(const std::string& caption) override;
    void SetIconsFor(const std::string& fileName) override;
    void SetStatus(const std::string& text) override { SetField(IDC_TRANSFER_STATUS, text); }
    void SetFileName(const std::string& text) override { SetField(IDC_TRANSFER_FILE_NAME, text); }
    void SetFileLocation(const std::string& text) override { SetField(IDC_TRANSFER_LOCATION, text); }
    void SetProgress(int percent) override;
    void SetSpeed(const std::string& text) override { SetField(IDC_TRANSFER_SPEED, text); }
    void SetDone(const std::string& text) override { SetField(IDC_TRANSFER_DONE, text); }
    void SetTotal(const std::string& text) override { SetField(IDC_TRANSFER_TOTAL, text); }
    void SetMiddleButton(const std::string& text) override { SetField(IDC_TRANSFER_MIDDLE, text); }
    void SetThirdButton(const std::string& text) override { SetField(IDC_TRANSFER_THIRD, text); }
    void Show() override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Changes the text only when it differs, so that nothing flickers.
    void SetField(int id, const std::string& text);
    void OnButton(int id);
    void PaintNow();

    TransferWindowContext context_;
    TransferWindowControl& control_;
    int templateId_;
    FileIcons icons_;
    std::string caption_;
    int progress_ = -1;
};

}  // namespace vorlan::transfer
