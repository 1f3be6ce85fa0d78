// Users joining, leaving, changing and being removed, as the server reports them.
#include "client/ServerMessages.h"

#include "client/ClientSession.h"
#include "client/ServerMessageReader.h"
#include "conversation/ChatLines.h"

namespace vorlan::client {

using conversation::LineBuilder;

void ServerMessages::OnUserEntry(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || entry->rest.empty() || !reader::IsDigitIn(entry->rest[0], '0', '7')) return;
    const int level = entry->rest[0] - '0';
    std::string_view rest = entry->rest.substr(1);
    auto name = reader::TakeField(rest);
    if (!name || rest.empty()) return;
    const bool own = rest.back() == '1';
    rest.remove_suffix(1);
    session_.users_.AddUser(entry->id, level, false, false, std::string(*name), std::string(rest));
    if (own) {
        session_.state_.ownId = entry->id;
        if (UserTree::IsAdminLevel(level)) session_.SetAdmin(true);
        session_.StateChanged();
    }
    session_.privateChats_.Rebind(entry->id);
}

void ServerMessages::OnUserJoined(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || entry->rest.empty() || !reader::IsDigitIn(entry->rest[0], '0', '3')) return;
    const std::string name(entry->rest.substr(1));
    session_.users_.AddUser(entry->id, entry->rest[0] - '0', false, false, name, "Available");
    const std::string event = " has joined the server.";
    if (session_.state_.mainChatOpen) WriteMainEvent(entry->id, event);
    session_.ShowPopup(name + event, 0, 0);
    session_.privateChats_.Rebind(entry->id);
}

void ServerMessages::OnUserLeft(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id) || entry->rest.size() != 1) return;
    const char reason = entry->rest[0];
    if (reason != '0' && reason != '1') return;
    const std::string event = reason == '0' ? " has left the server." : " has lost the connection.";
    if (session_.state_.mainChatOpen) WriteMainEvent(entry->id, event);
    session_.ShowPopup(session_.users_.UserName(entry->id) + event, 0, 0);
    UserGone(entry->id);
}

void ServerMessages::OnUserRenamed(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    const std::string oldName = session_.users_.UserName(entry->id);
    const std::string newName(entry->rest);
    const std::uint32_t colour = session_.users_.UserColour(entry->id);
    const std::string label = " changed name to: ";
    conversation::WriteEventValueLine(session_.Lines(), session_.views_.mainView, &session_.mainLog_, oldName, colour,
                                      label, newName, colour);
    session_.users_.RenameUser(entry->id, newName);
    session_.privateChats_.UserRenamed(entry->id, oldName, newName);
}

void ServerMessages::OnUserStatusChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdBeforeSep(body);
    if (!entry || !session_.users_.HasUser(entry->id)) return;
    const std::string status(entry->rest);
    session_.users_.SetUserStatus(entry->id, status);
    session_.privateChats_.UserStatusChanged(entry->id, status);
}

void ServerMessages::OnUserModeChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdThenLastDigit(body);
    if (!entry || !session_.users_.HasUser(entry->id) || !reader::IsDigitIn(entry->digit, '0', '7')) return;
    const int level = entry->digit - '0';
    if (entry->id == session_.state_.ownId) {
        conversation::WriteNotice(session_.Lines(), session_.views_.mainView, &session_.mainLog_,
                                  level >= kMainChatClosedOffset ? "Main chat closed." : "Main chat opened.");
    }
    session_.users_.SetUserLevel(entry->id, level);
}

void ServerMessages::OnAdminGranted(std::string_view body, std::string_view) {
    auto id = reader::IdOnly(body);
    if (!id || !session_.users_.HasUser(*id)) return;
    if (*id == session_.state_.ownId) session_.SetAdmin(true);
    const int level = session_.users_.UserLevel(*id);
    if (level == kLevelNormalUser || level == kLevelNormalUser + kMainChatClosedOffset) {
        session_.users_.MoveUser(*id, level - 1);
    }
}

void ServerMessages::OnAdminRevoked(std::string_view body, std::string_view) {
    auto id = reader::IdOnly(body);
    if (!id || !session_.users_.HasUser(*id)) return;
    if (*id == session_.state_.ownId) session_.SetAdmin(false);
    const int level = session_.users_.UserLevel(*id);
    if (level == kLevelNormalAdmin || level == kLevelNormalAdmin + kMainChatClosedOffset) {
        session_.users_.MoveUser(*id, level + 1);
    }
}

void ServerMessages::OnUserMuteChanged(std::string_view body, std::string_view) {
    auto entry = reader::IdThenLastDigit(body);
    if (!entry || !session_.users_.HasUser(entry->id) || !reader::IsDigitIn(entry->digit, '0', '1')) return;
    session_.users_.SetServerMuted(entry->id, entry->digit == '1');
}

void ServerMessages::OnUserRemoved(std::string_view body, std::string_view) {
    int id = 0;
    int byId = 0;
    char kind = 0;
    if (auto entry = reader::IdBeforeSep(body)) {
        if (entry->rest.size() < 2) return;
        kind = entry->rest[0];
        byId = protocol::ReadDecimal(entry->rest.substr(1));
        if (!session_.users_.HasUser(entry->id) || byId <= 0 || !session_.users_.HasUser(byId)) return;
        id = entry->id;
    } else if (body.find(protocol::kSep) != std::string_view::npos) {
        return;  // a SEP with a bad id in front of it
    } else if (auto shortForm = reader::IdThenLastDigit(body)) {
        if (!session_.users_.HasUser(shortForm->id)) return;
        id = shortForm->id;
        kind = shortForm->digit;
    } else {
        return;
    }
    if (kind != '0' && kind != '1') return;
    const std::string name = session_.users_.UserName(id);
    const std::string how = kind == '0' ? " has been kicked" : " has been banned";
    if (byId > 0) {
        const std::string admin = session_.users_.UserName(byId);
        if (session_.state_.mainChatOpen) {
            LineBuilder::Indented(session_.Lines())
                .Add(name, session_.users_.UserColour(id))
                .Add(how + " by ", session_.Lines().noticeColor)
                .Add(admin, session_.users_.UserColour(byId))
                .Add(".", session_.Lines().noticeColor)
                .WriteTo(session_.views_.mainView, &session_.mainLog_);
        }
        session_.ShowPopup(name + how + " by " + admin, 0, 0);
    } else {
        if (session_.state_.mainChatOpen) WriteMainEvent(id, how + ".");
        session_.ShowPopup(name + how + ".", 0, 0);
    }
    UserGone(id);
}

}  // namespace vorlan::client
