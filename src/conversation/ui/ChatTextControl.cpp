#include "conversation/ui/ChatTextControl.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "conversation/RichText.h"
#include "conversation/TextMenuModel.h"
#include "conversation/ViewText.h"
#include "conversation/ui/ConversationIds.h"

namespace vorlan::conversation {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr const char* kViewFace = "Verdana";
constexpr UINT kMenuFlags = MF_BYCOMMAND;

// The rich edit control registers its own OLE drop target; without it nothing
// can be dropped into a chat view or an input line. ole32 is loaded by the
// rich edit DLL when it registers one, so when it is absent there is nothing
// to revoke.
void RevokeDropTarget(HWND control) {
    HMODULE ole = GetModuleHandleA("ole32.dll");
    if (!ole) return;
    FARPROC procedure = GetProcAddress(ole, "RevokeDragDrop");
    if (!procedure) return;
    using RevokeFunction = HRESULT(WINAPI*)(HWND);
    auto revoke = reinterpret_cast<RevokeFunction>(reinterpret_cast<void (*)()>(procedure));
    revoke(control);
}

void SetSelection(HWND control, LONG begin, LONG end) {
    CHARRANGE range{begin, end};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE Selection(HWND control) {
    CHARRANGE range{0, 0};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void ReplaceSelection(HWND control, const std::string& text) {
    SendMessageA(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// A batch of more runs than this goes in as one rich-text stream: inserting
// run by run costs the control a pass over its text each time, which for a
// busy room's batch of thousands of runs takes seconds.
constexpr std::size_t kRunsInsertedOneByOne = 8;

struct StreamSource {
    const std::string& bytes;
    std::size_t offset = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto& source = *reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max<LONG>(size, 0)), source.bytes.size() - source.offset);
    std::memcpy(buffer, source.bytes.data() + source.offset, count);
    source.offset += count;
    *done = static_cast<LONG>(count);
    return 0;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

bool IsArrowKey(WPARAM key) { return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT; }

bool IsControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

ChatTextControl::~ChatTextControl() { Detach(); }

void ChatTextControl::Attach(HWND control, ChatTextOwner& owner, const ChatTextColours& colours) {
    Detach();
    control_ = control;
    owner_ = &owner;
    colours_ = colours;
    if (!control_) return;

    RevokeDropTarget(control_);

    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = colours_.defaultText;
    SendMessageA(control_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(control_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(colours_.background));

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control_, GWLP_HINSTANCE));
    menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_CHAT_TEXT_MENU));
    if (!menu_) menu_ = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CHAT_TEXT_MENU));

    if (IsEditable()) {
        LRESULT mask = SendMessageA(control_, EM_GETEVENTMASK, 0, 0);
        SendMessageA(control_, EM_SETEVENTMASK, 0, mask | ENM_CHANGE);
    }
    SetWindowSubclass(control_, SubclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void ChatTextControl::Detach() {
    if (control_) RemoveWindowSubclass(control_, SubclassProcedure, kSubclassId);
    control_ = nullptr;
    pending_.Clear();
    if (menu_) DestroyMenu(menu_);
    menu_ = nullptr;
}

bool ChatTextControl::IsEditable() const {
    return control_ && (GetWindowLongPtrA(control_, GWL_STYLE) & ES_READONLY) == 0;
}

bool ChatTextControl::IsChatView() const { return control_ && GetDlgCtrlID(control_) == IDC_CHAT_TEXT_VIEW; }

// ---- writing -------------------------------------------------------------------

void ChatTextControl::AppendText(const std::string& text, std::uint32_t colour, bool bold) {
    if (!control_) return;
    pending_.Add(text, colour, bold);
    if (batchDepth_ == 0) WritePending();
}

void ChatTextControl::EndBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0) return;
    WritePending();
}

void ChatTextControl::WritePending() {
    if (!control_ || pending_.Empty()) return;
    const bool wasAtEnd = IsAtEnd();
    POINT scroll{0, 0};
    SendMessageA(control_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));

    // Nothing is drawn or notified until the whole text is in: drawing each
    // run, and laying out again after each drop, is what makes a busy room
    // slow. A hidden control is left alone: WM_SETREDRAW would show it.
    const bool holdRedraw = IsWindowVisible(control_) != FALSE;
    if (holdRedraw) SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
    const LRESULT eventMask = SendMessageA(control_, EM_SETEVENTMASK, 0, 0);

    DropOldestCharacters(pending_.Settle(TextLength()));
    SetSelection(control_, -1, -1);
    InsertRuns(pending_.TakeRuns());
    pending_.Clear();

    SendMessageA(control_, EM_SETEVENTMASK, 0, eventMask);
    if (holdRedraw) SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    if (wasAtEnd) {
        ScrollToBottom();
    } else {
        ScrollToPosition(scroll.y);
    }
    if (holdRedraw) InvalidateRect(control_, nullptr, TRUE);
}

// Line breaks that end the batch are inserted as text after the stream: a
// stream's last paragraph mark is not reliably kept by every rich edit.
void ChatTextControl::InsertRuns(std::vector<PendingRun> runs) {
    RichTextFont font;
    if (runs.size() <= kRunsInsertedOneByOne || !StreamFont(font)) return InsertRunByRun(runs);
    std::vector<PendingRun> tail;
    std::string& last = runs.back().text;
    std::size_t breaks = last.size();
    while (breaks > 0 && IsLineBreak(last[breaks - 1])) --breaks;
    if (breaks < last.size()) {
        tail.push_back(PendingRun{last.substr(breaks), runs.back().colour, runs.back().bold, runs.back().isLink});
        last.erase(breaks);
    }
    const std::string document = RichTextOf(runs, font);
    StreamSource source{document};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
    const auto start = static_cast<LONG>(TextLength());
    SendMessageA(control_, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    // RTF sizes are half points; the control's own size may lie between two.
    SetSelection(control_, start, -1);
    CHARFORMAT2A size{};
    size.cbSize = sizeof size;
    size.dwMask = CFM_SIZE;
    size.yHeight = font.twips;
    SendMessageA(control_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&size));
    SetSelection(control_, -1, -1);
    InsertRunByRun(tail);
}

void ChatTextControl::InsertRunByRun(const std::vector<PendingRun>& runs) {
    for (const PendingRun& run : runs) {
        SetInsertionFormat(run.colour, run.bold, run.isLink);
        ReplaceSelection(control_, run.text);
    }
}

// The font and size that inserting plain text would keep.
bool ChatTextControl::StreamFont(RichTextFont& font) const {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(control_, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    if ((format.dwMask & CFM_SIZE) == 0 || format.yHeight <= 0) return false;
    font.face = kViewFace;
    font.twips = format.yHeight;
    font.halfPoints = static_cast<int>(format.yHeight / 10);
    font.charset = format.bCharSet;
    font.codePage = GetACP();
    return true;
}

void ChatTextControl::SetText(const std::string& text) {
    if (!control_) return;
    if (IsEditable()) {
        SetWindowTextA(control_, text.c_str());
        SendMessageA(control_, WM_HSCROLL, SB_LEFT, 0);
        SetSelection(control_, -1, -1);
        return;
    }
    // What a batch holds back so far would be cleared with the rest.
    pending_.Clear();
    SetWindowTextA(control_, "");
    AppendText(text, colours_.defaultText, false);
}

void ChatTextControl::SetInsertionFormat(std::uint32_t colour, bool bold, bool underline) {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_UNDERLINE | CFM_COLOR | CFM_FACE;
    format.dwEffects = (bold ? CFE_BOLD : 0) | (underline ? CFE_UNDERLINE : 0);
    format.crTextColor = colour;
    lstrcpynA(format.szFaceName, kViewFace, LF_FACESIZE);
    SendMessageA(control_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void ChatTextControl::DropOldestCharacters(std::size_t drop) {
    if (drop == 0) return;
    SetSelection(control_, 0, static_cast<LONG>(drop));
    ReplaceSelection(control_, "");
}

// Counted as the control counts positions: a line break is one character.
std::size_t ChatTextControl::TextLength() const {
    GETTEXTLENGTHEX request{GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
    LRESULT length = SendMessageA(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// ---- reading -------------------------------------------------------------------

std::string ChatTextControl::Text() const {
    if (!control_) return {};
    GETTEXTLENGTHEX lengthRequest{GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    LRESULT length = SendMessageA(control_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthRequest), 0);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(buffer.size());
    request.flags = GT_USECRLF;
    request.codepage = CP_ACP;
    LRESULT copied = SendMessageA(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                  reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0) return {};
    return std::string(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(copied), length));
}

std::string ChatTextControl::TakeText() {
    std::string text = Text();
    SetText("");
    return text;
}

std::string ChatTextControl::SelectedText() const {
    if (!control_) return {};
    CHARRANGE range = Selection(control_);
    if (range.cpMax <= range.cpMin) return {};
    // Room for every character as two bytes (a line break as CR LF); the
    // request is bounded by the buffer size whatever the control holds.
    std::vector<char> buffer(static_cast<std::size_t>(range.cpMax - range.cpMin) * 2 + 1, '\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(buffer.size());
    request.flags = GT_SELECTION | GT_USECRLF;
    request.codepage = CP_ACP;
    LRESULT copied = SendMessageA(control_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                  reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0) return {};
    return std::string(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(copied), buffer.size() - 1));
}

// ---- input line ----------------------------------------------------------------

void ChatTextControl::ApplyMainInputLimit() { ApplyInputLimit(LimitMainInput(Text())); }

void ChatTextControl::ApplyPrivateInputLimit() { ApplyInputLimit(LimitPrivateInput(Text())); }

void ChatTextControl::ApplyInputLimit(const InputLimit& limit) {
    if (!control_) return;
    SendMessageA(control_, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(limit.maxLength));
    if (!limit.changed) return;
    // The replacement notifies EN_CHANGE again; by then nothing is removed.
    SetWindowTextA(control_, limit.text.c_str());
    SetSelection(control_, -1, -1);
}

// ---- menu commands -------------------------------------------------------------

void ChatTextControl::Cut() {
    if (control_) SendMessageA(control_, WM_CUT, 0, 0);
}

void ChatTextControl::Copy() {
    if (control_) SendMessageA(control_, WM_COPY, 0, 0);
}

void ChatTextControl::Paste() {
    if (!control_) return;
    if (IsEditable()) {
        PastePlainText();
    } else {
        SendMessageA(control_, WM_PASTE, 0, 0);
    }
}

void ChatTextControl::SelectAll() {
    if (control_) SetSelection(control_, 0, -1);
}

void ChatTextControl::ClearAll() { SetText(""); }

void ChatTextControl::Navigate() {
    std::string selected = SelectedText();
    OpenInBrowser(selected, OpenRequest::Command);
}

void ChatTextControl::PastePlainText() { SendMessageA(control_, EM_PASTESPECIAL, CF_TEXT, 0); }

// ---- scrolling -----------------------------------------------------------------

// Also true one step beyond the exact end: a scroll bar's last position is
// maximum - page + 1, and a reader there is at the end too.
bool ChatTextControl::IsAtEnd() const {
    // While the text fits, the rich edit hides its scroll bar and leaves the
    // scroll information of the longest text it held before.
    if ((GetWindowLongPtrA(control_, GWL_STYLE) & WS_VSCROLL) == 0) return true;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(control_, SB_VERT, &info)) return true;
    if (info.nPage == 0) return true;
    return static_cast<long long>(info.nPos) >= static_cast<long long>(info.nMax) - info.nPage;
}

void ChatTextControl::ScrollToBottom() { SendMessageA(control_, WM_VSCROLL, SB_BOTTOM, 0); }

// EM_SETSCROLLPOS rather than a thumb-position scroll: its position is not
// limited to 16 bits, and a long view passes that many pixels.
void ChatTextControl::ScrollToPosition(int position) {
    POINT current{0, 0};
    SendMessageA(control_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&current));
    POINT target{current.x, position};
    SendMessageA(control_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&target));
}

void ChatTextControl::KeepScrollPosition() {
    if (!IsChatView()) return;
    POINT current{0, 0};
    SendMessageA(control_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&current));
    ScrollToPosition(current.y);
}

LRESULT ChatTextControl::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    if (!IsChatView()) return CallDefault(WM_MOUSEWHEEL, wParam, lParam);
    const bool wasAtEnd = IsAtEnd();
    const bool towardsEnd = GET_WHEEL_DELTA_WPARAM(wParam) < 0;
    LRESULT result = CallDefault(WM_MOUSEWHEEL, wParam, lParam);
    // A reader at the end who turns the wheel up leaves the end; only a turn
    // down from there, or one that reaches the end, settles on the bottom.
    if ((wasAtEnd && towardsEnd) || IsAtEnd()) ScrollToBottom();
    return result;
}

LRESULT ChatTextControl::OnVerticalScroll(WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallDefault(WM_VSCROLL, wParam, lParam);
    if (IsChatView() && LOWORD(wParam) == SB_THUMBTRACK) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(control_, SB_VERT, &info)) {
            info.fMask = SIF_POS;
            info.nPos = info.nTrackPos;
            SetScrollInfo(control_, SB_VERT, &info, TRUE);
        }
    }
    return result;
}

// ---- links -----------------------------------------------------------------------

bool ChatTextControl::SelectionIsUnderlined() const {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(control_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwMask & CFM_UNDERLINE) && (format.dwEffects & CFE_UNDERLINE);
}

void ChatTextControl::OnLeftButtonUp() {
    if (!SelectionIsUnderlined()) return;
    CHARRANGE selection = Selection(control_);
    if (selection.cpMin != selection.cpMax || selection.cpMin < 0) return;
    // Without carriage returns a line break is one character, as in the
    // control's positions.
    const std::string text = RemoveCarriageReturns(Text());
    std::optional<LinkSpan> link = FindLinkAt(text, static_cast<std::size_t>(selection.cpMin));
    if (!link) return;
    SetSelection(control_, static_cast<LONG>(link->begin), static_cast<LONG>(link->end));
    OpenInBrowser(text.substr(link->begin, link->end - link->begin), OpenRequest::LinkClicked);
}

void ChatTextControl::OpenInBrowser(const std::string& target, OpenRequest request) const {
    const storage::Options* options = owner_ != nullptr ? owner_->LinkOptions() : nullptr;
    if (options == nullptr) return;
    const std::optional<BrowserLaunch> launch = BrowserLaunchFor(*options, target, request);
    if (!launch) return;
    // A browser that cannot be started is not reported.
    ShellExecuteA(nullptr, "open", launch->program.c_str(), launch->argument.c_str(), nullptr, SW_SHOWNORMAL);
}

// ---- context menu -----------------------------------------------------------------

bool ChatTextControl::ClipboardHasText() const {
    if (!OpenClipboard(control_)) return false;
    bool hasText = IsClipboardFormatAvailable(CF_TEXT) != 0;
    CloseClipboard();
    return hasText;
}

bool ChatTextControl::PrepareMenu() {
    TextMenuContext context;
    context.editable = IsEditable();
    context.chatView = IsChatView();
    context.hasSelection = !SelectedText().empty();
    context.hasText = TextLength() > 0;
    // Only an editable control pastes; the clipboard is not opened for the others.
    context.clipboardHasText = context.editable && ClipboardHasText();
    const TextMenuState state = TextMenuFor(context);
    auto enable = [this](UINT id, bool on) { EnableMenuItem(menu_, id, kMenuFlags | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(ID_CHAT_NAVIGATE, state.navigate);
    enable(ID_CHAT_COPY, state.copy);
    enable(ID_CHAT_CUT, state.cut);
    enable(ID_CHAT_PASTE, state.paste);
    enable(ID_CHAT_SELECT_ALL, state.selectAll);
    enable(ID_CHAT_CLEAR_ALL, state.clearAll);
    return state.openChatLog;
}

void ChatTextControl::OnRightButtonUp() {
    if (!menu_ || !owner_) return;
    if (GetForegroundWindow() != GetParent(control_)) return;
    const bool withChatLog = PrepareMenu();
    owner_->SetMenuTarget(this);

    HMENU popup = GetSubMenu(menu_, 0);
    if (withChatLog) {
        InsertMenuA(popup, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        InsertMenuA(popup, 2, MF_BYPOSITION | MF_STRING, ID_CHAT_OPEN_CHAT_LOG, "Open chat log");
    }
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    // The menu belongs to this control's window, which is in front; its command
    // goes to the main window, which carries it out on its `menuTarget`.
    UINT command =
        static_cast<UINT>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                         cursor.x, cursor.y, 0, GetParent(control_), nullptr));
    if (withChatLog) {
        RemoveMenu(popup, 2, MF_BYPOSITION);
        RemoveMenu(popup, 1, MF_BYPOSITION);
    }
    HWND commandWindow = owner_->CommandWindow();
    if (command != 0 && commandWindow) SendMessageA(commandWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    // The command has run; a record left behind could outlive this control.
    owner_->SetMenuTarget(nullptr);
}

// ---- messages ----------------------------------------------------------------------

LRESULT CALLBACK ChatTextControl::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                    DWORD_PTR data) {
    auto* self = reinterpret_cast<ChatTextControl*>(data);
    if (message == WM_NCDESTROY) {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        self->Detach();
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT ChatTextControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(control_, message, wParam, lParam);
}

LRESULT ChatTextControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN: {
            if (wParam == 'V' && IsControlDown() && IsEditable()) {
                PastePlainText();
                return 0;
            }
            LRESULT result = CallDefault(message, wParam, lParam);
            if (IsArrowKey(wParam)) KeepScrollPosition();
            return result;
        }
        case WM_LBUTTONDOWN: {
            LRESULT result = CallDefault(message, wParam, lParam);
            KeepScrollPosition();
            return result;
        }
        case WM_MOUSEMOVE: {
            LRESULT result = CallDefault(message, wParam, lParam);
            if (wParam & MK_LBUTTON) KeepScrollPosition();
            return result;
        }
        case WM_LBUTTONUP: OnLeftButtonUp(); return CallDefault(message, wParam, lParam);
        case WM_RBUTTONUP: {
            LRESULT result = CallDefault(message, wParam, lParam);
            OnRightButtonUp();
            return result;
        }
        case WM_CONTEXTMENU:
            // The menu is shown on the button release above; the dialog must not
            // show one of its own for this control.
            return 0;
        case WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
        case WM_VSCROLL: return OnVerticalScroll(wParam, lParam);
        default: return CallDefault(message, wParam, lParam);
    }
}

}  // namespace vorlan::conversation
