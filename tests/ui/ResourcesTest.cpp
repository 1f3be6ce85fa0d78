// The menus and the version block as the executable carries them: the menu
// rules rely on ids, order and initial grey states (the dialog templates are
// driven control by control by the end-to-end checks).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ui/MainDialogIds.h"
#include "conversation/ui/ConversationIds.h"

namespace {

// "text id" per item, " grey" when greyed, "text >" for a sub-menu, "-" for a separator.
std::vector<std::string> ItemsOf(HMENU menu) {
    std::vector<std::string> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        const bool grey = (state & MF_GRAYED) != 0;  // Windows reports separators as greyed too
        if (state & MF_SEPARATOR)
            items.push_back("-");
        else if (GetSubMenu(menu, position))
            items.push_back(std::string(text) + " >" + (grey ? " grey" : ""));
        else
            items.push_back(std::string(text) + " " + std::to_string(GetMenuItemID(menu, position)) +
                            (grey ? " grey" : ""));
    }
    return items;
}

TEST(Resources, MainMenuHasItsItemsIdsAndGreyStates) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ItemsOf(menu), (std::vector<std::string>{"Vorlan >", "Help >"}));
    HMENU vorlan = GetSubMenu(menu, 0);
    EXPECT_EQ(ItemsOf(vorlan), (std::vector<std::string>{"Start server 32771",
                                                         "Connect to local server 32772 grey",
                                                         "Connect to server 32773",
                                                         "-",
                                                         "Edit profile 32774",
                                                         "-",
                                                         "Options 32775",
                                                         "-",
                                                         "Set status > grey",
                                                         "-",
                                                         "Go to chat logs 32828",
                                                         "-",
                                                         "Close main chat 32776 grey",
                                                         "-",
                                                         "Stop listening 32777 grey",
                                                         "-",
                                                         "End server 32778 grey",
                                                         "End connection 32779 grey",
                                                         "-",
                                                         "Exit 32780"}));
    EXPECT_EQ(ItemsOf(GetSubMenu(vorlan, SET_STATUS_MENU_POSITION)),
              (std::vector<std::string>{"Available 32792 grey", "Busy 32793 grey", "Be right back 32794 grey",
                                        "Away 32795 grey", "-", "Custom 32796 grey"}));
    EXPECT_EQ(ItemsOf(GetSubMenu(menu, 1)), std::vector<std::string>{"About Vorlan 32782"});
    DestroyMenu(menu);
    // The chat text control greys its items by id and puts "Open chat log" after the first.
    menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CHAT_TEXT_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(
        ItemsOf(GetSubMenu(menu, 0)),
        (std::vector<std::string>{
            "Navigate " + std::to_string(ID_CHAT_NAVIGATE), "-", "Cut " + std::to_string(ID_CHAT_CUT),
            "Copy " + std::to_string(ID_CHAT_COPY), "Paste " + std::to_string(ID_CHAT_PASTE), "-",
            "Select all " + std::to_string(ID_CHAT_SELECT_ALL), "Clear all " + std::to_string(ID_CHAT_CLEAR_ALL)}));
    DestroyMenu(menu);
}

// The version block as Windows reads it for the file's properties: the numbers
// of the fixed part and the texts of the string table.
TEST(Resources, VersionIs117) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    VS_FIXEDFILEINFO fixed{};
    std::string text;  // the UTF-16 texts, ASCII only, with their NULs
    for (DWORD offset = 0; offset + sizeof(WCHAR) <= size; offset += sizeof(WCHAR)) {
        if (fixed.dwSignature == 0 && offset + sizeof fixed <= size &&
            std::memcmp(data + offset, "\xBD\x04\xEF\xFE", 4) == 0) {
            std::memcpy(&fixed, data + offset, sizeof fixed);
        }
        text.push_back(static_cast<char>(data[offset]));
    }
    EXPECT_EQ(std::pair(fixed.dwFileVersionMS, fixed.dwProductVersionMS), std::pair(DWORD{0x10011}, DWORD{0x10011}));
    // A value follows its key after NUL padding.
    auto valueOf = [&](const std::string& key) {
        std::size_t at = text.find(key + '\0');
        if (at == std::string::npos) return std::string("(missing)");
        at = text.find_first_not_of('\0', at + key.size());
        return text.substr(at, text.find('\0', at) - at);
    };
    EXPECT_EQ(std::pair(valueOf("FileVersion"), valueOf("ProductVersion")),
              std::pair(std::string("1.17"), std::string("1.17")));
}

}  // namespace
