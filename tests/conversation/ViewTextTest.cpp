// Links in chat text (the runs a view shows and the link under a click) and the
// cap on the view's length.
#include <gtest/gtest.h>

#include "conversation/ViewText.h"

namespace vorlan::conversation {
namespace {

// Runs written as text with the links in brackets: "see [www.x.y] now".
std::string Bracketed(std::string_view text) {
    std::string out;
    for (const TextRun& run : SplitLinks(text)) {
        EXPECT_FALSE(run.text.empty()) << text;
        out += run.isLink ? "[" + run.text + "]" : run.text + "|";
    }
    return out;
}

TEST(SplitLinks, LinksStartAtTheTextStartOrAfterASpaceAndEndAtASpaceOrLineFeed) {
    struct Row {
        const char* text;
        const char* runs;
    };
    for (Row row : {Row{"", ""},
                    {"hello there", "hello there|"},
                    {"see www.example.com now", "see |[www.example.com] now|"},
                    {"http://a.b/c\nnext", "[http://a.b/c]\nnext|"},
                    // A start glued to a word, or after a line feed, is passed over by one character.
                    {"xwww.example.com", "xw|ww.example.com|"},
                    {"a\nwww.b.c", "a\nw|ww.b.c|"},
                    {"go HTTP://Host.Org/X", "go |[HTTP://Host.Org/X]"},
                    {"FTP://f WWW.w", "[FTP://f] |[WWW.w]"},
                    // A bare start is no link, and nothing after it is looked at.
                    {"look http://", "look |http://|"},
                    {"www. then www.x.y", "www. then www.x.y|"},
                    {"https://www.x.org", "[https://www.x.org]"},
                    {"a ftp://x https://y", "a |[ftp://x] |[https://y]"},
                    {"www.a www.b xwww.c www.d", "[www.a] |[www.b] xw|ww.c |[www.d]"},
                    {"http://http://x", "[http://http://x]"},
                    {" www.www.", " |[www.www.]"},
                    {"x www.\nwww.y z", "x |www.\nwww.y z|"}}) {
        EXPECT_EQ(Bracketed(row.text), row.runs) << row.text;
    }
}

TEST(FindLinkAt, FindsTheLinkUnderAClickButNotOnItsFirstCharacterOrEnd) {
    const std::size_t kNone = 999;
    struct Row {
        const char* text;
        std::size_t click, begin, end;
    };
    for (Row row : {Row{"\nAnna: see http://a.b/c now", 15, 11, 23},
                    {"\nAnna: see http://a.b/c now", 22, 11, 23},
                    {"go www.x.y z", 3, kNone, kNone},
                    {"go www.x.y z", 4, 3, 10},
                    {"go www.x.y z", 10, kNone, kNone},
                    {"at http://x.org: here", 6, 3, 15},  // a trailing colon is not part of it
                    {"read https://q.r/s", 8, 5, 18},
                    {"read https://q.r/s", 18, kNone, kNone},
                    {"a www.one.x b www.two.y c", 4, 2, 11},
                    {"a www.one.x b www.two.y c", 16, 14, 23},
                    {"x ftp://f.g\nnext", 5, 2, 11},
                    {"x ftp://f.g\nnext", 1000, kNone, kNone},
                    {"", 0, kNone, kNone},
                    {" :", 1, kNone, kNone}}) {
        std::optional<LinkSpan> span = FindLinkAt(row.text, row.click);
        EXPECT_EQ(span.value_or(LinkSpan{kNone, kNone}), (LinkSpan{row.begin, row.end}))
            << row.text << " @" << row.click;
    }
    EXPECT_EQ(RemoveCarriageReturns("x\r\ny\r"), "x\ny");
}

TEST(ViewCap, DropsAsManyCharactersAsTheNewTextHasOnceTheSumPassesTheLimitButNoMoreThanTheViewHolds) {
    struct Row {
        std::size_t view, added, dropped;
    };
    for (Row row : {Row{0, 0, 0}, {49990, 10, 0}, {49990, 11, 11}, {50000, 300, 300}, {100, 60000, 100}}) {
        EXPECT_EQ(CharactersToDropForAppend(row.view, row.added), row.dropped) << row.view << "+" << row.added;
    }
}

}  // namespace
}  // namespace vorlan::conversation
