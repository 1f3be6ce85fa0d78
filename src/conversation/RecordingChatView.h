#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversation/ChatView.h"

namespace vorlan::conversation {

// A chat view without a window: remembers every AppendText call as a run and
// the text a real view would hold. Used by tests and by headless callers.
class RecordingChatView : public ChatView {
public:
    struct Run {
        std::string text;
        std::uint32_t colour = 0;
        bool bold = false;
        bool operator==(const Run&) const = default;
    };

    void AppendText(const std::string& text, std::uint32_t colour, bool bold) override {
        runs_.push_back(Run{text, colour, bold});
        text_ += text;
    }

    // Like the read-only view: empties, then appends `text` (if any) in the
    // default colour 0, not bold. Runs before the call are forgotten.
    void SetText(const std::string& text) override {
        runs_.clear();
        text_.clear();
        ++setTextCount_;
        if (!text.empty()) AppendText(text, 0, false);
    }

    void BeginBatch() override { ++batchesBegun_; }
    void EndBatch() override { ++batchesEnded_; }

    const std::vector<Run>& Runs() const { return runs_; }
    const std::string& Text() const { return text_; }
    int SetTextCount() const { return setTextCount_; }
    int BatchesBegun() const { return batchesBegun_; }
    int BatchesEnded() const { return batchesEnded_; }
    void Forget() {
        runs_.clear();
        text_.clear();
    }

private:
    std::vector<Run> runs_;
    std::string text_;
    int setTextCount_ = 0;
    int batchesBegun_ = 0;
    int batchesEnded_ = 0;
};

}  // namespace vorlan::conversation
