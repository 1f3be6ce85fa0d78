#include "storage/ProfileFile.h"

#include <algorithm>
#include <array>

#include "platform/Files.h"
#include "storage/SettingsWriter.h"
#include "storage/LineReader.h"

namespace vorlan::storage {

namespace {

using ProfileLine = std::string Profile::*;

// The lines of the file, in file order.
constexpr std::array<ProfileLine, 8> kProfileLines = {
    &Profile::name,      &Profile::email,  &Profile::country,  &Profile::homePage,
    &Profile::interests, &Profile::gender, &Profile::birthday, &Profile::pictureUrl,
};

std::size_t MaxLength(ProfileLine member) { return member == &Profile::name ? kMaxNameLength : kMaxProfileFieldLength; }

}  // namespace

void ParseProfile(std::string_view bytes, Profile& profile) {
    LineReader lines(bytes);
    for (ProfileLine member : kProfileLines) {
        std::string field = WithoutSep(lines.NextOrEmpty());
        field.resize(std::min(field.size(), MaxLength(member)));
        profile.*member = std::move(field);
    }
}

std::string FormatProfile(const Profile& profile) {
    SettingsWriter writer;
    for (ProfileLine member : kProfileLines) writer.AddText(profile.*member);
    return writer.Bytes();
}

bool LoadProfile(const std::string& path, Profile& profile) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    ParseProfile(bytes, profile);
    return true;
}

bool SaveProfileIfExists(const std::string& path, const Profile& profile) {
    return RewriteExistingFile(path, FormatProfile(profile));
}

}  // namespace vorlan::storage
