#pragma once

// Resource ids of the private chat window, shared by resources/Client.rc
// and the C++ code (plain macros, because the resource compiler reads this
// file too).

#include "conversation/ui/ConversationIds.h"

#define IDD_PRIVATE_CHAT 142
#define IDC_PRIVATE_INPUT 1001
#define IDC_PRIVATE_SEND 1037
// The chat text control knows a chat view by this id.
#define IDC_PRIVATE_VIEW IDC_CHAT_TEXT_VIEW

// Sent by a private chat window to the main window for each file dropped on
// its input line: wParam the partner's user id, lParam the path (const char*).
#define WM_PRIVATE_SEND_FILE (WM_APP + 40)
