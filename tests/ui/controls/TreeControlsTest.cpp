// The user tree and the recently used servers tree on real tree view
// controls under Wine: row order, grouping, ids behind the rows and the
// colours handed to custom draw. Skipped without a display.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "client/ui/RecentServersTreeControl.h"
#include "client/ui/UserTreeControl.h"

namespace vorlan::client {
namespace {

constexpr std::uint32_t kBackground = 0x303030;
constexpr std::uint32_t kText = 0xE0E0E0;

UserRow User(int id, int group, const std::string& label, std::uint32_t colour) {
    UserRow row;
    row.id = id;
    row.group = group;
    row.name = label;
    row.label = label;
    row.colour = colour;
    return row;
}

class TreeControlsTest : public ::testing::Test {
protected:
    // One parent for the suite: a top-level window takes long to appear under Wine.
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        parent_ = CreateWindowExA(0, "STATIC", "tree test", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    }

    static void TearDownTestSuite() {
        if (parent_) DestroyWindow(parent_);
        parent_ = nullptr;
    }

    void SetUp() override {
        window_ = parent_;
        if (!window_) GTEST_SKIP() << "no window can be created (no display)";
        tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES, 0, 0, 280, 280, window_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(tree_, nullptr);
    }

    void TearDown() override {
        if (tree_) DestroyWindow(tree_);
    }

    std::string Label(HTREEITEM item) const {
        char text[128] = {};
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = sizeof text;
        SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        return text;
    }

    // Labels in display order, children indented by two spaces.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (HTREEITEM top = TreeView_GetRoot(tree_); top; top = TreeView_GetNextSibling(tree_, top)) {
            rows.push_back(Label(top));
            for (HTREEITEM child = TreeView_GetChild(tree_, top); child; child = TreeView_GetNextSibling(tree_, child)) {
                rows.push_back("  " + Label(child));
            }
        }
        return rows;
    }

    bool Expanded(HTREEITEM item) const {
        return (TreeView_GetItemState(tree_, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }

    // The text colour custom draw gives the item with this lParam.
    template <typename Control>
    COLORREF DrawnColour(Control& control, int id, UINT itemState = 0) {
        NMTVCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = tree_;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(control.HandleNotify(draw.nmcd.hdr), CDRF_NOTIFYITEMDRAW);
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.lItemlParam = id;
        draw.nmcd.uItemState = itemState;
        control.HandleNotify(draw.nmcd.hdr);
        return draw.clrText;
    }

    static inline HWND parent_ = nullptr;
    HWND window_ = nullptr;
    HWND tree_ = nullptr;
};

TEST_F(TreeControlsTest, AdminsSitAboveNormalUsersInExpandedGroups) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    users.AddGroupRow(kNormalGroupId, "Normal", kText);
    users.AddUserRow(User(3, kNormalGroupId, "bob", 0x00A000));
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(1, kAdminsGroupId, "host", 0x0000FF));
    users.AddUserRow(User(2, kAdminsGroupId, "(ann)", 0xFF0000));
    users.AddUserRow(User(4, kNormalGroupId, "[cid]", 0x00A000));

    EXPECT_EQ(Rows(), (std::vector<std::string>{"Admins", "  host", "  (ann)", "Normal", "  bob", "  [cid]"}));
    for (HTREEITEM group = TreeView_GetRoot(tree_); group; group = TreeView_GetNextSibling(tree_, group)) {
        EXPECT_TRUE(Expanded(group)) << Label(group);
    }
    EXPECT_EQ(TreeView_GetBkColor(tree_), static_cast<COLORREF>(kBackground));
    EXPECT_EQ(TreeView_GetTextColor(tree_), static_cast<COLORREF>(kText));
}

TEST_F(TreeControlsTest, UserRowsChangeInPlaceAndGoWithTheirGroup) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    users.AddGroupRow(kNormalGroupId, "Normal", kText);
    users.AddUserRow(User(3, kNormalGroupId, "bob", 0x00A000));
    users.AddUserRow(User(4, kNormalGroupId, "cid", 0x00A000));
    users.UpdateUserRow(User(3, kNormalGroupId, "[(bob)]", 0x0000FF));
    users.AddGroupRow(kNormalGroupId, "Normal", kText);  // again: keeps its users
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Normal", "  [(bob)]", "  cid"}));
    EXPECT_EQ(DrawnColour(users, 3), 0x0000FFu);

    users.RemoveUserRow(3);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Normal", "  cid"}));
    users.RemoveGroupRow(kNormalGroupId);
    EXPECT_TRUE(Rows().empty());
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(4, kAdminsGroupId, "cid", 0x00A000));  // the id is free again
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Admins", "  cid"}));
    users.ClearRows();
    EXPECT_TRUE(Rows().empty());
}

TEST_F(TreeControlsTest, TheSelectedRowIsReportedByItsId) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    EXPECT_EQ(users.SelectedRowId(), kTopLevel);
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(7, kAdminsGroupId, "host", 0x0000FF));
    HTREEITEM group = TreeView_GetRoot(tree_);
    TreeView_SelectItem(tree_, group);
    EXPECT_EQ(users.SelectedRowId(), kAdminsGroupId);
    TreeView_SelectItem(tree_, TreeView_GetChild(tree_, group));
    EXPECT_EQ(users.SelectedRowId(), 7);
}

TEST_F(TreeControlsTest, GroupsCannotBeCollapsed) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    NMTREEVIEWA expanding{};
    expanding.hdr.hwndFrom = tree_;
    expanding.hdr.code = TVN_ITEMEXPANDINGA;
    expanding.action = TVE_COLLAPSE;
    EXPECT_EQ(users.HandleNotify(expanding.hdr), TRUE);
    expanding.action = TVE_EXPAND;
    EXPECT_EQ(users.HandleNotify(expanding.hdr), FALSE);
    NMHDR other{nullptr, 0, NM_CUSTOMDRAW};  // another control's notification
    EXPECT_FALSE(users.HandleNotify(other).has_value());
}

TEST_F(TreeControlsTest, RecentServerItemsKeepTheirIdsLabelsAndColours) {
    RecentServersTreeControl servers;
    servers.Attach(tree_, kBackground, kText);
    servers.AddServerItem(0, "05.12.2026 09:05 - 127.0.0.1", kText);
    servers.AddServerItem(1, "05.12.2026 10:00 - chat.invalid", kText);
    servers.AddServerItem(2, "06.12.2026 08:00 - gone.invalid", kText);
    servers.RemoveServerItem(0);
    servers.SetServerItemLabel(1, "05.12.2026 10:00 - chat.invalid - Topic");
    servers.SetServerItemColour(2, 0x00FFFF);

    EXPECT_EQ(Rows(), (std::vector<std::string>{"05.12.2026 10:00 - chat.invalid - Topic", "06.12.2026 08:00 - gone.invalid"}));
    EXPECT_EQ(DrawnColour(servers, 2), 0x00FFFFu);
    EXPECT_EQ(DrawnColour(servers, 1), static_cast<COLORREF>(kText));
    EXPECT_EQ(DrawnColour(servers, 2, CDIS_SELECTED), GetSysColor(COLOR_HIGHLIGHTTEXT));
    TreeView_SelectItem(tree_, TreeView_GetNextSibling(tree_, TreeView_GetRoot(tree_)));
    EXPECT_EQ(servers.SelectedItemId(), 2);
    servers.ClearServerItems();
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(servers.SelectedItemId().has_value());
}

}  // namespace
}  // namespace vorlan::client
