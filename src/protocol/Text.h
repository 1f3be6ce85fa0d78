#pragma once

#include <string>
#include <string_view>

namespace vorlan::protocol {

// White space as the C library's isspace sees it in the "C" locale.
inline constexpr std::string_view kWhiteSpace{" \t\r\n\v\f"};

// `text` without the characters of `chars` at either end.
inline std::string_view TrimChars(std::string_view text, std::string_view chars) {
    const std::size_t first = text.find_first_not_of(chars);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(chars);
    return text.substr(first, last - first + 1);
}

// `text` without white space at either end (host names, names, form fields).
inline std::string Trim(std::string_view text) { return std::string(TrimChars(text, kWhiteSpace)); }

}  // namespace vorlan::protocol
