#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlan::update {

// The version this program reports and compares.
inline constexpr std::string_view kOwnVersion{"1.17"};

// What the update server's answer says: the notice to show, or nothing. The
// version is the answer's last line, white space removed at both ends. Nothing
// is shown for an answer without a line feed, for the own version, and (so
// that an error page or a stray line break never announces a version) for an
// answer whose status line is not a success (200) or whose last line is not a
// version of digits and dots.
std::optional<std::string> UpdateNoticeFor(std::string_view response, std::string_view ownVersion = kOwnVersion);

}  // namespace vorlan::update
