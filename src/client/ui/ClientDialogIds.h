#pragma once

// Resource ids of the client's single dialogs: "Connect to server", the info
// window, "Edit profile" and "Custom" status. Shared by resources/Client.rc and
// the C++ code (plain macros, because the resource compiler reads this file
// too). The same control id means different things in different dialogs.

// "Connect to server" (131).
#define IDD_CONNECT_DIALOG 131
#define IDC_CONNECT_HOST 1011
#define IDC_CONNECT_MAIN_SERVER 1004
#define IDC_CONNECT_SECOND_SERVER 1005
#define IDC_CONNECT 1012
#define IDC_CONNECT_CANCEL 1015

// Info window (143): nine fields in profile order, then the status.
#define IDD_INFO_DIALOG 143
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

// "Edit profile" (dialog 140): the fields in profile order.
#define IDD_EDIT_PROFILE 140
#define IDC_PROFILE_NAME 1011
#define IDC_PROFILE_EMAIL 1001
#define IDC_PROFILE_COUNTRY 1014
#define IDC_PROFILE_HOME_PAGE 1016
#define IDC_PROFILE_INTERESTS 1017
#define IDC_PROFILE_GENDER 1018
#define IDC_PROFILE_BIRTHDAY 1019
#define IDC_PROFILE_PICTURE_URL 1024
#define IDC_PROFILE_UPDATE 1012
#define IDC_PROFILE_CANCEL 1015

// "Custom" status (dialog 144).
#define IDD_CUSTOM_STATUS 144
#define IDC_CUSTOM_STATUS_TEXT 1011
#define IDC_CUSTOM_STATUS_UPDATE 1012
#define IDC_CUSTOM_STATUS_CANCEL 1015
