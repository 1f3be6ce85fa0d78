#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/ProfileEdit.h"

namespace vorlan::client {
namespace {

using namespace test_support;

TEST(DialogField, SepIsRemovedAtOnceAndTheLimitIsTheFields) {
    const conversation::InputLimit typed = LimitDialogField("Ann\xAC" "a\xAC", kNameFieldLimit);
    EXPECT_TRUE(typed.changed);
    EXPECT_EQ(typed.text, "Anna");
    EXPECT_EQ(typed.maxLength, 20u);

    const conversation::InputLimit plain = LimitDialogField("line one\r\nline two", kProfileFieldLimit);
    EXPECT_FALSE(plain.changed);
    EXPECT_EQ(plain.maxLength, 200u);

    // A text put in by a program, past the limit: cut, after SEP is gone.
    const conversation::InputLimit longName = LimitDialogField("\xAC" + std::string(25, 'n'), kNameFieldLimit);
    EXPECT_TRUE(longName.changed);
    EXPECT_EQ(longName.text, std::string(20, 'n'));
    EXPECT_FALSE(LimitDialogField(std::string(20, 'n'), kNameFieldLimit).changed);
}

storage::Profile EditedProfile() {
    storage::Profile profile;
    profile.name = "Annabel";
    profile.email = "a@example.org";
    profile.country = "Norway";
    profile.homePage = "www.example.org";
    profile.interests = "chess";
    profile.gender = "f";
    profile.birthday = "1 May";
    profile.pictureUrl = "http://example.org/a.bmp";
    return profile;
}

TEST(ProfileUpdate, WhileNotConnectedOnlyTheProfileChanges) {
    test::TempFolder folder;
    TestClient client(folder.Path().string());
    UpdateProfile(*client, EditedProfile());
    EXPECT_EQ(client->profile().name, "Annabel");
    EXPECT_EQ(client->profile().pictureUrl, "http://example.org/a.bmp");
    EXPECT_EQ(client->OwnName(), "Annabel");
}

TEST(ProfileUpdate, FieldsLoseSepAndAreCutToTheirLimits) {
    test::TempFolder folder;
    TestClient client(folder.Path().string());
    storage::Profile edited = EditedProfile();
    edited.name = std::string(25, 'n') + "\xAC";
    edited.interests = "chess\xAC" "go" + std::string(300, 'x');
    UpdateProfile(*client, edited);
    EXPECT_EQ(client->profile().name, std::string(20, 'n'));
    EXPECT_EQ(client->profile().interests.size(), 200u);
    EXPECT_EQ(client->profile().interests.substr(0, 7), "chessgo");
}

TEST(ProfileUpdate, WhileConnectedTheNameGoesToTheServer) {
    test::TempFolder folder;
    RawServer server;
    ASSERT_TRUE(server.Start());
    TestClient client(folder.Path().string(), [&](ClientSessionSettings& s) { s.options.chatPort = server.LocalPort(); });
    client->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return client->connected() && !server.peers.empty(); }));
    const std::string login = std::string("00Anna") + Sep() + std::string(1, '\0');
    ASSERT_TRUE(WaitFor([&] { return server.Peer().received.size() >= login.size(); }));
    server.Peer().received.clear();

    UpdateProfile(*client, EditedProfile());

    const std::string expected = std::string("03Annabel") + std::string(1, '\0');
    ASSERT_TRUE(WaitFor([&] { return server.Peer().received.size() >= expected.size(); }));
    EXPECT_EQ(server.Peer().received, expected);
}

}  // namespace
}  // namespace vorlan::client
