#pragma once

// Resource ids of the admin's list windows: "Connections" (145) with its
// context menu (147), "Ban list" (146) with its context menu (148) and its
// "Add" dialog (150). Shared by resources/Client.rc and the C++ code (plain
// macros, because the resource compiler reads this file too).

#define IDD_CONNECTIONS 145
#define IDD_BAN_LIST 146
#define IDR_CONNECTIONS_MENU 147
#define IDR_BAN_LIST_MENU 148
#define IDD_ADD_BAN 150

// The tree of both list windows.
#define IDC_ADMIN_LIST_TREE 1029

// "Add" (150).
#define IDC_ADD_BAN_ADDRESS 1011
#define IDC_ADD_BAN_DESCRIPTION 1001
#define IDC_ADD_BAN_ADD 1012
#define IDC_ADD_BAN_CANCEL 1015

// Context menu commands. "Kick", "Ban" and "Remove" are not in the menu
// resources: they are inserted while a row is selected.
#define ID_CONNECTIONS_REFRESH 32840
#define ID_CONNECTIONS_KICK 32841
#define ID_CONNECTIONS_BAN 32842
#define ID_BAN_LIST_REFRESH 32843
#define ID_BAN_LIST_ADD 32844
#define ID_BAN_LIST_REMOVE 32845
