#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan::client {

class ClientSession;

// What the client does with each message from its server: one handler per
// code, grouped by topic in UserMessages.cpp, ChatMessages.cpp,
// QueryMessages.cpp and AdminListMessages.cpp. A message whose fields do not
// read, or that names a user the client does not know, is dropped.
class ServerMessages {
public:
    explicit ServerMessages(ClientSession& session) : session_(session) {}

    // One whole message without its zero byte.
    void Handle(std::string_view message);

private:
    using Handler = void (ServerMessages::*)(std::string_view body, std::string_view message);
    static const std::array<Handler, 21> kHandlers;

    // Users (UserMessages.cpp).
    void OnUserEntry(std::string_view body, std::string_view message);
    void OnUserJoined(std::string_view body, std::string_view message);
    void OnUserLeft(std::string_view body, std::string_view message);
    void OnUserRenamed(std::string_view body, std::string_view message);
    void OnUserStatusChanged(std::string_view body, std::string_view message);
    void OnUserModeChanged(std::string_view body, std::string_view message);
    void OnAdminGranted(std::string_view body, std::string_view message);
    void OnAdminRevoked(std::string_view body, std::string_view message);
    void OnUserMuteChanged(std::string_view body, std::string_view message);
    void OnUserRemoved(std::string_view body, std::string_view message);
    // Chat lines (ChatMessages.cpp).
    void OnTopicText(std::string_view body, std::string_view message);
    void OnMainChatMessage(std::string_view body, std::string_view message);
    void OnPrivateMessage(std::string_view body, std::string_view message);
    // Queries and their answers (QueryMessages.cpp).
    void OnUserAddress(std::string_view body, std::string_view message);
    void OnProfileQuery(std::string_view body, std::string_view message);
    void OnProfileInfo(std::string_view body, std::string_view message);
    void OnFileTransferControl(std::string_view body, std::string_view message);
    void OnVersionQuery(std::string_view body, std::string_view message);
    void OnUserVersion(std::string_view body, std::string_view message);
    // The admin windows' lists (AdminListMessages.cpp).
    void OnConnectionEntry(std::string_view body, std::string_view message);
    void OnBanEntry(std::string_view body, std::string_view message);

    // "<name><event>" in the main view and log.
    void WriteMainEvent(int id, const std::string& event);
    // A user left or was removed: its private chats go offline, its transfers
    // end and its row goes.
    void UserGone(int id);
    // A query's requester: the body as received when it is a known user's id.
    bool IsKnownRequester(std::string_view body) const;

    ClientSession& session_;
};

}  // namespace vorlan::client
