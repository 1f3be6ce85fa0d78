// Bans: banning users and addresses, the check at accept, the list and its edits.
#include "ServerFixture.h"

#include "platform/EventLoop.h"

namespace {

using vorlan::storage::BanEntry;
using BanRows = std::vector<std::pair<int, std::string>>;

class Bans : public ChatRoom {
protected:
    BanRows Rows() const {
        BanRows rows;
        for (const BanEntry& entry : server.BanList())
            rows.emplace_back(entry.banId, entry.address + "/" + entry.description);
        return rows;
    }
    void FillList(const std::string& address, const std::string& description) {
        std::vector<BanEntry> full;
        for (int i = 0; i < 50000; ++i)
            full.push_back(BanEntry{i, address.empty() ? "10.1." + std::to_string(i) : address, description});
        server.SetBanList(full);
    }
};

TEST_F(Bans, BanningAUserBansItsAddressOnceWithItsNameAndDropsIt) {
    admin->Send("175|ignored");
    ExpectDropped(*bob, "185|13");
    TestUser& again = Login("127.0.0.6", "Again");
    server.FindConnection(again.id)->peerAddress = "127.0.0.5";
    admin->Send("17" + again.Id());
    ExpectDropped(again, "18" + again.Id() + "|13");
    EXPECT_EQ(Rows(), (BanRows{{0, "127.0.0.5/Bob"}}));
}

TEST_F(Bans, BannedAddressIsClosedAtAcceptBeforeAnyByteAndMatchedAsExactText) {
    admin->Send({"17127.0.0.9", "17 127.0.0.010\r\n"});
    Sync(*admin);
    EXPECT_EQ(Rows(), (BanRows{{0, "127.0.0.9/"}, {1, "127.0.0.010/"}}));
    RawClient banned;
    ASSERT_TRUE(banned.Connect("127.0.0.9", port));
    EXPECT_TRUE(banned.WaitForClose());
    EXPECT_EQ(banned.ReceivedBytes(), 0u);
    Login("127.0.0.10", "Ten");
}

// A banned host could never reach its own server again to lift the ban.
TEST_F(Bans, HostAddressIsNeverBanned) {
    auto hostBeforeLogin = Connect("127.0.0.1");
    admin->Send({"17127.0.0.1", "20127.0.0.1|host1", "17" + std::to_string(server.Connections().back()->connectionId)});
    EXPECT_TRUE(hostBeforeLogin->WaitForClose());
    EXPECT_EQ(Sync(*admin, *host), Frames{});
    EXPECT_EQ(Rows(), BanRows{});
}

TEST_F(Bans, NormalUsersCannotBanOrSeeOrEditTheList) {
    server.SetBanList({BanEntry{7, "10.0.0.1", ""}});
    bob->Send({"173", "1710.0.0.2", "19", "2070", "2010.0.0.3|x1", "20no separator1"});
    EXPECT_EQ(Sync(*bob), Frames{});
    EXPECT_EQ(Rows(), (BanRows{{7, "10.0.0.1/"}}));
}

TEST_F(Bans, ListRowsFlagTheFirstAndRemovingFreesTheSmallestId) {
    admin->Send("19");
    EXPECT_EQ(Sync(*admin), Frames{}) << "an empty list sends nothing";
    server.SetBanList({BanEntry{0, "a", ""}, BanEntry{1, "b", ""}, BanEntry{2, "c", ""}});
    admin->Send({"2000", "2050", "20 10.0.0.1 | spam|mer \r\n1", "2010.0.0.2|1", "19"});
    EXPECT_EQ(Sync(*admin), (Frames{"2011|b", "2002|c", "2000|10.0.0.1|spammer", "2003|10.0.0.2"}));
    admin->Send("20x2");  // neither 0 nor 1
    ExpectDropped(*admin);
    super->Send("2010.0.0.11");  // no separator
    ExpectDropped(*super);
}

TEST_F(Bans, LoadedListKeepsIdsUniqueAndAFullListPushesOutTheOldest) {
    server.SetBanList({BanEntry{3, "a", ""}, BanEntry{3, "b", ""}, BanEntry{60000, "c", ""}, BanEntry{-1, "d", ""}});
    EXPECT_EQ(Rows(), (BanRows{{3, "a/"}, {0, "b/"}, {1, "c/"}, {2, "d/"}}));
    FillList("", "");
    admin->Send("2010.2.0.1|new1");
    Sync(*admin);
    ASSERT_EQ(server.BanList().size(), 50000u);
    EXPECT_EQ(Rows().front(), (std::pair<int, std::string>{1, "10.1.1/"}));
    EXPECT_EQ(Rows().back(), (std::pair<int, std::string>{0, "10.2.0.1/new"}));
}

// The largest legitimate reply must pass the bound on unsent bytes intact.
TEST_F(Bans, FullListOfLongTextsReachesAReadingAdminWhole) {
    FillList(std::string(200, 'a'), std::string(200, 'd'));
    std::size_t expected = admin->ReceivedBytes() + 50000 * (3 + 200 + 1 + 200 + 1 + 1) +
                           (10 * 1 + 90 * 2 + 900 * 3 + 9000 * 4 + 40000 * 5) + 4;  // ids, then "153" and its zero
    admin->Send({"19", "133"});
    EXPECT_TRUE(vorlan::platform::EventLoop::RunUntil([&] { return admin->ReceivedBytes() >= expected; }, 20000));
    EXPECT_EQ(admin->ReceivedBytes(), expected);
    Frames frames = admin->Take();
    // The list goes out in slices, so the answer to the later query may come between them.
    auto answer = std::find(frames.begin(), frames.end(), "153");
    ASSERT_NE(answer, frames.end());
    frames.erase(answer);
    ASSERT_EQ(frames.size(), 50000u);
    EXPECT_EQ(frames[0], "2010|" + std::string(200, 'a') + "|" + std::string(200, 'd'));
    for (std::size_t i = 1; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i], "200" + std::to_string(i) + "|" + std::string(200, 'a') + "|" + std::string(200, 'd'));
    }
}

// More than the kernel's buffers hold is still on its way when the admin asks
// again or the list changes: the admin then gets the current list from a first
// row on, which empties what it had, and never rows of two versions after it.
TEST_F(Bans, AskingAgainOrAChangeWhileTheListIsOnItsWayStartsItAgainFromAFirstRow) {
    FillList(std::string(200, 'a'), std::string(200, 'd'));
    admin->Send("19");
    EXPECT_TRUE(vorlan::platform::EventLoop::RunUntil([&] { return admin->ReceivedBytes() > 100000; }, 20000));
    admin->Send({"19", "2010.2.0.1|new1", "133"});
    Frames frames;
    EXPECT_TRUE(vorlan::platform::EventLoop::RunUntil(
        [&] {
            for (std::string& frame : admin->Take()) frames.push_back(std::move(frame));
            return !frames.empty() && frames.back() == "2000|10.2.0.1|new";
        },
        30000));
    std::erase(frames, "153");
    auto lastFirst = std::find_if(frames.rbegin(), frames.rend(), [](const std::string& f) { return f.starts_with("201"); });
    ASSERT_NE(lastFirst, frames.rend());
    ASSERT_EQ(lastFirst - frames.rbegin() + 1, 50000);
    EXPECT_EQ(*lastFirst, "2011|" + std::string(200, 'a') + "|" + std::string(200, 'd'));
    EXPECT_LT(frames.size(), 3u * 50000u);
}

}  // namespace
