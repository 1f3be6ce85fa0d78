#include "update/UpdateNotice.h"

#include "protocol/Text.h"

namespace vorlan::update {
namespace {

// "HTTP/1.1 200 OK": the status code after the first space is 200.
bool IsSuccess(std::string_view response) {
    if (!response.starts_with("HTTP/")) return false;
    const std::size_t space = response.find(' ');
    if (space == std::string_view::npos || space > response.find('\n')) return false;
    std::string_view code = response.substr(space + 1, 4);
    return code == "200" || code == "200 " || code == "200\r" || code == "200\n";
}

bool IsVersion(std::string_view text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') return false;
    return text.find_first_not_of("0123456789.") == std::string_view::npos;
}

}  // namespace

std::optional<std::string> UpdateNoticeFor(std::string_view response, std::string_view ownVersion) {
    const std::size_t lastLineFeed = response.rfind('\n');
    if (lastLineFeed == std::string_view::npos || !IsSuccess(response)) return std::nullopt;
    const std::string_view version = protocol::TrimChars(response.substr(lastLineFeed + 1), protocol::kWhiteSpace);
    if (version == ownVersion || !IsVersion(version)) return std::nullopt;
    return "Vorlan" + std::string(version) + " is available for download. Click here for more information.";
}

}  // namespace vorlan::update
