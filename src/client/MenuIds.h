#pragma once

// Command ids of the main menu, the user menu and the tray menu items that the
// client's rules touch. The Win32 resources use the same numbers.
namespace vorlan::client::menu {

// Main menu "Vorlan".
inline constexpr int kStartServer = 32771;
inline constexpr int kConnectToLocalServer = 32772;
inline constexpr int kConnectToServer = 32773;
inline constexpr int kEditProfile = 32774;
inline constexpr int kOptions = 32775;
inline constexpr int kMainChatToggle = 32776;
inline constexpr int kListeningToggle = 32777;
inline constexpr int kEndServer = 32778;
inline constexpr int kEndConnection = 32779;
inline constexpr int kExit = 32780;
inline constexpr int kAbout = 32782;
inline constexpr int kGoToChatLogs = 32828;

// The "Set status" sub-menu has no command id of its own; it is addressed by
// its position (8) in the "Vorlan" menu. This negative id stands for it.
inline constexpr int kSetStatusSubmenu = -8;
inline constexpr int kStatusAvailable = 32792;
inline constexpr int kStatusBusy = 32793;
inline constexpr int kStatusBeRightBack = 32794;
inline constexpr int kStatusAway = 32795;
inline constexpr int kStatusCustom = 32796;

// Admin menu and tray menu.
inline constexpr int kShowConnections = 111;
inline constexpr int kShowBanList = 112;
inline constexpr int kShowVorlan = 113;

// User menu (on the user tree).
inline constexpr int kShowInfo = 32803;
inline constexpr int kOpenPrivateChat = 32804;
inline constexpr int kOpenUserChatLog = 121;
inline constexpr int kSendFile = 32826;
inline constexpr int kShowVersion = 32805;
inline constexpr int kMuteToggle = 32822;
inline constexpr int kEnableAdmin = 32808;
inline constexpr int kDisableAdmin = 32809;
inline constexpr int kShowAddress = 32810;
inline constexpr int kKick = 32811;
inline constexpr int kBan = 32812;

}  // namespace vorlan::client::menu
