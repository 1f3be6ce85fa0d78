// The update check: how an answer is judged, and one exchange with a local
// responder over loopback (the exact request, one read, silent failures).
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "support/RunLoop.h"
#include "update/UpdateChecker.h"
#include "update/UpdateNotice.h"

namespace vorlan::update {
namespace {

const std::string kSentence = " is available for download. Click here for more information.";

TEST(UpdateNotice, TheLastLineOfASuccessfulAnswerIsTheVersion) {
    const std::string ok = "HTTP/1.1 200 OK\nContent-Length: 4\n\n";
    struct Row {
        std::string response;
        std::optional<std::string> notice;
    };
    for (const Row& row : {Row{ok + "1.18", "Vorlan1.18" + kSentence},
                           {ok + "  2.0\r", "Vorlan2.0" + kSentence},
                           {"HTTP/1.0 200 OK\r\n\r\n1.17.1", "Vorlan1.17.1" + kSentence},
                           // The own version, however it is padded, is no news.
                           {ok + "1.17", std::nullopt},
                           {ok + " 1.17 \r", std::nullopt},
                           // No line feed: no last line to read.
                           {"1.18", std::nullopt},
                           // An empty last line, an error page, text, or no HTTP at all announce nothing.
                           {ok + "1.18\n", std::nullopt},
                           {"HTTP/1.1 404 Not Found\n\n1.18", std::nullopt},
                           {"HTTP/1.1 2000 OK\n\n1.18", std::nullopt},
                           {ok + "<html>gone</html>", std::nullopt},
                           {ok + "1..", std::nullopt},
                           {"SSH-2.0\n1.18", std::nullopt},
                           {"", std::nullopt}}) {
        EXPECT_EQ(UpdateNoticeFor(row.response), row.notice) << row.response;
    }
}

// Accepts one connection and records what it receives.
struct Responder : platform::AsyncSocket {
    struct Peer : platform::AsyncSocket {
        std::string received;
        bool closed = false;
        void OnReceive(int) override {
            char buffer[4096];
            const int count = Receive(buffer, sizeof buffer);
            if (count > 0) received.append(buffer, static_cast<std::size_t>(count));
        }
        void OnClose(int) override { closed = true; }
        void Say(const std::string& text) { Send(text.data(), static_cast<int>(text.size())); }
    };
    std::unique_ptr<Peer> peer;
    bool Start() { return Create(0, platform::kEventAccept, "127.0.0.1") && Listen(); }
    void OnAccept(int) override {
        auto next = std::make_unique<Peer>();
        if (Accept(*next)) peer = std::move(next);
    }
};

bool WaitFor(const std::function<bool()>& done) { return platform::EventLoop::RunUntil(done, 5000); }

class UpdateExchange : public ::testing::Test {
protected:
    Responder responder;
    std::vector<std::string> notices;
    std::unique_ptr<UpdateChecker> checker;

    void SetUp() override {
        ASSERT_TRUE(responder.Start());
        checker = std::make_unique<UpdateChecker>(UpdateServer{"127.0.0.1", responder.LocalPort(), "updates.test"},
                                                  [this](const std::string& text) { notices.push_back(text); });
    }
    // Starts the check and waits until the request has arrived.
    void Request() {
        checker->Start();
        ASSERT_TRUE(WaitFor([&] {
            return responder.peer &&
                   responder.peer->received == "GET /programs/info.txt HTTP/1.1\nHost: updates.test\n\n";
        }));
    }
};

TEST_F(UpdateExchange, ANewerVersionGivesOneNoticeAndOnlyTheFirstPieceIsRead) {
    Request();
    responder.peer->Say("HTTP/1.1 200 OK\n\n1.18");
    ASSERT_TRUE(WaitFor([&] { return responder.peer->closed; })) << "the check closes after its one read";
    responder.peer->Say("\n1.19");
    test::RunLoopFor(100);
    EXPECT_EQ(notices, std::vector<std::string>{"Vorlan1.18" + kSentence});
    checker->Start();  // once per run
    test::RunLoopFor(100);
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(UpdateExchange, FailuresAreSilent) {
    Request();
    responder.peer->Close();  // closed before answering
    test::RunLoopFor(100);
    EXPECT_TRUE(notices.empty());

    const std::uint16_t refused = responder.LocalPort();
    responder.Close();
    UpdateChecker nobody({"127.0.0.1", refused, "updates.test"}, [&](const std::string& t) { notices.push_back(t); });
    nobody.Start();
    test::RunLoopFor(200);
    nobody.Stop();
    EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace vorlan::update
