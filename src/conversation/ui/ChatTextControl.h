#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "conversation/BrowserLaunch.h"
#include "conversation/ChatInput.h"
#include "conversation/ChatView.h"
#include "conversation/RichText.h"
#include "conversation/ViewBatch.h"
#include "storage/Records.h"

namespace vorlan::conversation {

class ChatTextControl;

// The control's two colours from the colours file (red + 256*green + 65536*blue).
struct ChatTextColours {
    std::uint32_t background = 0xFFFFFF;
    std::uint32_t defaultText = 0;
};

// Every chat text control's colours from the colours file.
inline ChatTextColours ChatTextColoursFrom(const storage::Colors& colors) {
    return {storage::ColourOf(colors, storage::ColourIndex::TextBackground),
            storage::ColourOf(colors, storage::ColourIndex::TextDefault)};
}

// What a chat text control needs from the window that holds it. The main
// window implements it; a private chat window or a dialog forwards to the
// main window's answers.
class ChatTextOwner {
public:
    virtual ~ChatTextOwner() = default;
    // The options that decide what a click on a link and "Navigate" open
    // (see BrowserLaunchFor); null while there are none, and nothing opens.
    virtual const storage::Options* LinkOptions() const = 0;
    // The control whose context menu opens now; the menu's command, sent to
    // CommandWindow() while the menu's control still exists, applies to it (the
    // main window's `menuTarget`). Called with nullptr once the command has run.
    virtual void SetMenuTarget(ChatTextControl* control) = 0;
    // The window that receives the context menu's commands (the main window).
    virtual HWND CommandWindow() const = 0;
};

// A rich edit control (RichEdit20A, created by a dialog template) with the
// behaviour of every text field of the program. Read-only, it is a chat view:
// coloured lines, underlined links that open on a click, a bounded length and
// a kept scroll position. Editable, it is an input line or a dialog text field
// that pastes plain text only.
//
// The object must outlive the window or be destroyed first; either way the
// subclass is removed cleanly.
class ChatTextControl : public ChatView {
public:
    ChatTextControl() = default;
    ~ChatTextControl() override;
    ChatTextControl(const ChatTextControl&) = delete;
    ChatTextControl& operator=(const ChatTextControl&) = delete;

    // Takes over the dialog's rich edit control: revokes its drop target, sets
    // the default character format and background, loads the context menu and,
    // when editable, asks for EN_CHANGE notifications. Call from WM_INITDIALOG.
    void Attach(HWND control, ChatTextOwner& owner, const ChatTextColours& colours);

    HWND handle() const { return control_; }
    bool IsEditable() const;
    // Control 1046: the main window's or a private window's chat view.
    bool IsChatView() const;

    // ChatView. In a batch the appended runs are kept and written at EndBatch:
    // one drop from the top, one insertion with the redraw held, one scroll
    // decision. Text() does not show them before.
    void AppendText(const std::string& text, std::uint32_t colour, bool bold) override;
    void SetText(const std::string& text) override;
    void BeginBatch() override { ++batchDepth_; }
    void EndBatch() override;

    // The whole text, each line break as "\r\n".
    std::string Text() const;
    // Text() and then empties the control (the send action of an input line).
    std::string TakeText();
    std::string SelectedText() const;

    // Input line: call on EN_CHANGE. Reads the text, applies the window's limit
    // and filter table and replaces the text when characters were removed.
    void ApplyMainInputLimit();
    void ApplyPrivateInputLimit();
    void ApplyInputLimit(const InputLimit& limit);

    // Context menu commands, called by the main window on its `menuTarget`.
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    void ClearAll();
    void Navigate();

private:
    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    void SetInsertionFormat(std::uint32_t colour, bool bold, bool underline);
    void WritePending();
    void InsertRuns(std::vector<PendingRun> runs);
    void InsertRunByRun(const std::vector<PendingRun>& runs);
    bool StreamFont(RichTextFont& font) const;
    void DropOldestCharacters(std::size_t count);
    std::size_t TextLength() const;

    bool IsAtEnd() const;
    void KeepScrollPosition();
    void ScrollToBottom();
    void ScrollToPosition(int position);

    void OnLeftButtonUp();
    void SelectLinkUnderCaret();
    void OpenInBrowser(const std::string& target, OpenRequest request) const;
    void OnRightButtonUp();
    // Enables the menu's items; true when "Open chat log" goes in.
    bool PrepareMenu();
    bool SelectionIsUnderlined() const;
    bool ClipboardHasText() const;
    void PastePlainText();
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnVerticalScroll(WPARAM wParam, LPARAM lParam);

    HWND control_ = nullptr;
    ChatTextOwner* owner_ = nullptr;
    ChatTextColours colours_;
    HMENU menu_ = nullptr;
    PendingAppends pending_;
    int batchDepth_ = 0;
};

}  // namespace vorlan::conversation
