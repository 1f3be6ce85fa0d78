#pragma once

#include <cstdint>
#include <string>

namespace vorlan::conversation {

// Something written to while one receive is handled (a view, a log), which may
// hold its writes back between BeginBatch and EndBatch and do them in one go.
// What it holds afterwards is what writing one by one leaves. The core opens a
// batch around everything one receive brings (see ViewBatch).
class Batched {
public:
    virtual ~Batched() = default;
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

// What the core asks of a chat view (the main window's view, a private window's
// view). The Win32 view is a rich edit control; tests use RecordingChatView.
//
// Colours are red + 256*green + 65536*blue, as in the colours file.
class ChatView : public Batched {
public:
    // Inserts `text` at the end in `colour`, bold or not. The view underlines the
    // links it finds in the text (SplitLinks in ViewText.h), keeps at most about
    // 50000 characters (CharactersToDropForAppend) and keeps the reader's place.
    virtual void AppendText(const std::string& text, std::uint32_t colour, bool bold) = 0;

    // Replaces the whole text; SetText("") empties the view ("/clear", "Clear all").
    virtual void SetText(const std::string& text) = 0;

    // A batch holds appended text back and writes it at EndBatch in one go
    // (one drop from the top, one insertion, one scroll decision).
};

}  // namespace vorlan::conversation
