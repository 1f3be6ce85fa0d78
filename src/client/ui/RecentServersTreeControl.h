#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "client/ClientViews.h"
#include "ui/TreeControl.h"

namespace vorlan::client {

// The main window's "Recently used servers:" tree (control 1052): one item per
// entry of the recent server list, with the entry id as lParam, each drawn in
// its own colour.
class RecentServersTreeControl : public RecentServersView {
public:
    // Tree background (colour 7) and text colour (colour 9).
    void Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour);
    HWND handle() const { return tree_.handle(); }

    // RecentServersView
    void AddServerItem(int id, const std::string& label, std::uint32_t colour) override;
    void SetServerItemLabel(int id, const std::string& label) override;
    void SetServerItemColour(int id, std::uint32_t colour) override;
    void RemoveServerItem(int id) override;
    void ClearServerItems() override;

    // The parent forwards the tree's WM_NOTIFY here; a value is the message's
    // result (set it with DWLP_MSGRESULT in a dialog and return TRUE).
    std::optional<LRESULT> HandleNotify(const NMHDR& header) { return tree_.HandleNotify(header); }

    // On NM_RCLICK: selects the entry under the click and returns its id;
    // nothing when the click hit no entry.
    std::optional<int> SelectItemAtCursor();
    // On NM_DBLCLK: the id of the entry double-clicked.
    std::optional<int> ItemIdAtCursor();
    std::optional<int> SelectedItemId() const { return tree_.SelectedId(); }

private:
    ui::TreeControl tree_;
};

}  // namespace vorlan::client
