#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversation/LineContext.h"

namespace vorlan::conversation {

class ChatView;
class ChatLog;

// One line for a chat view and its log, built run by run and written with one
// call, so the view and the log always agree and share one reading of the clock.
//
//   ChatLine::Plain(ctx)    view "\n"   + TimePrefix (text colour)   log "\r\n["   + LogTimestamp + "] "
//   ChatLine::Indented(ctx) view "\n\t" + TimePrefix (text colour)   log "\r\n\t[" + LogTimestamp + "] "
//
// then each Add() appends one AppendText run to the view and, unless
// `inLog` is false, the same text to the log line.
// Example, a received chat line:
//   ChatLine::Plain(ctx).Add(name, userColour, true).Add(":", ctx.textColor, true)
//       .Add(" ", ctx.textColor).Add(text, messageColour).WriteTo(view, &log);
class ChatLine {
public:
    static ChatLine Plain(const LineContext& context);
    static ChatLine Indented(const LineContext& context);

    ChatLine& Add(const std::string& text, std::uint32_t colour, bool bold = false, bool inLog = true);

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
    ChatLine(const LineContext& context, bool indented);

    std::vector<Run> runs_;
    std::string logText_;
};

}  // namespace vorlan::conversation
