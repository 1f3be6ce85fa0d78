#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules of the chat text control that need no window: how an appended text
// is split into plain and link runs, which link a click lands on, and how much
// old text is dropped to keep a view bounded.
namespace vorlan::conversation {

// A view keeps at most about this many characters.
inline constexpr std::size_t kMaxViewLength = 50000;

struct TextRun {
    std::string text;
    bool isLink = false;  // drawn underlined (and bold when the insertion is bold)
    bool operator==(const TextRun&) const = default;
};

// Splits a text to be appended into runs, in order, whose texts concatenate to
// `text`. A link starts with "http://", "https://", "www." or "ftp://" (matched
// without regard to case) at the beginning of the text or right after a space,
// and ends before the first line feed or space. A link start with nothing after
// it is plain text, as is everything after it. Adjacent plain runs may occur
// (the control inserts them separately); empty runs never do.
std::vector<TextRun> SplitLinks(std::string_view text);

// [begin, end) of a link inside the view's text.
struct LinkSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const LinkSpan&) const = default;
};

// The link under a plain click at `clickPos` in `text` (the view's whole text
// with carriage returns already removed; see RemoveCarriageReturns). The link
// begins after the last " http://", " https://", " www." or " ftp://" before the
// next such start after the click (or at 0) and ends at the next line feed or
// space, one earlier if that end follows a ':'. Nothing when the click is not
// strictly inside it. The caller checks that the click was on underlined text.
std::optional<LinkSpan> FindLinkAt(std::string_view text, std::size_t clickPos);

std::string RemoveCarriageReturns(std::string_view text);

// How many characters to delete from the top of a view holding `viewLength`
// characters before appending `textLength` more: none while the sum stays
// within kMaxViewLength, otherwise as many as the new text has (never more than
// the view holds).
std::size_t CharactersToDropForAppend(std::size_t viewLength, std::size_t textLength);

// The characters a view counts for `text`: "\r\n" is one line break, as in
// the control's positions.
std::size_t ViewCharacterCount(std::string_view text);
// How many bytes of `text` its first `count` view characters take (a line
// break is never split).
std::size_t BytesOfViewCharacters(std::string_view text, std::size_t count);

// One appended text: its size as CharactersToDropForAppend takes it, and the
// characters it adds to the view.
struct AppendedLength {
    std::size_t size = 0;
    std::size_t viewCharacters = 0;
};

// What appending texts one by one drops in all, each drop taken from the top
// of what the view holds by then: `fromView` of the text held before, and
// `fromAppended` of the appended texts' own beginning once that is gone.
struct BatchDrop {
    std::size_t fromView = 0;
    std::size_t fromAppended = 0;
    bool operator==(const BatchDrop&) const = default;
};
BatchDrop CharactersToDropForAppends(std::size_t viewLength, const std::vector<AppendedLength>& texts);

}  // namespace vorlan::conversation
