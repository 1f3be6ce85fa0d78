// The chat text control on real rich edit controls under Wine: what a chat
// view shows (links, colours, bounded length, the reader's place) and what an
// input line does (limits, plain-text paste). Needs a display: without one no
// window can be created and the tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <tuple>

#include "conversation/ChatText.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/ConversationIds.h"

namespace vorlan::conversation {
namespace {

constexpr int kInputLineId = 1001;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x008000;

class TestOwner : public ChatTextOwner {
public:
    ChatLinkOptions options;
    ChatTextControl* target = nullptr;
    HWND window = nullptr;
    ChatLinkOptions LinkOptions() const override { return options; }
    void SetMenuTarget(ChatTextControl* control) override { target = control; }
    HWND CommandWindow() const override { return window; }
};

struct Format {
    bool underline = false;
    bool bold = false;
    COLORREF colour = 0;
};

class ChatTextControlTest : public ::testing::Test {
protected:
    // One parent for the suite: a top-level window takes long to appear under Wine.
    static void SetUpTestSuite() {
        LoadLibraryA("riched20.dll");
        parent_ = CreateWindowExA(0, "STATIC", "chat text test", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static void TearDownTestSuite() {
        if (parent_) DestroyWindow(parent_);
        parent_ = nullptr;
    }

    void SetUp() override {
        window_ = parent_;
        if (!window_) GTEST_SKIP() << "no window can be created (no display)";
        owner_.window = window_;
        viewWindow_ = CreateRichEdit(IDC_CHAT_TEXT_VIEW, ES_READONLY | WS_VSCROLL, 200);
        inputWindow_ = CreateRichEdit(kInputLineId, 0, 60);
        ASSERT_NE(viewWindow_, nullptr);
        ASSERT_NE(inputWindow_, nullptr);
        view_.Attach(viewWindow_, owner_, {0x202020, 0xE0E0E0});
        input_.Attach(inputWindow_, owner_, {0xFFFFFF, 0x000000});
    }

    void TearDown() override {
        if (viewWindow_) DestroyWindow(viewWindow_);
        if (inputWindow_) DestroyWindow(inputWindow_);
    }

    // With a dialog's font, as the templates give it (the default is bold).
    HWND CreateRichEdit(int id, DWORD style, int height) {
        HWND control = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | style, 0,
                               0, 380, height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
        if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }

    static Format FormatAt(HWND control, LONG position) {
        CHARRANGE range{position, position + 1};
        SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return {(format.dwEffects & CFE_UNDERLINE) != 0, (format.dwEffects & CFE_BOLD) != 0, format.crTextColor};
    }

    static LONG Length(HWND control) {
        GETTEXTLENGTHEX request{GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
        return static_cast<LONG>(SendMessageA(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    }

    static bool AtEnd(HWND control) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(control, SB_VERT, &info);
        return info.nPos + static_cast<int>(info.nPage) >= info.nMax;
    }

    static LONG ScrollTop(HWND control) {
        POINT position{};
        SendMessageA(control, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position));
        return position.y;
    }

    void AppendLines(int count) {
        for (int i = 0; i < count; ++i) view_.AppendText("\nline " + std::to_string(i), kGreen, false);
    }

    static inline HWND parent_ = nullptr;
    HWND window_ = nullptr;
    HWND viewWindow_ = nullptr;
    HWND inputWindow_ = nullptr;
    TestOwner owner_;
    ChatTextControl view_;
    ChatTextControl input_;
};

TEST_F(ChatTextControlTest, UnderlinesLinksAtTheStartOrAfterASpaceInTheGivenColourAndWeight) {
    view_.AppendText("\nsee www.example.com/x then xwww.glued.no and http://", kRed, true);
    const std::string text = view_.Text();
    ASSERT_EQ(text, "\r\nsee www.example.com/x then xwww.glued.no and http://");
    const LONG link = 5;  // positions count the line break as one character
    EXPECT_FALSE(FormatAt(viewWindow_, 2).underline);
    EXPECT_TRUE(FormatAt(viewWindow_, link).underline);
    EXPECT_TRUE(FormatAt(viewWindow_, link + 16).underline);
    EXPECT_FALSE(FormatAt(viewWindow_, link + 17).underline);  // the space after it
    EXPECT_FALSE(FormatAt(viewWindow_, 30).underline);         // inside "xwww.glued.no"
    EXPECT_FALSE(FormatAt(viewWindow_, Length(viewWindow_) - 2).underline);  // a bare "http://"
    for (LONG position : {2L, link, 30L}) {
        Format format = FormatAt(viewWindow_, position);
        EXPECT_EQ(format.colour, kRed);
        EXPECT_TRUE(format.bold);
    }
}

TEST_F(ChatTextControlTest, ReadOnlySetTextWritesInTheDefaultColourAndClearAllEmpties) {
    view_.AppendText("\nold", kRed, true);
    view_.SetText("fresh text");
    EXPECT_EQ(view_.Text(), "fresh text");
    Format format = FormatAt(viewWindow_, 1);
    EXPECT_EQ(format.colour, 0xE0E0E0u);
    EXPECT_FALSE(format.bold);
    view_.ClearAll();
    EXPECT_EQ(view_.Text(), "");
}

// Lines of 100 characters: one paragraph of 50000 would make the test slow.
std::string Lines(int count, char letter) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\n" + std::string(99, letter);
    return text;
}

TEST_F(ChatTextControlTest, DropsAsManyCharactersFromTheTopAsTheNewTextHasOncePastTheLimit) {
    view_.AppendText(Lines(400, 'a'), kGreen, false);
    view_.AppendText(Lines(90, 'b'), kGreen, false);
    EXPECT_EQ(Length(viewWindow_), 49000);  // within the limit: nothing dropped
    view_.AppendText(Lines(20, 'c'), kGreen, false);
    EXPECT_EQ(Length(viewWindow_), 49000);  // 2000 dropped although 1000 would do
    const std::string text = RemoveCarriageReturns(view_.Text());
    EXPECT_EQ(text.substr(0, 3), "\naa");  // the first 20 lines went
    EXPECT_EQ(text.size(), 49000u);
    EXPECT_EQ(text.substr(text.size() - 3), "ccc");
}

TEST_F(ChatTextControlTest, AReaderAtTheEndFollowsNewLinesAndOneWhoScrolledUpKeepsHisPlace) {
    AppendLines(40);
    EXPECT_TRUE(AtEnd(viewWindow_));
    SendMessageA(viewWindow_, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(viewWindow_, WM_VSCROLL, SB_LINEDOWN, 0);
    const LONG place = ScrollTop(viewWindow_);
    AppendLines(5);
    EXPECT_EQ(ScrollTop(viewWindow_), place);
    SendMessageA(viewWindow_, WM_VSCROLL, SB_BOTTOM, 0);
    AppendLines(5);
    EXPECT_TRUE(AtEnd(viewWindow_));
}

// After a long text is cleared the control keeps its old scroll range while
// the new text fits; the view must still follow once it grows past a page.
TEST_F(ChatTextControlTest, AClearedViewFollowsNewLinesAgain) {
    AppendLines(120);
    view_.SetText("");
    AppendLines(40);
    EXPECT_TRUE(AtEnd(viewWindow_));
}

TEST_F(ChatTextControlTest, APlainClickOnALinkSelectsItWithoutOpeningWhenAutoOpenIsOff) {
    view_.AppendText("\nclick http://a.invalid/page: here", kGreen, false);
    CHARRANGE caret{12, 12};  // inside the link
    SendMessageA(viewWindow_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(viewWindow_, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(view_.SelectedText(), "http://a.invalid/page");  // the ':' before the space is left out

    CHARRANGE plain{3, 3};
    SendMessageA(viewWindow_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&plain));
    SendMessageA(viewWindow_, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(view_.SelectedText(), "");
}

TEST_F(ChatTextControlTest, InputLimitsAndFiltersFollowTheWindowsTables) {
    SetWindowTextA(inputWindow_, "/name ab\xAC" "c\r\nd");
    input_.ApplyMainInputLimit();
    EXPECT_EQ(input_.Text(), "/name abcd");
    EXPECT_EQ(SendMessageA(inputWindow_, EM_GETLIMITTEXT, 0, 0), 26);
    CHARRANGE selection{};
    SendMessageA(inputWindow_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, 10);  // the caret at the end

    SetWindowTextA(inputWindow_, "/cpw secret");
    input_.ApplyPrivateInputLimit();  // not a command in a private window
    EXPECT_EQ(SendMessageA(inputWindow_, EM_GETLIMITTEXT, 0, 0), 1000);
    input_.ApplyMainInputLimit();
    EXPECT_EQ(SendMessageA(inputWindow_, EM_GETLIMITTEXT, 0, 0), 1005);
}

TEST_F(ChatTextControlTest, TakeTextKeepsLineBreaksAndEmptiesTheInputLine) {
    input_.SetText("two\r\nlines");
    EXPECT_EQ(input_.TakeText(), "two\r\nlines");
    EXPECT_EQ(input_.Text(), "");
}

TEST_F(ChatTextControlTest, CtrlVPastesPlainTextOnlyIntoAnEditableControl) {
    ASSERT_TRUE(OpenClipboard(window_));
    EmptyClipboard();
    const char rich[] = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b RED}";
    const char plain[] = "RED";
    for (auto [format, bytes, size] : {std::tuple{RegisterClipboardFormatA("Rich Text Format"), rich, sizeof rich},
                                       std::tuple{static_cast<UINT>(CF_TEXT), plain, sizeof plain}}) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(memory), bytes, size);
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
    }
    CloseClipboard();

    input_.SetText("x");
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(inputWindow_, WM_KEYDOWN, 'V', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);

    EXPECT_EQ(input_.Text(), "xRED");
    Format format = FormatAt(inputWindow_, 1);
    EXPECT_EQ(format.colour, 0x000000u);
    EXPECT_FALSE(format.bold);
}

TEST_F(ChatTextControlTest, CutPasteSelectAllAndClearAllActOnTheControl) {
    input_.SetText("copy me");
    input_.SelectAll();
    EXPECT_EQ(input_.SelectedText(), "copy me");
    input_.Cut();
    EXPECT_EQ(input_.Text(), "");
    input_.Paste();
    EXPECT_EQ(input_.Text(), "copy me");
    input_.ClearAll();
    EXPECT_EQ(input_.Text(), "");
}

}  // namespace
}  // namespace vorlan::conversation
