#pragma once

// Resource ids of the file transfer windows: "Open file", "Save file", "File
// already exists.", the send and receive windows and "Browse" with its menu.
// Shared by resources/Transfer.rc and the C++ code (plain macros, because the
// resource compiler reads this file too).

// "Open file" (dialog 152).
#define IDD_SEND_FILE 152
#define IDC_SEND_TO_USER 1001
#define IDC_SEND_FILE_SIZE 1002
#define IDC_SEND_BUFFER_SIZE 1003
#define IDC_SEND_MODE_LABEL 1004
#define IDC_SEND_MODE_CLIENT 1005
#define IDC_SEND_MODE_SERVER 1006
#define IDC_SEND_PORT_LABEL 1007
#define IDC_SEND_PORT_RANGE 1008
#define IDC_SEND_ADDRESS_LABEL 1009
#define IDC_SEND_ADDRESS 1010
#define IDC_SEND_BROWSE 1011
#define IDC_SEND_SEND 1012
#define IDC_SEND_REFRESH 1013
#define IDC_SEND_CANCEL 1014

// "Save file" (dialog 153).
#define IDD_RECEIVE_FILE 153
#define IDC_RECEIVE_FROM_USER 1001
#define IDC_RECEIVE_MODE 1002
#define IDC_RECEIVE_FILE_SIZE 1003
#define IDC_RECEIVE_PORT_LABEL 1004
#define IDC_RECEIVE_PORT_RANGE 1005
#define IDC_RECEIVE_SAVE_LABEL 1006
#define IDC_RECEIVE_SAVE_TO 1007
#define IDC_RECEIVE_BROWSE 1008
#define IDC_RECEIVE_ACCEPT 1009
#define IDC_RECEIVE_CANCEL 1010

// "File already exists." (dialog 154).
#define IDD_FILE_EXISTS 154
#define IDC_EXISTS_OVERWRITE 1001
#define IDC_EXISTS_RESUME 1002
#define IDC_EXISTS_CANCEL 1003

// The send window (155) and the receive window (156) share their controls;
// "Sent:" and "Received:" are the same field.
#define IDD_SEND_WINDOW 155
#define IDD_RECEIVE_WINDOW 156
#define IDC_TRANSFER_ICON 1001
#define IDC_TRANSFER_STATUS 1002
#define IDC_TRANSFER_FILE_NAME 1003
#define IDC_TRANSFER_LOCATION 1004
#define IDC_TRANSFER_PROGRESS 1005
#define IDC_TRANSFER_SPEED 1006
#define IDC_TRANSFER_DONE 1007
#define IDC_TRANSFER_TOTAL 1008
#define IDC_TRANSFER_GO_TO_LOCATION 1009
#define IDC_TRANSFER_MIDDLE 1010
#define IDC_TRANSFER_THIRD 1011

// "Browse" (dialog 157) and its context menu (158).
#define IDD_BROWSE 157
#define IDC_BROWSE_PATH 1001
#define IDC_BROWSE_UP 1002
#define IDC_BROWSE_TREE 1003
#define IDC_BROWSE_USE 1004
#define IDC_BROWSE_CANCEL 1005
#define IDR_BROWSE_MENU 158
#define ID_BROWSE_REFRESH 32850
