#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

#include "StorageTestText.h"

namespace vorlan::storage {
namespace {

using test::CrLfLines;

TEST(ProfileFile, EightLinesInProfileOrderRoundTripByteForByte) {
    std::string bytes = CrLfLines({"Anna", "anna@example.org", "Norway", "http://example.org/",
                                   "chess, sailing", "female", "1 May", "http://example.org/a.bmp"});
    Profile profile;
    ParseProfile(bytes, profile);
    EXPECT_EQ(profile.name, "Anna");
    EXPECT_EQ(profile.email, "anna@example.org");
    EXPECT_EQ(profile.country, "Norway");
    EXPECT_EQ(profile.homePage, "http://example.org/");
    EXPECT_EQ(profile.interests, "chess, sailing");
    EXPECT_EQ(profile.gender, "female");
    EXPECT_EQ(profile.birthday, "1 May");
    EXPECT_EQ(profile.pictureUrl, "http://example.org/a.bmp");
    EXPECT_EQ(FormatProfile(profile), bytes);

    EXPECT_EQ(FormatProfile(Profile{}), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(ProfileFile, SepAndCarriageReturnsAreRemovedBeforeTheCut) {
    std::string name = "\xAC" "Abcdefghij\rKlmnopqrst\xACUvwxyz";
    std::string interests(250, 'i');
    interests[0] = '\xAC';
    Profile profile;
    ParseProfile(CrLfLines({name, "a\xAC" "b", "", "", interests}), profile);
    EXPECT_EQ(profile.name, "AbcdefghijKlmnopqrst");
    EXPECT_EQ(profile.email, "ab");
    EXPECT_EQ(profile.interests, std::string(200, 'i'));
}

TEST(ProfileFile, FieldsPastTheEndOfAShortFileBecomeEmpty) {
    Profile profile;
    profile.gender = "old";
    profile.pictureUrl = "old";
    ParseProfile("Bob\nbob@example.org", profile);
    EXPECT_EQ(profile.name, "Bob");
    EXPECT_EQ(profile.email, "bob@example.org");
    EXPECT_EQ(profile.gender, "");
    EXPECT_EQ(profile.pictureUrl, "");
}

TEST(ProfileFile, LineBreakInAFieldCannotShiftTheFieldsAfterIt) {
    Profile profile;
    profile.interests = "one\r\ntwo";
    profile.pictureUrl = "picture";
    Profile reread;
    ParseProfile(FormatProfile(profile), reread);
    EXPECT_EQ(reread.interests, "one two");
    EXPECT_EQ(reread.pictureUrl, "picture");
}

}  // namespace
}  // namespace vorlan::storage
