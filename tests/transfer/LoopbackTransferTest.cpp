// Two clients of a real chat server in one process send files to each other
// through the offer, the acceptance and a transfer connection of their own.
#include <gtest/gtest.h>

#include "TransferTestSupport.h"
#include "transfer/TransferText.h"
#include "server/ChatServer.h"
#include "server/ServerObserver.h"

namespace vorlan::transfer {
namespace {

using namespace test_support;
namespace fs = std::filesystem;

struct QuietObserver : server::ServerObserver {
    void OnServerNotice(std::string_view) override {}
    void OnServerStateChanged(bool, bool) override {}
    void OnServerPopupRequest(std::string_view) override {}
};

class LoopbackTransfer : public ::testing::Test {
protected:
    vorlan::test::TempFolder folder;
    QuietObserver observer;
    server::ChatServer server{observer, {}};
    std::unique_ptr<TransferClient> anna, bob;
    int annaId = 0, bobId = 0;

    void SetUp() override {
        fs::create_directories(folder.Path() / "anna");
        fs::create_directories(folder.Path() / "bob");
        server.SetChatPort(0);
        ASSERT_TRUE(server.StartServer());
        anna = Join("anna", "Anna");
        bob = Join("bob", "Bob");
        ASSERT_TRUE(WaitFor([&] { return anna->userTree.rows.size() == 2 && bob->userTree.rows.size() == 2; }));
        annaId = (*anna)->ownId(), bobId = (*bob)->ownId();
        (*bob)->options().lastSaveFolder = Folder("bob");
    }
    std::unique_ptr<TransferClient> Join(const std::string& sub, const std::string& name) {
        auto client = std::make_unique<TransferClient>((folder.Path() / sub).string(), name, server.ListeningPort());
        (*client)->ConnectToLocalServer();
        return client;
    }
    // A folder as typed, with its trailing separator.
    std::string Folder(const std::string& sub) const { return (folder.Path() / sub).string() + "/"; }
    // The same as the program shows it.
    static std::string Shown(std::string path) { return NormalisePath(path); }

    // Anna offers `bytes` as a.bin to Bob; returns her send window.
    Window& Offer(const std::string& bytes, bool annaListens, const std::string& buffer = "4 KB",
                  const std::string& name = "a.bin") {
        WriteBytes(folder.Path() / "anna" / name, bytes);
        const std::size_t offers = bob->receiveDialogs.size();
        anna->transfers->StartSend(bobId, Folder("anna") + name);
        SendDialog& dialog = *anna->sendDialogs.back();
        dialog.bufferSize = buffer;
        dialog.client = !annaListens, dialog.server = annaListens;
        dialog.control.Send();
        EXPECT_TRUE(WaitFor([&] { return bob->receiveDialogs.size() > offers; }));
        return *anna->sendWindows.back();
    }
    ReceiveDialog& BobsDialog() { return *bob->receiveDialogs.back(); }
    Window* BobsWindow() { return bob->receiveWindows.empty() ? nullptr : bob->receiveWindows.back(); }
    bool BothDone(Window& sent) {
        return sent.status == "File transfer complete" && BobsWindow() &&
               BobsWindow()->status == "File transfer complete";
    }
};

// Both send modes, at sizes that end on a block boundary, inside a block and
// across many blocks: every byte arrives in order and both sides complete.
TEST_F(LoopbackTransfer, BothModesCarryEveryByteAndCompleteOnBothSides) {
    struct Case {
        bool annaListens;
        std::size_t size;
    };
    for (const Case c : {Case{false, 1}, Case{true, 1}, Case{false, 4 * 4096}, Case{true, 3 * 1048576 + 123}}) {
        SCOPED_TRACE(std::to_string(c.size) + (c.annaListens ? " server" : " client"));
        const std::string bytes = Pattern(c.size, static_cast<unsigned>(c.size));
        fs::remove(folder.Path() / "bob" / "a.bin");
        Window& sent = Offer(bytes, c.annaListens);
        EXPECT_EQ(sent.status, "Waiting for user to accept");
        ReceiveDialog& offer = BobsDialog();
        EXPECT_EQ(offer.caption, "Save file - a.bin");
        EXPECT_EQ(offer.fromUser, "Anna");
        EXPECT_EQ(offer.mode, c.annaListens ? "Client" : "Server");
        EXPECT_EQ(NormalisePath(offer.saveTo), Shown(Folder("bob") + "a.bin"));
        offer.control.Accept();
        ASSERT_TRUE(WaitFor([&] { return BothDone(sent); }, 20000)) << sent.status;
        EXPECT_EQ(ReadBytes(folder.Path() / "bob" / "a.bin"), bytes);
        EXPECT_EQ(sent.caption, "(100%) a.bin - send");
        EXPECT_EQ(sent.third, "close");
        EXPECT_EQ(BobsWindow()->middle, "open file");
        EXPECT_EQ(BobsWindow()->done, FormatSize(static_cast<std::int64_t>(c.size)));
        EXPECT_TRUE(anna->ViewText().ends_with("File sent: " + Shown(Folder("anna") + "a.bin")));
        EXPECT_TRUE(bob->ViewText().ends_with("File received: " + Shown(Folder("bob") + "a.bin")));
        EXPECT_EQ(anna->transfers->FreeTransferId(), 1) << "the id stays taken while the window is open";
        sent.control.ThirdButton();
        BobsWindow()->control.CloseBox();
        WaitFor([&] { return anna->transfers->SendWindowCount() == 0 && !BobsWindow(); }, 1000);
    }
    EXPECT_EQ((*anna)->options().sendBufferSizeText, "4 KB");
    EXPECT_TRUE((*anna)->options().sendModeServer);
}

// A partial file is resumed from its length in both modes, and the sender
// continues from there.
TEST_F(LoopbackTransfer, ResumeContinuesFromThePartialFileInBothModes) {
    const std::string bytes = Pattern(200000);
    for (bool annaListens : {false, true}) {
        WriteBytes(folder.Path() / "bob" / "a.bin", bytes.substr(0, 70001));
        Window& sent = Offer(bytes, annaListens);
        BobsDialog().control.Accept();
        ASSERT_EQ(bob->existsDialogs.size(), annaListens ? 2u : 1u);
        bob->existsDialogs.back()->control.Resume();
        ASSERT_TRUE(WaitFor([&] { return BothDone(sent); }, 10000)) << sent.status;
        EXPECT_EQ(ReadBytes(folder.Path() / "bob" / "a.bin"), bytes);
        EXPECT_EQ(anna->sendWindows.back()->done, FormatSize(200000));
        sent.control.ThirdButton();
    }
}

// "Close window when transfer is complete": both windows go once done, after
// their lines; shut-down then has nothing left to stop.
TEST_F(LoopbackTransfer, CloseWhenCompleteClosesBothWindowsAfterTheirLines) {
    (*anna)->options().closeWhenComplete = (*bob)->options().closeWhenComplete = true;
    Offer(Pattern(5000), true);
    BobsDialog().control.Accept();
    ASSERT_TRUE(
        WaitFor([&] { return anna->transfers->SendWindowCount() == 0 && bob->transfers->ReceiveWindowCount() == 0; }));
    EXPECT_TRUE(anna->ViewText().ends_with("File sent: " + Shown(Folder("anna") + "a.bin")));
    EXPECT_TRUE(bob->ViewText().ends_with("File received: " + Shown(Folder("bob") + "a.bin")));
    EXPECT_TRUE(WaitFor([&] { return anna->sendWindows.back() == nullptr && bob->receiveWindows.back() == nullptr; }));
}

// Refusal, withdrawal, and a resume of a file that is already whole.
TEST_F(LoopbackTransfer, RefusalAndWithdrawalReachTheOtherSide) {
    Window& refused = Offer("abc", false);
    BobsDialog().control.Cancel();
    ASSERT_TRUE(WaitFor([&] { return refused.status == "Canceled"; }));
    EXPECT_EQ(refused.third, "close");

    Window& withdrawn = Offer("abc", false);
    EXPECT_EQ(anna->transfers->SendWindowCount(), 2u);
    withdrawn.control.CloseBox();
    ASSERT_TRUE(WaitFor([&] { return bob->transfers->ReceiveDialogCount() == 0; }));

    // "resume" on a file as long as the offer changes nothing.
    WriteBytes(folder.Path() / "bob" / "a.bin", "abc");
    Window& whole = Offer("abc", false);
    BobsDialog().control.Accept();
    bob->existsDialogs.back()->control.Resume();
    EXPECT_EQ(bob->transfers->ReceiveDialogCount(), 1u);
    EXPECT_EQ(bob->transfers->ReceiveWindowCount(), 0u);
    EXPECT_EQ(whole.status, "Waiting for user to accept");
}

// A withdrawal that crosses the acceptance leaves no side waiting forever.
TEST_F(LoopbackTransfer, AWithdrawalCrossingTheAcceptanceCancelsTheReceiveWindow) {
    Window& sent = Offer("abc", true);  // Bob will connect
    BobsDialog().control.Accept();      // "02" travels to Anna ...
    sent.control.CloseBox();            // ... while "10" travels to Bob
    ASSERT_TRUE(WaitFor([&] { return BobsWindow() && BobsWindow()->status == "Canceled"; }));
}

// Either side ending a running transfer: the other sees the connection end;
// "pause" keeps the partial file, and a user leaving cancels only what waits.
TEST_F(LoopbackTransfer, CancellationByEitherSideAndUsersLeaving) {
    const std::string big = Pattern(64 * 1048576);
    Window& sent = Offer(big, false, "1 KB");
    BobsDialog().control.Accept();
    ASSERT_TRUE(WaitFor([&] { return BobsWindow() && bob->receiveWindows.back()->done != "0 B"; }));
    BobsWindow()->control.MiddleButton();  // "pause"
    ASSERT_TRUE(WaitFor([&] { return sent.status == "Connection closed" || sent.status == "Connection lost"; }));
    const auto partial = fs::file_size(folder.Path() / "bob" / "a.bin");
    EXPECT_GT(partial, 0u);
    EXPECT_LT(partial, big.size());

    Window& again = Offer(big, true, "1 KB");
    BobsDialog().control.Accept();
    bob->existsDialogs.back()->control.Overwrite();
    ASSERT_TRUE(WaitFor([&] { return BobsWindow() && BobsWindow()->status == "Receiving file"; }));
    again.control.ThirdButton();  // "cancel" on the sending side
    ASSERT_TRUE(WaitFor([&] { return BobsWindow()->status.starts_with("Connection"); }));
    EXPECT_EQ(BobsWindow()->third, "delete file");
    BobsWindow()->control.ThirdButton();
    EXPECT_FALSE(fs::exists(folder.Path() / "bob" / "a.bin"));

    // Bob leaves with one transfer running and one offer pending.
    Window& running = Offer(Pattern(8 * 1048576), false, "1 KB");
    BobsDialog().control.Accept();
    ASSERT_TRUE(WaitFor([&] { return BobsWindow() && BobsWindow()->status == "Receiving file"; }));
    Window& pending = Offer("abc", false, "4 KB", "b.bin");
    (*bob)->EndConnection();
    ASSERT_TRUE(WaitFor([&] { return pending.status == "Canceled"; }));
    EXPECT_EQ(pending.third, "close");
    EXPECT_TRUE(WaitFor([&] { return running.status == "File transfer complete"; }, 20000))
        << "a transfer under way goes on: " << running.status;
}

}  // namespace
}  // namespace vorlan::transfer
