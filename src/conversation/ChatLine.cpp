#include "conversation/ChatLine.h"

#include "conversation/ChatLog.h"
#include "conversation/ChatView.h"
#include "conversation/TimeText.h"

namespace vorlan::conversation {

ChatLine::ChatLine(const LineContext& context, bool indented) {
    // One reading of the clock for both texts, so view and log never disagree
    // about the minute.
    const platform::LocalTime now = context.Now();
    runs_.push_back(
        Run{std::string(indented ? "\n\t" : "\n") + TimePrefix(now, context.timestamps), context.textColor, false});
    logText_ = std::string(indented ? "\r\n\t[" : "\r\n[") + LogTimestamp(now) + "] ";
}

ChatLine ChatLine::Plain(const LineContext& context) { return ChatLine(context, false); }

ChatLine ChatLine::Indented(const LineContext& context) { return ChatLine(context, true); }

ChatLine& ChatLine::Add(const std::string& text, std::uint32_t colour, bool bold, bool inLog) {
    runs_.push_back(Run{text, colour, bold});
    if (inLog) logText_ += text;
    return *this;
}

void ChatLine::WriteTo(ChatView& view, ChatLog* log) const {
    for (const Run& run : runs_) view.AppendText(run.text, run.colour, run.bold);
    if (log != nullptr) log->Write(logText_);
}

}  // namespace vorlan::conversation
