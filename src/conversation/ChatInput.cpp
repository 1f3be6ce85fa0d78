#include "conversation/ChatInput.h"

#include <array>
#include <optional>

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

InputOutcome ChangeOwnName(const std::string& rest) {
    InputOutcome outcome;
    outcome.ownName = protocol::Trim(rest);
    outcome.message = protocol::to_server::NameChange(*outcome.ownName);
    return outcome;
}

std::optional<InputOutcome> RunPasswordCommand(const InputLine& line, const std::string& text) {
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
        WriteNotice(line.lines, line.view, &line.log, command.notice);
        InputOutcome outcome;
        outcome.password = command.kind;
        outcome.passwordValue = rest;
        return outcome;
    }
    return std::nullopt;
}

// The kind of an own line and its text.
struct OwnLine {
    char kind;
    std::string text;
};

// Writes the own line of an action, "says" or ordinary text into the view and
// log before it is sent; nothing for "/me " or "/say " without text.
std::optional<OwnLine> WriteOwnLine(const InputLine& line, const std::string& typed, int popupSource,
                                    InputOutcome& outcome) {
    std::string rest;
    if (TakeCommand(typed, "/me ", rest)) {
        if (rest.empty()) return std::nullopt;
        WriteActionLine(line.lines, line.view, &line.log, line.ownName, line.ownColour, rest);
        return OwnLine{protocol::to_server::kActionLine, rest};
    }
    if (TakeCommand(typed, "/say ", rest)) {
        if (rest.empty()) return std::nullopt;
        WriteSaysLine(line.lines, line.view, &line.log, line.ownName, line.ownColour, rest);
        outcome.popup = line.ownName + " says: " + rest;
        outcome.popupSource = popupSource;
        return OwnLine{protocol::to_server::kSaysLine, rest};
    }
    WriteChatLine(line.lines, line.view, &line.log, line.ownName, line.ownColour, typed);
    return OwnLine{protocol::to_server::kPlainLine, typed};
}

}  // namespace

InputLimit LimitMainInput(std::string_view text) { return ApplyRules(kMainRules, text); }

InputLimit LimitPrivateInput(std::string_view text) { return ApplyRules(kPrivateRules, text); }

InputOutcome SendMainInput(const InputLine& line, const std::string& typed) {
    const std::string text = UpToZeroByte(typed);
    InputOutcome outcome;
    if (text.empty()) return outcome;
    if (text == "/clear") {
        line.view.SetText("");
        return outcome;
    }
    if (auto password = RunPasswordCommand(line, text)) return *password;
    std::string rest;
    if (TakeCommand(text, "/name ", rest)) return ChangeOwnName(rest);
    if (!line.connected || line.ownId <= 0 || !line.mainChatOpen) return outcome;
    if (TakeCommand(text, "/topic ", rest)) {
        outcome.message = protocol::to_server::TopicChange(rest);
        return outcome;
    }
    if (auto own = WriteOwnLine(line, text, 0, outcome)) {
        outcome.message = protocol::to_server::MainChatLine(own->kind, own->text);
    }
    return outcome;
}

InputOutcome SendPrivateInput(const InputLine& line, int peerId, const std::string& typed) {
    const std::string text = UpToZeroByte(typed);
    InputOutcome outcome;
    if (text.empty()) return outcome;
    if (text == "/clear") {
        line.view.SetText("");
        return outcome;
    }
    std::string rest;
    if (TakeCommand(text, "/name ", rest)) return ChangeOwnName(rest);
    if (!line.connected || line.ownId <= 0 || peerId <= 0 || !line.peerOnline) return outcome;
    if (auto own = WriteOwnLine(line, text, peerId, outcome)) {
        outcome.message = protocol::to_server::PrivateLine(peerId, own->kind, own->text);
    }
    return outcome;
}

}  // namespace vorlan::conversation
