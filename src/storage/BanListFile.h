#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/Records.h"

// "banlist.vr": one ban per line, ban id SEP address, then SEP description when
// the description is not empty.
namespace vorlan::storage {

inline constexpr int kBanIdCount = 50000;  // ban ids 0..49999, so at most 50000 bans
inline constexpr std::size_t kMaxBanAddressLength = 200;
inline constexpr std::size_t kMaxBanDescriptionLength = 200;

// Appends the file's entries to `banList` in file order; lines without SEP are
// skipped. The list stays one the server can hold: an entry whose stored id is
// out of range or already held gets the smallest free id instead of being lost,
// and beyond 50000 entries the oldest are pushed out, as a new ban would do.
void ParseBanList(std::string_view bytes, std::vector<BanEntry>& banList);
std::string FormatBanList(const std::vector<BanEntry>& banList);

// False, with `banList` unchanged, when the file cannot be read.
bool LoadBanList(const std::string& path, std::vector<BanEntry>& banList);
// Rewrites the file only when it already exists; false when nothing was written.
bool SaveBanListIfExists(const std::string& path, const std::vector<BanEntry>& banList);

}  // namespace vorlan::storage
