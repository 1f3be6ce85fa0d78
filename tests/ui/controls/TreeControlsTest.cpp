// The user tree and the recently used servers tree on real tree view controls
// under Wine: row order, grouping, ids behind the rows and the colours handed
// to custom draw. Skipped without a display.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "client/ui/RecentServersTreeControl.h"
#include "client/ui/UserTreeControl.h"

namespace vorlan::client {
namespace {

constexpr std::uint32_t kBackground = 0x303030, kText = 0xE0E0E0;

UserRow User(int id, int group, const std::string& label, std::uint32_t colour) {
    return UserRow{id, 0, false, false, label, "", colour, label, group};
}

class TreeControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {  // one parent: a top-level window takes long to appear under Wine
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        parent_ = CreateWindowExA(0, "STATIC", "tree test", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(parent_); }
    void SetUp() override {
        if (!parent_) GTEST_SKIP() << "no window can be created (no display)";
        tree_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES, 0, 0, 280, 280, parent_,
                                nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(tree_); }

    // Labels in display order, children indented, "+" after an expanded row.
    std::string Rows() const {
        std::string rows;
        for (HTREEITEM top = TreeView_GetRoot(tree_); top; top = TreeView_GetNextSibling(tree_, top)) {
            rows += "|" + Label(top) + ((TreeView_GetItemState(tree_, top, TVIS_EXPANDED) & TVIS_EXPANDED) ? "+" : "");
            for (HTREEITEM child = TreeView_GetChild(tree_, top); child; child = TreeView_GetNextSibling(tree_, child))
                rows += "|  " + Label(child);
        }
        return rows;
    }
    std::string Label(HTREEITEM item) const {
        char text[128] = {};
        TVITEMA query{TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
        SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        return text;
    }
    // The text colour custom draw gives the item with this lParam.
    template <typename Control>
    COLORREF DrawnColour(Control& control, int id, UINT itemState = 0) {
        NMTVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {tree_, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(control.HandleNotify(draw.nmcd.hdr), CDRF_NOTIFYITEMDRAW);
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.lItemlParam = id;
        draw.nmcd.uItemState = itemState;
        control.HandleNotify(draw.nmcd.hdr);
        return draw.clrText;
    }

    static inline HWND parent_ = nullptr;
    HWND tree_ = nullptr;
};

TEST_F(TreeControlsTest, AdminsSitAboveNormalUsersInGroupsThatStayExpanded) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    EXPECT_EQ(users.SelectedRowId(), kTopLevel);
    users.AddGroupRow(kNormalGroupId, "Normal", kText);
    users.AddUserRow(User(3, kNormalGroupId, "bob", 0x00A000));
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(1, kAdminsGroupId, "host", 0x0000FF));
    users.AddUserRow(User(4, kNormalGroupId, "cid", 0x00A000));
    users.UpdateUserRow(User(3, kNormalGroupId, "[(bob)]", 0x0000FF));
    users.AddGroupRow(kNormalGroupId, "Normal", kText);  // again: keeps its users
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal+|  [(bob)]|  cid");
    EXPECT_EQ(std::pair(TreeView_GetBkColor(tree_), TreeView_GetTextColor(tree_)),
              std::pair(COLORREF{kBackground}, COLORREF{kText}));
    EXPECT_EQ(DrawnColour(users, 3), 0x0000FFu);
    TreeView_SelectItem(tree_, TreeView_GetRoot(tree_));
    EXPECT_EQ(users.SelectedRowId(), kAdminsGroupId);
    TreeView_SelectItem(tree_, TreeView_GetChild(tree_, TreeView_GetRoot(tree_)));
    EXPECT_EQ(users.SelectedRowId(), 1);

    NMHDR other{nullptr, 0, static_cast<UINT>(NM_CUSTOMDRAW)};  // another control's notification
    EXPECT_FALSE(users.HandleNotify(other).has_value());

    users.RemoveUserRow(3);
    users.RemoveGroupRow(kAdminsGroupId);
    EXPECT_EQ(Rows(), "|Normal+|  cid");
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(1, kAdminsGroupId, "host", 0x0000FF));  // the id is free again
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal+|  cid");
    users.ClearRows();
    EXPECT_EQ(Rows(), "");
}

// The parent window hands the tree's notifications to the control, as the
// main window does.
LRESULT CALLBACK ForwardNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR users) {
    if (message == WM_NOTIFY) {
        if (std::optional<LRESULT> result =
                reinterpret_cast<UserTreeControl*>(users)->HandleNotify(*reinterpret_cast<const NMHDR*>(lParam)))
            return *result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(TreeControlsTest, TheUserFoldsAGroupWithADoubleClickAndItStaysFoldedWhileUsersComeAndGo) {
    UserTreeControl users;
    users.Attach(tree_, kBackground, kText);
    ASSERT_TRUE(SetWindowSubclass(parent_, ForwardNotify, 1, reinterpret_cast<DWORD_PTR>(&users)));
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(1, kAdminsGroupId, "host", 0x0000FF));
    users.AddGroupRow(kNormalGroupId, "Normal", kText);
    users.AddUserRow(User(3, kNormalGroupId, "bob", 0x00A000));
    auto doubleClick = [&](HTREEITEM item) {
        RECT label{};
        ASSERT_TRUE(TreeView_GetItemRect(tree_, item, &label, TRUE));
        SendMessageA(tree_, WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2));
    };
    HTREEITEM normal = TreeView_GetNextSibling(tree_, TreeView_GetRoot(tree_));
    doubleClick(normal);
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal|  bob");
    users.AddUserRow(User(4, kNormalGroupId, "cid", 0x00A000));
    users.RemoveUserRow(3);  // a user changing level leaves and comes back
    users.AddUserRow(User(3, kNormalGroupId, "bob", 0x00A000));
    users.AddGroupRow(kNormalGroupId, "Normal", kText);
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal|  cid|  bob") << "joining users do not unfold it";
    doubleClick(normal);
    users.AddUserRow(User(5, kNormalGroupId, "dan", 0x00A000));
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal+|  cid|  bob|  dan");
    doubleClick(TreeView_GetRoot(tree_));
    users.RemoveGroupRow(kAdminsGroupId);
    users.AddGroupRow(kAdminsGroupId, "Admins", kText);
    users.AddUserRow(User(1, kAdminsGroupId, "host", 0x0000FF));
    EXPECT_EQ(Rows(), "|Admins+|  host|Normal+|  cid|  bob|  dan") << "a group made anew opens expanded";
    RemoveWindowSubclass(parent_, ForwardNotify, 1);
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
    EXPECT_EQ(Rows(), "|05.12.2026 10:00 - chat.invalid - Topic|06.12.2026 08:00 - gone.invalid");
    EXPECT_EQ(DrawnColour(servers, 2), 0x00FFFFu);
    EXPECT_EQ(DrawnColour(servers, 1), COLORREF{kText});
    EXPECT_EQ(DrawnColour(servers, 2, CDIS_SELECTED), GetSysColor(COLOR_HIGHLIGHTTEXT));
    TreeView_SelectItem(tree_, TreeView_GetNextSibling(tree_, TreeView_GetRoot(tree_)));
    EXPECT_EQ(servers.SelectedItemId(), 2);
    servers.ClearServerItems();
    EXPECT_EQ(Rows(), "");
    EXPECT_FALSE(servers.SelectedItemId().has_value());
}

}  // namespace
}  // namespace vorlan::client
