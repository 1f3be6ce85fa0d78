// The "Browse" dialog's rules: walking the folders, what "use address" hands
// back to each kind of owner, and the remembered size.
#include <gtest/gtest.h>

#include "transfer/BrowseRules.h"

namespace vorlan::transfer {
namespace {

TEST(BrowseRules, PathsWalkUpAndDown) {
    EXPECT_EQ(BrowsePathOf("C:/Users/anna/"), "C:\\Users\\anna\\");
    EXPECT_EQ(ListingKindOf(""), BrowseListingKind::Drives);
    EXPECT_EQ(ListingKindOf("C:\\Users\\"), BrowseListingKind::Folder);
    EXPECT_EQ(ListingKindOf("C:\\Users"), BrowseListingKind::None);

    EXPECT_EQ(BrowseUp("C:\\Users\\anna\\"), "C:\\Users\\");
    EXPECT_EQ(BrowseUp("C:\\Users\\"), "C:\\");
    EXPECT_EQ(BrowseUp("C:\\"), "");
    EXPECT_EQ(BrowseUp("C:\\Users"), std::nullopt);
    EXPECT_EQ(BrowseUp("Users\\"), std::nullopt);
    EXPECT_EQ(BrowseUp(""), std::nullopt);

    EXPECT_EQ(OpenedFolder("", "D:\\"), "D:\\");
    EXPECT_EQ(OpenedFolder("D:\\", "music"), "D:\\music\\");
}

TEST(BrowseRules, ListingDropsDotsAndSortsWithoutCase) {
    BrowseListing listing{{"..", "zeta", ".", "Alpha", "beta"}, {"b.txt", "A.txt"}};
    TidyListing(listing);
    EXPECT_EQ(listing.folders, (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    EXPECT_EQ(listing.files, (std::vector<std::string>{"A.txt", "b.txt"}));
}

TEST(BrowseRules, UseAddressWritesTheChoiceForEachOwner) {
    const BrowseListing listing{{"docs"}, {"song.mp3"}};
    const std::string path = "C:\\music\\";
    // A folder: the folder itself, or with the offered name for a "Save file" owner.
    EXPECT_EQ(ChooseInBrowse(path, listing, 0, BrowseOwnerKind::SendFile, "").target, "C:\\music\\docs\\");
    const BrowseChoice save = ChooseInBrowse(path, listing, 0, BrowseOwnerKind::ReceiveFile, "a.zip");
    EXPECT_EQ(save.startFolder, "C:\\music\\docs\\");
    EXPECT_EQ(save.target, "C:\\music\\docs\\a.zip");
    // A file: its path, whoever asked.
    const BrowseChoice file = ChooseInBrowse(path, listing, 1, BrowseOwnerKind::ReceiveFile, "a.zip");
    EXPECT_EQ(file.startFolder, path);
    EXPECT_EQ(file.target, "C:\\music\\song.mp3");
    // A heading or nothing selected: the shown folder.
    EXPECT_EQ(ChooseInBrowse(path, listing, kFilesHeading, BrowseOwnerKind::Options, "").target, path);
    EXPECT_EQ(ChooseInBrowse(path, listing, std::nullopt, BrowseOwnerKind::ReceiveFile, "a.zip").target,
              "C:\\music\\a.zip");
    // A drive at the drive list.
    EXPECT_EQ(ChooseInBrowse("", BrowseListing{{"C:\\"}, {}}, 0, BrowseOwnerKind::SendFile, "").target, "C:\\");
}

TEST(BrowseRules, BrowserPathStartsInItsFolder) {
    EXPECT_EQ(BrowserPathFolder("C:/Program Files/web.exe"), "C:\\Program Files\\");
    EXPECT_EQ(BrowserPathFolder("iexplore"), "");
}

TEST(BrowseRules, SizeIsRememberedUnlessMinimized) {
    storage::Options options;
    RememberBrowseSize(options, client::WindowSizeKind::Restored, 600, 500);
    RememberBrowseSize(options, client::WindowSizeKind::Maximized, 1024, 768);
    EXPECT_TRUE(options.browseMaximized);
    RememberBrowseSize(options, client::WindowSizeKind::Minimized, 0, 0);
    EXPECT_TRUE(options.browseMaximized);
    EXPECT_EQ(options.browseWidth, 600);
    RememberBrowseSize(options, client::WindowSizeKind::Restored, 640, 480);
    EXPECT_FALSE(options.browseMaximized);
    EXPECT_EQ(options.browseHeight, 480);
}

}  // namespace
}  // namespace vorlan::transfer
