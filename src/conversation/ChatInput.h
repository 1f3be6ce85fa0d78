#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlan::conversation {

class ChatView;
class ChatLog;
struct LineContext;

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

enum class PasswordKind { Client, SuperAdmin, NormalAdmin, NormalUser };

// Who types into which window: what the send action reads. The own lines and
// notices go into `view` and `log`.
struct InputLine {
    const LineContext& lines;
    ChatView& view;
    ChatLog& log;
    bool connected = false;     // the client connection is up
    int ownId = 0;              // > 0 once the server said who we are
    bool mainChatOpen = false;  // main window: "Close main chat" is showing
    bool peerOnline = false;    // private window: the partner is in the user list
    std::string ownName;        // the profile's name
    std::uint32_t ownColour = 0;
};

// What a sent line asks of the client beyond its own view and log.
struct InputOutcome {
    std::string message;  // for the server, without its zero byte; empty: nothing to send
    std::optional<PasswordKind> password;
    std::string passwordValue;
    std::optional<std::string> ownName;  // "/name ": the new own name
    std::string popup;                   // "/say ": a pop-up with this text ...
    int popupSource = 0;                 // ... about this user (0: the main chat)
};

// The send action of the main window for a `typed` text (the window itself
// gives the focus to an empty input line and stops; after this call it
// empties the input line and gives it the focus). "/clear" and the password
// commands are local; "/name " changes the own name and tells the server;
// "/topic ", "/me ", "/say " and ordinary text go to the server, the own line
// written into the view and log at once. Text that cannot be sent is dropped
// silently. The message is built by the protocol's builders.
InputOutcome SendMainInput(const InputLine& line, const std::string& typed);

// The send action of a private window with partner `peerId` (the same
// contract as SendMainInput). Only "/clear" and "/name " are local; "/me " and
// "/say " are private actions; everything else, password and topic commands
// included, goes to the partner as ordinary text.
InputOutcome SendPrivateInput(const InputLine& line, int peerId, const std::string& typed);

}  // namespace vorlan::conversation
