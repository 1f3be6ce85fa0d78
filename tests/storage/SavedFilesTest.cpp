#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "StorageTestText.h"
#include "support/TempFolder.h"
#include "storage/BanListFile.h"
#include "storage/ColorsFile.h"
#include "storage/OptionsFile.h"
#include "storage/ProfileFile.h"
#include "storage/RecentServersFile.h"

namespace vorlan::storage {
namespace {

namespace fs = std::filesystem;
using storage::test::SepJoined;

class SavedFiles : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return folder_.File(name); }

    void Put(const char* name, std::string_view bytes) const {
        std::ofstream out(folder_.Path() / name, std::ios::binary);
        out << bytes;
    }

    std::string Contents(const char* name) const {
        std::ifstream in(folder_.Path() / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    vorlan::test::TempFolder folder_;
};

TEST_F(SavedFiles, EachFileIsRewrittenWithExactlyItsFormattedBytes) {
    Put("options.vr", "old");
    Put("profile.vr", "old");
    Put("banlist.vr", "old");
    Put("recentservers.vr", "old");
    Options options;
    options.host = "example.org";
    Profile profile;
    profile.name = "Anna";
    std::vector<BanEntry> bans = {{3, "10.0.0.3", "spam"}};
    std::vector<RecentServerRecord> servers = {{"now", "127.0.0.1", ""}};

    EXPECT_TRUE(SaveOptionsIfExists(PathOf("options.vr"), options));
    EXPECT_TRUE(SaveProfileIfExists(PathOf("profile.vr"), profile));
    EXPECT_TRUE(SaveBanListIfExists(PathOf("banlist.vr"), bans));
    EXPECT_TRUE(SaveRecentServersIfExists(PathOf("recentservers.vr"), servers));

    EXPECT_EQ(Contents("options.vr"), FormatOptions(options));
    EXPECT_EQ(Contents("profile.vr"), FormatProfile(profile));
    EXPECT_EQ(Contents("banlist.vr"), SepJoined({"3", "10.0.0.3", "spam"}));
    EXPECT_EQ(Contents("recentservers.vr"), SepJoined({"now", "127.0.0.1"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"banlist.vr", "options.vr", "profile.vr",
                                                 "recentservers.vr"}))
        << "no temporary file is left behind";

    std::vector<BanEntry> emptied;
    EXPECT_TRUE(SaveBanListIfExists(PathOf("banlist.vr"), emptied));
    EXPECT_EQ(Contents("banlist.vr"), "");
}

TEST_F(SavedFiles, MissingFileIsNeitherCreatedNorAnError) {
    Options options;
    EXPECT_FALSE(SaveOptionsIfExists(PathOf("options.vr"), options));
    EXPECT_FALSE(SaveProfileIfExists(PathOf("profile.vr"), Profile{}));
    EXPECT_FALSE(SaveBanListIfExists(PathOf("banlist.vr"), {{1, "10.0.0.1", ""}}));
    EXPECT_FALSE(SaveRecentServersIfExists(PathOf("recentservers.vr"), {{"t", "a", ""}}));
    EXPECT_TRUE(Names().empty());
}

TEST_F(SavedFiles, FailedSaveLeavesTheOldFileIntact) {
    Put("banlist.vr", SepJoined({"1", "10.0.0.1"}));
    fs::create_directory(folder_.Path() / "banlist.vr.tmp");  // the temporary file cannot be made
    EXPECT_FALSE(SaveBanListIfExists(PathOf("banlist.vr"), {}));
    EXPECT_EQ(Contents("banlist.vr"), SepJoined({"1", "10.0.0.1"}));
}

TEST_F(SavedFiles, LoadReadsTheFileAndAMissingFileChangesNothing) {
    Put("options.vr", "1\r\n1\r\n1\r\nchat.example.org");
    Put("colors.vr", "1|2|3");
    Put("profile.vr", "Anna");
    Put("banlist.vr", SepJoined({"1", "10.0.0.1"}));
    Put("recentservers.vr", SepJoined({"t", "127.0.0.1"}));

    Options options;
    EXPECT_TRUE(LoadOptions(PathOf("options.vr"), options));
    EXPECT_EQ(options.host, "chat.example.org");
    Colors colors = DefaultColors();
    EXPECT_TRUE(LoadColors(PathOf("colors.vr"), colors));
    EXPECT_EQ(colors[0], 0x030201u);
    Profile profile;
    EXPECT_TRUE(LoadProfile(PathOf("profile.vr"), profile));
    EXPECT_EQ(profile.name, "Anna");
    std::vector<BanEntry> bans;
    EXPECT_TRUE(LoadBanList(PathOf("banlist.vr"), bans));
    EXPECT_EQ(bans.size(), 1u);
    std::vector<RecentServerRecord> servers;
    EXPECT_TRUE(LoadRecentServers(PathOf("recentservers.vr"), servers));
    EXPECT_EQ(servers.size(), 1u);

    for (const char* name : {"options.vr", "colors.vr", "profile.vr", "banlist.vr", "recentservers.vr"}) {
        fs::remove(folder_.Path() / name);
    }
    Options untouched;
    untouched.host = "kept";
    EXPECT_FALSE(LoadOptions(PathOf("options.vr"), untouched));
    EXPECT_EQ(untouched.host, "kept");
    EXPECT_FALSE(LoadColors(PathOf("colors.vr"), colors));
    EXPECT_EQ(colors[0], 0x030201u);
    EXPECT_FALSE(LoadProfile(PathOf("profile.vr"), profile));
    EXPECT_EQ(profile.name, "Anna");
    EXPECT_FALSE(LoadBanList(PathOf("banlist.vr"), bans));
    EXPECT_EQ(bans.size(), 1u);
    EXPECT_FALSE(LoadRecentServers(PathOf("recentservers.vr"), servers));
    EXPECT_EQ(servers.size(), 1u);
}

TEST_F(SavedFiles, ReadOnlyFileIsSkipped) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    Put("options.vr", "old");
    fs::permissions(folder_.Path() / "options.vr", fs::perms::owner_read);
    EXPECT_FALSE(SaveOptionsIfExists(PathOf("options.vr"), Options{}));
    EXPECT_EQ(Contents("options.vr"), "old");
}

}  // namespace
}  // namespace vorlan::storage
