#include "conversation/ChatLines.h"

#include "conversation/ChatLog.h"
#include "conversation/ChatView.h"
#include "conversation/TimeText.h"

namespace vorlan::conversation {

LineBuilder::LineBuilder(const LineContext& context, bool indented) {
    // One reading of the clock for both texts, so view and log never disagree
    // about the minute.
    const platform::LocalTime now = context.Now();
    runs_.push_back(
        Run{std::string(indented ? "\n\t" : "\n") + TimePrefix(now, context.timestamps), context.textColor, false});
    logText_ = std::string(indented ? "\r\n\t[" : "\r\n[") + LogTimestamp(now) + "] ";
}

LineBuilder LineBuilder::Plain(const LineContext& context) { return LineBuilder(context, false); }

LineBuilder LineBuilder::Indented(const LineContext& context) { return LineBuilder(context, true); }

LineBuilder& LineBuilder::Add(const std::string& text, std::uint32_t colour, bool bold, bool inLog) {
    runs_.push_back(Run{text, colour, bold});
    if (inLog) logText_ += text;
    return *this;
}

void LineBuilder::WriteTo(ChatView& view, ChatLog* log) const {
    for (const Run& run : runs_) view.AppendText(run.text, run.colour, run.bold);
    if (log != nullptr) log->Write(logText_);
}

void WriteChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text) {
    LineBuilder::Plain(ctx)
        .Add(name, nameColour, true)
        .Add(":", ctx.textColor, true)
        .Add(" " + text, ctx.textColor)
        .WriteTo(view, log);
}

void WriteActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                     std::uint32_t nameColour, const std::string& text) {
    LineBuilder::Indented(ctx).Add(name, nameColour).Add(" " + text, ctx.textColor).WriteTo(view, log);
}

void WriteSaysLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text) {
    LineBuilder::Indented(ctx).Add(name, nameColour).Add(" says: " + text, ctx.textColor).WriteTo(view, log);
}

void WriteNotice(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& notice) {
    LineBuilder::Indented(ctx).Add(notice, ctx.noticeColor).WriteTo(view, log);
}

void WriteReceivedChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                           std::uint32_t nameColour, const std::string& text, std::uint32_t messageColour) {
    LineBuilder::Plain(ctx)
        .Add(name, nameColour, true)
        .Add(":", ctx.textColor, true)
        .Add(" ", ctx.textColor)
        .Add(text, messageColour)
        .WriteTo(view, log);
}

void WriteReceivedActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                             std::uint32_t nameColour, const std::string& joiner, const std::string& text,
                             std::uint32_t messageColour) {
    LineBuilder::Indented(ctx)
        .Add(name, nameColour)
        .Add(joiner, ctx.textColor)
        .Add(text, messageColour)
        .WriteTo(view, log);
}

void WriteEventLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                    std::uint32_t nameColour, const std::string& event) {
    LineBuilder::Indented(ctx).Add(name, nameColour).Add(event, ctx.noticeColor).WriteTo(view, log);
}

void WriteEventValueLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                         std::uint32_t nameColour, const std::string& label, const std::string& value,
                         std::uint32_t valueColour) {
    LineBuilder::Indented(ctx)
        .Add(name, nameColour)
        .Add(label, ctx.textColor)
        .Add(value, valueColour)
        .WriteTo(view, log);
}

}  // namespace vorlan::conversation
