#pragma once

#include <vector>

namespace vorlan::skin {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// One copy of a part of a skin image into the target: stretched when the two
// sizes differ.
struct SlicePiece {
    Rect source;
    Rect target;
    bool operator==(const SlicePiece&) const = default;
};

// What to draw for one skinned image in a rectangle: the copies, and the
// rectangle to fill with the image's middle pixel (empty: no fill).
struct SlicePlan {
    std::vector<SlicePiece> pieces;
    Rect fill;
};

// An image of (2 * corner + 1) pixels square stretched to width × height at
// (x, y): the corners unscaled, the middle row and column stretched along the
// edges, the centre filled when asked. A target smaller than two corners keeps
// the outer parts of the corners, cut where they would overlap, and draws no
// edges or centre.
SlicePlan NineSlice(int corner, const Rect& target, bool fillCentre);

// The small-window form of the window background: only a top band from the
// image's first `band` rows and a bottom band from its last `band` rows, each
// stretched across the width through the middle column, the rest filled.
SlicePlan TopBottomBands(int corner, int band, const Rect& target);

}  // namespace vorlan::skin
