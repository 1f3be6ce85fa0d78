#include "conversation/TextMenuModel.h"

namespace vorlan::conversation {

TextMenuState TextMenuFor(const TextMenuContext& context) {
    TextMenuState state;
    state.navigate = context.hasSelection;
    state.copy = context.hasSelection;
    state.cut = context.hasSelection && context.editable;
    state.paste = context.editable && context.clipboardHasText;
    state.selectAll = context.hasText;
    state.clearAll = context.hasText && (context.editable || context.chatView);
    state.openChatLog = context.chatView;
    return state;
}

}  // namespace vorlan::conversation
