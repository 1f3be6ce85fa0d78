#include "conversation/ChatLines.h"

#include "conversation/ChatLine.h"

namespace vorlan::conversation {

void WriteChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text) {
    ChatLine::Plain(ctx)
        .Add(name, nameColour, true)
        .Add(":", ctx.textColor, true)
        .Add(" " + text, ctx.textColor)
        .WriteTo(view, log);
}

void WriteActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                     std::uint32_t nameColour, const std::string& text) {
    ChatLine::Indented(ctx).Add(name, nameColour).Add(" " + text, ctx.textColor).WriteTo(view, log);
}

void WriteSaysLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                   std::uint32_t nameColour, const std::string& text) {
    ChatLine::Indented(ctx).Add(name, nameColour).Add(" says: " + text, ctx.textColor).WriteTo(view, log);
}

void WriteNotice(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& notice) {
    ChatLine::Indented(ctx).Add(notice, ctx.noticeColor).WriteTo(view, log);
}

void WriteReceivedChatLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                           std::uint32_t nameColour, const std::string& text, std::uint32_t messageColour) {
    ChatLine::Plain(ctx)
        .Add(name, nameColour, true)
        .Add(":", ctx.textColor, true)
        .Add(" ", ctx.textColor)
        .Add(text, messageColour)
        .WriteTo(view, log);
}

void WriteReceivedActionLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                             std::uint32_t nameColour, const std::string& joiner, const std::string& text,
                             std::uint32_t messageColour) {
    ChatLine::Indented(ctx)
        .Add(name, nameColour)
        .Add(joiner, ctx.textColor)
        .Add(text, messageColour)
        .WriteTo(view, log);
}

void WriteEventLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                    std::uint32_t nameColour, const std::string& event) {
    ChatLine::Indented(ctx).Add(name, nameColour).Add(event, ctx.noticeColor).WriteTo(view, log);
}

void WriteEventValueLine(const LineContext& ctx, ChatView& view, ChatLog* log, const std::string& name,
                         std::uint32_t nameColour, const std::string& label, const std::string& value,
                         std::uint32_t valueColour) {
    ChatLine::Indented(ctx).Add(name, nameColour).Add(label, ctx.textColor).Add(value, valueColour).WriteTo(view, log);
}

}  // namespace vorlan::conversation
