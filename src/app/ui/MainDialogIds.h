#pragma once

// Resource ids of the main window and its single dialogs, shared by
// resources/Vorlan.rc and the C++ code (plain macros, because the resource
// compiler reads this file too).

#define IDD_MAIN_DIALOG 102
#define IDR_MAIN_MENU 130
#define IDD_CONNECT_DIALOG 131
#define IDD_TRAY_MENU_WINDOW 132
#define IDD_ABOUT_DIALOG 136
#define IDR_USER_MENU 141
#define IDD_INFO_DIALOG 143
#define IDR_SERVERS_MENU 160

// Child controls.
#define IDC_INPUT_LINE 1001
#define IDC_USER_TREE 1029
#define IDC_SEND_BUTTON 1037
#define IDC_CHAT_VIEW 1046
#define IDC_SERVERS_LABEL 1051
#define IDC_SERVERS_TREE 1052

// Main menu commands.
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
#define ID_ABOUT 32782
#define ID_STATUS_AVAILABLE 32792
#define ID_STATUS_BUSY 32793
#define ID_STATUS_BE_RIGHT_BACK 32794
#define ID_STATUS_AWAY 32795
#define ID_STATUS_CUSTOM 32796
#define ID_GO_TO_CHAT_LOGS 32828

// Position of the "Set status" sub-menu within the "Vorlan" menu.
#define SET_STATUS_MENU_POSITION 8

// Admin menu and tray menu commands.
#define ID_SHOW_CONNECTIONS 111
#define ID_SHOW_BAN_LIST 112
#define ID_SHOW_VORLAN 113

// User menu (141) commands; the admin entries are inserted while this client
// holds admin rights.
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

// Recently used servers menu (160) commands.
#define ID_RECENT_CONNECT 32830
#define ID_RECENT_REMOVE 32831
#define ID_RECENT_COPY_ADDRESS 32832

// "Connect to server" (131).
#define IDC_CONNECT_HOST 1011
#define IDC_CONNECT_MAIN_SERVER 1004
#define IDC_CONNECT_SECOND_SERVER 1005
#define IDC_CONNECT 1012
#define IDC_CONNECT_CANCEL 1015

// "About Vorlan" (136).
#define IDC_ABOUT_VERSION 1007
#define IDC_ABOUT_TEXT1 1010
#define IDC_ABOUT_TEXT2 1014
#define IDC_ABOUT_LINK 1016
#define IDC_ABOUT_CLOSE 1015

// Info window (143): nine fields in profile order, then the status.
#define IDC_INFO_NAME 1011
#define IDC_INFO_EMAIL 1001
#define IDC_INFO_COUNTRY 1014
#define IDC_INFO_HOME_PAGE 1016
#define IDC_INFO_INTERESTS 1017
#define IDC_INFO_GENDER 1018
#define IDC_INFO_BIRTHDAY 1019
#define IDC_INFO_PICTURE_URL 1024
#define IDC_INFO_STATUS 1023
#define IDC_INFO_PRIVATE_CHAT 1012
#define IDC_INFO_CLOSE 1015

// Tray icon: its id and the callback message (the first application message plus one).
#define TRAY_ICON_ID 1
#define WM_TRAY_CALLBACK 0x8001
