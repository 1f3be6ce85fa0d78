// Log-in: levels from the peer address and the passwords, unique names, and the
// burst that tells the newcomer who is here.
#include "protocol/ServerToClient.h"
#include "server/ChatServer.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

constexpr std::string_view kHostAddress{"127.0.0.1"};
constexpr std::string_view kInitialStatus{"Available"};

}  // namespace

void ChatServer::HandleLogin(ServerConnection& sender, std::string_view fields) {
    std::size_t sep = fields.find(protocol::kSep);
    if (sep == std::string_view::npos) return;
    if (sender.IsLoggedIn()) {
        DropForFault(sender);
        return;
    }
    int level = LevelFor(sender, fields.substr(sep + 1));
    if (level == kNotLoggedIn) {
        Remove(sender, {}, ServerEvents::Removal::WrongPassword);
        return;
    }
    std::string candidate = CleanText(fields.substr(0, sep), kSepAndLineBreaks, kMaxNameLength);
    if (candidate.empty()) candidate = std::to_string(sender.connectionId);
    sender.name = UniqueName(candidate);
    sender.status = std::string(kInitialStatus);
    sender.level = level;
    Events().OnUserLoggedIn(sender);
    SendLoginBurst(sender);
}

// The host connects from this machine and needs no password; an empty admin
// password is never matched, an empty user password admits anyone.
int ChatServer::LevelFor(const ServerConnection& sender, std::string_view password) const {
    if (sender.peerAddress == kHostAddress) return kHost;
    if (!passwords_.superAdmin.empty() && password == passwords_.superAdmin) return kSuperAdmin;
    if (!passwords_.normalAdmin.empty() && password == passwords_.normalAdmin) return kNormalAdmin;
    if (passwords_.normalUser.empty() || password == passwords_.normalUser) return kNormalUser;
    return kNotLoggedIn;
}

std::string ChatServer::UniqueName(const std::string& candidate) const {
    std::string name = candidate;
    int counter = 2;
    bool taken = true;
    while (taken) {
        taken = false;
        for (std::size_t slot = 1; slot < connections_.size() && !taken; ++slot) {
            taken = EqualIgnoringCase(connections_[slot]->name, name);
        }
        if (taken) name = candidate + "[" + std::to_string(counter++) + "]";
    }
    return name;
}

void ChatServer::SendLoginBurst(ServerConnection& newcomer) {
    std::string block;
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
        const ServerConnection& user = *connections_[slot];
        if (!user.IsLoggedIn()) continue;
        bool own = &user == &newcomer;
        protocol::AppendFrame(
            block, protocol::to_client::UserEntry(user.connectionId, own ? user.level : user.LevelDigit(), user.name,
                                                  user.status, own));
    }
    newcomer.Send(block);
    if (!topic_.empty()) newcomer.Send(protocol::Frame(protocol::to_client::TopicText(false, topic_)));
    SendToAllUsers(
        protocol::Frame(protocol::to_client::UserJoined(newcomer.connectionId, newcomer.level, newcomer.name)),
        &newcomer);
}

}  // namespace vorlan::server
