// Feeds arbitrary text (from the network: chat lines, topics, names) through
// the chat view's link rules and the input line's filters, and checks the
// promises their callers rely on: runs rebuild the text, a found link lies
// inside the text, a filtered input holds nothing its table removes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conversation/ChatInput.h"
#include "conversation/ViewText.h"

namespace {

using namespace vorlan::conversation;

void CheckRuns(std::string_view text) {
    std::string rebuilt;
    for (const TextRun& run : SplitLinks(text)) {
        if (run.text.empty()) std::abort();
        if (run.isLink && (run.text.find(' ') != std::string::npos || run.text.find('\n') != std::string::npos)) {
            std::abort();
        }
        rebuilt += run.text;
    }
    if (rebuilt != text) std::abort();
}

void CheckClicks(std::string_view text) {
    const std::string plain = RemoveCarriageReturns(text);
    for (std::size_t click = 0; click <= plain.size(); click += 1 + plain.size() / 16) {
        if (auto link = FindLinkAt(plain, click)) {
            if (link->begin > link->end || link->end > plain.size()) std::abort();
            if (!(link->begin < click && click < link->end) && !(link->begin < click && link->end == plain.size())) {
                std::abort();
            }
        }
    }
}

void CheckLimit(const InputLimit& limit, std::string_view text) {
    if (limit.changed == (limit.text == text)) std::abort();
    if (limit.text.size() > text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckRuns(text);
    CheckClicks(text);
    CheckLimit(LimitMainInput(text), text);
    CheckLimit(LimitPrivateInput(text), text);
    if (CharactersToDropForAppend(size * 7, size) > size * 7) std::abort();
    return 0;
}
