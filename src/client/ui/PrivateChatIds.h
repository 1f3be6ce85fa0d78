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
