// The chat text control's context menu: what a chat view, an input line and a
// dialog's field offer for a selection, their text and the clipboard.
#include <gtest/gtest.h>

#include "conversation/TextMenuModel.h"

namespace vorlan::conversation {
namespace {

// The enabled items by initial ("N"avigate, c"U"t, "C"opy, "P"aste, "S"elect all,
// c"L"ear all), then "+log" when "Open chat log" is inserted.
std::string Shown(const TextMenuContext& context) {
    const TextMenuState s = TextMenuFor(context);
    return std::string(s.navigate ? "N" : "") + (s.cut ? "U" : "") + (s.copy ? "C" : "") + (s.paste ? "P" : "") +
           (s.selectAll ? "S" : "") + (s.clearAll ? "L" : "") + (s.openChatLog ? "+log" : "");
}

TEST(TextMenu, AChatViewNeverCutsOrPastesButCanBeClearedAndOpensItsLog) {
    TextMenuContext view{
        .editable = false, .chatView = true, .hasSelection = true, .hasText = true, .clipboardHasText = true};
    EXPECT_EQ(Shown(view), "NCSL+log");
    view.hasSelection = false;
    EXPECT_EQ(Shown(view), "SL+log");
    view.hasText = false;
    EXPECT_EQ(Shown(view), "+log") << "an empty view has nothing to select or clear, but still a log";
}

TEST(TextMenu, EditableFieldsCutAndPasteWhileOtherReadOnlyFieldsOnlyCopy) {
    TextMenuContext input{
        .editable = true, .chatView = false, .hasSelection = true, .hasText = true, .clipboardHasText = true};
    EXPECT_EQ(Shown(input), "NUCPSL");
    input.clipboardHasText = false;
    input.hasSelection = false;
    EXPECT_EQ(Shown(input), "SL");
    input.hasText = false;
    EXPECT_EQ(Shown(input), "");
    // A read-only field of a dialog (the info window's) is no chat view: it is never emptied.
    TextMenuContext info{
        .editable = false, .chatView = false, .hasSelection = true, .hasText = true, .clipboardHasText = true};
    EXPECT_EQ(Shown(info), "NCS");
}

}  // namespace
}  // namespace vorlan::conversation
