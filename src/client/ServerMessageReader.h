#pragma once

#include <optional>
#include <string_view>

#include "protocol/Framing.h"

// Reading the fields of server-to-client messages the way the client does:
// ids are decimal up to the first non-digit and must be greater than 0.
namespace vorlan::client::reader {

struct IdAndRest {
    int id = 0;
    std::string_view rest;  // after the first SEP
};

struct IdAndDigit {
    int id = 0;
    char digit = 0;  // the last character of the body
};

// "<id> SEP rest": nothing when SEP is missing or the id is not positive.
inline std::optional<IdAndRest> IdBeforeSep(std::string_view body) {
    const std::size_t sep = body.find(protocol::kSep);
    if (sep == std::string_view::npos) return std::nullopt;
    const int id = protocol::ReadDecimal(body.substr(0, sep));
    if (id <= 0) return std::nullopt;
    return IdAndRest{id, body.substr(sep + 1)};
}

// "<id><digit>" with the digit as the last character.
inline std::optional<IdAndDigit> IdThenLastDigit(std::string_view body) {
    if (body.size() < 2) return std::nullopt;
    const int id = protocol::ReadDecimal(body.substr(0, body.size() - 1));
    if (id <= 0) return std::nullopt;
    return IdAndDigit{id, body.back()};
}

// "<id>" alone.
inline std::optional<int> IdOnly(std::string_view body) {
    const int id = protocol::ReadDecimal(body);
    if (id <= 0) return std::nullopt;
    return id;
}

// Splits off the text before the next SEP; `rest` keeps what follows it.
// Nothing when there is no SEP.
inline std::optional<std::string_view> TakeField(std::string_view& rest) {
    const std::size_t sep = rest.find(protocol::kSep);
    if (sep == std::string_view::npos) return std::nullopt;
    std::string_view field = rest.substr(0, sep);
    rest.remove_prefix(sep + 1);
    return field;
}

inline bool IsDigitIn(char c, char low, char high) { return c >= low && c <= high; }

}  // namespace vorlan::client::reader
