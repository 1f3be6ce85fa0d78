#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "client/ClientViews.h"
#include "ui/TreeControl.h"

namespace vorlan::client {

// The main window's user list (tree control 1029): the group rows "Admins"
// and "Normal", admins above normal users, and the users as their children,
// each drawn in its own colour. A group opens expanded and stays so as users
// come and go, unless the user folds it: then it stays folded until unfolded.
class UserTreeControl : public UserTreeView {
public:
    // Tree background (colour 7) and text colour (colour 9).
    void Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour);
    HWND handle() const { return tree_.handle(); }

    // The row the mouse rests on, for the hover card: a user with its level,
    // name and status, or another row (level -1) with its text alone.
    struct HoverEntry {
        int id = 0;
        int level = -1;
        std::string text;
        std::string name;
        std::string status;
    };
    // Told each time the mouse moves onto another row, or off the rows (nothing).
    void SetHoverHandler(std::function<void(const std::optional<HoverEntry>&)> handler);

    // UserTreeView
    void AddGroupRow(int groupId, const std::string& text, std::uint32_t colour) override;
    void RemoveGroupRow(int groupId) override;
    void AddUserRow(const UserRow& row) override;
    void UpdateUserRow(const UserRow& row) override;
    void RemoveUserRow(int id) override;
    void ClearRows() override;
    int SelectedRowId() const override;

    // The parent forwards the tree's WM_NOTIFY here; a value is the message's
    // result (set it with DWLP_MSGRESULT in a dialog and return TRUE).
    std::optional<LRESULT> HandleNotify(const NMHDR& header);

    // On NM_RCLICK: selects the row under the click and returns its id (a user
    // id, or a group id), kTopLevel when the click hit no row.
    int SelectRowAtCursor();
    // On NM_DBLCLK: the user id (> 0) of the row double-clicked, 0 when the
    // click hit a group row or no row.
    int UserIdAtCursor();

private:
    ui::TreeControl tree_;
    // A selected row that was just removed: the core moves a user between the
    // groups by removing and adding its row, and the user stays selected.
    int reselectId_ = 0;
    // The groups the user folded.
    std::set<int> folded_;
    // What the hover card shows of each row, and the row it shows now.
    std::map<int, HoverEntry> entries_;
    std::function<void(const std::optional<HoverEntry>&)> hoverHandler_;
    std::optional<int> hovered_;
    // The row under the mouse went away: the card goes with it.
    void ForgetHovered(int id);
};

}  // namespace vorlan::client
