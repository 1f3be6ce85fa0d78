// The settings and list files: which line feeds which field, the reading rules
// of each kind of line, cuts, ban ids the server can hold, writing that cannot
// break a line or shift the lines after it, saving and loading on disk, and the
// files shipped in the program folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
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

// `parts` joined by `glue`: CR LF for the lines of a file, SEP for the fields of a line.
std::string Joined(std::initializer_list<std::string_view> parts, std::string_view glue) {
    std::string out;
    for (const std::string_view& part : parts)
        out.append(&part == parts.begin() ? std::string_view() : glue).append(part);
    return out;
}
std::string CrLfLines(std::initializer_list<std::string_view> lines) { return Joined(lines, "\r\n"); }
std::string SepJoined(std::initializer_list<std::string_view> fields) { return Joined(fields, "\xAC"); }

// Every line distinct, so that a field read from or written to the wrong line shows.
std::string DistinctOptionsFile() {
    return CrLfLines({"1",          "0",          "1",         "host4",      "0",         "1",
                      "0",          "1",          "0",         "1",  // 1-10
                      "0",          "1",          "0",         "1",          "browser15", "0",
                      "17",         "server18",   "server19",  "20",  // 11-20
                      "21",         "22",         "23",        "1",          "25",        "26",
                      "0",          "28",         "29",        "1",  // 21-30
                      "31",         "32",         "0",         "34",         "35",        "1",
                      "address37",  "38 KB",      "0",         "1",                                      // 31-40
                      "41-42",      "folder42\\", "43",        "folder44\\", "topic 45",  "password46",  // 41-46
                      "password47", "password48", "password49"});
}

Options ParsedOptions(std::string_view bytes, Options options = {}) {
    ParseOptions(bytes, options);
    return options;
}

TEST(OptionsFile, EachLineFeedsItsOwnFieldAndIsWrittenBackAsItWas) {
    const Options o = ParsedOptions(DistinctOptionsFile());
    EXPECT_EQ(std::tuple(o.checkForNewVersion, o.startServer, o.connectToHost, o.host, o.reconnect, o.enablePopup,
                         o.enablePopupSound, o.mainChatLogging, o.messageSound, o.privateChatLogging, o.timestamps,
                         o.openLinksOnClick, o.closeWhenComplete, o.useSpecifiedBrowser, o.browserPath),
              std::tuple(true, false, true, "host4", false, true, false, true, false, true, false, true, false, true,
                         "browser15"));
    EXPECT_EQ(std::tuple(o.useInternetExplorer, o.chatPort, o.mainServer1, o.mainServer2, o.mainWidth, o.mainHeight,
                         o.serversPaneHeight, o.userPaneWidth, o.mainMaximized, o.privateWidth, o.privateHeight,
                         o.privateMaximized, o.connectionsWidth, o.connectionsHeight, o.connectionsMaximized),
              std::tuple(false, 17, "server18", "server19", 20, 21, 22, 23, true, 25, 26, false, 28, 29, true));
    EXPECT_EQ(std::tuple(o.banListWidth, o.banListHeight, o.banListMaximized, o.browseWidth, o.browseHeight,
                         o.browseMaximized, o.serverAddress, o.sendBufferSizeText, o.sendModeClient, o.sendModeServer),
              std::tuple(31, 32, false, 34, 35, true, "address37", "38 KB", false, true));
    EXPECT_EQ(std::tuple(o.sendPortRange, o.lastSendFolder, o.receivePortRange, o.lastSaveFolder, o.topic,
                         o.clientPassword, o.superAdminPassword, o.normalAdminPassword, o.normalUserPassword),
              std::tuple("41-42", "folder42\\", "43", "folder44\\", "topic 45", "password46", "password47",
                         "password48", "password49"));
    EXPECT_EQ(FormatOptions(o), DistinctOptionsFile());
    // Bare line feeds, stray carriage returns and lines past the 49th change nothing.
    std::string bare = DistinctOptionsFile() + "\r\nextra\r\nlines";
    std::erase(bare, '\r');
    bare.insert(bare.find("host4") + 2, "\r");
    EXPECT_EQ(FormatOptions(ParsedOptions(bare)), DistinctOptionsFile());
    // A line break in a text (a topic set over the network) cannot shift the passwords after it.
    Options broken = o;
    broken.topic = "first\r\nsecond\nthird";
    const Options reread = ParsedOptions(FormatOptions(broken));
    EXPECT_EQ(std::tuple(reread.topic, reread.clientPassword, reread.normalUserPassword),
              std::tuple("first second third", "password46", "password49"));
}

TEST(OptionsFile, FlagLinesAreDecidedByTheirFirstCharacterAndNumberLinesByLeadingDigits) {
    struct FlagRow {
        const char* line;
        bool before, after;
    };
    for (FlagRow row : {FlagRow{"1 and more", false, true},
                        {"0x", true, false},
                        {"yes", true, true},
                        {"yes", false, false},
                        {"", true, true},
                        {" 1", false, false}}) {
        Options options;
        options.checkForNewVersion = row.before;
        EXPECT_EQ(ParsedOptions(row.line, options).checkForNewVersion, row.after) << row.line << row.before;
    }
    struct NumberRow {
        const char* line;
        int port;
    };
    for (NumberRow row : {NumberRow{"5555", 5555},
                          {"8080 tcp", 8080},
                          {"port", 0},
                          {"", 0},
                          {"-1", 0},
                          {" 7", 0},
                          {"99999999999999999999", INT_MAX}}) {
        EXPECT_EQ(ParsedOptions(std::string(16, '\n') + row.line).chatPort, row.port) << row.line;
    }
}

TEST(OptionsFile, ShortFileKeepsFlagsPastItsEndAndEmptiesNumbersAndTexts) {
    Options before;
    before.mainMaximized = true;  // line 24
    before.topic = "old topic";   // line 45
    const Options o = ParsedOptions(CrLfLines({"1", "1", "1", "h", "0", "0", "0",  "0",  "0",  "0",
                                               "0", "0", "0", "0", "b", "0", "17", "s1", "s2", "640"}),
                                    before);
    EXPECT_EQ(std::tuple(o.host, o.mainServer2, o.mainWidth, o.mainHeight, o.mainMaximized, o.reconnect, o.topic),
              std::tuple("h", "s2", 640, 0, true, false, ""));
}

TEST(ProfileFile, EightLinesRoundTripAndEachIsCleanedAndCut) {
    std::string bytes = CrLfLines({"Anna", "anna@example.org", "Norway", "http://example.org/", "chess, sailing",
                                   "female", "1 May", "http://example.org/a.bmp"});
    Profile profile;
    ParseProfile(bytes, profile);
    EXPECT_EQ(std::tuple(profile.name, profile.email, profile.country, profile.homePage, profile.interests,
                         profile.gender, profile.birthday, profile.pictureUrl),
              std::tuple("Anna", "anna@example.org", "Norway", "http://example.org/", "chess, sailing", "female",
                         "1 May", "http://example.org/a.bmp"));
    EXPECT_EQ(FormatProfile(profile), bytes);
    profile.interests = "one\r\ntwo";
    ParseProfile(FormatProfile(profile), profile);
    EXPECT_EQ(std::tuple(profile.interests, profile.pictureUrl), std::tuple("one two", "http://example.org/a.bmp"));

    // SEP and CR are removed before the cut: the name to 20, the others to 200.
    ParseProfile(CrLfLines({"\xAC"
                            "Abcdefghij\rKlmnopqrst\xACUvwxyz",
                            "a\xAC"
                            "b",
                            "", "", "\xAC" + std::string(250, 'i')}),
                 profile);
    EXPECT_EQ(std::tuple(profile.name, profile.email, profile.interests, profile.gender),
              std::tuple("AbcdefghijKlmnopqrst", "ab", std::string(200, 'i'), ""));
}

TEST(ColorsFile, ReadsAsScanfWouldClampsAndStopsAtTheFirstBrokenColour) {
    constexpr std::uint32_t kKept = 0xDEADBEEF;
    struct Row {
        const char* bytes;
        std::uint32_t first, second, third;
    };
    for (Row row : {Row{"  1|\t2| 3\n\n4|5|6 +7|+8|+9", 0x030201, 0x060504, 0x090807},
                    {"256|0|0\n-1|-300|1000\n99999999999999999999|0|-99999999999", 255, 0xFF0000, 255},
                    {"1|2|3\n4|5\n7|8|9", 0x030201, kKept, kKept},
                    {"1|2|3\n4 |5|6\n7|8|9", 0x030201, kKept, kKept},  // scanf skips no space before a bar
                    {"1|2|3\n-|5|6\n7|8|9", 0x030201, kKept, kKept},
                    {"1|2|3\n4,5,6\n7|8|9", 0x030201, kKept, kKept},
                    {"", kKept, kKept, kKept}}) {
        Colors colors;
        colors.fill(kKept);
        ParseColors(row.bytes, colors);
        EXPECT_EQ(std::tuple(colors[0], colors[1], colors[2], colors[3]),
                  std::tuple(row.first, row.second, row.third, kKept))
            << row.bytes;
    }
}

using BanRow = std::tuple<int, std::string, std::string>;
std::vector<BanRow> Rows(const std::vector<BanEntry>& bans) {
    std::vector<BanRow> rows;
    for (const BanEntry& ban : bans) rows.emplace_back(ban.banId, ban.address, ban.description);
    return rows;
}

std::vector<BanEntry> BansOf(std::string_view bytes, std::vector<BanEntry> bans = {}) {
    ParseBanList(bytes, bans);
    return bans;
}

TEST(BanListFile, LinesRoundTripAndLineRulesApply) {
    std::string bytes = CrLfLines({SepJoined({"0", "10.0.0.1"}), SepJoined({"7", "10.0.0.2", "flooding"})});
    EXPECT_EQ(Rows(BansOf(bytes)), (std::vector<BanRow>{{0, "10.0.0.1", ""}, {7, "10.0.0.2", "flooding"}}));
    EXPECT_EQ(FormatBanList(BansOf(bytes)), bytes);
    // Texts that would break the line are written safely.
    EXPECT_EQ(FormatBanList({{4,
                              "10.0.\xAC"
                              "0.1",
                              "line\r\nbreak"},
                             {5, "10.0.0.2", "\r"}}),
              CrLfLines({SepJoined({"4", "10.0.0.1", "line break"}), SepJoined({"5", "10.0.0.2"})}));

    std::string longText(250, 'x'), cut(200, 'x');
    EXPECT_EQ(Rows(BansOf("no separator here\n\n" + SepJoined({"12abc", "a"}) + "\r\n" +
                          SepJoined({"13", "b", "kept", "after"}) + "\n" + SepJoined({"14", longText, longText}) +
                          "\n" + SepJoined({"15", longText}) + "\n" + SepJoined({"16", "10.0.\r0.6\r"}))),
              (std::vector<BanRow>{{12, "a", ""},
                                   {13, "b", SepJoined({"kept", "after"})},
                                   {14, cut, cut},
                                   {15, cut, ""},
                                   {16, "10.0.0.6", ""}}));
}

TEST(BanListFile, IdOutOfRangeOrAlreadyHeldGetsTheSmallestFreeIdAfterTheHeldEntries) {
    EXPECT_EQ(Rows(BansOf(CrLfLines({SepJoined({"50000", "a"}), SepJoined({"2", "b"}), SepJoined({"2", "c"}),
                                     SepJoined({"99999999999", "d"}), SepJoined({"0", "e"}), SepJoined({"", "f"}),
                                     SepJoined({"49999", "g"})}),
                          {{0, "held", ""}})),
              (std::vector<BanRow>{{0, "held", ""},
                                   {1, "a", ""},
                                   {2, "b", ""},
                                   {3, "c", ""},
                                   {4, "d", ""},
                                   {5, "e", ""},
                                   {6, "f", ""},
                                   {49999, "g", ""}}));
}

TEST(BanListFile, MoreThanFiftyThousandEntriesPushOutTheOldest) {
    std::string bytes;
    for (int id = 0; id < kBanIdCount; ++id)
        bytes += SepJoined({std::to_string(id), "10.1." + std::to_string(id)}) + "\n";
    std::vector<BanEntry> bans = BansOf(bytes, {{0, "held before", ""}});
    ASSERT_EQ(bans.size(), static_cast<std::size_t>(kBanIdCount));
    EXPECT_EQ(Rows({bans.front(), bans.back()}), (std::vector<BanRow>{{0, "10.1.0", ""}, {49999, "10.1.49999", ""}}));

    ParseBanList(SepJoined({"7", "newest"}), bans);
    // The newest takes the id freed by the entry it pushed out.
    EXPECT_EQ(Rows({bans.front(), bans.back()}), (std::vector<BanRow>{{1, "10.1.1", ""}, {0, "newest", ""}}));
}

using ServerRow = std::tuple<std::string, std::string, std::string>;
std::vector<ServerRow> ServersOf(std::string_view bytes) {
    std::vector<RecentServerRecord> servers;
    ParseRecentServers(bytes, servers);
    std::vector<ServerRow> rows;
    for (const RecentServerRecord& server : servers) rows.emplace_back(server.timeText, server.address, server.note);
    return rows;
}

TEST(RecentServersFile, LinesRoundTripAndLineRulesApply) {
    std::string bytes = CrLfLines({SepJoined({"Sun Dec 06 08:00:00 2026", "127.0.0.1"}),
                                   SepJoined({"Mon Dec 07 09:30:00 2026", "chat.example.org", "friends"})});
    std::vector<RecentServerRecord> servers{{"Sun Dec 06 08:00:00 2026", "127.0.0.1", ""},
                                            {"Mon Dec 07 09:30:00 2026", "chat.example.org", "friends"}};
    EXPECT_EQ(FormatRecentServers(servers), bytes);
    EXPECT_EQ(ServersOf(FormatRecentServers(servers)),
              (std::vector<ServerRow>{{servers[0].timeText, "127.0.0.1", ""},
                                      {servers[1].timeText, "chat.example.org", "friends"}}));

    std::string longTime(300, 't'), longAddress(250, 'a'), longNote(1200, 'n');
    EXPECT_EQ(ServersOf("127.0.0.1 without a separator\r\n" + SepJoined({longTime, longAddress}) + "\n" +
                        SepJoined({"t", longAddress, longNote}) + "\n" + SepJoined({"t", "host", "a", "b"}) + "\r\n" +
                        SepJoined({"t\r", "ho\rst"}) + "\r\n"),
              (std::vector<ServerRow>{{longTime, std::string(200, 'a'), ""},
                                      {"t", std::string(200, 'a'), std::string(1000, 'n')},
                                      {"t", "host", SepJoined({"a", "b"})},
                                      {"t", "host", ""}}));
    EXPECT_EQ(ServersOf(FormatRecentServers({{"12:00\xAC",
                                              "ho\xAC"
                                              "st",
                                              "a\nb"}})),
              (std::vector<ServerRow>{{"12:00", "host", "a b"}}));
}

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

class SavedFiles : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return folder_.File(name); }
    void Put(const char* name, std::string_view bytes) const {
        std::ofstream(folder_.Path() / name, std::ios::binary) << bytes;
    }
    std::string Contents(const char* name) const { return storage::Contents(folder_.Path() / name); }
    std::size_t FileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()));
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
        return std::tuple(SaveOptionsIfExists(PathOf("options.vr"), options),
                          SaveProfileIfExists(PathOf("profile.vr"), profile),
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
              std::tuple("0\r\n0\r\n0\r\nexample.org",
                         "3\xAC"
                         "10.0.0.3\xAC"
                         "spam",
                         "now\xAC"
                         "127.0.0.1"));
    options = {}, profile = {}, bans.clear(), servers.clear();
    auto loaded = [&] {
        return std::tuple(options.host, colors[0], FormatProfile(profile), bans.size(), servers.size());
    };
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
