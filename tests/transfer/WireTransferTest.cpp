// One side of a transfer against a raw peer: the exact control messages and
// data-connection bytes, the acknowledgement tokens, keep-alives, offers that
// must be refused, and offsets beyond 4 GiB.
#include <gtest/gtest.h>

#include "TransferTestSupport.h"
#include "transfer/ControlPayload.h"
#include "transfer/TransferText.h"

namespace vorlan::transfer {
namespace {

using namespace test_support;
using client::test_support::RawPeer;
using client::test_support::RawServer;
namespace fs = std::filesystem;

constexpr int kBob = 5;

struct FakeHost : TransferHost, TransferNotices {
    std::vector<std::string> sent;  // "peer:body", SEP shown as '|'
    std::vector<std::string> lines;
    storage::Options options;
    void SendControl(int peer, const std::string& body) override {
        std::string shown = body;
        std::replace(shown.begin(), shown.end(), '\xAC', '|');
        sent.push_back(std::to_string(peer) + ":" + shown);
    }
    std::string UserName(int id) const override { return id == kBob ? "Bob" : ""; }
    std::string ServerAddress() const override { return "127.0.0.1"; }
    storage::Options& Options() override { return options; }
    TransferNotices& Notices() override { return *this; }
    void Notice(const std::string& text) override { lines.push_back(text); }
    void FileDone(const std::string& label, const std::string& path) override { lines.push_back(label + " " + path); }
};

class WireTransfer : public ::testing::Test {
protected:
    vorlan::test::TempFolder folder;
    FakeHost host;
    RecordingFactory windows;
    std::unique_ptr<FileTransfers> transfers;

    void SetUp() override { Make(TestTuning()); }
    void Make(TransferTuning tuning) { transfers = std::make_unique<FileTransfers>(host, windows, tuning); }
    // A "14" message from Bob, SEP written as '|'.
    void FromBob(const std::string& shown) {
        std::string wire = "14" + std::to_string(kBob) + "|" + shown;
        std::replace(wire.begin(), wire.end(), '|', '\xAC');
        transfers->OnFileTransferControl(wire);
    }
    std::string Path(const std::string& name) const { return folder.File(name); }
    // Offers `name` to Bob in Client mode; its send window.
    Window& Offer(const std::string& name) {
        transfers->StartSend(kBob, Path(name));
        windows.sendDialogs.back()->client = true;
        windows.sendDialogs.back()->control.Send();
        EXPECT_FALSE(host.sent.empty());
        return *windows.sendWindows.back();
    }
};

TEST_F(WireTransfer, TheSenderCountsSplitTokensOnceAndIgnoresKeepAlives) {
    WriteBytes(Path("a.bin"), "0123456789");
    Window& window = Offer("a.bin");
    EXPECT_EQ(host.sent.back(), "5:00|1210|a.bin");
    EXPECT_EQ(window.caption, "a.bin - send");
    RawServer receiver;
    ASSERT_TRUE(receiver.Start());
    FromBob("0|01127.0.0.1|" + std::to_string(receiver.LocalPort()) + "|0");
    ASSERT_TRUE(WaitFor([&] { return !receiver.peers.empty() && receiver.Peer().received.size() == 10; }));
    EXPECT_EQ(receiver.Peer().received, "0123456789");
    EXPECT_EQ(window.status, "Sending file");

    receiver.Send(
        std::string("\0"
                    "3",
                    2));
    ASSERT_TRUE(WaitFor([] { return false; }, 30) || true);
    receiver.Send(
        std::string("\0"
                    "\0"
                    "6",
                    3));
    ASSERT_TRUE(WaitFor([&] { return window.done == "3 B"; }));
    EXPECT_EQ(window.caption, "(30%) a.bin - send");
    receiver.Send(
        std::string("\0"
                    "1\0",
                    3));
    ASSERT_TRUE(WaitFor([&] { return window.status == "File transfer complete"; }));
    EXPECT_EQ(window.done, "10 B");
    EXPECT_EQ(window.third, "close");
    EXPECT_TRUE(WaitFor([&] { return receiver.Peer().closed; }));
    EXPECT_EQ(host.lines.back(), "File sent: " + NormalisePath(Path("a.bin")));
    EXPECT_TRUE(WaitFor([&] { return window.speed == "0 B/s"; })) << "the speed timer stops once ended";
}

TEST_F(WireTransfer, TheReceiverAcknowledgesEachWriteKeepsAliveAndWritesNoMoreThanOffered) {
    TransferTuning tuning = TestTuning();
    tuning.keepAliveMs = 20;
    Make(tuning);
    host.options.lastSaveFolder = folder.Path().string() + "/";
    FromBob("3|1210|..\\dir/x.bin");
    ReceiveDialog& dialog = *windows.receiveDialogs.back();
    EXPECT_EQ(dialog.caption, "Save file - x.bin");
    EXPECT_EQ(dialog.fileSize, "10 B");
    EXPECT_EQ(dialog.mode, "Server");
    dialog.control.Accept();
    ASSERT_EQ(host.sent.size(), 1u);
    const std::string& listening = host.sent.back();
    ASSERT_TRUE(listening.starts_with("5:13|01") && listening.ends_with("|0")) << listening;
    const int port = std::stoi(listening.substr(7));

    RawPeer sender;
    ASSERT_TRUE(sender.Create(0, platform::kEventAll, "127.0.0.1"));
    sender.Connect("127.0.0.1", static_cast<std::uint16_t>(port));
    Window& window = *windows.receiveWindows.back();
    ASSERT_TRUE(WaitFor([&] { return sender.received.find('\0') != std::string::npos; }));
    EXPECT_EQ(window.status, "Receiving file");
    sender.Send("hello", 5);
    ASSERT_TRUE(WaitFor([&] { return sender.received.find("5") != std::string::npos; }));
    EXPECT_EQ(window.caption, "(50%) x.bin - receive");
    sender.Send("worldEXTRA", 10);
    ASSERT_TRUE(WaitFor([&] { return window.status == "Waiting for connection to be closed"; }));
    std::string acks;
    WaitFor([&] {
        acks = sender.received;
        std::erase(acks, '\0');
        return acks.size() >= 2;
    });
    EXPECT_EQ(acks, "55") << "each write acknowledged with what was written";
    EXPECT_EQ(host.lines.back(), "File received: " + NormalisePath(Path("x.bin")));
    sender.ShutdownBoth();
    sender.Close();
    ASSERT_TRUE(WaitFor([&] { return window.status == "File transfer complete"; }));
    EXPECT_EQ(ReadBytes(Path("x.bin")), "helloworld");
}

TEST_F(WireTransfer, OffersThatCannotBeSavedAreRefusedAndBadControlsIgnored) {
    host.options.lastSaveFolder = folder.Path().string() + "/";
    FromBob("1|120|empty.txt");
    FromBob("2|12-5|negative.txt");
    FromBob("3|121|..");
    FromBob("4|12x|nosize.txt");  // no number: ignored
    FromBob("5|1210");            // no name: ignored
    FromBob("6");                 // no SEP: ignored
    FromBob("1000|1210|a.txt");   // no such transfer id: ignored
    EXPECT_EQ(host.sent, (std::vector<std::string>{"5:01|00", "5:02|00", "5:03|00"}));
    EXPECT_EQ(transfers->ReceiveDialogCount(), 0u);

    for (int id = 0; id < 1000; ++id) FromBob(std::to_string(id) + "|121|f.txt");
    EXPECT_EQ(transfers->ReceiveDialogCount(), 1000u);
    FromBob("7|131|f.txt");
    EXPECT_EQ(transfers->ReceiveDialogCount(), 1000u);
    EXPECT_EQ(host.sent.back(), "5:07|00") << "refused beyond 1000 open dialogs";
    transfers->CancelTransfersWith(kBob);
    EXPECT_EQ(transfers->ReceiveDialogCount(), 0u);
}

// The system may refuse a window (a peer's offers can use up a process's
// window handles): the offer is then refused, a send does not start, and a
// transfer whose window cannot be made runs without one.
TEST_F(WireTransfer, WithoutWindowsOffersAreRefusedAndTransfersStillRun) {
    host.options.lastSaveFolder = folder.Path().string() + "/";
    WriteBytes(Path("a.bin"), "x");
    windows.outOfWindows = true;
    FromBob("1|1210|a.txt");
    EXPECT_EQ(host.sent, std::vector<std::string>{"5:01|00"});
    EXPECT_EQ(transfers->ReceiveDialogCount(), 0u);
    transfers->StartSend(kBob, Path("a.bin"));
    EXPECT_EQ(transfers->SendDialogCount(), 0u);

    windows.outOfWindows = false;
    transfers->StartSend(kBob, Path("a.bin"));
    windows.sendDialogs.back()->client = true;
    windows.outOfWindows = true;
    windows.sendDialogs.back()->control.Send();
    EXPECT_EQ(transfers->SendWindowCount(), 1u);
    EXPECT_TRUE(windows.sendWindows.empty());
    transfers->CancelTransfersWith(kBob);
    transfers->DestroyAll();
}

TEST_F(WireTransfer, TransferIdsAreTheSmallestFreeAndRunOutWithANotice) {
    WriteBytes(Path("a.bin"), "x");
    transfers->StartSend(kBob, Path("a.bin"));
    transfers->StartSend(kBob, Path("a.bin"));
    transfers->StartSend(4, Path("a.bin"));  // no such user
    EXPECT_EQ(transfers->SendDialogCount(), 2u);
    windows.sendDialogs[0]->control.Cancel();
    EXPECT_EQ(transfers->FreeTransferId(), 0);
    for (int i = 0; i < 999; ++i) transfers->StartSend(kBob, {});
    EXPECT_EQ(transfers->SendDialogCount(), 1000u);
    transfers->StartSend(kBob, {});
    EXPECT_EQ(host.lines, std::vector<std::string>{"Maximum number of file sending windows has been reached."});
}

// Offsets beyond 4 GiB travel and seek as 64-bit numbers on both sides.
TEST_F(WireTransfer, ResumeOffsetsBeyondFourGiB) {
    constexpr std::int64_t kSize = (5LL << 30) + 10;
    {
        std::ofstream(Path("big.bin"), std::ios::binary);
        fs::resize_file(Path("big.bin"), kSize - 10);
        std::ofstream(Path("big.bin"), std::ios::binary | std::ios::app) << "TAIL-BYTES";
    }
    Window& window = Offer("big.bin");
    EXPECT_EQ(host.sent.back(), "5:00|12" + std::to_string(kSize) + "|big.bin");
    RawServer receiver;
    ASSERT_TRUE(receiver.Start());
    FromBob("0|01127.0.0.1|" + std::to_string(receiver.LocalPort()) + "|" + std::to_string(kSize - 10));
    EXPECT_EQ(window.done, "5.00 GB");
    EXPECT_EQ(window.caption, "(99%) big.bin - send");
    ASSERT_TRUE(WaitFor([&] { return !receiver.peers.empty() && receiver.Peer().received.size() == 10; }));
    EXPECT_EQ(receiver.Peer().received, "TAIL-BYTES");

    // The receiving side resumes a partial file of more than 4 GiB.
    host.options.lastSaveFolder = folder.Path().string() + "/";
    {
        std::ofstream(Path("part.bin"), std::ios::binary);
        fs::resize_file(Path("part.bin"), (4LL << 30) + 5);
    }
    FromBob("9|13" + std::to_string(kSize) + "|part.bin");
    windows.receiveDialogs.back()->control.Accept();
    windows.existsDialogs.back()->control.Resume();
    EXPECT_EQ(host.sent.back(), "5:09|02" + std::to_string((4LL << 30) + 5));
    EXPECT_EQ(windows.receiveWindows.back()->status, "Waiting for user to start server");
    EXPECT_EQ(windows.receiveWindows.back()->caption, "(79%) part.bin - receive");
}

// Either side giving up after the answer but before the connection is made
// tells the other, whose port would otherwise wait for nobody.
TEST_F(WireTransfer, GivingUpBeforeTheConnectionReachesThePeer) {
    WriteBytes(Path("a.bin"), "abc");
    for (int id : {0, 1}) {
        transfers->StartSend(kBob, Path("a.bin"));
        SendDialog& dialog = *windows.sendDialogs.back();
        dialog.client = false, dialog.server = true;
        dialog.control.Send();
        EXPECT_EQ(host.sent.back(), "5:0" + std::to_string(id) + "|133|a.bin");
        Window& window = *windows.sendWindows.back();
        FromBob(std::to_string(id) + "|020");
        EXPECT_EQ(window.status, "Waiting for connection");
        EXPECT_TRUE(host.sent.back().starts_with("5:1" + std::to_string(id) + "|14")) << host.sent.back();
        if (id == 0) {
            FromBob("0|00");  // Bob closed his window
            EXPECT_EQ(window.status, "Canceled");
        } else {
            window.control.CloseBox();
            EXPECT_EQ(host.sent.back(), "5:01|10");
        }
    }
}

// An offset the file cannot continue from is refused rather than waited on.
TEST_F(WireTransfer, AnOffsetAtTheEndIsRefused) {
    WriteBytes(Path("a.bin"), "abc");
    Window& window = Offer("a.bin");
    FromBob("0|023");
    EXPECT_EQ(window.status, "Canceled");
    EXPECT_EQ(host.sent.back(), "5:00|11");
}

}  // namespace
}  // namespace vorlan::transfer
