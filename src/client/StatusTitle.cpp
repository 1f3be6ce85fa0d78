#include "client/StatusTitle.h"

namespace vorlan::client {

namespace {

void AddPart(std::string& title, const std::string& part) {
    title += title.empty() ? "Vorlan - " + part : " | " + part;
}

}  // namespace

std::string UnreadCountText(int count) { return count >= kUnreadLimit ? std::string("1000+") : std::to_string(count); }

std::string ComposeStatusTitle(bool serverRunning, bool connected, int unreadCount) {
    std::string title;
    if (serverRunning) AddPart(title, "server running");
    if (connected) AddPart(title, "connected");
    if (unreadCount == 1) {
        AddPart(title, "1 new message");
    } else if (unreadCount >= 2) {
        AddPart(title, UnreadCountText(unreadCount) + " new messages");
    }
    return title.empty() ? std::string("Vorlan") : title;
}

}  // namespace vorlan::client
