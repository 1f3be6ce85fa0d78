// What users say and how they appear: topic, main and private lines, names,
// status, the main chat state, mutes and the file-transfer relay.
#include <algorithm>

#include "protocol/ServerToClient.h"
#include "server/ChatServer.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

namespace to_client = protocol::to_client;
constexpr std::string_view kHostAddress{"127.0.0.1"};

// The address written into a transfer offer: "0" tells the target to use the
// address by which it reached the chat server, for a sender whose own address
// would mean nothing on the target's side.
std::string_view RelayAddress(const ServerConnection& sender, const ServerConnection& target) {
    if (sender.peerAddress == kHostAddress && target.peerAddress != kHostAddress) return "0";
    if (IsPrivateAddress(sender.peerAddress) && !IsPrivateAddress(target.peerAddress)) return "0";
    return sender.peerAddress;
}

}  // namespace

void ChatServer::HandleTopicChange(ServerConnection& sender, std::string_view fields) {
    if (sender.IsNormalUser()) return;
    SetTopic(fields);
    std::string frame = protocol::Frame(to_client::TopicText(true, topic_));
    SendToUsersWhere(frame, [](const ServerConnection& user) { return user.mainChatClosed == 0; });
}

void ChatServer::HandleMainChatLine(ServerConnection& sender, std::string_view fields) {
    if (sender.mainChatClosed != 0 || fields.size() < 2) return;
    std::string frame = protocol::Frame(to_client::MainChatMessage(sender.connectionId, CutTo(fields, kMaxLineLength)));
    SendToUsersWhere(frame, [&sender](const ServerConnection& user) {
        return user.mainChatClosed == 0 && &user != &sender && !user.HasMuted(sender.connectionId);
    });
}

void ChatServer::HandleNameChange(ServerConnection& sender, std::string_view fields) {
    std::string name = CleanText(fields, kSepAndLineBreaks, kMaxNameLength);
    if (name.empty()) return;
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
        const ServerConnection& user = *connections_[slot];
        if (user.name == name) return;
        // A user may change only the case of its own name.
        if (&user != &sender && EqualIgnoringCase(user.name, name)) return;
    }
    sender.name = name;
    SendToAllUsers(protocol::Frame(to_client::UserRenamed(sender.connectionId, name)));
}

void ChatServer::HandleStatusChange(ServerConnection& sender, std::string_view fields) {
    sender.status = std::string(CutTo(DeleteChars(fields, kLineBreaks), kMaxStatusLength));
    SendToAllUsers(protocol::Frame(to_client::UserStatusChanged(sender.connectionId, sender.status)));
}

// Any value but "0" and "1" is refused: announcing it without its level digit
// would make clients read the id's last digit as a level.
void ChatServer::HandleMainChatState(ServerConnection& sender, std::string_view fields) {
    if (fields != "0" && fields != "1") return;
    sender.mainChatClosed = fields == "1" ? 1 : 0;
    SendToAllUsers(protocol::Frame(to_client::UserModeChanged(sender.connectionId, sender.LevelDigit())));
}

void ChatServer::HandlePrivateLine(ServerConnection& sender, std::string_view fields) {
    std::size_t sep = fields.find(protocol::kSep);
    if (sep == std::string_view::npos) {
        DropForFault(sender);
        return;
    }
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields.substr(0, sep)));
    std::string_view line = fields.substr(sep + 1);
    if (target == nullptr || line.size() < 2 || target->HasMuted(sender.connectionId)) return;
    target->Send(protocol::Frame(to_client::PrivateMessage(sender.connectionId, CutTo(line, kMaxLineLength))));
}

void ChatServer::HandleFileTransferRelay(ServerConnection& sender, std::string_view fields) {
    std::size_t sep = fields.find(protocol::kSep);
    if (sep == std::string_view::npos) {
        DropForFault(sender);
        return;
    }
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields.substr(0, sep)));
    std::string_view rawPayload = fields.substr(sep + 1);
    if (target == nullptr || rawPayload.empty() || target->HasMuted(sender.connectionId)) return;
    std::string payload(CutTo(DeleteChars(rawPayload, kLineBreaks), kMaxLineLength));
    // A payload of line breaks only has no step left to relay.
    if (payload.empty()) return;
    std::string_view rest = std::string_view(payload).substr(1);
    if (payload.front() == '0') {
        target->Send(protocol::Frame(to_client::FileTransferControl(sender.connectionId, rest)));
        return;
    }
    if (payload.front() != '1') {
        DropForFault(sender);
        return;
    }
    std::size_t restSep = rest.find(protocol::kSep);
    if (restSep == std::string_view::npos) {
        DropForFault(sender);
        return;
    }
    std::string_view transferId = rest.substr(0, restSep);
    std::string_view afterId = rest.substr(restSep + 1);
    std::string_view controlCode = afterId.substr(0, 2);
    std::string_view further = afterId.substr(controlCode.size());
    std::string control;
    control.append(transferId).append(protocol::kSepText).append(controlCode);
    control.append(RelayAddress(sender, *target)).append(protocol::kSepText).append(further);
    target->Send(protocol::Frame(to_client::FileTransferControl(sender.connectionId, control)));
}

void ChatServer::HandleMuteChange(ServerConnection& sender, std::string_view fields) {
    if (fields.empty()) return;
    char mute = fields.front();
    std::string_view idText = fields.substr(1);
    int id = protocol::ReadDecimal(idText);
    if (FindConnection(id) == nullptr) return;
    if (mute == '0') {
        auto found = std::find(sender.mutedIds.begin(), sender.mutedIds.end(), id);
        if (found != sender.mutedIds.end()) sender.mutedIds.erase(found);
    } else if (mute == '1') {
        if (sender.mutedIds.size() >= kMaxMutedIds) return;
        sender.mutedIds.push_back(id);
    } else {
        return;
    }
    sender.Send(protocol::Frame(to_client::UserMuteChanged(idText, mute == '1')));
}

}  // namespace vorlan::server
