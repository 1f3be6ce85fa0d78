// Loading and saving on disk, and the files shipped in the program folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "storage/BanListFile.h"
#include "storage/ColorsFile.h"
#include "storage/OptionsFile.h"
#include "storage/ProfileFile.h"
#include "storage/RecentServersFile.h"
#include "support/TempFolder.h"

namespace vorlan::storage {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

class SavedFiles : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return folder_.File(name); }
    void Put(const char* name, std::string_view bytes) const { std::ofstream(folder_.Path() / name, std::ios::binary) << bytes; }
    std::string Contents(const char* name) const { return storage::Contents(folder_.Path() / name); }
    std::size_t FileCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()));
    }
    vorlan::test::TempFolder folder_;
};

TEST_F(SavedFiles, ExistingFilesAreRewrittenAndReadBackAndMissingOnesAreNeitherCreatedNorRead) {
    Options options;
    options.host = "example.org";
    Colors colors{};
    Profile profile;
    profile.name = "Anna";
    std::vector<BanEntry> bans{{3, "10.0.0.3", "spam"}};
    std::vector<RecentServerRecord> servers{{"now", "127.0.0.1", ""}};
    auto saveAll = [&] {
        return std::tuple(SaveOptionsIfExists(PathOf("options.vr"), options), SaveProfileIfExists(PathOf("profile.vr"), profile),
                          SaveBanListIfExists(PathOf("banlist.vr"), bans),
                          SaveRecentServersIfExists(PathOf("recentservers.vr"), servers));
    };
    auto loadAll = [&] {
        return std::tuple(LoadOptions(PathOf("options.vr"), options), LoadColors(PathOf("colors.vr"), colors),
                          LoadProfile(PathOf("profile.vr"), profile), LoadBanList(PathOf("banlist.vr"), bans),
                          LoadRecentServers(PathOf("recentservers.vr"), servers));
    };
    EXPECT_EQ(saveAll(), std::tuple(false, false, false, false));
    EXPECT_EQ(FileCount(), 0u);
    for (const char* name : {"options.vr", "profile.vr", "banlist.vr", "recentservers.vr"}) Put(name, "old");
    Put("colors.vr", "1|2|3");
    EXPECT_EQ(saveAll(), std::tuple(true, true, true, true));
    EXPECT_EQ(FileCount(), 5u) << "no temporary file is left behind";
    EXPECT_EQ(std::tuple(Contents("options.vr").substr(0, 20), Contents("banlist.vr"), Contents("recentservers.vr")),
              std::tuple("0\r\n0\r\n0\r\nexample.org", "3\xAC" "10.0.0.3\xAC" "spam", "now\xAC" "127.0.0.1"));
    options = {}, profile = {}, bans.clear(), servers.clear();
    auto loaded = [&] { return std::tuple(options.host, colors[0], FormatProfile(profile), bans.size(), servers.size()); };
    EXPECT_EQ(loadAll(), std::tuple(true, true, true, true, true));
    EXPECT_EQ(loaded(), std::tuple("example.org", 0x030201u, "Anna\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 1u, 1u));
    for (const fs::directory_entry& file : fs::directory_iterator(folder_.Path())) fs::remove(file.path());
    EXPECT_EQ(loadAll(), std::tuple(false, false, false, false, false));
    EXPECT_EQ(loaded(), std::tuple("example.org", 0x030201u, "Anna\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 1u, 1u));
}

TEST_F(SavedFiles, FailedSaveLeavesTheOldFileIntact) {
    Put("banlist.vr", "old");
    fs::create_directory(folder_.Path() / "banlist.vr.tmp");  // the temporary file cannot be made
    EXPECT_FALSE(SaveBanListIfExists(PathOf("banlist.vr"), {}));
    EXPECT_EQ(Contents("banlist.vr"), "old");
    if (::geteuid() == 0) return;  // the superuser may write any file
    fs::remove(folder_.Path() / "banlist.vr.tmp");
    fs::permissions(folder_.Path() / "banlist.vr", fs::perms::owner_read);
    EXPECT_FALSE(SaveBanListIfExists(PathOf("banlist.vr"), {}));
    EXPECT_EQ(Contents("banlist.vr"), "old");
}

std::string ShippedFile(const char* name) {
    return Contents(fs::path(__FILE__).parent_path() / ".." / ".." / "resources" / "program" / name);
}

TEST(ShippedFiles, ReadAsTheProgramExpectsAndMatchTheBuiltInDefaults) {
    const std::string bytes = ShippedFile("options.vr");
    Options shipped, defaults;
    ParseOptions(bytes, shipped);
    EXPECT_EQ(FormatOptions(shipped), bytes);
    // A newcomer hosts a server and joins it.
    EXPECT_EQ(std::tuple(shipped.startServer, shipped.connectToHost, shipped.host, shipped.chatPort),
              std::tuple(true, true, "127.0.0.1", kDefaultChatPort));
    // Without the file the windows open as with it.
    EXPECT_EQ(std::tuple(shipped.mainWidth, shipped.mainHeight, shipped.serversPaneHeight, shipped.userPaneWidth),
              std::tuple(defaults.mainWidth, defaults.mainHeight, defaults.serversPaneHeight, defaults.userPaneWidth));

    Colors colors;
    colors.fill(0xFFFFFFFF);  // no component can give this value
    ParseColors(ShippedFile("colors.vr"), colors);
    EXPECT_EQ(colors, DefaultColors());
    Profile profile;
    ParseProfile(ShippedFile("profile.vr"), profile);
    EXPECT_EQ(std::tuple(profile.name, FormatProfile(profile)), std::tuple("Guest", ShippedFile("profile.vr")));
    EXPECT_EQ(ShippedFile("banlist.vr") + ShippedFile("recentservers.vr"), "");
}

}  // namespace
}  // namespace vorlan::storage
