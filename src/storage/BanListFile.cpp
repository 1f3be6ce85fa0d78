#include "storage/BanListFile.h"

#include <algorithm>
#include <optional>

#include "platform/Files.h"
#include "protocol/Framing.h"
#include "storage/SettingsWriter.h"
#include "storage/LineReader.h"

namespace vorlan::storage {

namespace {

std::string_view Cut(std::string_view text, std::size_t maxLength) { return text.substr(0, maxLength); }

std::optional<BanEntry> ParseBanLine(std::string_view line) {
    std::size_t firstSep = line.find(protocol::kSep);
    if (firstSep == std::string_view::npos) return std::nullopt;
    BanEntry entry;
    entry.banId = protocol::ReadDecimal(line.substr(0, firstSep));
    std::string_view rest = line.substr(firstSep + 1);
    std::size_t secondSep = rest.find(protocol::kSep);
    if (secondSep == std::string_view::npos) {
        entry.address = Cut(rest, kMaxBanAddressLength);
    } else {
        entry.address = Cut(rest.substr(0, secondSep), kMaxBanAddressLength);
        entry.description = Cut(rest.substr(secondSep + 1), kMaxBanDescriptionLength);
    }
    return entry;
}

bool IsBanIdInRange(int banId) { return banId >= 0 && banId < kBanIdCount; }

// Makes room for `added` by dropping the oldest entries, first from `banList`.
void DropOldestBeyondLimit(std::vector<BanEntry>& banList, std::vector<BanEntry>& added) {
    std::size_t limit = kBanIdCount;
    std::size_t total = banList.size() + added.size();
    if (total <= limit) return;
    std::size_t excess = total - limit;
    std::size_t fromList = std::min(excess, banList.size());
    banList.erase(banList.begin(), banList.begin() + static_cast<std::ptrdiff_t>(fromList));
    added.erase(added.begin(), added.begin() + static_cast<std::ptrdiff_t>(excess - fromList));
}

// Keeps every stored id that is in range and not yet held (earlier entries win),
// then gives the remaining entries the smallest free ids in order.
void GiveUniqueIds(const std::vector<BanEntry>& banList, std::vector<BanEntry>& added) {
    std::vector<bool> taken(kBanIdCount, false);
    for (const BanEntry& entry : banList) {
        if (IsBanIdInRange(entry.banId)) taken[static_cast<std::size_t>(entry.banId)] = true;
    }
    std::vector<BanEntry*> needId;
    for (BanEntry& entry : added) {
        if (IsBanIdInRange(entry.banId) && !taken[static_cast<std::size_t>(entry.banId)]) {
            taken[static_cast<std::size_t>(entry.banId)] = true;
        } else {
            needId.push_back(&entry);
        }
    }
    std::size_t freeId = 0;
    for (BanEntry* entry : needId) {
        while (taken[freeId]) ++freeId;
        taken[freeId] = true;
        entry->banId = static_cast<int>(freeId);
    }
}

}  // namespace

void ParseBanList(std::string_view bytes, std::vector<BanEntry>& banList) {
    std::vector<BanEntry> added;
    LineReader lines(bytes);
    std::string line;
    while (lines.ReadLine(line)) {
        if (std::optional<BanEntry> entry = ParseBanLine(line)) added.push_back(std::move(*entry));
    }
    DropOldestBeyondLimit(banList, added);
    GiveUniqueIds(banList, added);
    banList.insert(banList.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

std::string FormatBanList(const std::vector<BanEntry>& banList) {
    SettingsWriter writer;
    for (const BanEntry& entry : banList) {
        std::string id = std::to_string(entry.banId);
        std::string address = WithoutSep(entry.address);
        std::string description = WithoutLineBreaks(entry.description);
        if (description.empty()) {
            writer.AddFields({id, address});
        } else {
            writer.AddFields({id, address, description});
        }
    }
    return writer.Bytes();
}

bool LoadBanList(const std::string& path, std::vector<BanEntry>& banList) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    ParseBanList(bytes, banList);
    return true;
}

bool SaveBanListIfExists(const std::string& path, const std::vector<BanEntry>& banList) {
    return RewriteExistingFile(path, FormatBanList(banList));
}

}  // namespace vorlan::storage
