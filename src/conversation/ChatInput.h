#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan::conversation {

class ChatInputContext;
class ChatView;
class ChatLog;

// What the input line does after each edit: accept at most `maxLength`
// characters (command word included) and, when `changed`, replace its text by
// `text` and put the caret at the end.
struct InputLimit {
    std::size_t maxLength = 1000;
    std::string text;      // the text with the removed characters gone
    bool changed = false;  // something was removed
};

// The main window's table: "/cpw " 1005, "/saspw " "/naspw " "/nuspw " 1007
// (CR/LF removed), "/name " 26 (SEP, CR, LF removed), "/topic " 1007,
// "/me " 1004, "/say " 1005, anything else 1000. Prefixes are case-sensitive.
InputLimit LimitMainInput(std::string_view text);

// A private window's table: "/name " 26 (SEP, CR, LF removed), "/me " 1004,
// "/say " 1005, anything else 1000.
InputLimit LimitPrivateInput(std::string_view text);

// The send action of the main window for a non-empty `typed` text (the window
// itself gives the focus to an empty input line and stops; after this call it
// empties the input line and gives it the focus). Runs the local commands
// ("/clear", "/cpw ", "/saspw ", "/naspw ", "/nuspw ", "/name "), sends
// "/topic ", "/me ", "/say " and ordinary text to the server, and writes the own
// line into the main view and log at once. Text that cannot be sent is dropped
// silently.
void SendMainInput(ChatInputContext& context, const std::string& typed);

// The send action of a private window with partner `peerId`, its `view` and
// `log` (the same contract as SendMainInput). Only "/clear" and "/name " are
// local; "/me " and "/say " are private actions; everything else, password and
// topic commands included, goes to the partner as ordinary text.
void SendPrivateInput(ChatInputContext& context, int peerId, ChatView& view, ChatLog& log, const std::string& typed);

}  // namespace vorlan::conversation
