// Feeds one input to every settings and list file reader and checks that what a
// reader makes of it is written back in a form that reads the same again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Framing.h"
#include "storage/BanListFile.h"
#include "storage/ColorsFile.h"
#include "storage/OptionsFile.h"
#include "storage/ProfileFile.h"
#include "storage/RecentServersFile.h"

using namespace vorlan::storage;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::size_t CountOf(std::string_view text, std::string_view piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + piece.size())) {
        ++count;
    }
    return count;
}

// Exactly `lines` lines joined by CR LF, with no other CR or LF.
void RequireLineCount(std::string_view bytes, std::size_t lines) {
    Require(CountOf(bytes, "\r\n") == lines - 1);
    Require(std::count(bytes.begin(), bytes.end(), '\n') == static_cast<long>(lines - 1));
    Require(std::count(bytes.begin(), bytes.end(), '\r') == static_cast<long>(lines - 1));
}

void CheckOptions(std::string_view input) {
    Options first;
    ParseOptions(input, first);
    std::string written = FormatOptions(first);
    RequireLineCount(written, 49);
    Options second;
    ParseOptions(written, second);
    Require(FormatOptions(second) == written);
}

void CheckProfile(std::string_view input) {
    Profile first;
    ParseProfile(input, first);
    Require(first.name.size() <= kMaxNameLength);
    Require(first.email.size() <= kMaxProfileFieldLength);
    Require(first.pictureUrl.size() <= kMaxProfileFieldLength);
    std::string written = FormatProfile(first);
    RequireLineCount(written, 8);
    Require(written.find(vorlan::protocol::kSep) == std::string::npos);
    Profile second;
    ParseProfile(written, second);
    Require(FormatProfile(second) == written);
}

void CheckBanList(std::string_view input) {
    std::vector<BanEntry> first;
    ParseBanList(input, first);
    Require(first.size() <= static_cast<std::size_t>(kBanIdCount));
    std::vector<bool> seen(kBanIdCount, false);
    for (const BanEntry& entry : first) {
        Require(entry.banId >= 0 && entry.banId < kBanIdCount);
        Require(!seen[static_cast<std::size_t>(entry.banId)]);
        seen[static_cast<std::size_t>(entry.banId)] = true;
        Require(entry.address.size() <= kMaxBanAddressLength);
        Require(entry.description.size() <= kMaxBanDescriptionLength);
    }
    std::string written = FormatBanList(first);
    std::vector<BanEntry> second;
    ParseBanList(written, second);
    Require(second.size() == first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        Require(second[i].banId == first[i].banId);
        Require(second[i].address == first[i].address);
        Require(second[i].description == first[i].description);
    }
    Require(FormatBanList(second) == written);
}

void CheckRecentServers(std::string_view input) {
    std::vector<RecentServerRecord> first;
    ParseRecentServers(input, first);
    for (const RecentServerRecord& record : first) {
        Require(record.address.size() <= kMaxRecentAddressLength);
        Require(record.note.size() <= kMaxRecentNoteLength);
    }
    std::string written = FormatRecentServers(first);
    std::vector<RecentServerRecord> second;
    ParseRecentServers(written, second);
    Require(second.size() == first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        Require(second[i].timeText == first[i].timeText);
        Require(second[i].address == first[i].address);
        Require(second[i].note == first[i].note);
    }
    Require(FormatRecentServers(second) == written);
}

void CheckColors(std::string_view input) {
    Colors colors = DefaultColors();
    ParseColors(input, colors);
    for (std::uint32_t color : colors) Require(color <= 0xFFFFFFu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckOptions(input);
    CheckProfile(input);
    CheckBanList(input);
    CheckRecentServers(input);
    CheckColors(input);
    return 0;
}
