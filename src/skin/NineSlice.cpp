#include "skin/NineSlice.h"

#include <algorithm>

namespace vorlan::skin {

namespace {

// How much of one side's corner fits: the two corners share a short side, the
// first one taking the odd pixel.
struct Split {
    int first = 0;   // pixels of the leading corner
    int second = 0;  // pixels of the trailing corner
    int middle = 0;  // pixels left for the stretched part
};

Split SplitSide(int corner, int length) {
    length = std::max(0, length);
    if (length >= 2 * corner) return {corner, corner, length - 2 * corner};
    return {std::min(corner, (length + 1) / 2), std::min(corner, length / 2), 0};
}

void Add(SlicePlan& plan, Rect source, Rect target) {
    if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
    plan.pieces.push_back({source, target});
}

}  // namespace

SlicePlan NineSlice(int corner, const Rect& target, bool fillCentre) {
    SlicePlan plan;
    const int size = 2 * corner + 1;
    const Split across = SplitSide(corner, target.width);
    const Split down = SplitSide(corner, target.height);
    const int left = target.x, top = target.y;
    const int right = target.x + target.width - across.second;  // start of the right corner
    const int bottom = target.y + target.height - down.second;  // start of the bottom corner
    const int midX = left + across.first, midY = top + down.first;
    const int imageRight = size - across.second, imageBottom = size - down.second;

    // Corners: the outer parts of the image's corners.
    Add(plan, {0, 0, across.first, down.first}, {left, top, across.first, down.first});
    Add(plan, {imageRight, 0, across.second, down.first}, {right, top, across.second, down.first});
    Add(plan, {0, imageBottom, across.first, down.second}, {left, bottom, across.first, down.second});
    Add(plan, {imageRight, imageBottom, across.second, down.second}, {right, bottom, across.second, down.second});
    // Edges: the middle column and row stretched.
    Add(plan, {corner, 0, 1, down.first}, {midX, top, across.middle, down.first});
    Add(plan, {corner, imageBottom, 1, down.second}, {midX, bottom, across.middle, down.second});
    Add(plan, {0, corner, across.first, 1}, {left, midY, across.first, down.middle});
    Add(plan, {imageRight, corner, across.second, 1}, {right, midY, across.second, down.middle});
    if (fillCentre && across.middle > 0 && down.middle > 0) plan.fill = {midX, midY, across.middle, down.middle};
    return plan;
}

SlicePlan TopBottomBands(int corner, int band, const Rect& target) {
    SlicePlan plan;
    const int size = 2 * corner + 1;
    const Split across = SplitSide(corner, target.width);
    const Split down = SplitSide(band, target.height);
    const int right = target.x + target.width - across.second;
    const int midX = target.x + across.first;
    const int imageRight = size - across.second;
    const auto addBand = [&](int sourceY, int targetY, int height) {
        Add(plan, {0, sourceY, across.first, height}, {target.x, targetY, across.first, height});
        Add(plan, {corner, sourceY, 1, height}, {midX, targetY, across.middle, height});
        Add(plan, {imageRight, sourceY, across.second, height}, {right, targetY, across.second, height});
    };
    addBand(0, target.y, down.first);
    addBand(size - down.second, target.y + target.height - down.second, down.second);
    if (down.middle > 0 && target.width > 0) plan.fill = {target.x, target.y + down.first, target.width, down.middle};
    return plan;
}

}  // namespace vorlan::skin
