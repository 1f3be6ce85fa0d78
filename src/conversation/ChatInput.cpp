#include "conversation/ChatInput.h"

#include <array>
#include <optional>

#include "conversation/ChatInputContext.h"
#include "conversation/ChatLines.h"
#include "conversation/ChatLog.h"
#include "conversation/ChatView.h"
#include "conversation/LineContext.h"
#include "protocol/ClientToServer.h"
#include "protocol/Framing.h"
#include "protocol/Text.h"

namespace vorlan::conversation {
namespace {

enum class Removed { Nothing, LineBreaks, SepAndLineBreaks };

struct LimitRule {
    std::string_view prefix;
    std::size_t maxLength;
    Removed removed;
};

// First match wins; the empty prefix matches anything.
constexpr std::array<LimitRule, 9> kMainRules{{
    {"/cpw ", 1005, Removed::LineBreaks},
    {"/saspw ", 1007, Removed::LineBreaks},
    {"/naspw ", 1007, Removed::LineBreaks},
    {"/nuspw ", 1007, Removed::LineBreaks},
    {"/name ", 26, Removed::SepAndLineBreaks},
    {"/topic ", 1007, Removed::Nothing},
    {"/me ", 1004, Removed::Nothing},
    {"/say ", 1005, Removed::Nothing},
    {"", 1000, Removed::Nothing},
}};

constexpr std::array<LimitRule, 4> kPrivateRules{{
    {"/name ", 26, Removed::SepAndLineBreaks},
    {"/me ", 1004, Removed::Nothing},
    {"/say ", 1005, Removed::Nothing},
    {"", 1000, Removed::Nothing},
}};

bool IsRemoved(char c, Removed removed) {
    switch (removed) {
        case Removed::Nothing: return false;
        case Removed::LineBreaks: return c == '\r' || c == '\n';
        case Removed::SepAndLineBreaks: return c == '\r' || c == '\n' || c == protocol::kSep;
    }
    return false;
}

template <std::size_t N>
InputLimit ApplyRules(const std::array<LimitRule, N>& rules, std::string_view text) {
    InputLimit limit;
    for (const LimitRule& rule : rules) {
        if (!text.starts_with(rule.prefix)) continue;
        limit.maxLength = rule.maxLength;
        for (char c : text) {
            if (IsRemoved(c, rule.removed)) {
                limit.changed = true;
            } else {
                limit.text.push_back(c);
            }
        }
        break;
    }
    return limit;
}

// The input line holds a C string; anything after a zero byte would otherwise
// become a message of its own on the wire.
std::string UpToZeroByte(const std::string& typed) { return typed.substr(0, typed.find('\0')); }

bool TakeCommand(std::string_view text, std::string_view command, std::string& rest) {
    if (!text.starts_with(command)) return false;
    rest = std::string(text.substr(command.size()));
    return true;
}

void ChangeOwnName(ChatInputContext& context, const std::string& rest) {
    const std::string name = protocol::Trim(rest);
    context.SetOwnName(name);
    context.SendToServer(protocol::to_server::NameChange(name));
}

bool RunPasswordCommand(ChatInputContext& context, const std::string& text) {
    struct PasswordCommand {
        std::string_view command;
        PasswordKind kind;
        const char* notice;
    };
    static constexpr std::array<PasswordCommand, 4> kCommands{{
        {"/cpw ", PasswordKind::Client, "Client password changed."},
        {"/saspw ", PasswordKind::SuperAdmin, "Server super admin password changed."},
        {"/naspw ", PasswordKind::NormalAdmin, "Server normal admin password changed."},
        {"/nuspw ", PasswordKind::NormalUser, "Server normal user password changed."},
    }};
    std::string rest;
    for (const PasswordCommand& command : kCommands) {
        if (!TakeCommand(text, command.command, rest)) continue;
        context.SetPassword(command.kind, rest);
        WriteNotice(context.Lines(), context.MainView(), &context.MainLog(), command.notice);
        return true;
    }
    return false;
}

// The kind of an own line and its text.
struct OwnLine {
    char kind;
    std::string text;
};

// Writes the own line of an action, "says" or ordinary text into `view` and
// `log` before it is sent; nothing for "/me " or "/say " without text.
std::optional<OwnLine> WriteOwnLine(ChatInputContext& context, ChatView& view, ChatLog& log, const std::string& typed,
                                    int popupSource) {
    const LineContext& lines = context.Lines();
    const std::string name = context.OwnName();
    const std::uint32_t colour = context.OwnColour();
    std::string rest;
    if (TakeCommand(typed, "/me ", rest)) {
        if (rest.empty()) return std::nullopt;
        WriteActionLine(lines, view, &log, name, colour, rest);
        return OwnLine{protocol::to_server::kActionLine, rest};
    }
    if (TakeCommand(typed, "/say ", rest)) {
        if (rest.empty()) return std::nullopt;
        WriteSaysLine(lines, view, &log, name, colour, rest);
        context.ShowPopup(name + " says: " + rest, 0, popupSource);
        return OwnLine{protocol::to_server::kSaysLine, rest};
    }
    WriteChatLine(lines, view, &log, name, colour, typed);
    return OwnLine{protocol::to_server::kPlainLine, typed};
}

}  // namespace

InputLimit LimitMainInput(std::string_view text) { return ApplyRules(kMainRules, text); }

InputLimit LimitPrivateInput(std::string_view text) { return ApplyRules(kPrivateRules, text); }

void SendMainInput(ChatInputContext& context, const std::string& typed) {
    const std::string text = UpToZeroByte(typed);
    if (text.empty()) return;
    if (text == "/clear") {
        context.MainView().SetText("");
        return;
    }
    if (RunPasswordCommand(context, text)) return;
    std::string rest;
    if (TakeCommand(text, "/name ", rest)) {
        ChangeOwnName(context, rest);
        return;
    }
    if (!context.IsConnected() || context.OwnId() <= 0 || !context.IsMainChatOpen()) return;
    if (TakeCommand(text, "/topic ", rest)) {
        context.SendToServer(protocol::to_server::TopicChange(rest));
        return;
    }
    if (auto line = WriteOwnLine(context, context.MainView(), context.MainLog(), text, 0)) {
        context.SendToServer(protocol::to_server::MainChatLine(line->kind, line->text));
    }
}

void SendPrivateInput(ChatInputContext& context, int peerId, ChatView& view, ChatLog& log, const std::string& typed) {
    const std::string text = UpToZeroByte(typed);
    if (text.empty()) return;
    if (text == "/clear") {
        view.SetText("");
        return;
    }
    std::string rest;
    if (TakeCommand(text, "/name ", rest)) {
        ChangeOwnName(context, rest);
        return;
    }
    if (!context.IsConnected() || context.OwnId() <= 0 || peerId <= 0 || !context.IsUserOnline(peerId)) return;
    auto line = WriteOwnLine(context, view, log, text, peerId);
    if (!line) return;
    context.SendToServer(protocol::to_server::PrivateLine(peerId, line->kind, line->text));
}

}  // namespace vorlan::conversation
