#pragma once

#include <string>
#include <string_view>

#include "storage/Records.h"

// "profile.vr": name, e-mail address, country, home page, interests, gender,
// birthday and picture URL, one per line.
namespace vorlan::storage {

inline constexpr std::size_t kMaxNameLength = 20;
inline constexpr std::size_t kMaxProfileFieldLength = 200;

// Every field is set: SEP bytes are removed, the name is cut to 20 characters and
// the others to 200; fields past the end of the file become empty.
void ParseProfile(std::string_view bytes, Profile& profile);
std::string FormatProfile(const Profile& profile);

// False, with `profile` unchanged, when the file cannot be read.
bool LoadProfile(const std::string& path, Profile& profile);
// Rewrites the file only when it already exists; false when nothing was written.
bool SaveProfileIfExists(const std::string& path, const Profile& profile);

}  // namespace vorlan::storage
