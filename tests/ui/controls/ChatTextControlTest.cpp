// The chat text control on real rich edit controls under Wine: what a chat
// view shows (links, colours, bounded length, the reader's place) and what an
// input line does (limits, plain-text paste). Needs a display: without one no
// window can be created and the tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>

#include "conversation/ViewText.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/ConversationIds.h"

namespace vorlan::conversation {
namespace {

constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x008000;

struct TestOwner : ChatTextOwner {
    HWND window = nullptr;
    const storage::Options* LinkOptions() const override { return nullptr; }
    void SetMenuTarget(ChatTextControl*) override {}
    HWND CommandWindow() const override { return window; }
};

class ChatTextControlTest : public ::testing::Test {
protected:
    // One parent for the suite: a top-level window takes long to appear under Wine.
    static void SetUpTestSuite() {
        LoadLibraryA("riched20.dll");
        parent_ = CreateWindowExA(0, "STATIC", "chat text test", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(parent_); }

    void SetUp() override {
        if (!parent_) GTEST_SKIP() << "no window can be created (no display)";
        owner_.window = parent_;
        view_.Attach(viewWindow_ = CreateRichEdit(IDC_CHAT_TEXT_VIEW, ES_READONLY | WS_VSCROLL, 200), owner_,
                     {0x202020, 0xE0E0E0});
        input_.Attach(inputWindow_ = CreateRichEdit(1001, 0, 60), owner_, {0xFFFFFF, 0x000000});
    }
    void TearDown() override { DestroyWindow(viewWindow_), DestroyWindow(inputWindow_); }

    // With a dialog's font, as the templates give it (the default is bold).
    static HWND CreateRichEdit(int id, DWORD style, int height) {
        HWND control = CreateWindowExA(
            0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | style, 0, 0, 380, height,
            parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }
    // "u" for underlined, "b" for bold, then the colour, of the character at `position`.
    static std::string FormatAt(HWND control, LONG position) {
        CHARRANGE range{position, position + 1};
        SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return std::string(format.dwEffects & CFE_UNDERLINE ? "u" : "") + (format.dwEffects & CFE_BOLD ? "b" : "") +
               std::to_string(format.crTextColor);
    }
    static LONG Length(HWND control) {
        GETTEXTLENGTHEX request{GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
        return static_cast<LONG>(SendMessageA(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
    }
    static bool AtEnd(HWND control) {
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
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
    // `count` lines of 100 characters in one text: one paragraph of 50000 would make the test slow.
    void AppendBlock(int count, char letter) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "\n" + std::string(99, letter);
        view_.AppendText(text, kGreen, false);
    }
    static void Click(HWND control, LONG position) {
        CHARRANGE caret{position, position};
        SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        SendMessageA(control, WM_LBUTTONUP, 0, 0);
    }

    static inline HWND parent_ = nullptr;
    HWND viewWindow_ = nullptr, inputWindow_ = nullptr;
    TestOwner owner_;
    ChatTextControl view_, input_;
};

TEST_F(ChatTextControlTest, LinksAtTheStartOrAfterASpaceAreUnderlinedInTheGivenColourAndWeight) {
    view_.AppendText("\nsee www.example.com/x then xwww.glued.no and http://", kRed, true);
    ASSERT_EQ(view_.Text(), "\r\nsee www.example.com/x then xwww.glued.no and http://");
    const std::string red = std::to_string(kRed);
    // Positions count the line break as one character: the link is 5 to 21.
    for (const auto& [position, format] :
         {std::pair{2L, "b"}, {5L, "ub"}, {21L, "ub"}, {22L, "b"}, {30L, "b"}, {Length(viewWindow_) - 2, "b"}}) {
        EXPECT_EQ(FormatAt(viewWindow_, position), format + red) << position;
    }
    Click(viewWindow_, 12);  // with links opened by click off, a click selects the link
    EXPECT_EQ(view_.SelectedText(), "www.example.com/x");
    Click(viewWindow_, 3);
    EXPECT_EQ(view_.SelectedText(), "");

    view_.SetText("fresh text");  // in the default colour, not bold
    EXPECT_EQ(view_.Text(), "fresh text");
    EXPECT_EQ(FormatAt(viewWindow_, 1), std::to_string(0xE0E0E0));
    view_.ClearAll();
    EXPECT_EQ(view_.Text(), "");
}

TEST_F(ChatTextControlTest, DropsAsManyCharactersFromTheTopAsTheNewTextHasOncePastTheLimit) {
    AppendBlock(400, 'a');
    AppendBlock(90, 'b');
    EXPECT_EQ(Length(viewWindow_), 49000);  // within the limit: nothing dropped
    AppendBlock(20, 'c');
    EXPECT_EQ(Length(viewWindow_), 49000);  // 2000 dropped although 1000 would do
    const std::string text = RemoveCarriageReturns(view_.Text());
    EXPECT_EQ(text.substr(0, 3) + text.substr(text.size() - 3), "\naaccc");
    EXPECT_EQ(text.size(), 49000u);
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
    // A cleared view keeps its old scroll range while the new text fits; it must still follow.
    AppendLines(120);
    view_.SetText("");
    AppendLines(40);
    EXPECT_TRUE(AtEnd(viewWindow_));
}

// The whole content as RTF: equal only with the same text in the same runs
// (colour, bold, underline).
std::string Rtf(HWND control) {
    std::string out;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    stream.pfnCallback = [](DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done) -> DWORD {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(bytes),
                                                       static_cast<std::size_t>(count));
        *done = count;
        return 0;
    };
    SendMessageA(control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return out;
}

TEST_F(ChatTextControlTest, ABatchLeavesTheTextAndRunsOfAppendingOneByOneAndStaysWithinTheBound) {
    ChatTextControl oneByOne;
    HWND oneByOneWindow = CreateRichEdit(IDC_CHAT_TEXT_VIEW, ES_READONLY | WS_VSCROLL, 200);
    oneByOne.Attach(oneByOneWindow, owner_, {0x202020, 0xE0E0E0});
    int line = 0;
    // Lines of 200 characters: the bound holds 250 of them, and a batch of 300
    // is longer than the bound. Short lines and one append each: every drop
    // lays the one-by-one view out again.
    auto appendLine = [&](ChatView& view, int number) {
        std::string text = "\nBob: see www.example.com/" + std::to_string(number) + " and ";
        while (text.size() < 190) text += number % 3 ? "words " : "http://x.y ";
        view.AppendText(text.substr(0, 200), number % 2 ? kRed : kGreen, number % 5 == 0);
    };
    for (int size : {1, 20, 200, 1, 300, 3}) {
        view_.BeginBatch();
        for (int i = 0; i < size; ++i) appendLine(view_, line + i);
        EXPECT_EQ(view_.Text(), oneByOne.Text());  // nothing shows before the batch ends
        view_.EndBatch();
        for (int i = 0; i < size; ++i) appendLine(oneByOne, line + i);
        line += size;
        EXPECT_LE(Length(viewWindow_), static_cast<LONG>(kMaxViewLength)) << size;
        EXPECT_EQ(view_.Text(), oneByOne.Text()) << size;
        EXPECT_TRUE(Rtf(viewWindow_) == Rtf(oneByOneWindow)) << size;
    }
    EXPECT_GT(Length(viewWindow_), 45000);
    // Emptied during a batch: what came before is gone too.
    view_.BeginBatch();
    appendLine(view_, 1);
    view_.SetText("");
    view_.AppendText("after", kRed, false);
    view_.EndBatch();
    EXPECT_EQ(view_.Text(), "after");
    DestroyWindow(oneByOneWindow);
}

TEST_F(ChatTextControlTest, AfterABatchAReaderAtTheEndIsStillThereAndOneWhoScrolledUpKeepsHisPlace) {
    auto batch = [&](int count) {
        view_.BeginBatch();
        AppendLines(count);
        view_.EndBatch();
    };
    batch(40);
    EXPECT_TRUE(AtEnd(viewWindow_));
    SendMessageA(viewWindow_, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(viewWindow_, WM_VSCROLL, SB_LINEDOWN, 0);
    const LONG place = ScrollTop(viewWindow_);
    ASSERT_GT(place, 0);
    batch(30);
    EXPECT_EQ(ScrollTop(viewWindow_), place);
    SendMessageA(viewWindow_, WM_VSCROLL, SB_BOTTOM, 0);
    batch(30);
    EXPECT_TRUE(AtEnd(viewWindow_));
}

TEST_F(ChatTextControlTest, InputLimitsAndFiltersFollowTheWindowsTables) {
    SetWindowTextA(inputWindow_,
                   "/name ab\xAC"
                   "c\r\nd");
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

TEST_F(ChatTextControlTest, EditCommandsAndCtrlVPastePlainTextOnly) {
    input_.SetText("two\r\nlines");
    EXPECT_EQ(input_.TakeText(), "two\r\nlines");
    EXPECT_EQ(input_.Text(), "");
    input_.SetText("copy me");
    input_.SelectAll();
    input_.Cut();
    EXPECT_EQ(input_.Text(), "");
    input_.Paste();
    EXPECT_EQ(input_.Text(), "copy me");
    input_.ClearAll();

    ASSERT_TRUE(OpenClipboard(parent_));
    EmptyClipboard();
    const std::string rich = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b RED}", plain = "RED";
    for (const auto& [format, bytes] :
         {std::pair{RegisterClipboardFormatA("Rich Text Format"), rich}, {UINT{CF_TEXT}, plain}}) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
        std::memcpy(GlobalLock(memory), bytes.c_str(), bytes.size() + 1);
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
    EXPECT_EQ(FormatAt(inputWindow_, 1), "0");
}

}  // namespace
}  // namespace vorlan::conversation
