#pragma once

// Resource ids of the private chat window, shared by resources/Client.rc
// and the C++ code (plain macros, because the resource compiler reads this
// file too).

#define IDD_PRIVATE_CHAT 142
#define IDC_PRIVATE_INPUT 1001
#define IDC_PRIVATE_SEND 1037
#define IDC_PRIVATE_VIEW 1046
