// What the client does with each message from its server, one handler per code.
#include "client/ClientSession.h"

#include "client/ServerMessageReader.h"
#include "client/StatusTitle.h"
#include "conversation/ChatLine.h"
#include "conversation/ChatLines.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;
using conversation::ChatLine;

const std::array<ClientSession::Handler, 21> ClientSession::kHandlers = {
    &ClientSession::OnUserEntry,            // "00"
    &ClientSession::OnUserJoined,           // "01"
    &ClientSession::OnUserLeft,             // "02"
    &ClientSession::OnTopicText,            // "03"
    &ClientSession::OnMainChatMessage,      // "04"
    &ClientSession::OnUserRenamed,          // "05"
    &ClientSession::OnUserStatusChanged,    // "06"
    &ClientSession::OnUserModeChanged,      // "07"
    &ClientSession::OnAdminGranted,         // "08"
    &ClientSession::OnAdminRevoked,         // "09"
    &ClientSession::OnUserAddress,          // "10"
    &ClientSession::OnProfileQuery,         // "11"
    &ClientSession::OnProfileInfo,          // "12"
    &ClientSession::OnPrivateMessage,       // "13"
    &ClientSession::OnFileTransferControl,  // "14"
    &ClientSession::OnVersionQuery,         // "15"
    &ClientSession::OnUserVersion,          // "16"
    &ClientSession::OnUserMuteChanged,      // "17"
    &ClientSession::OnUserRemoved,          // "18"
    &ClientSession::OnConnectionEntry,      // "19"
    &ClientSession::OnBanEntry,             // "20"
};

void ClientSession::HandleServerMessage(std::string_view message) {
    if (message.size() < 2 || !reader::IsDigitIn(message[0], '0', '2') || !reader::IsDigitIn(message[1], '0', '9')) {
        return;
    }
    const std::size_t code = static_cast<std::size_t>((message[0] - '0') * 10 + (message[1] - '0'));
    if (code >= kHandlers.size()) return;
    (this->*kHandlers[code])(message.substr(2), message);
}

// ---- helpers ----------------------------------------------------------------------------

void ClientSession::WriteMainEvent(int id, const std::string& event) {
    conversation::WriteEventLine(Lines(), views_.mainView, &mainLog_, users_.UserName(id), users_.UserColour(id),
                                 event);
}

void ClientSession::CountUnreadLine() {
    if (views_.mainWindow.IsMainWindowVisible() || unreadCount_ >= kUnreadLimit) return;
    ++unreadCount_;
    UpdateTitle();
}

void ClientSession::UserGone(int id) {
    const std::string name = users_.UserName(id);
    const std::uint32_t colour = users_.UserColour(id);
    for (PrivateChat* chat : privateChats_.All()) {
        if (chat->peerId() == id) PrivateChatGoesOffline(*chat, name, colour);
    }
    views_.transfers.CancelTransfersWith(id);
    users_.RemoveUser(id);
}

// ---- users -----------------------------------------------------------------------------

void ClientSession::OnUserEntry(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || entry->rest.empty() || !reader::IsDigitIn(entry->rest[0], '0', '7')) return;
    const int level = entry->rest[0] - '0';
    std::string_view rest = entry->rest.substr(1);
    auto name = reader::TakeField(rest);
    if (!name || rest.empty()) return;
    const bool own = rest.back() == '1';
    rest.remove_suffix(1);
    users_.AddUser(entry->id, level, false, false, std::string(*name), std::string(rest));
    if (own) {
        ownId_ = entry->id;
        if (UserTree::IsAdminLevel(level)) InstallAdminMenus();
    }
    RebindPrivateChats(entry->id);
}

void ClientSession::OnUserJoined(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || entry->rest.empty() || !reader::IsDigitIn(entry->rest[0], '0', '3')) return;
    const std::string name(entry->rest.substr(1));
    users_.AddUser(entry->id, entry->rest[0] - '0', false, false, name, "Available");
    const std::string event = " has joined the server.";
    if (menu_.IsMainChatOpen()) WriteMainEvent(entry->id, event);
    views_.popups.ShowPopup(name + event, 0, 0);
    RebindPrivateChats(entry->id);
}

void ClientSession::OnUserLeft(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id) || entry->rest.size() != 1) return;
    const char reason = entry->rest[0];
    if (reason != '0' && reason != '1') return;
    const std::string event = reason == '0' ? " has left the server." : " has lost the connection.";
    if (menu_.IsMainChatOpen()) WriteMainEvent(entry->id, event);
    views_.popups.ShowPopup(users_.UserName(entry->id) + event, 0, 0);
    UserGone(entry->id);
}

void ClientSession::OnUserRenamed(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    const std::string oldName = users_.UserName(entry->id);
    const std::string newName(entry->rest);
    const std::uint32_t colour = users_.UserColour(entry->id);
    const std::string label = " changed name to: ";
    conversation::WriteEventValueLine(Lines(), views_.mainView, &mainLog_, oldName, colour, label, newName, colour);
    users_.RenameUser(entry->id, newName);
    for (PrivateChat* chat : privateChats_.All()) {
        if (chat->peerId() != entry->id) continue;
        chat->UpdateCaption(newName);
        conversation::WriteEventValueLine(Lines(), chat->View(), &chat->Log(), oldName, colour, label, newName, colour);
    }
}

void ClientSession::OnUserStatusChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    const std::string status(entry->rest);
    users_.SetUserStatus(entry->id, status);
    for (PrivateChat* chat : privateChats_.All()) {
        if (chat->peerId() != entry->id) continue;
        conversation::WriteEventValueLine(Lines(), chat->View(), &chat->Log(), users_.UserName(entry->id),
                                          users_.UserColour(entry->id), " changed status to: ", status,
                                          MessageColour());
    }
}

void ClientSession::OnUserModeChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdThenLastDigit(body);
    if (!entry || !users_.HasUser(entry->id) || !reader::IsDigitIn(entry->digit, '0', '7')) return;
    const int level = entry->digit - '0';
    if (entry->id == ownId_) {
        conversation::WriteNotice(Lines(), views_.mainView, &mainLog_,
                                  level >= kMainChatClosedOffset ? "Main chat closed." : "Main chat opened.");
    }
    users_.SetUserLevel(entry->id, level);
}

void ClientSession::OnAdminGranted(std::string_view body, std::string_view) {
    auto id = reader::IdOnly(body);
    if (!id || !users_.HasUser(*id)) return;
    if (*id == ownId_) InstallAdminMenus();
    const int level = users_.UserLevel(*id);
    if (level == kLevelNormalUser || level == kLevelNormalUser + kMainChatClosedOffset) {
        users_.MoveUser(*id, level - 1);
    }
}

void ClientSession::OnAdminRevoked(std::string_view body, std::string_view) {
    auto id = reader::IdOnly(body);
    if (!id || !users_.HasUser(*id)) return;
    if (*id == ownId_) RemoveAdminMenus();
    const int level = users_.UserLevel(*id);
    if (level == kLevelNormalAdmin || level == kLevelNormalAdmin + kMainChatClosedOffset) {
        users_.MoveUser(*id, level + 1);
    }
}

void ClientSession::OnUserMuteChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdThenLastDigit(body);
    if (!entry || !users_.HasUser(entry->id) || !reader::IsDigitIn(entry->digit, '0', '1')) return;
    users_.SetServerMuted(entry->id, entry->digit == '1');
}

void ClientSession::OnUserRemoved(std::string_view body, std::string_view) {
    int id = 0;
    int byId = 0;
    char kind = 0;
    if (auto entry = reader::IdBeforeSep(body)) {
        if (entry->rest.size() < 2) return;
        kind = entry->rest[0];
        byId = protocol::ReadDecimal(entry->rest.substr(1));
        if (!users_.HasUser(entry->id) || byId <= 0 || !users_.HasUser(byId)) return;
        id = entry->id;
    } else if (body.find(protocol::kSep) != std::string_view::npos) {
        return;  // a SEP with a bad id in front of it
    } else if (auto shortForm = reader::IdThenLastDigit(body)) {
        if (!users_.HasUser(shortForm->id)) return;
        id = shortForm->id;
        kind = shortForm->digit;
    } else {
        return;
    }
    if (kind != '0' && kind != '1') return;
    const std::string name = users_.UserName(id);
    const std::string how = kind == '0' ? " has been kicked" : " has been banned";
    if (byId > 0) {
        const std::string admin = users_.UserName(byId);
        if (menu_.IsMainChatOpen()) {
            ChatLine::Indented(Lines())
                .Add(name, users_.UserColour(id))
                .Add(how + " by ", lines_.noticeColor)
                .Add(admin, users_.UserColour(byId))
                .Add(".", lines_.noticeColor)
                .WriteTo(views_.mainView, &mainLog_);
        }
        views_.popups.ShowPopup(name + how + " by " + admin, 0, 0);
    } else {
        if (menu_.IsMainChatOpen()) WriteMainEvent(id, how + ".");
        views_.popups.ShowPopup(name + how + ".", 0, 0);
    }
    UserGone(id);
}

// ---- main chat ---------------------------------------------------------------------------

void ClientSession::OnTopicText(std::string_view body, std::string_view) {
    if (body.empty() || (body[0] != '0' && body[0] != '1')) return;
    const std::string topic(body.substr(1));
    if (body[0] == '0') {
        ChatLine::Plain(Lines())
            .Add("Topic:", lines_.textColor, true)
            .Add(" ", lines_.textColor)
            .Add(topic, MessageColour())
            .WriteTo(views_.mainView, &mainLog_);
        recent_.SetRecentServerNote(serverAddress_, topic);
    } else {
        ChatLine::Indented(Lines())
            .Add("Topic changed to: ", lines_.textColor)
            .Add(topic, MessageColour())
            .WriteTo(views_.mainView, &mainLog_);
    }
}

void ClientSession::OnMainChatMessage(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id) || entry->rest.empty()) return;
    const char kind = entry->rest[0];
    const std::string text(entry->rest.substr(1));
    const std::string name = users_.UserName(entry->id);
    const std::uint32_t colour = users_.UserColour(entry->id);
    switch (kind) {
        case to_server::kPlainLine:
            conversation::WriteReceivedChatLine(Lines(), views_.mainView, &mainLog_, name, colour, text,
                                                MessageColour());
            CountUnreadLine();
            break;
        case to_server::kActionLine:
            conversation::WriteReceivedActionLine(Lines(), views_.mainView, &mainLog_, name, colour, " ", text,
                                                  MessageColour());
            CountUnreadLine();
            break;
        case to_server::kSaysLine:
            conversation::WriteReceivedActionLine(Lines(), views_.mainView, &mainLog_, name, colour, " says: ", text,
                                                  MessageColour());
            views_.popups.ShowPopup(name + " says: " + text, 0, 0);
            break;
        default: break;
    }
}

void ClientSession::OnUserAddress(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    conversation::WriteEventValueLine(Lines(), views_.mainView, &mainLog_, users_.UserName(entry->id),
                                      users_.UserColour(entry->id), "'s IP address: ", std::string(entry->rest),
                                      MessageColour());
}

void ClientSession::OnUserVersion(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    conversation::WriteEventValueLine(Lines(), views_.mainView, &mainLog_, users_.UserName(entry->id),
                                      users_.UserColour(entry->id), "'s version: ", std::string(entry->rest),
                                      MessageColour());
}

// ---- queries and replies ---------------------------------------------------------------

void ClientSession::OnProfileQuery(std::string_view body, std::string_view) {
    const std::array<std::string, 9> fields = {profile_.name,     profile_.email,      profile_.country,
                                               profile_.homePage, profile_.interests,  profile_.gender,
                                               profile_.birthday, profile_.pictureUrl, statusText_};
    SendMessage(to_server::ProfileReply(body, fields));
}

void ClientSession::OnVersionQuery(std::string_view body, std::string_view) {
    SendMessage(to_server::VersionReply(body));
}

void ClientSession::OnProfileInfo(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    views_.info.ShowInfoWindow();
    views_.info.SetInfoCaption(users_.UserName(entry->id) + "'s info");
    infoUserId_ = entry->id;
    views_.info.SetInfoUserId(entry->id);
    std::string_view rest = entry->rest;
    for (int index = 0; index < kInfoFieldCount; ++index) {
        // The status, the last field, may itself hold SEP.
        if (index == kInfoFieldCount - 1) {
            views_.info.SetInfoField(index, std::string(rest));
            break;
        }
        auto field = reader::TakeField(rest);
        if (!field) {
            views_.info.SetInfoField(index, std::string(rest));  // the last field present
            break;
        }
        views_.info.SetInfoField(index, std::string(*field));
    }
}

void ClientSession::OnPrivateMessage(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id) || entry->rest.empty()) return;
    const char kind = entry->rest[0];
    if (kind != to_server::kPlainLine && kind != to_server::kActionLine && kind != to_server::kSaysLine) return;
    ReceivePrivateLine(entry->id, kind, std::string(entry->rest.substr(1)));
}

void ClientSession::OnFileTransferControl(std::string_view body, std::string_view message) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !users_.HasUser(entry->id)) return;
    views_.transfers.OnFileTransferControl(std::string(message));
}

// ---- admin lists -----------------------------------------------------------------------

void ClientSession::OnConnectionEntry(std::string_view body, std::string_view) {
    if (!views_.remoteConnections.IsOpen() || body.empty()) return;
    std::string_view rest = body.substr(1);
    auto idText = reader::TakeField(rest);
    if (!idText) return;
    if (body[0] == '1') views_.remoteConnections.ClearRows();
    const int id = protocol::ReadDecimal(*idText);
    RemoteConnectionRow row;
    row.id = id;
    if (const UserRow* user = users_.Find(id)) {
        row.group = user->group;
        row.label = user->name + " - " + std::string(rest);
        row.colour = user->colour;
        row.locallyMuted = user->locallyMuted;
        row.serverMuted = user->serverMuted;
    } else {
        row.group = kTopLevel;
        row.label = std::to_string(id) + " - " + std::string(rest);
        row.colour = Colour(9);
    }
    views_.remoteConnections.AddRow(row);
}

void ClientSession::OnBanEntry(std::string_view body, std::string_view) {
    if (!views_.remoteBanList.IsOpen() || body.empty()) return;
    std::string_view rest = body.substr(1);
    auto number = reader::TakeField(rest);
    if (!number) return;
    if (body[0] == '1') views_.remoteBanList.ClearRows();
    std::string label(rest);
    std::string_view afterAddress = rest;
    if (auto address = reader::TakeField(afterAddress))
        label = std::string(*address) + " - " + std::string(afterAddress);
    views_.remoteBanList.AddRow(protocol::ReadDecimal(*number), label);
}

}  // namespace vorlan::client
