#include "conversation/ViewBatch.h"

#include <algorithm>

namespace vorlan::conversation {

void PendingAppends::Add(const std::string& whole, std::uint32_t colour, bool bold) {
    const std::string_view text = whole.size() > kMaxViewLength
                                      ? std::string_view(whole).substr(whole.size() - kMaxViewLength)
                                      : std::string_view(whole);
    std::vector<TextRun> runs = SplitLinks(text);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        std::string piece = std::move(runs[i].text);
        while (!runs[i].isLink && i + 1 < runs.size() && !runs[i + 1].isLink) piece += runs[++i].text;
        runs_.push_back(PendingRun{std::move(piece), colour, bold, runs[i].isLink});
    }
    appended_.push_back(AppendedLength{text.size(), ViewCharacterCount(text)});
}

std::size_t PendingAppends::Settle(std::size_t viewLength) {
    const BatchDrop drop = CharactersToDropForAppends(viewLength, appended_);
    std::size_t skip = drop.fromAppended;
    std::size_t whole = 0;
    while (skip > 0 && whole < runs_.size()) {
        const std::size_t characters = ViewCharacterCount(runs_[whole].text);
        if (characters > skip) {
            runs_[whole].text.erase(0, BytesOfViewCharacters(runs_[whole].text, skip));
            break;
        }
        skip -= characters;
        ++whole;
    }
    runs_.erase(runs_.begin(), runs_.begin() + static_cast<std::ptrdiff_t>(whole));
    appended_.clear();
    return drop.fromView;
}

void PendingAppends::Clear() {
    runs_.clear();
    appended_.clear();
}

void ViewBatch::Join(ChatView& view) {
    if (!IsOpen() || std::find(views_.begin(), views_.end(), &view) != views_.end()) return;
    views_.push_back(&view);
    view.BeginBatch();
}

void ViewBatch::Leave(ChatView& view) {
    auto found = std::find(views_.begin(), views_.end(), &view);
    if (found == views_.end()) return;
    views_.erase(found);
    view.EndBatch();
}

void ViewBatch::Close() {
    if (depth_ == 0 || --depth_ > 0) return;
    // A view's EndBatch must not find itself still listed.
    std::vector<ChatView*> views = std::move(views_);
    views_.clear();
    for (ChatView* view : views) view->EndBatch();
}

}  // namespace vorlan::conversation
