#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"
#include "storage/Records.h"
#include "transfer/BrowseRules.h"
#include "ui/ModelessDialog.h"
#include "ui/TreeControl.h"

namespace vorlan::transfer {

// The dialog that opened a "Browse" dialog and receives its choice.
class BrowseOwner {
public:
    virtual ~BrowseOwner() = default;
    // "use address": the new start folder and the text of the owner's field.
    virtual void TakeBrowseChoice(const BrowseChoice& choice) = 0;
};

// "Browse" (dialog 157): one folder at a time as a tree under the headings
// "Directories" and "Files", the drive list for an empty path; "up", a double
// click and the path field walk the folders, "use address" hands the choice to
// the owner and closes. Its size and maximized flag are remembered in the
// options. The owner holds it; destroying it destroys the window.
class BrowseDialog : public ui::ModelessDialog {
public:
    BrowseDialog(HINSTANCE instance, storage::Options& options, const storage::Colors& colors, BrowseOwner& owner,
                 BrowseOwnerKind kind, HWND iconSource);
    ~BrowseDialog() override;

    // Creates the window at `startFolder` (empty: the drive list), or brings
    // the open one to the front; `offeredName` completes a "Save file" choice.
    void Open(const std::string& startFolder, const std::string& offeredName = {});

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void ApplyStoredSize();
    void OnSize(WPARAM kind, int width, int height);
    INT_PTR OnNotify(const NMHDR& header);
    bool OnButton(int id);
    void ShowContextMenu(POINT at);

    void SetPath(const std::string& text);
    void Fill();
    void ListDrives();
    void ListFolder(const std::string& path);
    void ShowListing();
    void Up();
    void Activate(std::optional<int> id);
    void UseAddress();

    storage::Options& options_;
    const storage::Colors& colors_;
    BrowseOwner& owner_;
    BrowseOwnerKind kind_;
    HWND iconSource_;  // the window whose icons this one shows
    std::string startFolder_;
    std::string offeredName_;
    bool initialised_ = false;
    bool settingPath_ = false;
    HMENU contextMenu_ = nullptr;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl path_;
    ui::TreeControl tree_;
    std::string listedPath_;  // the path whose entries the tree shows
    BrowseListing listing_;
};

}  // namespace vorlan::transfer
