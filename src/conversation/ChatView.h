#pragma once

#include <cstdint>
#include <string>

namespace vorlan::conversation {

// What the core asks of a chat view (the main window's view, a private window's
// view). The Win32 view is a rich edit control; tests use RecordingChatView.
//
// Colours are red + 256*green + 65536*blue, as in the colours file.
class ChatView {
public:
    virtual ~ChatView() = default;

    // Inserts `text` at the end in `colour`, bold or not. The view underlines the
    // links it finds in the text (SplitLinks in ViewText.h), keeps at most about
    // 50000 characters (CharactersToDropForAppend) and keeps the reader's place.
    virtual void AppendText(const std::string& text, std::uint32_t colour, bool bold) = 0;

    // Replaces the whole text; SetText("") empties the view ("/clear", "Clear all").
    virtual void SetText(const std::string& text) = 0;

    // Between the two, appended text may be held back and written at EndBatch
    // in one go (one drop from the top, one insertion, one scroll decision).
    // The text the view holds afterwards is what appending one by one leaves.
    // The core opens a batch around everything one receive brings.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

}  // namespace vorlan::conversation
