// The menus and dialog templates as the executable carries them: the windows
// find their items and controls by id, the menu rules and the end-to-end tests
// rely on ids, order and initial grey states, and the texts are what users see.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/ui/MainDialogIds.h"
#include "app/ui/OptionsDialogIds.h"
#include "client/ui/AdminListIds.h"
#include "client/ui/ClientDialogIds.h"
#include "client/ui/PrivateChatIds.h"
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

// Reads a DLGTEMPLATEEX, whose items follow DWORD-aligned.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : data_(data) {}
    template <typename T>
    T Read() {
        T value;
        std::memcpy(&value, data_ + offset_, sizeof value);
        offset_ += sizeof value;
        return value;
    }
    // A name or an ordinal (0xFFFF then the number, given as "#n").
    std::string ReadField() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Read<WORD>());
        std::string text;
        for (WORD c = first; c != 0; c = Read<WORD>()) text.push_back(static_cast<char>(c));
        return text;
    }
    void Skip(std::size_t bytes, std::size_t align = 1) { offset_ = (offset_ + bytes + align - 1) & ~(align - 1); }

private:
    const BYTE* data_;
    std::size_t offset_ = 0;
};

// The dialog's style bits of interest, menu, caption and every control in
// order: "id CLASS text" with the button kind and
// " readonly" or " hidden" as set; labels without an id as "label TEXT".
std::vector<std::string> DialogOf(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (found == nullptr) return {"missing"};
    TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(module, found))));
    if (reader.Read<WORD>() != 1 || reader.Read<WORD>() != 0xFFFF) return {"not a DLGTEMPLATEEX"};
    reader.Skip(8);  // help id, extended style
    const DWORD style = reader.Read<DWORD>();
    const WORD count = reader.Read<WORD>();
    reader.Skip(8);
    const std::string menu = reader.ReadField(), windowClass = reader.ReadField(), caption = reader.ReadField();
    std::vector<std::string> dialog{menu + " " + windowClass + " " + caption +
                                    ((style & WS_THICKFRAME) ? " sizable" : "") +
                                    ((style & WS_MAXIMIZEBOX) ? " maximizable" : "")};
    if (style & DS_SETFONT) reader.Skip(6), reader.ReadField();
    for (WORD i = 0; i < count; ++i) {
        reader.Skip(8, 4);  // to the item, past help id and extended style
        const DWORD controlStyle = reader.Read<DWORD>();
        reader.Skip(8);
        const auto controlId = static_cast<int>(reader.Read<DWORD>());
        std::string className = reader.ReadField();
        for (char& c : className)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));  // any case in the script
        className = className == "#128"   ? "BUTTON"
                    : className == "#129" ? "EDIT"
                    : className == "#130" ? "STATIC"
                                          : className;
        const std::string text = reader.ReadField();
        reader.Skip(reader.Read<WORD>());
        if (controlId == -1 || controlId == 0xFFFF) {
            dialog.push_back("label " + text);
            continue;
        }
        std::string kind;
        if (className == "BUTTON") {
            const char* kinds[] = {" push",       " default", " check", " autocheck", " radio",   " 3state",
                                   " auto3state", " group",   " user",  " autoradio", " pushbox", " ownerdraw"};
            kind = (controlStyle & 0xF) < std::size(kinds) ? kinds[controlStyle & 0xF] : " other";
        } else if (controlStyle & ES_READONLY) {
            kind = " readonly";
        }
        if (!(controlStyle & WS_VISIBLE)) kind += " hidden";
        dialog.push_back(std::to_string(controlId) + " " + className + " " + text + kind);
    }
    return dialog;
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

TEST(Resources, DialogsHoldTheirControlsInOrder) {
    EXPECT_EQ(DialogOf(IDD_MAIN_DIALOG)[0], "#" + std::to_string(IDR_MAIN_MENU) + "  Vorlan sizable maximizable");
    EXPECT_EQ(DialogOf(IDD_PRIVATE_CHAT),
              (std::vector<std::string>{"   sizable maximizable", "1046 RICHEDIT20A  readonly", "1001 RICHEDIT20A ",
                                        "1037 BUTTON send default hidden"}));
    EXPECT_EQ(DialogOf(IDD_OPTIONS),
              (std::vector<std::string>{"  Options",
                                        "1039 BUTTON Check for new version autocheck",
                                        "1040 BUTTON Start server autocheck",
                                        "1042 BUTTON Connect to specified host autocheck",
                                        "1011 RICHEDIT20A ",
                                        "1032 BUTTON Attempt to reconnect when losing connection autocheck",
                                        "1034 BUTTON Enable popup autocheck",
                                        "1035 BUTTON Enable popup sound autocheck",
                                        "label Main chat:",
                                        "1038 BUTTON Enable chat logging autocheck",
                                        "label Private chat:",
                                        "1036 BUTTON Enable message sound autocheck",
                                        "1047 BUTTON Enable chat logging autocheck",
                                        "1048 BUTTON Enable timestamps autocheck",
                                        "1049 BUTTON Automatically open links in browser when clicked autocheck",
                                        "1050 BUTTON Close window when transfer is complete autocheck",
                                        "1043 BUTTON Use specified browser radio",
                                        "1001 RICHEDIT20A ",
                                        "1012 BUTTON ... push",
                                        "1044 BUTTON Use Internet Explorer radio",
                                        "1015 BUTTON apply default",
                                        "1027 BUTTON cancel push"}));
    EXPECT_EQ(DialogOf(IDD_EDIT_PROFILE),
              (std::vector<std::string>{
                  "  Edit profile", "label Name:", "1011 RICHEDIT20A ", "label E-mail address:", "1001 RICHEDIT20A ",
                  "label Country:", "1014 RICHEDIT20A ", "label Home page:", "1016 RICHEDIT20A ", "label Interests:",
                  "1017 RICHEDIT20A ", "label Gender:", "1018 RICHEDIT20A ", "label Birthday:", "1019 RICHEDIT20A ",
                  "label Picture URL:", "1024 RICHEDIT20A ", "1012 BUTTON update default", "1015 BUTTON cancel push"}));
    EXPECT_EQ(DialogOf(IDD_CUSTOM_STATUS),
              (std::vector<std::string>{"  Custom", "label Status:", "1011 RICHEDIT20A ", "1012 BUTTON update default",
                                        "1015 BUTTON cancel push"}));
    for (int dialog : {IDD_CONNECT_DIALOG, IDD_ABOUT_DIALOG, IDD_INFO_DIALOG, IDD_TRAY_MENU_WINDOW}) {
        EXPECT_NE(DialogOf(dialog)[0], "missing") << dialog;
    }
    HMENU servers = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SERVERS_MENU));
    EXPECT_EQ(ItemsOf(GetSubMenu(servers, 0)),
              (std::vector<std::string>{"Connect 32830", "Remove 32831", "Copy IP Address 32832"}));
    DestroyMenu(servers);
}

// The admin's list windows: one tree each, their context menus without the
// entries that are inserted for a selected row, and the Add dialog's fields.
TEST(Resources, AdminListWindowsAndTheirMenus) {
    EXPECT_EQ(DialogOf(IDD_CONNECTIONS),
              (std::vector<std::string>{"  Connections sizable maximizable", "1029 SYSTREEVIEW32 "}));
    EXPECT_EQ(DialogOf(IDD_BAN_LIST),
              (std::vector<std::string>{"  Ban list sizable maximizable", "1029 SYSTREEVIEW32 "}));
    EXPECT_EQ(DialogOf(IDD_ADD_BAN), (std::vector<std::string>{"  Add", "label IP address:", "1011 RICHEDIT20A ",
                                                               "label Description:", "1001 RICHEDIT20A ",
                                                               "1012 BUTTON add default", "1015 BUTTON cancel push"}));
    HMENU connections = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONNECTIONS_MENU));
    EXPECT_EQ(ItemsOf(GetSubMenu(connections, 0)), std::vector<std::string>{"Refresh 32840"});
    DestroyMenu(connections);
    HMENU banList = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_BAN_LIST_MENU));
    EXPECT_EQ(ItemsOf(GetSubMenu(banList, 0)), (std::vector<std::string>{"Refresh 32843", "-", "Add 32844"}));
    DestroyMenu(banList);
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
