#pragma once

// Resource ids of the chat text control, shared by resources/ChatText.rc and
// the C++ code (plain macros, because the resource compiler reads this file too).

// The context menu of every chat text control.
#define IDR_CHAT_TEXT_MENU 133
#define ID_CHAT_NAVIGATE 32791
#define ID_CHAT_CUT 32785
#define ID_CHAT_COPY 32786
#define ID_CHAT_PASTE 32787
#define ID_CHAT_SELECT_ALL 32789
#define ID_CHAT_CLEAR_ALL 32790

// Inserted into the menu of a chat view only.
#define ID_CHAT_OPEN_CHAT_LOG 120

// The chat view of the main window and of each private chat window.
#define IDC_CHAT_TEXT_VIEW 1046
