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

MainWindowStart MainWindowStartFrom(const storage::Options& options) {
    MainWindowStart start;
    start.resize = options.mainWidth > 0 && options.mainHeight > 0;
    start.width = options.mainWidth;
    start.height = options.mainHeight;
    start.maximized = options.mainMaximized;
    return start;
}

bool RememberMainWindowSize(storage::Options& options, MainSizeKind kind, int outerWidth, int outerHeight) {
    switch (kind) {
        case MainSizeKind::Minimized: return false;
        case MainSizeKind::Maximized: options.mainMaximized = true; return true;
        case MainSizeKind::Restored:
            options.mainMaximized = false;
            options.mainWidth = outerWidth;
            options.mainHeight = outerHeight;
            return true;
        case MainSizeKind::Other: return true;
    }
    return true;
}

}  // namespace vorlan::app
