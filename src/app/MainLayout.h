#pragma once

#include "client/ControlRect.h"
#include "storage/Records.h"

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

// How the main window starts: moved to the stored outer size (when one is
// stored), then maximized when it was maximized when the program last ended.
struct MainWindowStart {
    bool resize = false;
    int width = 0;
    int height = 0;
    bool maximized = false;
};
MainWindowStart MainWindowStartFrom(const storage::Options& options);

// The kinds of size change a window is told of; Other is the notice that
// another window was maximized or restored, which changes nothing here.
enum class MainSizeKind { Restored, Minimized, Maximized, Other };

// What a size change of the main window leaves in the options: maximizing sets
// the maximized flag; restoring clears it and remembers the outer size, the
// size the next start opens with; minimizing and Other change nothing. True
// when the window lays its controls out again (not while minimized).
bool RememberMainWindowSize(storage::Options& options, MainSizeKind kind, int outerWidth, int outerHeight);

}  // namespace vorlan::app
