#pragma once

#include <string>

namespace vorlan::client {

// Unread counters stop growing here; the title and captions then show "1000+".
inline constexpr int kUnreadLimit = 1001;

// n in decimal, or "1000+" from kUnreadLimit on.
std::string UnreadCountText(int count);

// The status title shown in the tray tip ("Vorlan - server running | connected
// | 3 new messages", ...; "Vorlan" when nothing applies).
std::string ComposeStatusTitle(bool serverRunning, bool connected, int unreadCount);

}  // namespace vorlan::client
