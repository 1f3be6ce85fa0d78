#pragma once

// Command ids of the main menu, the user menu and the tray menu items. This
// file is their one source: the resource compiler reads the macros for the
// menus of resources/Vorlan.rc, and the core and the windows use the
// constants below, made from the same macros. Plain macros and nothing else
// while the resource compiler reads it.

// Main menu "Vorlan".
#define ID_START_SERVER 32771
#define ID_CONNECT_LOCAL_SERVER 32772
#define ID_CONNECT_TO_SERVER 32773
#define ID_EDIT_PROFILE 32774
#define ID_OPTIONS 32775
#define ID_MAIN_CHAT_TOGGLE 32776
#define ID_LISTENING_TOGGLE 32777
#define ID_END_SERVER 32778
#define ID_END_CONNECTION 32779
#define ID_EXIT 32780
#define ID_GO_TO_CHAT_LOGS 32828

// The "Set status" sub-menu has no command id; it is found by its position in
// the "Vorlan" menu.
#define SET_STATUS_MENU_POSITION 8
#define ID_STATUS_AVAILABLE 32792
#define ID_STATUS_BUSY 32793
#define ID_STATUS_BE_RIGHT_BACK 32794
#define ID_STATUS_AWAY 32795
#define ID_STATUS_CUSTOM 32796

// Main menu "Help", also in the tray menu.
#define ID_ABOUT 32782

// Admin menu and tray menu.
#define ID_SHOW_CONNECTIONS 111
#define ID_SHOW_BAN_LIST 112
#define ID_SHOW_VORLAN 113

// User menu (on the user tree); the admin entries are inserted while this
// client holds admin rights.
#define ID_USER_SHOW_INFO 32803
#define ID_USER_OPEN_PRIVATE_CHAT 32804
#define ID_USER_OPEN_CHAT_LOG 121
#define ID_USER_SEND_FILE 32826
#define ID_USER_SHOW_VERSION 32805
#define ID_USER_MUTE 32822
#define ID_USER_ENABLE_ADMIN 32808
#define ID_USER_DISABLE_ADMIN 32809
#define ID_USER_SHOW_ADDRESS 32810
#define ID_USER_KICK 32811
#define ID_USER_BAN 32812

#ifndef RC_INVOKED
namespace vorlan::client::menu {

// Main menu "Vorlan".
inline constexpr int kStartServer = ID_START_SERVER;
inline constexpr int kConnectToLocalServer = ID_CONNECT_LOCAL_SERVER;
inline constexpr int kConnectToServer = ID_CONNECT_TO_SERVER;
inline constexpr int kEditProfile = ID_EDIT_PROFILE;
inline constexpr int kOptions = ID_OPTIONS;
inline constexpr int kMainChatToggle = ID_MAIN_CHAT_TOGGLE;
inline constexpr int kListeningToggle = ID_LISTENING_TOGGLE;
inline constexpr int kEndServer = ID_END_SERVER;
inline constexpr int kEndConnection = ID_END_CONNECTION;
inline constexpr int kExit = ID_EXIT;
inline constexpr int kAbout = ID_ABOUT;
inline constexpr int kGoToChatLogs = ID_GO_TO_CHAT_LOGS;

// The "Set status" sub-menu, which has no command id of its own: this negative
// id stands for it, made from its position.
inline constexpr int kSetStatusSubmenu = -SET_STATUS_MENU_POSITION;
inline constexpr int kStatusAvailable = ID_STATUS_AVAILABLE;
inline constexpr int kStatusBusy = ID_STATUS_BUSY;
inline constexpr int kStatusBeRightBack = ID_STATUS_BE_RIGHT_BACK;
inline constexpr int kStatusAway = ID_STATUS_AWAY;
inline constexpr int kStatusCustom = ID_STATUS_CUSTOM;

// Admin menu and tray menu.
inline constexpr int kShowConnections = ID_SHOW_CONNECTIONS;
inline constexpr int kShowBanList = ID_SHOW_BAN_LIST;
inline constexpr int kShowVorlan = ID_SHOW_VORLAN;

// User menu (on the user tree).
inline constexpr int kShowInfo = ID_USER_SHOW_INFO;
inline constexpr int kOpenPrivateChat = ID_USER_OPEN_PRIVATE_CHAT;
inline constexpr int kOpenUserChatLog = ID_USER_OPEN_CHAT_LOG;
inline constexpr int kSendFile = ID_USER_SEND_FILE;
inline constexpr int kShowVersion = ID_USER_SHOW_VERSION;
inline constexpr int kMuteToggle = ID_USER_MUTE;
inline constexpr int kEnableAdmin = ID_USER_ENABLE_ADMIN;
inline constexpr int kDisableAdmin = ID_USER_DISABLE_ADMIN;
inline constexpr int kShowAddress = ID_USER_SHOW_ADDRESS;
inline constexpr int kKick = ID_USER_KICK;
inline constexpr int kBan = ID_USER_BAN;

}  // namespace vorlan::client::menu
#endif
