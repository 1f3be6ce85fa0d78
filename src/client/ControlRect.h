#pragma once

namespace vorlan::client {

// Where a control goes inside its window's client area, in pixels.
struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

}  // namespace vorlan::client
