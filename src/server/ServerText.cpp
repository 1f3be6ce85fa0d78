#include "server/ServerText.h"

namespace vorlan::server {

std::string DeleteChars(std::string_view text, std::string_view chars) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (chars.find(c) == std::string_view::npos) out.push_back(c);
    }
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks{" \t\v\f"};
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string_view CutTo(std::string_view text, std::size_t limit) { return text.substr(0, limit); }

std::string CleanText(std::string_view text, std::string_view chars, std::size_t limit) {
    std::string deleted = DeleteChars(text, chars);
    return std::string(CutTo(TrimBlanks(deleted), limit));
}

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsPrivateAddress(std::string_view address) {
    if (address.starts_with("10.")) return true;
    if (address.starts_with("172.")) {
        std::string_view second = address.substr(4);
        second = second.substr(0, second.find('.'));
        if (second.size() != 2) return false;
        if (second[0] < '0' || second[0] > '9' || second[1] < '0' || second[1] > '9') return false;
        int value = (second[0] - '0') * 10 + (second[1] - '0');
        return value >= 16 && value <= 31;
    }
    return address.starts_with("192.168.");
}

int MessageCode(std::string_view message) {
    if (message.size() < 2) return -1;
    char high = message[0], low = message[1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return -1;
    return (high - '0') * 10 + (low - '0');
}

}  // namespace vorlan::server
