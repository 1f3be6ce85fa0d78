#include "storage/RecentServersFile.h"

#include <algorithm>
#include <optional>

#include "platform/Files.h"
#include "protocol/Framing.h"
#include "storage/SettingsWriter.h"
#include "storage/LineReader.h"

namespace vorlan::storage {

namespace {

std::optional<RecentServerRecord> ParseRecentServerLine(std::string_view line) {
    std::size_t firstSep = line.find(protocol::kSep);
    if (firstSep == std::string_view::npos) return std::nullopt;
    RecentServerRecord record;
    record.timeText = line.substr(0, firstSep);
    std::string_view rest = line.substr(firstSep + 1);
    std::size_t secondSep = rest.find(protocol::kSep);
    if (secondSep == std::string_view::npos) {
        record.address = rest.substr(0, kMaxRecentAddressLength);
    } else {
        record.address = rest.substr(0, std::min(secondSep, kMaxRecentAddressLength));
        record.note = rest.substr(secondSep + 1, kMaxRecentNoteLength);
    }
    return record;
}

}  // namespace

void ParseRecentServers(std::string_view bytes, std::vector<RecentServerRecord>& servers) {
    LineReader lines(bytes);
    std::string line;
    while (lines.ReadLine(line)) {
        if (std::optional<RecentServerRecord> record = ParseRecentServerLine(line)) {
            servers.push_back(std::move(*record));
        }
    }
}

std::string FormatRecentServers(const std::vector<RecentServerRecord>& servers) {
    SettingsWriter writer;
    for (const RecentServerRecord& server : servers) {
        std::string address = WithoutSep(server.address);
        std::string note = WithoutLineBreaks(server.note);
        if (note.empty()) {
            writer.AddFields({server.timeText, address});
        } else {
            writer.AddFields({server.timeText, address, note});
        }
    }
    return writer.Bytes();
}

bool LoadRecentServers(const std::string& path, std::vector<RecentServerRecord>& servers) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    ParseRecentServers(bytes, servers);
    return true;
}

bool SaveRecentServersIfExists(const std::string& path, const std::vector<RecentServerRecord>& servers) {
    return RewriteExistingFile(path, FormatRecentServers(servers));
}

}  // namespace vorlan::storage
