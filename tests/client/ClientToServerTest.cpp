#include <gtest/gtest.h>

#include "protocol/ClientToServer.h"

namespace vorlan::protocol::to_server {
namespace {

const std::string S(1, '\xAC');

TEST(ClientToServerMessages, EveryCodeHasItsExactBytes) {
    EXPECT_EQ(Login("Anna", "pw"), "00Anna" + S + "pw");
    EXPECT_EQ(Login("", ""), "00" + S);
    EXPECT_EQ(TopicChange(""), "01");
    EXPECT_EQ(MainChatLine(kActionLine, "waves"), "021waves");
    EXPECT_EQ(NameChange("Bob"), "03Bob");
    EXPECT_EQ(StatusChange("Busy"), "04Busy");
    EXPECT_EQ(MainChatState(true), "051");
    EXPECT_EQ(MainChatState(false), "050");
    EXPECT_EQ(EnableAdmin(12), "0612");
    EXPECT_EQ(DisableAdmin(12), "0712");
    EXPECT_EQ(AddressRequest(3), "083");
    EXPECT_EQ(ProfileRequest(1000), "091000");
    EXPECT_EQ(PrivateLine(7, kSaysLine, "hi"), "117" + S + "2hi");
    EXPECT_EQ(FileTransferRelay(7, "x" + S + "y"), "127" + S + "x" + S + "y");
    EXPECT_EQ(VersionRequest(5), "135");
    EXPECT_EQ(VersionReply("9"), "149" + S + "1.17");
    EXPECT_EQ(MuteChange(true, 4), "1514");
    EXPECT_EQ(MuteChange(false, 4), "1504");
    EXPECT_EQ(KickUser(2), "162");
    EXPECT_EQ(BanUser(2), "172");
    EXPECT_EQ(BanUser("10.0.0.1"), "1710.0.0.1");
    EXPECT_EQ(ConnectionsRequest(), "18");
    EXPECT_EQ(BanListRequest(), "19");
    EXPECT_EQ(BanListRemove(42), "20420");
    EXPECT_EQ(BanListAdd("10.0.0.1", "spam"), "2010.0.0.1" + S + "spam1");
}

TEST(ClientToServerMessages, AnEmptyProfileStillCarriesNineFields) {
    std::array<std::string, 9> empty{};
    EXPECT_EQ(ProfileReply("4", empty), "104" + S + S + S + S + S + S + S + S + S);
}

}  // namespace
}  // namespace vorlan::protocol::to_server
