// vorlan-server as an operator sees it: its log of a real loopback session and
// its answers to a bad command line or settings folder.
#include <sys/stat.h>

#include <csignal>
#include <fstream>

#include <cstdio>
#include <string>
#include <vector>

#include "HeadlessServer.h"
#include "OperatorLog.h"
#include "StopRequest.h"
#include "server/ServerFixture.h"
#include "support/TempFolder.h"

namespace {

using vorlan::tools::OperatorLog;
using Lines = std::vector<std::string>;

// Everything written to `file` so far, one entry per line.
std::string Contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

// The lines of a log without their time.
Lines WithoutTime(const std::string& text) {
    Lines lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

class OperatorLogTest : public ServerTest {
protected:
    void SetUp() override {
        server.SetEvents(&log);
        server.SetPasswords({"super", "admin", "users"});
        server.SetBanList({{0, "127.0.0.9", "spammer"}});
        ServerTest::SetUp();
    }
    void TearDown() override { std::fclose(file); }

    Lines Logged() { return WithoutTime(Contents(file)); }

    std::FILE* file = std::tmpfile();
    OperatorLog log{file};
};

TEST_F(OperatorLogTest, OneLinePerConnectionLoginRemovalAndBanChange) {
    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.4", "Alice", "users");
    TestUser& bob = Login("127.0.0.5", "B\x1b[2Job", "users");
    RawClient banned;
    EXPECT_TRUE(banned.Connect("127.0.0.9", port));
    EXPECT_TRUE(banned.WaitForClose());
    RawClient eve;
    Accept(eve, "127.0.0.6");
    eve.Send("00Eve|wrong");
    EXPECT_TRUE(eve.WaitForClose());
    host.Send("16" + bob.Id());
    ExpectDropped(bob, "18" + bob.Id() + "|01");
    host.Send("17" + alice.Id());
    ExpectDropped(alice, "18" + alice.Id() + "|11");
    host.Send("2000");  // removes ban 0
    Sync(host);
    TestUser& carol = Login("127.0.0.7", "Carol", "users");
    carol.SendRaw(std::string(21, '\0'));  // more keepalives than one notification may carry
    ExpectDropped(carol);
    TestUser& super = Login("127.0.0.2", "Super", "super");
    super.Close();
    Forget(super);
    AllHear("022|0");
    TestUser& dave = Login("127.0.0.3", "Dave", "admin");
    dave.CloseWithReset();
    Forget(dave);
    AllHear("022|1");
    EXPECT_EQ(Logged(), (Lines{
                            "Connection 1 from 127.0.0.1 accepted.",
                            "User 1 \"Host\" logged in from 127.0.0.1 as Host.",
                            "Connection 2 from 127.0.0.4 accepted.",
                            "User 2 \"Alice\" logged in from 127.0.0.4 as Normal user.",
                            "Connection 3 from 127.0.0.5 accepted.",
                            "User 3 \"B\\x1b[2Job\" logged in from 127.0.0.5 as Normal user.",
                            "Connection from 127.0.0.9 refused: banned.",
                            "Connection 4 from 127.0.0.6 accepted.",
                            "Connection 4 (127.0.0.6) refused: wrong password.",
                            "User 3 \"B\\x1b[2Job\" (127.0.0.5) kicked by user 1 \"Host\".",
                            "Ban 1 added: 127.0.0.4 \"Alice\" by user 1 \"Host\".",
                            "User 2 \"Alice\" (127.0.0.4) banned by user 1 \"Host\".",
                            "Ban 0 removed: 127.0.0.9 \"spammer\" by user 1 \"Host\".",
                            "Connection 2 from 127.0.0.7 accepted.",
                            "User 2 \"Carol\" logged in from 127.0.0.7 as Normal user.",
                            "User 2 \"Carol\" (127.0.0.7) dropped: flood.",
                            "Connection 2 from 127.0.0.2 accepted.",
                            "User 2 \"Super\" logged in from 127.0.0.2 as Super admin.",
                            "User 2 \"Super\" (127.0.0.2) left.",
                            "Connection 2 from 127.0.0.3 accepted.",
                            "User 2 \"Dave\" logged in from 127.0.0.3 as Normal admin.",
                            "User 2 \"Dave\" (127.0.0.3) lost its connection.",
                        }));
}

// The exit status and what went to stdout and stderr.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::vector<std::string>& arguments) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int status = vorlan::tools::RunServerTool(arguments, out, err);
    ToolRun run{status, Contents(out), Contents(err)};
    std::fclose(out);
    std::fclose(err);
    return run;
}

TEST(ServerToolCommandLine, VersionAndUnusableFoldersOrFilesAreAnsweredBeforeServing) {
    EXPECT_EQ(RunTool({"--version"}).out, "1.17\n");
    vorlan::test::TempFolder folder;
    const std::string dir = folder.Path().string();
    ToolRun missing = RunTool({"--folder", dir + "/nonexistent"});
    EXPECT_EQ(std::pair(missing.status, missing.err),
              std::pair(2, "vorlan-server: no such folder: " + dir + "/nonexistent\n"));
    // A settings file that is there but cannot be read (a folder stands in for
    // a file without read permission, which root could still read).
    for (const char* name : {"options.vr", "banlist.vr"}) {
        ASSERT_EQ(mkdir(folder.File(name).c_str(), 0700), 0);
        ToolRun unreadable = RunTool({"--folder", dir});
        EXPECT_EQ(std::pair(unreadable.status, unreadable.err),
                  std::pair(2, "vorlan-server: cannot read " + dir + "/" + name + "\n"));
        rmdir(folder.File(name).c_str());
    }
    EXPECT_EQ(RunTool({"--port", "0"}).status, 2);
}

TEST(ServerToolCommandLine, MissingSettingsFilesInAnExistingFolderMeanDefaults) {
    vorlan::test::TempFolder folder;
    vorlan::tools::ServerToolArguments arguments;
    arguments.folder = folder.Path().string();
    std::string error;
    vorlan::tools::HeadlessServer server(arguments, stdout);
    EXPECT_TRUE(server.LoadSettings(error)) << error;
    EXPECT_EQ(server.Server().ChatPort(), 5555);
}

// SIGTERM is a clean stop that rewrites the files that exist, and a file that
// cannot be rewritten makes the exit status 1 with a line saying so.
TEST(ServerToolStop, TerminationRewritesTheSettingsAndReportsAFailedWrite) {
    vorlan::test::TempFolder folder;
    std::ofstream(folder.File("options.vr"), std::ios::binary) << "0";
    std::ofstream(folder.File("banlist.vr"), std::ios::binary) << "0\xAC"
                                                               << "10.0.0.1";
    ASSERT_EQ(mkdir(folder.File("banlist.vr.tmp").c_str(), 0700), 0);  // the rewrite cannot make its temporary file
    vorlan::tools::ServerToolArguments arguments;
    arguments.folder = folder.Path().string();
    arguments.port = 0;  // any free port
    std::FILE* out = std::tmpfile();
    vorlan::tools::HeadlessServer server(arguments, out);
    std::string error;
    ASSERT_TRUE(server.LoadSettings(error)) << error;
    vorlan::tools::StopRequest::InstallHandlers();
    std::raise(SIGTERM);  // noted, and served at the first check of the loop
    EXPECT_EQ(server.Run(), 1);
    Lines logged = WithoutTime(Contents(out));
    std::fclose(out);
    EXPECT_EQ(logged,
              (Lines{"Server started.", "Server stopped.", "Couldn't write " + arguments.folder + "/banlist.vr."}));
    std::ifstream options(folder.File("options.vr"), std::ios::binary);
    std::string rewritten((std::istreambuf_iterator<char>(options)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(rewritten.begin(), rewritten.end(), '\n'), 48) << "all 49 lines written back";
}

}  // namespace
