// A batch of appends written at once leaves what appending one by one leaves;
// the views of one receive each get one batch.
#include <gtest/gtest.h>

#include <random>

#include "conversation/RecordingChatView.h"
#include "conversation/RichText.h"
#include "conversation/ViewBatch.h"

namespace vorlan::conversation {
namespace {

// One character of a view and its format.
struct Cell {
    char c;
    std::uint32_t colour;
    bool bold;
    bool link;
    bool operator==(const Cell&) const = default;
};
using Cells = std::vector<Cell>;

struct Append {
    std::string text;
    std::uint32_t colour;
    bool bold;
};

// The reference: each text appended on its own, by the rule (no "\r\n" here,
// so a byte is a character).
void AppendOneByOne(Cells& view, const Append& append) {
    std::string text = append.text;
    if (text.size() > kMaxViewLength) text = text.substr(text.size() - kMaxViewLength);
    view.erase(view.begin(),
               view.begin() + static_cast<std::ptrdiff_t>(CharactersToDropForAppend(view.size(), text.size())));
    for (const TextRun& run : SplitLinks(text)) {
        for (char c : run.text) view.push_back(Cell{c, append.colour, append.bold, run.isLink});
    }
}

void AppendAsBatch(Cells& view, const std::vector<Append>& appends) {
    PendingAppends pending;
    for (const Append& append : appends) pending.Add(append.text, append.colour, append.bold);
    const std::size_t drop = pending.Settle(view.size());
    ASSERT_LE(drop, view.size());
    view.erase(view.begin(), view.begin() + static_cast<std::ptrdiff_t>(drop));
    for (const PendingRun& run : pending.Runs()) {
        EXPECT_FALSE(run.text.empty());
        for (char c : run.text) view.push_back(Cell{c, run.colour, run.bold, run.isLink});
    }
}

Cells Filled(std::size_t length) { return Cells(length, Cell{'o', 9, false, false}); }

TEST(PendingAppends, ABatchLeavesTheTextAndFormatsOfAppendingOneByOneAtEverySize) {
    std::mt19937 random(15);
    auto line = [&](std::size_t length) {
        std::string text = "\nBob: ";
        while (text.size() < length) text += random() % 3 == 0 ? " www.a.b/c " : "word ";
        return Append{text, static_cast<std::uint32_t>(random() % 4), random() % 2 == 0};
    };
    // Views empty, half full and at the bound; batches of one line up to more
    // than the bound, and a single text longer than the bound.
    for (std::size_t viewLength : {std::size_t{0}, kMaxViewLength / 2, kMaxViewLength}) {
        for (std::size_t lines : {1u, 2u, 40u, 900u, 2500u}) {
            std::vector<Append> appends;
            for (std::size_t i = 0; i < lines; ++i) appends.push_back(line(20 + random() % 60));
            if (lines == 2) appends[1] = line(kMaxViewLength + 123);
            Cells oneByOne = Filled(viewLength);
            for (const Append& append : appends) AppendOneByOne(oneByOne, append);
            Cells batched = Filled(viewLength);
            AppendAsBatch(batched, appends);
            EXPECT_LE(batched.size(), kMaxViewLength);
            EXPECT_TRUE(batched == oneByOne) << viewLength << " " << lines;
        }
    }
}

TEST(PendingAppends, SettlingEmptiesTheBatchAndAnEmptyBatchDropsNothing) {
    PendingAppends pending;
    EXPECT_TRUE(pending.Empty());
    EXPECT_EQ(pending.Settle(kMaxViewLength), 0u);
    pending.Add("x", 1, false);
    pending.Add("", 1, false);
    EXPECT_FALSE(pending.Empty());
    EXPECT_EQ(pending.Settle(kMaxViewLength), 1u);
    EXPECT_EQ(pending.Runs(), (std::vector<PendingRun>{{"x", 1, false, false}}));
    pending.Clear();
    EXPECT_TRUE(pending.Empty());
    EXPECT_TRUE(pending.Runs().empty());
}

TEST(BatchDrop, DropsAddUpAndALineBreakOfTwoBytesIsOneCharacter) {
    // 49990 held: +20 drops 20, +20 drops 20 more; the third fits after them.
    EXPECT_EQ(CharactersToDropForAppends(49990, {{20, 20}, {20, 20}, {5, 5}}), (BatchDrop{40, 0}));
    // The rule counts "\r\n" twice but the view once: the view grows by less.
    EXPECT_EQ(CharactersToDropForAppends(49990, {{12, 10}, {12, 12}}), (BatchDrop{12, 0}));
    // More dropped than the view held comes out of the batch's own beginning.
    EXPECT_EQ(CharactersToDropForAppends(10, {{kMaxViewLength, kMaxViewLength}, {30, 30}}), (BatchDrop{10, 30}));
    EXPECT_EQ(ViewCharacterCount("a\r\nb\n\r"), 5u);
    EXPECT_EQ(BytesOfViewCharacters("a\r\nb", 2), 3u);
    EXPECT_EQ(BytesOfViewCharacters("a\r\nb", 9), 4u);

    // The third text drops ten: all of the first and eight characters of the
    // second, whose "\r\n" is one of them.
    PendingAppends pending;
    pending.Add("ab", 1, false);
    pending.Add("12\r\n" + std::string(49986, 'z'), 2, false);
    pending.Add("0123456789", 3, true);
    EXPECT_EQ(pending.Settle(0), 0u);
    EXPECT_EQ(pending.Runs(),
              (std::vector<PendingRun>{{std::string(49981, 'z'), 2, false, false}, {"0123456789", 3, true, false}}));
}

TEST(ViewBatch, EachJoinedViewHasOneBatchEndedAtTheOutermostCloseOrWhenItLeaves) {
    RecordingChatView first, second, leaving;
    ViewBatch batch;
    batch.Join(first);  // not open: nothing
    EXPECT_EQ(first.BatchesBegun(), 0);

    batch.Open();
    batch.Join(first);
    batch.Open();  // nested: the same batch
    batch.Join(first);
    batch.Join(second);
    batch.Join(leaving);
    batch.Leave(leaving);
    EXPECT_EQ(leaving.BatchesEnded(), 1);
    batch.Close();
    EXPECT_EQ(first.BatchesEnded(), 0);
    batch.Close();
    batch.Close();  // one too many: nothing
    for (RecordingChatView* view : {&first, &second, &leaving}) {
        EXPECT_EQ(view->BatchesBegun(), 1);
        EXPECT_EQ(view->BatchesEnded(), 1);
    }
    batch.Leave(first);  // no longer joined
    EXPECT_EQ(first.BatchesEnded(), 1);
}

// The stream a view inserts a large batch with must carry every byte as the
// text it is: RTF would otherwise read braces, backslashes and high bytes as
// syntax, and a "\r\n" must stay one line break.
TEST(RichText, RunsBecomeOneDocumentWithTheirColoursAndEveryByteEscaped) {
    const std::vector<PendingRun> runs{{"\r\n[12:00] ", 0x0000FF, false, false},
                                       {"Bob", 0x00FF00, true, false},
                                       {": a{b}\\c\td\xAC\x01\ne\rf", 0x0000FF, false, false},
                                       {"www.x.y", 0x0000FF, false, true}};
    EXPECT_EQ(RichTextOf(runs, RichTextFont{"Verdana", 17, 160, 0, 1252}),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Verdana;}}\n"
              "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}\n"
              "\\f0\\fs17\\cf1\\b0\\ulnone \\par\n[12:00] \\cf2\\b\\ulnone Bob"
              "\\cf1\\b0\\ulnone : a\\{b\\}\\\\c\\tab d\\'ac\\'01\\par\ne\\par\nf"
              "\\cf1\\b0\\ul www.x.y}");
}

}  // namespace
}  // namespace vorlan::conversation
