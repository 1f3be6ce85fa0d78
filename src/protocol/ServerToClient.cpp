#include "protocol/ServerToClient.h"

#include "protocol/Framing.h"

namespace vorlan::protocol::to_client {
namespace {

// Appends the parts in order; keeps each builder one readable line.
template <typename... Parts>
std::string Join(Parts&&... parts) {
    std::string out;
    (out.append(std::string_view(parts)), ...);
    return out;
}

std::string Digit(int value) { return std::string(1, static_cast<char>('0' + value)); }
std::string Flag(bool value) { return value ? "1" : "0"; }
std::string Decimal(int value) { return std::to_string(value); }

}  // namespace

std::string UserEntry(int id, int levelDigit, std::string_view name, std::string_view status, bool own) {
    return Join("00", Decimal(id), kSepText, Digit(levelDigit), name, kSepText, status, Flag(own));
}

std::string UserJoined(int id, int levelDigit, std::string_view name) {
    return Join("01", Decimal(id), kSepText, Digit(levelDigit), name);
}

std::string UserLeft(int id, bool connectionLost) { return Join("02", Decimal(id), kSepText, Flag(connectionLost)); }

std::string TopicText(bool changed, std::string_view topic) { return Join("03", Flag(changed), topic); }

std::string MainChatMessage(int id, std::string_view kindAndText) {
    return Join("04", Decimal(id), kSepText, kindAndText);
}

std::string UserRenamed(int id, std::string_view name) { return Join("05", Decimal(id), kSepText, name); }

std::string UserStatusChanged(int id, std::string_view status) { return Join("06", Decimal(id), kSepText, status); }

std::string UserModeChanged(int id, int levelDigit) { return Join("07", Decimal(id), Digit(levelDigit)); }

std::string AdminGranted(std::string_view idText) { return Join("08", idText); }

std::string AdminRevoked(std::string_view idText) { return Join("09", idText); }

std::string UserAddress(std::string_view idText, std::string_view address) {
    return Join("10", idText, kSepText, address);
}

std::string ProfileQuery(int requester) { return Join("11", Decimal(requester)); }

std::string ProfileInfo(int id, const std::array<std::string_view, 9>& fields) {
    std::string out = Join("12", Decimal(id));
    for (std::string_view field : fields) {
        out.append(kSepText);
        out.append(field);
    }
    return out;
}

std::string PrivateMessage(int id, std::string_view kindAndText) {
    return Join("13", Decimal(id), kSepText, kindAndText);
}

std::string FileTransferControl(int senderId, std::string_view control) {
    return Join("14", Decimal(senderId), kSepText, control);
}

std::string VersionQuery(int requester) { return Join("15", Decimal(requester)); }

std::string UserVersion(int id, std::string_view version) { return Join("16", Decimal(id), kSepText, version); }

std::string UserMuteChanged(std::string_view idText, bool muted) { return Join("17", idText, Flag(muted)); }

std::string UserRemoved(std::string_view idText, bool banned, int byId) {
    return Join("18", idText, kSepText, Flag(banned), Decimal(byId));
}

std::string UserDropped(int id) { return Join("18", Decimal(id), "0"); }

std::string ConnectionEntry(bool first, int id, std::string_view address) {
    return Join("19", Flag(first), Decimal(id), kSepText, address);
}

std::string BanEntry(bool first, int banId, std::string_view address, std::string_view description) {
    std::string out = Join("20", Flag(first), Decimal(banId), kSepText, address);
    if (!description.empty()) {
        out.append(kSepText);
        out.append(description);
    }
    return out;
}

}  // namespace vorlan::protocol::to_client
