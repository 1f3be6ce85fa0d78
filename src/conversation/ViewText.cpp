#include "conversation/ViewText.h"

#include <algorithm>
#include <array>

namespace vorlan::conversation {
namespace {

constexpr std::array<std::string_view, 4> kLinkStarts{"http://", "https://", "www.", "ftp://"};
constexpr std::array<std::string_view, 4> kSpacedLinkStarts{" http://", " https://", " www.", " ftp://"};

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The earliest link start at or after an offset. Each start's next position is
// remembered and only searched again once the offset has passed it, so a text
// full of glued starts is still scanned in linear time.
class LinkStartFinder {
public:
    explicit LinkStartFinder(std::string_view lower) : lower_(lower) {
        next_.fill(0);
        searched_.fill(false);
    }

    std::size_t EarliestFrom(std::size_t offset) {
        std::size_t earliest = std::string_view::npos;
        for (std::size_t i = 0; i < kLinkStarts.size(); ++i) {
            if (!searched_[i] || (next_[i] != std::string_view::npos && next_[i] < offset)) {
                next_[i] = lower_.find(kLinkStarts[i], offset);
                searched_[i] = true;
            }
            earliest = std::min(earliest, next_[i]);
        }
        return earliest;
    }

private:
    std::string_view lower_;
    std::array<std::size_t, kLinkStarts.size()> next_;
    std::array<bool, kLinkStarts.size()> searched_;
};

bool IsBareLinkStart(std::string_view lowerLink) {
    return std::find(kLinkStarts.begin(), kLinkStarts.end(), lowerLink) != kLinkStarts.end();
}

std::size_t LinkEnd(std::string_view text, std::size_t from) {
    return std::min(text.find('\n', from), text.find(' ', from));
}

}  // namespace

std::vector<TextRun> SplitLinks(std::string_view text) {
    std::vector<TextRun> runs;
    const std::string lowerText = ToLower(text);
    LinkStartFinder finder(lowerText);
    std::string_view rest = text;
    std::string_view lower = lowerText;
    auto take = [&](std::size_t count, bool isLink) {
        runs.push_back(TextRun{std::string(rest.substr(0, count)), isLink});
        rest.remove_prefix(count);
        lower.remove_prefix(count);
    };
    for (;;) {
        const std::size_t offset = text.size() - rest.size();
        std::size_t start = finder.EarliestFrom(offset);
        if (start == std::string_view::npos) break;
        start -= offset;
        if (start > 0) {
            // A link starts only at the beginning or after a space; a start glued
            // to a word is passed over by one character and searched again.
            bool afterSpace = rest[start - 1] == ' ';
            take(afterSpace ? start : start + 1, false);
            if (!afterSpace) continue;
        }
        std::size_t end = std::min(LinkEnd(rest, 0), rest.size());
        if (IsBareLinkStart(lower.substr(0, end))) break;
        take(end, true);
    }
    if (!rest.empty()) take(rest.size(), false);
    return runs;
}

std::optional<LinkSpan> FindLinkAt(std::string_view text, std::size_t clickPos) {
    const std::string lower = ToLower(text);
    // The text before the next link that starts after the click.
    std::size_t cutLength = lower.size();
    for (std::string_view spaced : kSpacedLinkStarts) {
        std::size_t next = lower.find(spaced, clickPos);
        if (next != std::string::npos) cutLength = std::min(cutLength, next + 1);
    }
    std::string_view cut = std::string_view(lower).substr(0, cutLength);

    std::size_t begin = 0;
    for (std::string_view spaced : kSpacedLinkStarts) {
        std::size_t last = cut.rfind(spaced);
        if (last != std::string_view::npos) begin = std::max(begin, last + 1);
    }

    std::size_t end = LinkEnd(text, begin);
    if (end == std::string_view::npos) {
        if (clickPos > begin && clickPos < text.size()) return LinkSpan{begin, text.size()};
        return std::nullopt;
    }
    if (end > begin && text[end - 1] == ':') --end;
    if (clickPos > begin && clickPos < end) return LinkSpan{begin, end};
    return std::nullopt;
}

std::string RemoveCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r') out.push_back(c);
    }
    return out;
}

std::size_t CharactersToDropForAppend(std::size_t viewLength, std::size_t textLength) {
    if (viewLength + textLength <= kMaxViewLength) return 0;
    return std::min(textLength, viewLength);
}

std::size_t ViewCharacterCount(std::string_view text) {
    std::size_t count = text.size();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n') --count;
    }
    return count;
}

std::size_t BytesOfViewCharacters(std::string_view text, std::size_t count) {
    std::size_t bytes = 0;
    for (std::size_t seen = 0; seen < count && bytes < text.size(); ++seen) {
        bytes += text[bytes] == '\r' && bytes + 1 < text.size() && text[bytes + 1] == '\n' ? 2 : 1;
    }
    return bytes;
}

BatchDrop CharactersToDropForAppends(std::size_t viewLength, const std::vector<AppendedLength>& texts) {
    // Each drop is at most what the view holds at that moment, so the drops
    // together are the top of the old text followed by the top of the new.
    std::size_t length = viewLength;
    std::size_t dropped = 0;
    for (const AppendedLength& text : texts) {
        const std::size_t drop = CharactersToDropForAppend(length, text.size);
        dropped += drop;
        length = length - drop + text.viewCharacters;
    }
    const std::size_t fromView = std::min(dropped, viewLength);
    return {fromView, dropped - fromView};
}

}  // namespace vorlan::conversation
