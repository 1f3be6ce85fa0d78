// Rights: granting and revoking admin, kicking and banning users by rank.
#include "protocol/ServerToClient.h"
#include "server/ChatServer.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

namespace to_client = protocol::to_client;

// A user may remove those of lower rank; Normal admins may also remove each other.
bool MayRemove(const ServerConnection& by, const ServerConnection& target) {
    return target.level > by.level || (target.level == kNormalAdmin && by.level == kNormalAdmin);
}

}  // namespace

void ChatServer::HandleEnableAdmin(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || sender.IsNormalUser() || target->level != kNormalUser) return;
    target->level = kNormalAdmin;
    SendToAllUsers(protocol::Frame(to_client::AdminGranted(fields)));
}

void ChatServer::HandleDisableAdmin(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || sender.IsNormalUser() || target->level != kNormalAdmin) return;
    target->level = kNormalUser;
    SendToAllUsers(protocol::Frame(to_client::AdminRevoked(fields)));
}

void ChatServer::HandleKickUser(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || sender.IsNormalUser()) return;
    if (!target->IsLoggedIn()) {
        Remove(*target, {}, ServerEvents::Removal::Kicked);
        return;
    }
    if (!MayRemove(sender, *target)) return;
    Remove(*target, to_client::UserRemoved(fields, false, sender.connectionId), ServerEvents::Removal::Kicked);
}

void ChatServer::HandleBanUser(ServerConnection& sender, std::string_view fields) {
    if (sender.IsNormalUser()) return;
    std::string_view idText = fields.substr(0, fields.find(protocol::kSep));
    ServerConnection* target = FindConnection(protocol::ReadDecimal(idText));
    if (target == nullptr) {
        AddBan(CleanText(fields, kSepAndLineBreaks, kMaxBanAddressLength), {});
        return;
    }
    if (!target->IsLoggedIn()) {
        BanAndDrop(*target, {});
        return;
    }
    if (!MayRemove(sender, *target)) return;
    BanAndDrop(*target, to_client::UserRemoved(idText, true, sender.connectionId));
}

}  // namespace vorlan::server
