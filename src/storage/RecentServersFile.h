#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/Records.h"

// "recentservers.vr": one server per line, time text SEP address, then SEP note
// when the note is not empty.
namespace vorlan::storage {

inline constexpr std::size_t kMaxRecentAddressLength = 200;
inline constexpr std::size_t kMaxRecentNoteLength = 1000;

// Appends the file's records to `servers` in file order; lines without SEP are
// skipped. The caller hands each record to the recently used servers list.
void ParseRecentServers(std::string_view bytes, std::vector<RecentServerRecord>& servers);
std::string FormatRecentServers(const std::vector<RecentServerRecord>& servers);

// False, with `servers` unchanged, when the file cannot be read.
bool LoadRecentServers(const std::string& path, std::vector<RecentServerRecord>& servers);
// Rewrites the file only when it already exists; false when nothing was written.
bool SaveRecentServersIfExists(const std::string& path, const std::vector<RecentServerRecord>& servers);

}  // namespace vorlan::storage
