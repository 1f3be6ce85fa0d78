#pragma once

// Resource ids of the main window, shared by resources/Vorlan.rc and the C++
// code (plain macros, because the resource compiler reads this file too).

#define IDD_MAIN_DIALOG 102
#define IDR_MAIN_MENU 130

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
