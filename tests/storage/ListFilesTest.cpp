#include <gtest/gtest.h>

#include "StorageTestText.h"
#include "storage/BanListFile.h"
#include "storage/RecentServersFile.h"

namespace vorlan::storage {
namespace {

using test::CrLfLines;
using test::SepJoined;

std::vector<BanEntry> BansOf(std::string_view bytes) {
    std::vector<BanEntry> bans;
    ParseBanList(bytes, bans);
    return bans;
}

std::vector<RecentServerRecord> ServersOf(std::string_view bytes) {
    std::vector<RecentServerRecord> servers;
    ParseRecentServers(bytes, servers);
    return servers;
}

std::vector<int> IdsOf(const std::vector<BanEntry>& bans) {
    std::vector<int> ids;
    for (const BanEntry& ban : bans) ids.push_back(ban.banId);
    return ids;
}

TEST(BanListFile, TwoAndThreeFieldLinesRoundTripAsTheyWere) {
    std::string bytes = CrLfLines({SepJoined({"0", "10.0.0.1"}),
                                   SepJoined({"7", "10.0.0.2", "flooding"}),
                                   SepJoined({"3", "10.0.0.3"})});
    std::vector<BanEntry> bans = BansOf(bytes);
    ASSERT_EQ(bans.size(), 3u);
    EXPECT_EQ(bans[0].banId, 0);
    EXPECT_EQ(bans[0].address, "10.0.0.1");
    EXPECT_EQ(bans[0].description, "");
    EXPECT_EQ(bans[1].banId, 7);
    EXPECT_EQ(bans[1].address, "10.0.0.2");
    EXPECT_EQ(bans[1].description, "flooding");
    EXPECT_EQ(bans[2].address, "10.0.0.3");
    EXPECT_EQ(FormatBanList(bans), bytes);
    EXPECT_EQ(FormatBanList({}), "");
}

TEST(BanListFile, LineRules) {
    std::string longText(250, 'x');
    std::vector<BanEntry> bans = BansOf(
        "no separator here\n"
        "\n" +
        SepJoined({"12abc", "10.0.0.1"}) + "\r\n" +
        SepJoined({"13", "10.0.0.2", "kept", "after", "second"}) + "\r\n" +
        SepJoined({"14", longText}) + "\n" +
        SepJoined({"15", longText, longText}) + "\n" +
        SepJoined({"16", "10.0.\r0.6\r"}));
    ASSERT_EQ(bans.size(), 5u);
    EXPECT_EQ(bans[0].banId, 12);
    EXPECT_EQ(bans[1].description, SepJoined({"kept", "after", "second"}));
    EXPECT_EQ(bans[2].address, std::string(200, 'x'));
    EXPECT_EQ(bans[3].address, std::string(200, 'x'));
    EXPECT_EQ(bans[3].description, std::string(200, 'x'));
    EXPECT_EQ(bans[4].address, "10.0.0.6");
}

TEST(BanListFile, EntriesAreAppendedAfterThoseAlreadyHeld) {
    std::vector<BanEntry> bans = {{0, "10.0.0.1", ""}};
    ParseBanList(SepJoined({"1", "10.0.0.2"}), bans);
    ASSERT_EQ(bans.size(), 2u);
    EXPECT_EQ(bans[1].address, "10.0.0.2");
}

TEST(BanListFile, IdOutOfRangeOrAlreadyHeldGetsTheSmallestFreeIdAndTheBanIsKept) {
    std::vector<BanEntry> bans = {{0, "10.0.0.1", ""}};
    ParseBanList(CrLfLines({SepJoined({"50000", "a"}), SepJoined({"2", "b"}),
                            SepJoined({"2", "c"}), SepJoined({"99999999999", "d"}),
                            SepJoined({"0", "e"}), SepJoined({"", "f"}),
                            SepJoined({"49999", "g"})}),
                 bans);
    EXPECT_EQ(IdsOf(bans), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 49999}));
    EXPECT_EQ(bans[3].address, "c");
    EXPECT_EQ(BansOf(FormatBanList(bans)).size(), bans.size());
}

TEST(BanListFile, MoreThanFiftyThousandEntriesPushOutTheOldest) {
    std::vector<BanEntry> bans = {{0, "held before", ""}};
    std::string bytes;
    for (int id = 0; id < kBanIdCount; ++id) {
        if (id > 0) bytes += "\r\n";
        bytes += SepJoined({std::to_string(id), "10.1." + std::to_string(id)});
    }
    ParseBanList(bytes, bans);
    ASSERT_EQ(bans.size(), static_cast<std::size_t>(kBanIdCount));
    EXPECT_EQ(bans.front().address, "10.1.0");
    EXPECT_EQ(bans.front().banId, 0);
    EXPECT_EQ(bans.back().banId, kBanIdCount - 1);

    ParseBanList(SepJoined({"7", "newest"}), bans);
    ASSERT_EQ(bans.size(), static_cast<std::size_t>(kBanIdCount));
    EXPECT_EQ(bans.front().address, "10.1.1");
    EXPECT_EQ(bans.back().address, "newest");
    EXPECT_EQ(bans.back().banId, 0) << "the id freed by the pushed-out entry";
}

TEST(BanListFile, TextsThatWouldBreakTheLineAreWrittenSafely) {
    std::vector<BanEntry> bans = {{4, "10.0.\xAC" "0.1", "line\r\nbreak"}, {5, "10.0.0.2", "\r"}};
    EXPECT_EQ(FormatBanList(bans), CrLfLines({SepJoined({"4", "10.0.0.1", "line break"}),
                                              SepJoined({"5", "10.0.0.2"})}));
}

TEST(RecentServersFile, TwoFieldLineGivesAnEmptyNoteAndRoundTrips) {
    std::string bytes = CrLfLines({SepJoined({"Sun Dec 06 08:00:00 2026", "127.0.0.1"}),
                                   SepJoined({"Mon Dec 07 09:30:00 2026", "chat.example.org", "friends"})});
    std::vector<RecentServerRecord> servers = ServersOf(bytes);
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0].timeText, "Sun Dec 06 08:00:00 2026");
    EXPECT_EQ(servers[0].address, "127.0.0.1");
    EXPECT_EQ(servers[0].note, "");
    EXPECT_EQ(servers[1].address, "chat.example.org");
    EXPECT_EQ(servers[1].note, "friends");
    EXPECT_EQ(FormatRecentServers(servers), bytes);
}

TEST(RecentServersFile, LineRules) {
    std::string longAddress(250, 'a');
    std::string longNote(1200, 'n');
    std::string longTime(300, 't');
    std::vector<RecentServerRecord> servers = ServersOf(
        "127.0.0.1 without a separator\r\n" +
        SepJoined({longTime, longAddress}) + "\n" +
        SepJoined({"t", longAddress, longNote}) + "\n" +
        SepJoined({"t", "host", "note", "with separator"}) + "\r\n" +
        SepJoined({"t\r", "ho\rst"}) + "\r\n");
    ASSERT_EQ(servers.size(), 4u);
    EXPECT_EQ(servers[0].timeText, longTime);
    EXPECT_EQ(servers[0].address, std::string(200, 'a'));
    EXPECT_EQ(servers[1].address, std::string(200, 'a'));
    EXPECT_EQ(servers[1].note, std::string(1000, 'n'));
    EXPECT_EQ(servers[2].note, SepJoined({"note", "with separator"}));
    EXPECT_EQ(servers[3].timeText, "t");
    EXPECT_EQ(servers[3].address, "host");
}

TEST(RecentServersFile, TextsThatWouldBreakTheLineAreWrittenSafely) {
    std::vector<RecentServerRecord> servers = {{"12:00\xAC", "ho\xAC" "st", "a\nb"}};
    std::vector<RecentServerRecord> reread = ServersOf(FormatRecentServers(servers));
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0].timeText, "12:00");
    EXPECT_EQ(reread[0].address, "host");
    EXPECT_EQ(reread[0].note, "a b");
}

}  // namespace
}  // namespace vorlan::storage
