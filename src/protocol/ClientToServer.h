#pragma once

#include <array>
#include <string>
#include <string_view>

// Builders for the messages a client sends to its server. Each returns the
// message text without its terminating zero byte; frame it with Frame or
// AppendFrame before it goes on the wire.
namespace vorlan::protocol::to_server {

// Kinds of a chat line, the character right after the code of "02" and "11".
inline constexpr char kPlainLine = '0';
inline constexpr char kActionLine = '1';
inline constexpr char kSaysLine = '2';

// The version text this program reports.
inline constexpr std::string_view kVersionText{"1.17"};

std::string Login(std::string_view name, std::string_view password);  // "00"
std::string TopicChange(std::string_view topic);                      // "01"
std::string MainChatLine(char kind, std::string_view text);           // "02"
std::string NameChange(std::string_view name);                        // "03"
std::string StatusChange(std::string_view status);                    // "04"
std::string MainChatState(bool closed);                               // "05"
std::string EnableAdmin(int target);                                  // "06"
std::string DisableAdmin(int target);                                 // "07"
std::string AddressRequest(int target);                               // "08"
std::string ProfileRequest(int target);                               // "09"
// `requester` is copied as received in the query; `fields` are the eight
// profile fields followed by the current status text.
std::string ProfileReply(std::string_view requester, const std::array<std::string, 9>& fields);  // "10"
std::string PrivateLine(int target, char kind, std::string_view text);                           // "11"
std::string FileTransferRelay(int target, std::string_view payload);                             // "12"
std::string VersionRequest(int target);                                                          // "13"
std::string VersionReply(std::string_view requester, std::string_view version = kVersionText);   // "14"
std::string MuteChange(bool mute, int target);                                                   // "15"
std::string KickUser(int target);                                                                // "16"
// A user id in decimal or an address to ban.
std::string BanUser(std::string_view targetOrAddress);                           // "17"
std::string BanUser(int target);                                                 // "17"
std::string ConnectionsRequest();                                                // "18"
std::string BanListRequest();                                                    // "19"
std::string BanListRemove(int banId);                                            // "20" id "0"
std::string BanListAdd(std::string_view address, std::string_view description);  // "20" address SEP description "1"

}  // namespace vorlan::protocol::to_server
