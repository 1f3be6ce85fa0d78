#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "storage/BanListFile.h"
#include "storage/ColorsFile.h"
#include "storage/OptionsFile.h"
#include "storage/ProfileFile.h"
#include "storage/RecentServersFile.h"

// The files shipped in the program folder must read as the program expects.
namespace vorlan::storage {
namespace {

std::string ShippedFile(const char* name) {
    std::filesystem::path folder =
        std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources" / "program";
    std::ifstream in(folder / name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ShippedFiles, OptionsLetANewcomerHostAndJoinAServer) {
    std::string bytes = ShippedFile("options.vr");
    Options options;
    ParseOptions(bytes, options);
    EXPECT_EQ(FormatOptions(options), bytes);
    EXPECT_TRUE(options.startServer);
    EXPECT_TRUE(options.connectToHost);
    EXPECT_EQ(options.host, "127.0.0.1");
    EXPECT_GT(options.chatPort, 0);
    EXPECT_LT(options.chatPort, 65536);
    EXPECT_GT(options.mainWidth, options.userPaneWidth + 150);
    EXPECT_GT(options.mainHeight, options.serversPaneHeight + 210);
    EXPECT_GT(options.privateWidth, 0);
    EXPECT_GT(options.browseHeight, 0);
}

TEST(ShippedFiles, OptionsMatchTheBuiltInDefaults) {
    Options shipped;
    ParseOptions(ShippedFile("options.vr"), shipped);
    Options defaults;
    EXPECT_EQ(shipped.mainWidth, defaults.mainWidth);
    EXPECT_EQ(shipped.mainHeight, defaults.mainHeight);
    EXPECT_EQ(shipped.serversPaneHeight, defaults.serversPaneHeight);
    EXPECT_EQ(shipped.userPaneWidth, defaults.userPaneWidth);
    EXPECT_EQ(shipped.privateWidth, defaults.privateWidth);
    EXPECT_EQ(shipped.privateHeight, defaults.privateHeight);
    EXPECT_EQ(shipped.connectionsWidth, defaults.connectionsWidth);
    EXPECT_EQ(shipped.connectionsHeight, defaults.connectionsHeight);
    EXPECT_EQ(shipped.banListWidth, defaults.banListWidth);
    EXPECT_EQ(shipped.banListHeight, defaults.banListHeight);
    EXPECT_EQ(shipped.browseWidth, defaults.browseWidth);
    EXPECT_EQ(shipped.browseHeight, defaults.browseHeight);
    EXPECT_EQ(shipped.sendBufferSizeText, defaults.sendBufferSizeText);
    EXPECT_EQ(shipped.sendPortRange, defaults.sendPortRange);
    EXPECT_EQ(shipped.receivePortRange, defaults.receivePortRange);
}

TEST(ShippedFiles, ColorsNameAll27ColoursAsTheBuiltInPalette) {
    Colors colors;
    colors.fill(0xFFFFFFFF);  // no component can give this value
    ParseColors(ShippedFile("colors.vr"), colors);
    EXPECT_EQ(colors, DefaultColors());
}

TEST(ShippedFiles, ProfileAndListsRoundTrip) {
    std::string profileBytes = ShippedFile("profile.vr");
    Profile profile;
    ParseProfile(profileBytes, profile);
    EXPECT_EQ(FormatProfile(profile), profileBytes);
    EXPECT_FALSE(profile.name.empty());

    std::vector<BanEntry> bans;
    ParseBanList(ShippedFile("banlist.vr"), bans);
    EXPECT_TRUE(bans.empty());
    std::vector<RecentServerRecord> servers;
    ParseRecentServers(ShippedFile("recentservers.vr"), servers);
    EXPECT_TRUE(servers.empty());
}

}  // namespace
}  // namespace vorlan::storage
