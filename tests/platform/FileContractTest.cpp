// Files and folders, with the write sharing and 64-bit positions the program needs.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/Files.h"
#include "support/TempFolder.h"

namespace vorlan::test {
namespace {

using platform::File;

std::string Contents(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(platform::ReadWholeFile(path, contents)) << path;
    return contents;
}

void WriteFile(const std::string& path, const std::string& contents) {
    File file;
    ASSERT_TRUE(file.Open(path, File::Mode::Truncate) && file.Write(contents)) << path;
}

TEST(FileContract, DenyWriteRefusesOtherWritersButNotReaders) {
    TempFolder folder;
    const std::string path = folder.File("log.txt");
    File writer, second, reader;
    ASSERT_TRUE(writer.Open(path, File::Mode::Append, true) && writer.Write("first\r\n"));
    EXPECT_FALSE(second.Open(path, File::Mode::Append, true));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.Open(path, File::Mode::Update));
    EXPECT_FALSE(second.Open(path, File::Mode::Truncate, true)) << "a refused open must not empty the file";
    ASSERT_TRUE(reader.Open(path, File::Mode::Read));
    char buffer[32];
    ASSERT_EQ(reader.Read(buffer, sizeof buffer), 7);
    EXPECT_EQ(std::string(buffer, 7), "first\r\n");
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0);
    EXPECT_FALSE(reader.Write("x"));
    writer.Close();
    EXPECT_TRUE(second.Open(path, File::Mode::Append, true)) << "free again once closed";
    EXPECT_EQ(Contents(path), "first\r\n");
}

TEST(FileContract, WritersWithoutDenyShareAppendGoesToTheEndAndMissingFilesStayMissing) {
    TempFolder folder;
    const std::string path = folder.File("shared.txt");
    WriteFile(path, "abc");
    {
        File appender, other;
        ASSERT_TRUE(appender.Open(path, File::Mode::Append));
        EXPECT_TRUE(other.Open(path, File::Mode::Append)) << "two writers that do not deny may share";
        EXPECT_FALSE(File().Open(path, File::Mode::Append, true)) << "but then nobody may deny them";
        ASSERT_TRUE(appender.Write("def"));
    }
    EXPECT_EQ(Contents(path), "abcdef");
    WriteFile(path, "xy");
    EXPECT_EQ(Contents(path), "xy") << "Truncate empties the file first";

    File missing;
    EXPECT_FALSE(missing.Open(folder.File("none.txt"), File::Mode::Read) ||
                 missing.Open(folder.File("none.txt"), File::Mode::Update));
    EXPECT_FALSE(platform::FileExists(folder.File("none.txt"))) << "Read and Update never create";
    EXPECT_EQ(missing.Size(), -1);
    EXPECT_FALSE(missing.Write("x"));
    std::string untouched = "keep";
    EXPECT_FALSE(platform::ReadWholeFile(folder.File("none.txt"), untouched));
    EXPECT_EQ(untouched, "keep");
}

TEST(FileContract, SizesAndSeeksBeyondFourGigabytesAndEveryByteReadBack) {
    TempFolder folder;
    const std::string path = folder.File("big.bin");
    const std::int64_t far = 5'000'000'000LL;
    {
        File file;
        ASSERT_TRUE(file.Open(path, File::Mode::Truncate) && file.Seek(far) && file.Write("Z"));
        EXPECT_EQ(file.Size(), far + 1);
    }
    File file;
    ASSERT_TRUE(file.Open(path, File::Mode::Update));
    EXPECT_EQ(file.Size(), far + 1);
    ASSERT_TRUE(file.Seek(far - 1) && file.Write("Y") && file.Seek(far - 1));
    char two[2] = {};
    ASSERT_EQ(file.Read(two, 2), 2);
    EXPECT_EQ(std::string(two, 2), "YZ");

    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes.push_back(static_cast<char>(i * 7));
    bytes += std::string("\0\r\n\xAC", 4);
    WriteFile(folder.File("bytes.bin"), bytes);
    EXPECT_EQ(Contents(folder.File("bytes.bin")), bytes);
}

TEST(FileContract, FilesAndFoldersAreToldApart) {
    TempFolder folder;
    const std::string file = folder.File("a.txt"), sub = folder.File("Chat logs");
    WriteFile(file, "a");
    EXPECT_TRUE(platform::FileExists(file) && !platform::DirectoryExists(file));
    EXPECT_FALSE(platform::FileExists(sub) || platform::DirectoryExists(sub));
    EXPECT_TRUE(platform::CreateFolder(sub));
    EXPECT_TRUE(platform::CreateFolder(sub)) << "already there counts as success";
    EXPECT_TRUE(platform::DirectoryExists(sub) && !platform::FileExists(sub));
    EXPECT_FALSE(platform::CreateFolder(folder.File("missing") + "\\deeper")) << "one level only";
    EXPECT_FALSE(File().Open(sub, File::Mode::Read)) << "a folder is not a file";
    EXPECT_TRUE(platform::IsFullPath(file));
    EXPECT_FALSE(platform::IsFullPath("a.txt") || platform::IsFullPath("Chat logs\\a.txt") || platform::IsFullPath(""));

    const std::string nested = sub + "\\Private chat.txt";  // the program writes paths with backslashes
    WriteFile(nested, "hi");
    EXPECT_EQ(Contents(nested), "hi");
    EXPECT_TRUE(platform::RemoveFile(nested));
    EXPECT_FALSE(platform::FileExists(nested) || platform::RemoveFile(nested));
    EXPECT_FALSE(platform::RemoveFile(sub)) << "folders are not removed as files";

    const std::string folderOfProgram = platform::ExecutableFolder();
    EXPECT_TRUE(platform::DirectoryExists(folderOfProgram)) << folderOfProgram;
    EXPECT_TRUE(!folderOfProgram.empty() && folderOfProgram.back() != '\\' && folderOfProgram.back() != '/');
}

TEST(FileContract, MoveFileOverSwapsInTheNewVersion) {
    TempFolder folder;
    const std::string target = folder.File("options.vr"), fresh = folder.File("options.vr.new");
    WriteFile(target, "old");
    WriteFile(fresh, "new contents");
    ASSERT_TRUE(platform::MoveFileOver(fresh, target));
    EXPECT_EQ(Contents(target), "new contents");
    EXPECT_FALSE(platform::FileExists(fresh));
    WriteFile(fresh, "first");
    EXPECT_TRUE(platform::MoveFileOver(fresh, folder.File("banlist.vr"))) << "a missing target is simply created";
    EXPECT_EQ(Contents(folder.File("banlist.vr")), "first");
    EXPECT_FALSE(platform::MoveFileOver(folder.File("gone"), target));
    EXPECT_EQ(Contents(target), "new contents");
}

}  // namespace
}  // namespace vorlan::test
