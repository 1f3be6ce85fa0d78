#include "app/MainLayout.h"

#include <algorithm>

namespace vorlan::app {

namespace {

// A window smaller than its panes would give negative sizes, which some
// controls take as huge; they are shown empty instead.
ControlRect Rect(int x, int y, int width, int height) { return {x, y, std::max(width, 0), std::max(height, 0)}; }

}  // namespace

MainLayout ComputeMainLayout(int cx, int cy, int serversPaneHeight, int userPaneWidth) {
    const int p = serversPaneHeight;
    const int u = userPaneWidth;
    MainLayout layout;
    layout.labelTop = 24;
    layout.serversTree = Rect(30, 46, cx - 60, p);
    layout.chatView = Rect(26, p + 75, cx - u - 62, cy - p - 122);
    layout.inputLine = Rect(30, cy - 43, cx - u - 70, 13);
    layout.userTree = Rect(cx - u - 30, p + 79, u, cy - p - 109);
    return layout;
}

MinimumSize MainMinimumTrackingSize(int serversPaneHeight, int userPaneWidth) {
    return {userPaneWidth + 150, serversPaneHeight + 210};
}

}  // namespace vorlan::app
