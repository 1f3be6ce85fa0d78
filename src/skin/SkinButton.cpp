#include "skin/SkinButton.h"

namespace vorlan::skin {

ButtonReaction ButtonState::MouseMove(bool inside) {
    ButtonReaction reaction;
    if (inside == hot_) return reaction;
    hot_ = inside;
    if (holding_) pressed_ = inside;
    reaction.repaint = true;
    return reaction;
}

ButtonReaction ButtonState::LeftDown(bool inside) {
    ButtonReaction reaction;
    if (!inside) return reaction;
    hot_ = true;
    holding_ = true;
    pressed_ = true;
    reaction.repaint = true;
    reaction.capture = true;
    return reaction;
}

ButtonReaction ButtonState::LeftUp(bool inside) {
    ButtonReaction reaction;
    if (!holding_) return reaction;
    reaction.command = pressed_ && inside;
    holding_ = false;
    pressed_ = false;
    hot_ = inside;
    reaction.repaint = true;
    reaction.releaseCapture = true;
    return reaction;
}

ButtonReaction ButtonState::CaptureLost() {
    ButtonReaction reaction;
    if (!holding_ && !pressed_) return reaction;
    holding_ = false;
    pressed_ = false;
    reaction.repaint = true;
    return reaction;
}

ButtonReaction ButtonState::SpaceUp() {
    ButtonReaction reaction;
    reaction.command = !holding_;
    return reaction;
}

ButtonReaction ButtonState::FocusGained() {
    ButtonReaction reaction;
    focused_ = true;
    reaction.repaint = true;
    // Only a push button becomes the default: Enter should not toggle a check box.
    reaction.makeDefault = kind_ == ButtonKind::Push;
    return reaction;
}

ButtonReaction ButtonState::FocusLost() {
    ButtonReaction reaction;
    focused_ = false;
    reaction.releaseCapture = holding_;
    holding_ = false;
    pressed_ = false;
    reaction.repaint = true;
    return reaction;
}

int GlyphImage(bool checked, bool pressed) { return 1 + (checked ? 1 : 0) + (pressed ? 2 : 0); }

int ButtonTextColour(ButtonKind kind, bool hot, bool focused) {
    if (kind == ButtonKind::Push) return focused ? 27 : 26;
    return hot ? 24 : 23;
}

TreeGlyph TreeGlyphFor(bool hasChildren, bool expanded) {
    if (!hasChildren) return TreeGlyph::None;
    return expanded ? TreeGlyph::Collapse : TreeGlyph::Expand;
}

}  // namespace vorlan::skin
