#pragma once

#include "client/ControlRect.h"
#include "storage/Records.h"

namespace vorlan::client {

// The smallest outer size a private chat window can be dragged to.
inline constexpr int kPrivateMinTrackWidth = 250;
inline constexpr int kPrivateMinTrackHeight = 200;

// Where a private chat window puts its chat view and input line for a client
// area of `clientWidth` x `clientHeight`.
struct PrivateChatLayout {
    ControlRect view;
    ControlRect input;
};
PrivateChatLayout PrivateChatLayoutFor(int clientWidth, int clientHeight);

enum class WindowSizeKind { Restored, Minimized, Maximized };

// Every private window's size change updates the geometry that all of them
// share (options lines 25-27): maximizing sets the maximized flag, restoring
// clears it and remembers the outer size; minimizing changes nothing.
void RememberPrivateWindowSize(storage::Options& options, WindowSizeKind kind, int outerWidth, int outerHeight);

}  // namespace vorlan::client
