#include "skin/HoverCard.h"

#include <algorithm>

namespace vorlan::skin {

std::string LevelTypeText(int level) {
    switch (level) {
        case 0:
        case 4: return "Host";
        case 1:
        case 5: return "Super admin";
        case 2:
        case 6: return "Normal admin";
        case 3:
        case 7: return "Normal user";
        default: return "";
    }
}

HoverCardText HoverCardTextFor(const HoverEntry& entry) {
    HoverCardText text;
    if (entry.level < 0) {
        text.mode = 0;
        text.text = entry.text;
        return text;
    }
    text.mode = 1;
    text.name = entry.name;
    text.type = LevelTypeText(entry.level);
    text.status = entry.status;
    return text;
}

std::vector<HoverRow> HoverRows(const HoverCardText& text) {
    if (text.mode != 1) return {{"", text.text}};
    return {{"Name: ", text.name}, {"Type: ", text.type}, {"Status: ", text.status}};
}

Size HoverCardSize(int mode, const std::vector<int>& rowWidths, int lineHeight) {
    int width = 0;
    for (int row : rowWidths) width = std::max(width, row);
    const int height = mode == 1 ? 3 * lineHeight + 10 : lineHeight;
    return {width + 8, height + 8};
}

Rect PlaceHoverCard(Size card, const CursorShape& cursor, Size screen) {
    const int imageTop = cursor.y - cursor.hotspotY;
    const int bottomRow = cursor.visibleBottom >= 0 ? cursor.visibleBottom : cursor.hotspotY;
    Rect place{cursor.x, imageTop + bottomRow + 1, card.width, card.height};
    if (place.width > screen.width) {
        place.x = 0;
        place.width = screen.width;
    } else {
        if (place.x + place.width > screen.width) place.x = screen.width - place.width;
        place.x = std::max(0, place.x);
    }
    if (place.height > screen.height) {
        place.y = 0;
        place.height = screen.height;
    } else {
        if (place.y + place.height > screen.height) place.y = imageTop - place.height;
        place.y = std::clamp(place.y, 0, screen.height - place.height);
    }
    return place;
}

int LowestVisibleRow(const std::vector<bool>& andMask, const std::vector<bool>* xorMask, int width, int height) {
    const auto size = static_cast<std::size_t>(std::max(0, width) * std::max(0, height));
    if (andMask.size() < size || (xorMask != nullptr && xorMask->size() < size)) return -1;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const auto i = static_cast<std::size_t>(y * width + x);
            const bool seeThrough = andMask[i] && (xorMask == nullptr || !(*xorMask)[i]);
            if (!seeThrough) return y;
        }
    }
    return -1;
}

HoverArming::Step HoverArming::MoveOver(std::optional<int> id) {
    if (id == current_) return {};
    const bool wasOver = current_.has_value();
    current_ = id;
    return {wasOver, id.has_value()};
}

}  // namespace vorlan::skin
