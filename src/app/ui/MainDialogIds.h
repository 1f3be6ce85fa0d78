#pragma once

// Resource ids of the main window, its menus, the tray menu window and the
// About box, shared by resources/Vorlan.rc and the C++ code (plain macros,
// because the resource compiler reads this file too). The menu command ids
// come from the core's one list of them.

#include "client/MenuIds.h"
#include "conversation/ui/ConversationIds.h"

#define IDD_MAIN_DIALOG 102
#define IDR_MAIN_MENU 130
#define IDD_TRAY_MENU_WINDOW 132
#define IDD_ABOUT_DIALOG 136
#define IDD_POPUP 137
#define IDR_USER_MENU 141
#define IDR_SERVERS_MENU 160

// Child controls.
#define IDC_INPUT_LINE 1001
#define IDC_USER_TREE 1029
#define IDC_SEND_BUTTON 1037
#define IDC_CHAT_VIEW IDC_CHAT_TEXT_VIEW  // the chat text control knows a chat view by this id
#define IDC_SERVERS_LABEL 1051
#define IDC_SERVERS_TREE 1052

// Recently used servers menu (160) commands.
#define ID_RECENT_CONNECT 32830
#define ID_RECENT_REMOVE 32831
#define ID_RECENT_COPY_ADDRESS 32832

// "About Vorlan" (136).
#define IDC_ABOUT_VERSION 1007
#define IDC_ABOUT_TEXT1 1010
#define IDC_ABOUT_TEXT2 1014
#define IDC_ABOUT_LINK 1016
#define IDC_ABOUT_CLOSE 1015

// The notification pop-up (137); its hidden default button carries the click.
#define IDC_POPUP_TITLE 1005
#define IDC_POPUP_TEXT 1006
#define IDC_POPUP_CLICK 1037

// Tray icon: its id and the callback message (the first application message plus one).
#define TRAY_ICON_ID 1
#define WM_TRAY_CALLBACK 0x8001
