#include "OperatorLog.h"

#include "ConsoleObserver.h"
#include "server/ServerConnection.h"

namespace vorlan::tools {
namespace {

const char* LevelName(int level) {
    switch (level) {
        case server::kHost: return "Host";
        case server::kSuperAdmin: return "Super admin";
        case server::kNormalAdmin: return "Normal admin";
        default: return "Normal user";
    }
}

std::string Quoted(std::string_view text) { return "\"" + Printable(text) + "\""; }

// `User 3 "alice" (10.0.0.5)`, or `Connection 3 (10.0.0.5)` before log-in.
std::string Subject(const server::ServerConnection& connection) {
    std::string id = std::to_string(connection.connectionId);
    std::string address = " (" + Printable(connection.peerAddress) + ")";
    if (!connection.IsLoggedIn()) return "Connection " + id + address;
    return "User " + id + " " + Quoted(connection.name) + address;
}

std::string ByWhom(const server::ServerConnection* by) {
    if (by == nullptr) return "";
    return " by user " + std::to_string(by->connectionId) + " " + Quoted(by->name);
}

const char* RemovalText(server::ServerEvents::Removal reason) {
    using Removal = server::ServerEvents::Removal;
    switch (reason) {
        case Removal::Left: return " left.";
        case Removal::Lost: return " lost its connection.";
        case Removal::WrongPassword: return " refused: wrong password.";
        case Removal::Fault: return " dropped: protocol fault.";
        case Removal::Flood: return " dropped: flood.";
        case Removal::Unread: return " dropped: does not read what it is sent.";
        case Removal::Kicked: return " kicked";
        case Removal::Banned: return " banned";
        case Removal::Dropped: return " dropped.";
    }
    return ".";
}

}  // namespace

std::string Printable(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '\\') {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xf]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void OperatorLog::Write(const std::string& text) { WriteLogLine(out_, text); }

void OperatorLog::OnConnectionRefused(std::string_view address, Refusal reason) {
    if (reason == Refusal::Banned) {
        Write("Connection from " + Printable(address) + " refused: banned.");
    } else if (address.empty()) {
        Write("Connection refused: the server is full; it waits until a client leaves.");
    } else {
        Write("Connection from " + Printable(address) + " refused: the server is full.");
    }
}

void OperatorLog::OnConnectionAccepted(const server::ServerConnection& connection) {
    Write("Connection " + std::to_string(connection.connectionId) + " from " + Printable(connection.peerAddress) +
          " accepted.");
}

void OperatorLog::OnUserLoggedIn(const server::ServerConnection& user) {
    Write("User " + std::to_string(user.connectionId) + " " + Quoted(user.name) + " logged in from " +
          Printable(user.peerAddress) + " as " + LevelName(user.level) + ".");
}

void OperatorLog::OnConnectionRemoved(const server::ServerConnection& connection, Removal reason,
                                      const server::ServerConnection* by) {
    std::string line = Subject(connection) + RemovalText(reason);
    if (reason == Removal::Kicked || reason == Removal::Banned) line += ByWhom(by) + ".";
    Write(line);
}

void OperatorLog::OnBanListChanged(BanChange change, const storage::BanEntry& entry,
                                   const server::ServerConnection* by) {
    std::string line = "Ban " + std::to_string(entry.banId);
    if (change == BanChange::Added) line += " added";
    if (change == BanChange::Removed) line += " removed";
    if (change == BanChange::Evicted) line += " removed to make room";
    line += ": " + Printable(entry.address);
    if (!entry.description.empty()) line += " " + Quoted(entry.description);
    if (change != BanChange::Evicted) line += ByWhom(by);
    Write(line + ".");
}

}  // namespace vorlan::tools
