#include "client/PrivateWindowGeometry.h"

#include <algorithm>

namespace vorlan::client {

PrivateChatLayout PrivateChatLayoutFor(int clientWidth, int clientHeight) {
    PrivateChatLayout layout;
    // A window squeezed below its minimum (by a program, not the mouse) gets
    // empty controls rather than negative sizes.
    layout.view = {26, 26, std::max(0, clientWidth - 52), std::max(0, clientHeight - 73)};
    layout.input = {30, clientHeight - 43, std::max(0, clientWidth - 60), 13};
    return layout;
}

void RememberPrivateWindowSize(storage::Options& options, WindowSizeKind kind, int outerWidth, int outerHeight) {
    switch (kind) {
        case WindowSizeKind::Minimized: return;
        case WindowSizeKind::Maximized: options.privateMaximized = true; return;
        case WindowSizeKind::Restored:
            options.privateMaximized = false;
            options.privateWidth = outerWidth;
            options.privateHeight = outerHeight;
            return;
    }
}

}  // namespace vorlan::client
