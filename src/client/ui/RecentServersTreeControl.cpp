#include "client/ui/RecentServersTreeControl.h"

namespace vorlan::client {

void RecentServersTreeControl::Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour) {
    tree_.Attach(tree, backgroundColour, textColour);
}

void RecentServersTreeControl::AddServerItem(int id, const std::string& label, std::uint32_t colour) {
    tree_.Insert(id, std::nullopt, label, colour);
}

void RecentServersTreeControl::SetServerItemLabel(int id, const std::string& label) { tree_.SetLabel(id, label); }

void RecentServersTreeControl::SetServerItemColour(int id, std::uint32_t colour) { tree_.SetColour(id, colour); }

void RecentServersTreeControl::RemoveServerItem(int id) { tree_.Remove(id); }

void RecentServersTreeControl::ClearServerItems() { tree_.Clear(); }

std::optional<int> RecentServersTreeControl::SelectItemAtCursor() { return tree_.IdAtCursor(true); }

std::optional<int> RecentServersTreeControl::ItemIdAtCursor() { return tree_.IdAtCursor(false); }

}  // namespace vorlan::client
