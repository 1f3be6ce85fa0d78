#pragma once

// Resource ids of the main window and its single dialogs, shared by
// resources/Vorlan.rc and the C++ code (plain macros, because the resource
// compiler reads this file too). The menu command ids come from the core's
// one list of them.

#include "client/MenuIds.h"

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
