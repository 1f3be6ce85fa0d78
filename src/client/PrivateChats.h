#pragma once

#include <cstdint>
#include <string>

#include "client/PrivateChatList.h"

namespace vorlan::client {

class ClientSession;

// The private chats, kept in step with their partners: opened by the user or
// by a first line, counting unread lines, going offline with their partner and
// coming back with a user of the same name, each with its own log.
class PrivateChats {
public:
    explicit PrivateChats(ClientSession& session) : session_(session) {}

    const PrivateChatList& List() const { return chats_; }

    void Open(int userId);
    void OnWindowActivated(const PrivateChatWindowView* window);
    void Close(const PrivateChatWindowView* window);
    PrivateChat* FindByWindow(const PrivateChatWindowView* window) const { return chats_.FindByWindow(window); }

    // A line from `id`: "0" plain, "1" action, "2" says.
    void ReceiveLine(int id, char kind, const std::string& text);
    // A user came online: offline chats with that name are its again.
    void Rebind(int id);
    // A user left: its chats go offline.
    void UserGone(int id);
    // The connection ended: every chat goes offline.
    void MarkAllOffline();
    // A user's new name, in the captions and lines of its chats.
    void UserRenamed(int id, const std::string& oldName, const std::string& newName);
    void UserStatusChanged(int id, const std::string& status);
    // Shut-down: every log gets its session-close line and every window goes.
    void CloseAll();

private:
    // The chat's view, in the receive's batch when one is open.
    conversation::ChatView& ViewOf(PrivateChat& chat);
    PrivateChat& Create(int userId, int newLineCount);
    PrivateChat& Reuse(int userId);
    void GoOffline(PrivateChat& chat, const std::string& name, std::uint32_t colour);

    ClientSession& session_;
    PrivateChatList chats_;
};

}  // namespace vorlan::client
