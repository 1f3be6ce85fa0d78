// The main window's dialog template and main menu, as the executable carries
// them: the menu's items, command ids, order and initial grey states are what
// the menu rules and the end-to-end tests rely on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/ui/MainDialogIds.h"

namespace {

struct Item {
    std::string text;  // empty for a separator
    UINT id;           // 0 for separators and sub-menus
    bool grey;
};

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        const UINT id = GetSubMenu(menu, position) != nullptr ? 0 : GetMenuItemID(menu, position);
        const bool separator = (state & MF_SEPARATOR) != 0;  // Windows reports these as greyed too
        items.push_back({text, separator ? 0 : id, !separator && (state & MF_GRAYED) != 0});
    }
    return items;
}

void ExpectItems(HMENU menu, const std::vector<Item>& expected) {
    const std::vector<Item> actual = ItemsOf(menu);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i) + " \"" + expected[i].text + "\"");
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].id, expected[i].id);
        EXPECT_EQ(actual[i].grey, expected[i].grey);
    }
}

// Reads a zero-terminated WCHAR field of a dialog template (a string or,
// after 0xFFFF, an ordinal) and moves past it.
std::wstring ReadTemplateField(const WORD*& cursor) {
    if (*cursor == 0xFFFF) {
        const std::wstring ordinal = L"#" + std::to_wstring(cursor[1]);
        cursor += 2;
        return ordinal;
    }
    std::wstring text;
    while (*cursor != 0) text.push_back(static_cast<wchar_t>(*cursor++));
    ++cursor;
    return text;
}

TEST(MainWindowResources, MainMenuHasTheDescribedItemsIdsAndGreyStates) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    ExpectItems(menu, {{"Vorlan", 0, false}, {"Help", 0, false}});

    HMENU vorlan = GetSubMenu(menu, 0);
    ExpectItems(vorlan, {
                            {"Start server", 32771, false},
                            {"Connect to local server", 32772, true},
                            {"Connect to server", 32773, false},
                            {"", 0, false},
                            {"Edit profile", 32774, false},
                            {"", 0, false},
                            {"Options", 32775, false},
                            {"", 0, false},
                            {"Set status", 0, true},
                            {"", 0, false},
                            {"Go to chat logs", 32828, false},
                            {"", 0, false},
                            {"Close main chat", 32776, true},
                            {"", 0, false},
                            {"Stop listening", 32777, true},
                            {"", 0, false},
                            {"End server", 32778, true},
                            {"End connection", 32779, true},
                            {"", 0, false},
                            {"Exit", 32780, false},
                        });
    ASSERT_NE(GetSubMenu(vorlan, SET_STATUS_MENU_POSITION), nullptr);
    ExpectItems(GetSubMenu(vorlan, SET_STATUS_MENU_POSITION), {
                                                                  {"Available", 32792, true},
                                                                  {"Busy", 32793, true},
                                                                  {"Be right back", 32794, true},
                                                                  {"Away", 32795, true},
                                                                  {"", 0, false},
                                                                  {"Custom", 32796, true},
                                                              });
    ExpectItems(GetSubMenu(menu, 1), {{"About Vorlan", 32782, false}});
    DestroyMenu(menu);
}

TEST(MainWindowResources, MainDialogIsACaptionedResizableWindowWithTheMainMenu) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDD_MAIN_DIALOG), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_NE(found, nullptr);
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(words, nullptr);
    // DLGTEMPLATEEX: dlgVer 1, signature 0xFFFF, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
    ASSERT_EQ(words[0], 1);
    ASSERT_EQ(words[1], 0xFFFF);
    DWORD style;
    memcpy(&style, words + 6, sizeof style);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), DWORD{WS_CAPTION | WS_SYSMENU | WS_THICKFRAME});
    const WORD* cursor = words + 13;
    EXPECT_EQ(ReadTemplateField(cursor), L"#" + std::to_wstring(IDR_MAIN_MENU));
    EXPECT_EQ(ReadTemplateField(cursor), L"");  // the standard dialog class
    EXPECT_EQ(ReadTemplateField(cursor), L"Vorlan");
}

}  // namespace
