#include "storage/OptionsFile.h"

#include <climits>
#include <gtest/gtest.h>

#include "StorageTestText.h"

namespace vorlan::storage {
namespace {

using test::CrLfLines;

// Every line distinct, so that a field read from or written to the wrong line shows.
std::string DistinctOptionsFile() {
    return CrLfLines({
        "1", "0", "1", "host4", "0", "1", "0", "1", "0", "1",               // 1-10
        "0", "1", "0", "1", "browser15", "0", "17", "server18", "server19", "20",  // 11-20
        "21", "22", "23", "1", "25", "26", "0", "28", "29", "1",            // 21-30
        "31", "32", "0", "34", "35", "1", "address37", "38 KB", "0", "1",   // 31-40
        "41-42", "folder42\\", "43", "folder44\\", "topic 45", "password46",  // 41-46
        "password47", "password48", "password49",                          // 47-49
    });
}

TEST(OptionsFile, ReadsEachLineIntoItsFieldAndWritesTheSameBytes) {
    Options options;
    ParseOptions(DistinctOptionsFile(), options);

    EXPECT_TRUE(options.checkForNewVersion);
    EXPECT_FALSE(options.startServer);
    EXPECT_TRUE(options.connectToHost);
    EXPECT_EQ(options.host, "host4");
    EXPECT_FALSE(options.reconnect);
    EXPECT_TRUE(options.enablePopup);
    EXPECT_FALSE(options.enablePopupSound);
    EXPECT_TRUE(options.mainChatLogging);
    EXPECT_FALSE(options.messageSound);
    EXPECT_TRUE(options.privateChatLogging);
    EXPECT_FALSE(options.timestamps);
    EXPECT_TRUE(options.openLinksOnClick);
    EXPECT_FALSE(options.closeWhenComplete);
    EXPECT_TRUE(options.useSpecifiedBrowser);
    EXPECT_EQ(options.browserPath, "browser15");
    EXPECT_FALSE(options.useInternetExplorer);
    EXPECT_EQ(options.chatPort, 17);
    EXPECT_EQ(options.mainServer1, "server18");
    EXPECT_EQ(options.mainServer2, "server19");
    EXPECT_EQ(options.mainWidth, 20);
    EXPECT_EQ(options.mainHeight, 21);
    EXPECT_EQ(options.serversPaneHeight, 22);
    EXPECT_EQ(options.userPaneWidth, 23);
    EXPECT_TRUE(options.mainMaximized);
    EXPECT_EQ(options.privateWidth, 25);
    EXPECT_EQ(options.privateHeight, 26);
    EXPECT_FALSE(options.privateMaximized);
    EXPECT_EQ(options.connectionsWidth, 28);
    EXPECT_EQ(options.connectionsHeight, 29);
    EXPECT_TRUE(options.connectionsMaximized);
    EXPECT_EQ(options.banListWidth, 31);
    EXPECT_EQ(options.banListHeight, 32);
    EXPECT_FALSE(options.banListMaximized);
    EXPECT_EQ(options.browseWidth, 34);
    EXPECT_EQ(options.browseHeight, 35);
    EXPECT_TRUE(options.browseMaximized);
    EXPECT_EQ(options.serverAddress, "address37");
    EXPECT_EQ(options.sendBufferSizeText, "38 KB");
    EXPECT_FALSE(options.sendModeClient);
    EXPECT_TRUE(options.sendModeServer);
    EXPECT_EQ(options.sendPortRange, "41-42");
    EXPECT_EQ(options.lastSendFolder, "folder42\\");
    EXPECT_EQ(options.receivePortRange, "43");
    EXPECT_EQ(options.lastSaveFolder, "folder44\\");
    EXPECT_EQ(options.topic, "topic 45");
    EXPECT_EQ(options.clientPassword, "password46");
    EXPECT_EQ(options.superAdminPassword, "password47");
    EXPECT_EQ(options.normalAdminPassword, "password48");
    EXPECT_EQ(options.normalUserPassword, "password49");

    EXPECT_EQ(FormatOptions(options), DistinctOptionsFile());
}

TEST(OptionsFile, FlagLineIsDecidedByItsFirstCharacterOnly) {
    for (bool before : {false, true}) {
        Options options;
        options.checkForNewVersion = before;
        options.startServer = before;
        options.connectToHost = before;
        options.reconnect = before;
        options.enablePopup = before;
        ParseOptions(CrLfLines({"1 and more", "0x", "yes", "", " 1"}), options);
        EXPECT_TRUE(options.checkForNewVersion);
        EXPECT_FALSE(options.startServer);
        EXPECT_EQ(options.connectToHost, before) << "a line that is neither 0 nor 1 keeps the flag";
        EXPECT_EQ(options.reconnect, before);
        EXPECT_EQ(options.enablePopup, before);
    }
}

TEST(OptionsFile, NumberLineReadsItsLeadingDigits) {
    auto chatPortOf = [](std::string_view line17) {
        std::string bytes = std::string(16, '\n') + std::string(line17);
        Options options;
        ParseOptions(bytes, options);
        return options.chatPort;
    };
    EXPECT_EQ(chatPortOf("5555"), 5555);
    EXPECT_EQ(chatPortOf("8080 tcp"), 8080);
    EXPECT_EQ(chatPortOf("port"), 0);
    EXPECT_EQ(chatPortOf(""), 0);
    EXPECT_EQ(chatPortOf("-1"), 0);
    EXPECT_EQ(chatPortOf(" 7"), 0);
    EXPECT_EQ(chatPortOf("99999999999999999999"), INT_MAX);
}

TEST(OptionsFile, ShortFileSetsItsLinesAndReadsTheRestAsEmpty) {
    Options options;
    options.mainMaximized = true;       // line 24
    options.sendModeServer = true;      // line 40
    options.privateWidth = 480;         // line 25
    options.topic = "old topic";        // line 45
    options.normalUserPassword = "pw";  // line 49
    ParseOptions(CrLfLines({"1", "1", "1", "h", "0", "0", "0", "0", "0", "0",
                            "0", "0", "0", "0", "b", "0", "17", "s1", "s2", "640"}),
                 options);

    EXPECT_EQ(options.host, "h");
    EXPECT_EQ(options.mainServer2, "s2");
    EXPECT_EQ(options.mainWidth, 640);
    EXPECT_EQ(options.mainHeight, 0);
    EXPECT_EQ(options.privateWidth, 0);
    EXPECT_TRUE(options.mainMaximized);
    EXPECT_TRUE(options.sendModeServer);
    EXPECT_EQ(options.topic, "");
    EXPECT_EQ(options.normalUserPassword, "");
}

TEST(OptionsFile, EmptyFileKeepsFlagsAndClearsNumbersAndTexts) {
    Options options;
    options.startServer = true;
    options.host = "127.0.0.1";
    ParseOptions("", options);
    EXPECT_TRUE(options.startServer);
    EXPECT_TRUE(options.reconnect);
    EXPECT_EQ(options.host, "");
    EXPECT_EQ(options.mainWidth, 0);
}

TEST(OptionsFile, LineEndsMayBeBareLineFeedsAndCarriageReturnsVanish) {
    std::string bareLineFeeds = DistinctOptionsFile();
    std::erase(bareLineFeeds, '\r');
    Options fromBare;
    ParseOptions(bareLineFeeds, fromBare);
    EXPECT_EQ(FormatOptions(fromBare), DistinctOptionsFile());

    Options options;
    ParseOptions("1\r\r\n0\r\n1\r\nlocal\rhost\r", options);
    EXPECT_EQ(options.host, "localhost");
}

TEST(OptionsFile, LinesAfterTheFortyNinthAreIgnored) {
    Options options;
    ParseOptions(DistinctOptionsFile() + "\r\nextra\r\nlines", options);
    EXPECT_EQ(options.normalUserPassword, "password49");
    EXPECT_EQ(FormatOptions(options), DistinctOptionsFile());
}

TEST(OptionsFile, LineBreakInATextCannotShiftTheLinesAfterIt) {
    Options options;
    options.topic = "first\r\nsecond\nthird";  // a topic set over the network
    options.clientPassword = "client";
    options.superAdminPassword = "super";
    options.normalAdminPassword = "admin";
    options.normalUserPassword = "user";

    Options reread;
    ParseOptions(FormatOptions(options), reread);
    EXPECT_EQ(reread.topic, "first second third");
    EXPECT_EQ(reread.clientPassword, "client");
    EXPECT_EQ(reread.superAdminPassword, "super");
    EXPECT_EQ(reread.normalAdminPassword, "admin");
    EXPECT_EQ(reread.normalUserPassword, "user");
}

}  // namespace
}  // namespace vorlan::storage
