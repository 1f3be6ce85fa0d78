#pragma once

namespace vorlan::skin {

// The four kinds one skinned button control serves.
enum class ButtonKind { Push = 0, CheckBox = 1, Radio = 2, Flat = 3 };

// What the window does after an event: repaint, hold or let go of the mouse
// capture, post its command to the parent, make itself the default button.
struct ButtonReaction {
    bool repaint = false;
    bool capture = false;         // take the capture (the left button went down on it)
    bool releaseCapture = false;  // the press has ended
    bool command = false;
    bool makeDefault = false;
};

// The mouse and keyboard rules of a skinned button. Hot follows the cursor;
// pressed shows while the left button, gone down on the control, is held with
// the cursor over it, so dragging off and back shows it again; a release while
// pressed is a click. The space bar clicks when it comes up, unless the left
// button is being held on the control.
class ButtonState {
public:
    explicit ButtonState(ButtonKind kind = ButtonKind::Push) : kind_(kind) {}

    ButtonReaction MouseMove(bool inside);
    ButtonReaction MouseLeft() { return MouseMove(false); }
    ButtonReaction LeftDown(bool inside);
    ButtonReaction LeftUp(bool inside);
    // Someone else took the capture while the left button was held.
    ButtonReaction CaptureLost();
    ButtonReaction SpaceDown() { return {}; }
    ButtonReaction SpaceUp();
    ButtonReaction FocusGained();
    ButtonReaction FocusLost();

    ButtonKind kind() const { return kind_; }
    bool hot() const { return hot_; }
    bool pressed() const { return pressed_; }
    bool focused() const { return focused_; }
    bool holding() const { return holding_; }

private:
    ButtonKind kind_;
    bool hot_ = false;
    bool pressed_ = false;
    bool focused_ = false;
    bool holding_ = false;  // the left button went down on the control and is still down
};

// Which of the four glyph images (1..4) a check box or radio button shows.
int GlyphImage(bool checked, bool pressed);

// The colour slots (1..27 of the colours file) of a button's text.
int ButtonTextColour(ButtonKind kind, bool hot, bool focused);
inline constexpr int kFocusRectangleColour = 25;

// Push button text moves this far while pressed.
inline constexpr int kPressedShiftX = 1;
inline constexpr int kPressedShiftY = 2;

// The tree's expand/collapse glyph: none for a row without children.
enum class TreeGlyph { None, Expand, Collapse };
TreeGlyph TreeGlyphFor(bool hasChildren, bool expanded);
inline constexpr int kTreeGlyphSize = 9;
inline constexpr int kTreeGlyphLeft = 5;  // from the row's indentation start

}  // namespace vorlan::skin
