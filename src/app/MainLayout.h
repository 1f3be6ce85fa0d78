#pragma once

#include "client/ControlRect.h"

namespace vorlan::app {

using client::ControlRect;

// Where the main window's controls go for a client area of cx by cy, with the
// servers pane height and the user pane width of the options.
struct MainLayout {
    ControlRect serversTree;
    ControlRect chatView;
    ControlRect inputLine;
    ControlRect userTree;
    // Top of the centred "Recently used servers:" label; the window centres it.
    int labelTop = 0;
};

MainLayout ComputeMainLayout(int cx, int cy, int serversPaneHeight, int userPaneWidth);

struct MinimumSize {
    int width = 0;
    int height = 0;
};

// The smallest outer size the user may drag the main window to.
MinimumSize MainMinimumTrackingSize(int serversPaneHeight, int userPaneWidth);

}  // namespace vorlan::app
