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

void ViewBatch::Join(Batched& member) {
    if (!IsOpen() || std::find(members_.begin(), members_.end(), &member) != members_.end()) return;
    members_.push_back(&member);
    member.BeginBatch();
}

void ViewBatch::Leave(Batched& member) {
    auto found = std::find(members_.begin(), members_.end(), &member);
    if (found == members_.end()) return;
    members_.erase(found);
    member.EndBatch();
}

void ViewBatch::Close() {
    if (depth_ == 0 || --depth_ > 0) return;
    // A member's EndBatch must not find itself still listed.
    std::vector<Batched*> members = std::move(members_);
    members_.clear();
    for (Batched* member : members) member->EndBatch();
}

}  // namespace vorlan::conversation
