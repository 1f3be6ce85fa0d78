#include <gtest/gtest.h>

#include "conversation/ChatText.h"

namespace vorlan::conversation {
namespace {

std::vector<TextRun> Runs(std::initializer_list<std::pair<const char*, bool>> runs) {
    std::vector<TextRun> out;
    for (const auto& [text, isLink] : runs) out.push_back(TextRun{text, isLink});
    return out;
}

TEST(SplitLinks, TextWithoutLinksIsOnePlainRun) {
    EXPECT_EQ(SplitLinks("hello there"), Runs({{"hello there", false}}));
    EXPECT_TRUE(SplitLinks("").empty());
}

TEST(SplitLinks, LinkAfterSpaceEndsAtNextSpace) {
    EXPECT_EQ(SplitLinks("see www.example.com now"),
              Runs({{"see ", false}, {"www.example.com", true}, {" now", false}}));
}

TEST(SplitLinks, LinkAtStartAndLinkEndedByLineFeed) {
    EXPECT_EQ(SplitLinks("http://a.b/c\nnext"), Runs({{"http://a.b/c", true}, {"\nnext", false}}));
}

TEST(SplitLinks, StartGluedToWordIsNotALink) {
    EXPECT_EQ(SplitLinks("xwww.example.com"), Runs({{"xw", false}, {"ww.example.com", false}}));
    // After a line feed there is no space either.
    EXPECT_EQ(SplitLinks("a\nwww.b.c"), Runs({{"a\nw", false}, {"ww.b.c", false}}));
}

TEST(SplitLinks, StartsAreFoundWithoutRegardToCaseAndKeepTheirCase) {
    EXPECT_EQ(SplitLinks("go HTTP://Host.Org/X"), Runs({{"go ", false}, {"HTTP://Host.Org/X", true}}));
    EXPECT_EQ(SplitLinks("FTP://f WWW.w"),
              Runs({{"FTP://f", true}, {" ", false}, {"WWW.w", true}}));
}

TEST(SplitLinks, BareLinkStartAndEverythingAfterItArePlain) {
    EXPECT_EQ(SplitLinks("look http://"), Runs({{"look ", false}, {"http://", false}}));
    EXPECT_EQ(SplitLinks("www. then www.x.y"), Runs({{"www. then www.x.y", false}}));
}

TEST(SplitLinks, EarliestStartWinsAndHttpsIsOneLink) {
    EXPECT_EQ(SplitLinks("https://www.x.org"), Runs({{"https://www.x.org", true}}));
    EXPECT_EQ(SplitLinks("a ftp://x https://y"),
              Runs({{"a ", false}, {"ftp://x", true}, {" ", false}, {"https://y", true}}));
}

TEST(SplitLinks, RepeatedStartsOfOneKind) {
    EXPECT_EQ(SplitLinks("www.a www.b xwww.c www.d"),
              Runs({{"www.a", true}, {" ", false}, {"www.b", true}, {" xw", false}, {"ww.c ", false},
                    {"www.d", true}}));
}

TEST(SplitLinks, RunsAlwaysRebuildTheText) {
    for (const char* text : {"http://http://x", " www.www.", "wwww.x", "x www.\nwww.y z", "HtTpS://q r"}) {
        std::string joined;
        for (const TextRun& run : SplitLinks(text)) {
            EXPECT_FALSE(run.text.empty()) << text;
            joined += run.text;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(FindLinkAt, ClickInsideALinkFindsIt) {
    const std::string text = "\nAnna: see http://a.b/c now";
    // "http" begins at 11, its end is the space at 23.
    EXPECT_EQ(FindLinkAt(text, 15), (LinkSpan{11, 23}));
    EXPECT_EQ(FindLinkAt(text, 22), (LinkSpan{11, 23}));
}

TEST(FindLinkAt, ClickOnTheFirstCharacterOrTheEndSelectsNothing) {
    const std::string text = "go www.x.y z";
    EXPECT_FALSE(FindLinkAt(text, 3).has_value());
    EXPECT_FALSE(FindLinkAt(text, 10).has_value());
    EXPECT_EQ(FindLinkAt(text, 4), (LinkSpan{3, 10}));
}

TEST(FindLinkAt, TrailingColonIsNotPartOfTheLink) {
    const std::string text = "at http://x.org: here";
    EXPECT_EQ(FindLinkAt(text, 6), (LinkSpan{3, 15}));
}

TEST(FindLinkAt, LinkAtTheEndOfTheTextRunsToTheEnd) {
    const std::string text = "read https://q.r/s";
    EXPECT_EQ(FindLinkAt(text, 8), (LinkSpan{5, text.size()}));
    EXPECT_FALSE(FindLinkAt(text, text.size()).has_value());
}

TEST(FindLinkAt, ChoosesTheLinkUnderTheClickAmongSeveral) {
    const std::string text = "a www.one.x b www.two.y c";
    EXPECT_EQ(FindLinkAt(text, 4), (LinkSpan{2, 11}));
    EXPECT_EQ(FindLinkAt(text, 16), (LinkSpan{14, 23}));
}

TEST(FindLinkAt, LinkEndsAtLineFeedAndIgnoresClicksPastTheText) {
    const std::string text = RemoveCarriageReturns("x ftp://f.g\r\nnext");
    EXPECT_EQ(text, "x ftp://f.g\nnext");
    EXPECT_EQ(FindLinkAt(text, 5), (LinkSpan{2, 11}));
    EXPECT_FALSE(FindLinkAt(text, 1000).has_value());
    EXPECT_FALSE(FindLinkAt("", 0).has_value());
    EXPECT_FALSE(FindLinkAt(" :", 1).has_value());
}

TEST(ViewCap, DropsNothingWhileTheSumStaysWithinTheLimit) {
    EXPECT_EQ(CharactersToDropForAppend(0, 0), 0u);
    EXPECT_EQ(CharactersToDropForAppend(49990, 10), 0u);
}

TEST(ViewCap, DropsAsManyAsTheNewTextHasEvenWhenFewerWouldDo) {
    EXPECT_EQ(CharactersToDropForAppend(49990, 11), 11u);
    EXPECT_EQ(CharactersToDropForAppend(50000, 300), 300u);
}

TEST(ViewCap, NeverDropsMoreThanTheViewHolds) {
    EXPECT_EQ(CharactersToDropForAppend(100, 60000), 100u);
}

}  // namespace
}  // namespace vorlan::conversation
