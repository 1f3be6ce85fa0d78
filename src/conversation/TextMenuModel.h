#pragma once

namespace vorlan::conversation {

// What a chat text control is when its context menu opens.
struct TextMenuContext {
    bool editable = false;      // an input line or a dialog's text field
    bool chatView = false;      // a main or private chat view (control 1046)
    bool hasSelection = false;  // after the click has moved the caret
    bool hasText = false;
    bool clipboardHasText = false;  // the clipboard could be opened and holds text
};

// The context menu as it is shown: which items are enabled, and whether "Open
// chat log" (after "Navigate", with a separator) is inserted.
struct TextMenuState {
    bool navigate = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
    bool clearAll = false;
    bool openChatLog = false;
    bool operator==(const TextMenuState&) const = default;
};

// A selection can be opened and copied, and cut only where it can be edited;
// pasting needs an editable control and text on the clipboard; a control with
// text can be selected whole, and emptied when it is editable or a chat view;
// only chat views have a log to open.
TextMenuState TextMenuFor(const TextMenuContext& context);

}  // namespace vorlan::conversation
