#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversation/LineContext.h"

// The lines of a chat view and its log: a builder for any line, and the line
// shapes every caller writes with it. Each writes the view runs and, when `log`
// is not null, the matching log line. Colours not passed in are ctx.textColor
// (time prefix, punctuation, own chat text) and ctx.noticeColor (notices, events).
namespace vorlan::conversation {

class ChatView;
class ChatLog;

// One line for a chat view and its log, built run by run and written with one
// call, so the view and the log always agree and share one reading of the clock.
//
//   LineBuilder::Plain(ctx)    view "\n"   + TimePrefix (text colour)   log "\r\n["   + LogTimestamp + "] "
//   LineBuilder::Indented(ctx) view "\n\t" + TimePrefix (text colour)   log "\r\n\t[" + LogTimestamp + "] "
//
// then each Add() appends one AppendText run to the view and, unless
// `inLog` is false, the same text to the log line.
// Example, a received chat line:
//   LineBuilder::Plain(ctx).Add(name, userColour, true).Add(":", ctx.textColor, true)
//       .Add(" ", ctx.textColor).Add(text, messageColour).WriteTo(view, &log);
class LineBuilder {
public:
    static LineBuilder Plain(const LineContext& context);
    static LineBuilder Indented(const LineContext& context);

    LineBuilder& Add(const std::string& text, std::uint32_t colour, bool bold = false, bool inLog = true);

    // Appends the runs to `view`, and the log text to `log` when it is given
    // (ChatLog::Write skips it while the log is closed).
    void WriteTo(ChatView& view, ChatLog* log) const;

    struct Run {
        std::string text;
        std::uint32_t colour = 0;
        bool bold = false;
    };
    const std::vector<Run>& Runs() const { return runs_; }
    const std::string& LogText() const { return logText_; }

private:
    LineBuilder(const LineContext& context, bool indented);

    std::vector<Run> runs_;
    std::string logText_;
};

// Own lines (written by the input line at once) --------------------------------

// "\n"+prefix | name (nameColour, bold) | ":" (bold) | " "+text
// log "\r\n[ts] name: text"
void WriteChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text);

// "\n\t"+prefix | name (nameColour) | " "+text          log "\r\n\t[ts] name text"
void WriteActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                     std::uint32_t nameColour, const std::string& text);

// "\n\t"+prefix | name (nameColour) | " says: "+text    log "\r\n\t[ts] name says: text"
void WriteSaysLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text);

// "\n\t"+prefix | notice (noticeColor)                  log "\r\n\t[ts] notice"
void WriteNotice(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& notice);

// Received lines ----------------------------------------------------------------

// A received chat line (kind 0):
// "\n"+prefix | name (nameColour, bold) | ":" (bold) | " " | text (messageColour)
// log "\r\n[ts] name: text"
void WriteReceivedChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                           std::uint32_t nameColour, const std::string& text, std::uint32_t messageColour);

// A received action (kind 1, joiner " ") or "says" line (kind 2, joiner " says: "):
// "\n\t"+prefix | name (nameColour) | joiner | text (messageColour)
// log "\r\n\t[ts] name" + joiner + text
void WriteReceivedActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                             std::uint32_t nameColour, const std::string& joiner, const std::string& text,
                             std::uint32_t messageColour);

// An event about a user: "\n\t"+prefix | name (nameColour) | event (noticeColor)
// e.g. event " has joined the server."; log "\r\n\t[ts] name" + event
void WriteEventLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                    std::uint32_t nameColour, const std::string& event);

// An event that ends in a value:
// "\n\t"+prefix | name (nameColour) | label (textColor) | value (valueColour)
// e.g. label " changed name to: " with the new name in the user colour, or
// "'s IP address: " / "'s version: " / " changed status to: " in the message colour.
// log "\r\n\t[ts] name" + label + value
void WriteEventValueLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                         std::uint32_t nameColour, const std::string& label, const std::string& value,
                         std::uint32_t valueColour);

}  // namespace vorlan::conversation
