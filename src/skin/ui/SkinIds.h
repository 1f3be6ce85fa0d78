#pragma once

// The hover card over the user tree.
#define IDD_HOVER_CARD 159
