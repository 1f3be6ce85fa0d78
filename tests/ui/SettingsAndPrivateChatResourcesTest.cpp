// The private chat window and the settings dialogs as the executable carries
// them: the windows find their controls by id, the end-to-end tests drive them
// by id, and the texts are the ones users see.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "conversation/ui/PrivateChatIds.h"
#include "storage/ui/StorageDialogIds.h"

namespace {

struct Control {
    std::string className;  // "Button", "Static", "RichEdit20A", ...
    std::string text;
    DWORD style = 0;
};

struct Template {
    std::string caption;
    DWORD style = 0;
    std::map<int, Control> controls;  // by id
    std::vector<std::string> labels;  // texts of the controls without an id (-1), in order
};

// Reads the fields of a DLGTEMPLATEEX, which its items follow DWORD-aligned.
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
    // A name or an ordinal (0xFFFF followed by the number, given as "#n").
    std::string ReadField() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Read<WORD>());
        std::string text;
        for (WORD c = first; c != 0; c = Read<WORD>()) text.push_back(static_cast<char>(c));
        return text;
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) { offset_ += bytes; }

private:
    const BYTE* data_;
    std::size_t offset_ = 0;
};

std::string ClassName(const std::string& field) {
    static const std::map<std::string, std::string> kPredefined{
        {"#128", "Button"}, {"#129", "Edit"}, {"#130", "Static"}};
    auto found = kPredefined.find(field);
    return found != kPredefined.end() ? found->second : field;
}

bool LoadTemplate(int id, Template& result) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (found == nullptr) return false;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    TemplateReader reader(data);
    if (reader.Read<WORD>() != 1 || reader.Read<WORD>() != 0xFFFF) return false;
    reader.Read<DWORD>();  // help id
    reader.Read<DWORD>();  // extended style
    result.style = reader.Read<DWORD>();
    const WORD count = reader.Read<WORD>();
    reader.Skip(4 * sizeof(short));
    reader.ReadField();  // menu
    reader.ReadField();  // class
    result.caption = reader.ReadField();
    if (result.style & DS_SETFONT) {
        reader.Skip(2 * sizeof(WORD) + 2);
        reader.ReadField();  // typeface
    }
    for (WORD i = 0; i < count; ++i) {
        reader.AlignToDword();
        reader.Read<DWORD>();  // help id
        reader.Read<DWORD>();  // extended style
        Control control;
        control.style = reader.Read<DWORD>();
        reader.Skip(4 * sizeof(short));
        const auto id = static_cast<int>(reader.Read<DWORD>());
        control.className = ClassName(reader.ReadField());
        control.text = reader.ReadField();
        reader.Skip(reader.Read<WORD>());
        if (id == -1 || id == 0xFFFF) {
            result.labels.push_back(control.text);
        } else {
            result.controls[id] = control;
        }
    }
    return true;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void ExpectControl(const Template& dialog, int id, const std::string& className, const std::string& text) {
    auto found = dialog.controls.find(id);
    ASSERT_NE(found, dialog.controls.end()) << "control " << id << " of \"" << dialog.caption << "\"";
    // Window class names are compared without regard to case (the resource
    // compiler writes them in capitals).
    EXPECT_EQ(Upper(found->second.className), Upper(className)) << "control " << id;
    EXPECT_EQ(found->second.text, text) << "control " << id;
}

void ExpectTextField(const Template& dialog, int id) {
    ExpectControl(dialog, id, "RichEdit20A", "");
    EXPECT_EQ(dialog.controls.at(id).style & ES_READONLY, 0u) << "control " << id;
}

TEST(PrivateChatResources, ViewInputAndHiddenDefaultSendButton) {
    Template dialog;
    ASSERT_TRUE(LoadTemplate(IDD_PRIVATE_CHAT, dialog));
    EXPECT_EQ(dialog.style & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
              DWORD{WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX});
    ExpectControl(dialog, 1046, "RichEdit20A", "");
    EXPECT_NE(dialog.controls.at(1046).style & ES_READONLY, 0u);
    ExpectTextField(dialog, 1001);
    ExpectControl(dialog, 1037, "Button", "send");
    EXPECT_EQ(dialog.controls.at(1037).style & 0xF, DWORD{BS_DEFPUSHBUTTON});
    EXPECT_EQ(dialog.controls.at(1037).style & WS_VISIBLE, 0u);
    EXPECT_EQ(dialog.controls.size(), 3u);
}

TEST(SettingsResources, OptionsHoldsItsFourteenBoxesTwoFieldsAndButtons) {
    Template dialog;
    ASSERT_TRUE(LoadTemplate(IDD_OPTIONS, dialog));
    EXPECT_EQ(dialog.caption, "Options");
    const std::map<int, std::string> checkBoxes{
        {1039, "Check for new version"},
        {1040, "Start server"},
        {1042, "Connect to specified host"},
        {1032, "Attempt to reconnect when losing connection"},
        {1034, "Enable popup"},
        {1035, "Enable popup sound"},
        {1038, "Enable chat logging"},
        {1036, "Enable message sound"},
        {1047, "Enable chat logging"},
        {1048, "Enable timestamps"},
        {1049, "Automatically open links in browser when clicked"},
        {1050, "Close window when transfer is complete"},
    };
    for (const auto& [id, text] : checkBoxes) {
        ExpectControl(dialog, id, "Button", text);
        EXPECT_EQ(dialog.controls.at(id).style & 0xF, DWORD{BS_AUTOCHECKBOX}) << id;
    }
    // The browser pair: the dialog decides their checks itself.
    ExpectControl(dialog, 1043, "Button", "Use specified browser");
    ExpectControl(dialog, 1044, "Button", "Use Internet Explorer");
    EXPECT_EQ(dialog.controls.at(1043).style & 0xF, DWORD{BS_RADIOBUTTON});
    EXPECT_EQ(dialog.controls.at(1044).style & 0xF, DWORD{BS_RADIOBUTTON});
    ExpectTextField(dialog, 1011);
    ExpectTextField(dialog, 1001);
    ExpectControl(dialog, 1012, "Button", "...");
    ExpectControl(dialog, 1015, "Button", "apply");
    ExpectControl(dialog, 1027, "Button", "cancel");
    EXPECT_EQ(dialog.controls.size(), 19u);
    EXPECT_EQ(dialog.labels, (std::vector<std::string>{"Main chat:", "Private chat:"}));
}

TEST(SettingsResources, EditProfileHoldsEightFieldsAndItsButtons) {
    Template dialog;
    ASSERT_TRUE(LoadTemplate(IDD_EDIT_PROFILE, dialog));
    EXPECT_EQ(dialog.caption, "Edit profile");
    for (int id : {1011, 1001, 1014, 1016, 1017, 1018, 1019, 1024}) ExpectTextField(dialog, id);
    EXPECT_EQ(dialog.labels, (std::vector<std::string>{"Name:", "E-mail address:", "Country:", "Home page:",
                                                       "Interests:", "Gender:", "Birthday:", "Picture URL:"}));
    ExpectControl(dialog, 1012, "Button", "update");
    ExpectControl(dialog, 1015, "Button", "cancel");
    EXPECT_EQ(dialog.controls.size(), 10u);
}

TEST(SettingsResources, CustomStatusHoldsOneFieldAndItsButtons) {
    Template dialog;
    ASSERT_TRUE(LoadTemplate(IDD_CUSTOM_STATUS, dialog));
    EXPECT_EQ(dialog.caption, "Custom");
    ExpectTextField(dialog, 1011);
    EXPECT_EQ(dialog.labels, std::vector<std::string>{"Status:"});
    ExpectControl(dialog, 1012, "Button", "update");
    ExpectControl(dialog, 1015, "Button", "cancel");
    EXPECT_EQ(dialog.controls.size(), 3u);
}

}  // namespace
