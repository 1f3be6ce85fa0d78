#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/RecentServerList.h"

namespace vorlan::client {
namespace {

using namespace test_support;

TEST(RecentServers, NewAddressesGetTheSmallestFreeIdAndALabel) {
    RecordingRecentServers tree;
    RecentServerList list(tree, kTreeText);
    list.AddRecentServer("a.example", "01.01.2026 10:00", "");
    list.AddRecentServer("b.example", "02.01.2026 11:00", "Welcome");
    list.Remove(0);
    list.AddRecentServer("c.example", "03.01.2026 12:00", "");

    ASSERT_EQ(tree.items.size(), 2u);
    EXPECT_EQ(tree.items[0].label, "02.01.2026 11:00 - b.example - Welcome");
    EXPECT_EQ(tree.items[1].id, 0);  // the freed id is reused
    EXPECT_EQ(tree.items[1].label, "03.01.2026 12:00 - c.example");
    EXPECT_EQ(tree.items[1].colour, kTreeText);
}

TEST(RecentServers, AKnownAddressKeepsItsItemAndLabelUntilTheNoteArrives) {
    RecordingRecentServers tree;
    RecentServerList list(tree, kTreeText);
    list.AddRecentServer("a.example", "01.01.2026 10:00", "old topic");
    list.AddRecentServer("a.example", "05.12.2026 09:05", "");

    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].timeText, "05.12.2026 09:05");
    EXPECT_EQ(list.Entries()[0].note, "");
    EXPECT_EQ(tree.items[0].label, "01.01.2026 10:00 - a.example - old topic");

    list.SetRecentServerNote("a.example", "new topic");
    EXPECT_EQ(tree.items[0].label, "05.12.2026 09:05 - a.example - new topic");
    list.SetRecentServerNote("A.EXAMPLE", "ignored");  // addresses match exactly
    EXPECT_EQ(list.Entries()[0].note, "new topic");
}

TEST(RecentServers, TheFiftiethServerPushesOutTheOldest) {
    RecordingRecentServers tree;
    RecentServerList list(tree, kTreeText);
    for (int i = 0; i < 50; ++i) list.AddRecentServer("s" + std::to_string(i), "t", "");

    ASSERT_EQ(list.Entries().size(), 49u);
    EXPECT_EQ(list.Entries().front().address, "s1");
    EXPECT_EQ(list.Entries().back().address, "s49");
    EXPECT_EQ(list.Entries().back().id, 0);  // s0's id was freed first
    EXPECT_EQ(tree.items.size(), 49u);
}

TEST(RecentServers, MarkingColoursOnlyTheMatchingItem) {
    RecordingRecentServers tree;
    RecentServerList list(tree, kTreeText);
    list.Load({{"t1", "a", ""}, {"t2", "b", "note"}});
    list.MarkRecentServer("b", kCurrentServer);
    list.MarkRecentServer("zzz", kCurrentServer);
    EXPECT_EQ(tree.items[0].colour, kTreeText);
    EXPECT_EQ(tree.items[1].colour, kCurrentServer);
    auto records = list.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].note, "note");
}

}  // namespace
}  // namespace vorlan::client
