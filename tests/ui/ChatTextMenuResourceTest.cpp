// The chat text control's context menu as the executable carries it: the
// control enables and greys its items by command id and inserts "Open chat
// log" after the first item of a chat view's menu, so ids and order matter.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "conversation/ui/ConversationIds.h"

namespace {

struct Item {
    std::string text;  // empty for a separator
    UINT id;           // 0 for separators
    bool operator==(const Item&) const = default;
};

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        const bool separator = (GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        items.push_back({text, separator ? 0 : GetMenuItemID(menu, position)});
    }
    return items;
}

TEST(ChatTextMenuResource, HoldsNavigateAndTheEditCommandsInOrder) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CHAT_TEXT_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::vector<Item> expected{
        {"Navigate", ID_CHAT_NAVIGATE}, {"", 0},        {"Cut", ID_CHAT_CUT},
        {"Copy", ID_CHAT_COPY},         {"Paste", ID_CHAT_PASTE}, {"", 0},
        {"Select all", ID_CHAT_SELECT_ALL}, {"Clear all", ID_CHAT_CLEAR_ALL},
    };
    EXPECT_EQ(ItemsOf(popup), expected);
    DestroyMenu(menu);
}

}  // namespace
