#pragma once

#include <array>
#include <string>
#include <string_view>

// Builders for the messages a server sends to its clients. Each returns the
// message text without its terminating zero byte; frame it with Frame or
// AppendFrame before it goes on the wire.
//
// Ids the server produces itself are ints; where the server repeats a field as
// the client sent it (the "as received" ids), the builder takes the text.
namespace vorlan::protocol::to_client {

// "00": one entry of the user list sent at log-in; `own` marks the receiver itself.
std::string UserEntry(int id, int levelDigit, std::string_view name, std::string_view status, bool own);
// "01"
std::string UserJoined(int id, int levelDigit, std::string_view name);
// "02": R "1" when the connection broke, "0" when the user left.
std::string UserLeft(int id, bool connectionLost);
// "03": K "0" the topic at log-in, "1" a changed topic.
std::string TopicText(bool changed, std::string_view topic);
// "04": `kindAndText` is the kind character followed by the line.
std::string MainChatMessage(int id, std::string_view kindAndText);
// "05"
std::string UserRenamed(int id, std::string_view name);
// "06"
std::string UserStatusChanged(int id, std::string_view status);
// "07": the level digit directly after the id.
std::string UserModeChanged(int id, int levelDigit);
// "08" and "09": the target as the requester wrote it.
std::string AdminGranted(std::string_view idText);
std::string AdminRevoked(std::string_view idText);
// "10"
std::string UserAddress(std::string_view idText, std::string_view address);
// "11"
std::string ProfileQuery(int requester);
// "12": name, e-mail, country, home page, interests, gender, birthday, picture, status.
std::string ProfileInfo(int id, const std::array<std::string_view, 9>& fields);
// "13"
std::string PrivateMessage(int id, std::string_view kindAndText);
// "14": `control` is the transfer step as the receiving client reads it.
std::string FileTransferControl(int senderId, std::string_view control);
// "15"
std::string VersionQuery(int requester);
// "16"
std::string UserVersion(int id, std::string_view version);
// "17": M "1" muted, "0" unmuted, as the last character.
std::string UserMuteChanged(std::string_view idText, bool muted);
// "18" long form: kicked (K "0") or banned (K "1") by an admin.
std::string UserRemoved(std::string_view idText, bool banned, int byId);
// "18" short form: dropped by the server itself for a protocol fault or a flood.
std::string UserDropped(int id);
// "19": one row of the connection list; `first` starts a fresh list.
std::string ConnectionEntry(bool first, int id, std::string_view address);
// "20": one row of the ban list; the description only when it is not empty.
std::string BanEntry(bool first, int banId, std::string_view address, std::string_view description);

}  // namespace vorlan::protocol::to_client
