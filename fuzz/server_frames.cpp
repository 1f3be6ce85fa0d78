// Feeds arbitrary bytes through the server's receive path (frame splitting, the
// flood and tail rules, and every message handler) from a few socketless
// connections: the host, an admin, a normal user and one not logged in.
//
// Input: chunks of [selector][length][length bytes]. The selector's low two
// bits choose the connection; bit 5 first replaces that connection by a fresh
// one; bit 6 runs the flood check after the chunk; bit 7 sends keepalives.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/EventLoop.h"
#include "protocol/Framing.h"
#include "server/ChatServer.h"

namespace {

using vorlan::server::ChatServer;

class SilentObserver : public vorlan::server::ServerObserver {
public:
    void OnServerNotice(std::string_view) override {}
    void OnServerStateChanged(bool, bool) override {}
    void OnServerPopupRequest(std::string_view) override {}
};

constexpr std::array<const char*, 4> kAddresses = {"127.0.0.1", "10.0.0.2", "192.168.1.3", "81.2.3.4"};

std::string LoginFrame(const char* name, const char* password) {
    return vorlan::protocol::Frame(std::string("00") + name + "\xAC" + password);
}

}  // namespace

namespace {

void RunOneInput(const std::uint8_t* data, std::size_t size) {
    SilentObserver observer;
    vorlan::server::ServerTuning tuning;
    // Small bounds, so that the overflow drop is reached too.
    tuning.adminSendBacklogLimit = 256 * 1024;
    tuning.userSendBacklogLimit = 64 * 1024;
    ChatServer server(observer, tuning);
    server.SetPasswords({"super", "admin", ""});
    server.SetTopic("topic");
    server.SetBanList({{0, "10.9.9.9", "banned"}, {5, "81.2.3.5", ""}});

    std::array<int, 4> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = server.Admit(server.NewConnection(), kAddresses[i]);
    server.HandleReceivedBytes(ids[0], LoginFrame("Host", ""));
    server.HandleReceivedBytes(ids[1], LoginFrame("Admin", "admin"));
    server.HandleReceivedBytes(ids[2], LoginFrame("User", "whatever"));

    while (size >= 2) {
        std::uint8_t selector = data[0];
        std::size_t length = data[1] < size - 2 ? data[1] : size - 2;
        std::string_view bytes(reinterpret_cast<const char*>(data + 2), length);
        data += 2 + length;
        size -= 2 + length;

        std::size_t which = selector & 3u;
        if (selector & 0x20u) ids[which] = server.Admit(server.NewConnection(), kAddresses[which]);
        server.HandleReceivedBytes(ids[which], bytes);
        if (selector & 0x40u) server.CheckFloods();
        if (selector & 0x80u) server.SendKeepalives();
        // Runs the deferred work (write flushes, a waiting accept) as the loop would.
        vorlan::platform::EventLoop::RunOnce(0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RunOneInput(data, size);
    // Lets the loop forget the deferred work of the connections just destroyed.
    vorlan::platform::EventLoop::RunOnce(0);
    return 0;
}
