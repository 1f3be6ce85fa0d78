#pragma once

#include <optional>
#include <string>
#include <vector>

#include "skin/NineSlice.h"

namespace vorlan::skin {

// What the card says: one line (mode 0) or the rows "Name:", "Type:",
// "Status:" (mode 1).
struct HoverCardText {
    int mode = 0;
    std::string text;                // mode 0
    std::string name, type, status;  // mode 1
    bool operator==(const HoverCardText&) const = default;
};

// An entry of the user tree as the card sees it: a level code of -1 is not a user.
struct HoverEntry {
    int id = 0;
    int level = -1;
    std::string text;  // the entry's text (mode 0)
    std::string name;
    std::string status;
};

// "Host", "Super admin", "Normal admin", "Normal user" by level code 0..7; empty otherwise.
std::string LevelTypeText(int level);
HoverCardText HoverCardTextFor(const HoverEntry& entry);

inline constexpr int kHoverTimerId = 105;
inline constexpr int kHoverDelayMs = 500;
inline constexpr int kHoverPadding = 4;  // text inset from the card's left and top

// The card's content rows: caption (bold) and value (normal) per row; mode 0
// is one row with an empty caption.
struct HoverRow {
    std::string caption;  // with its trailing space when not empty
    std::string value;
};
std::vector<HoverRow> HoverRows(const HoverCardText& text);

// Window size from the measured rows: content width the widest row, content
// height the line heights plus 10 for the three-row form; 8 more each way.
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
Size HoverCardSize(int mode, const std::vector<int>& rowWidths, int lineHeight);

// Where the card goes: its left at the cursor, its top one pixel under the
// cursor image's lowest visible row; moved left to end at the screen's right
// edge, above the cursor when it would leave at the bottom, and at 0 and cut
// to the screen when larger than it.
struct CursorShape {
    int x = 0, y = 0;  // the cursor's position (its hot spot)
    int hotspotX = 0, hotspotY = 0;
    int visibleBottom = -1;  // lowest visible row of the image; -1: none found
};
Rect PlaceHoverCard(Size card, const CursorShape& cursor, Size screen);

// The lowest row of a cursor image that shows anything: for a monochrome
// cursor a pixel is see-through where its AND bit is set and its XOR bit is
// not; for a colour cursor where the AND bit is set. -1 when none shows.
int LowestVisibleRow(const std::vector<bool>& andMask, const std::vector<bool>* xorMask, int width, int height);

// The card's arming by the tree: moving onto an entry arms it (fill the card,
// start timer 105); onto another entry, off the entries or out of the tree,
// it stops the timer and hides the card.
class HoverArming {
public:
    struct Step {
        bool hide = false;  // stop the timer and hide the card
        bool arm = false;   // fill the card and start the timer
    };
    // The cursor is over the entry `id` (nullopt: over no entry, or out).
    Step MoveOver(std::optional<int> id);
    void Reset() { current_.reset(); }
    std::optional<int> current() const { return current_; }

private:
    std::optional<int> current_;
};

}  // namespace vorlan::skin
