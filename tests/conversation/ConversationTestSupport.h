#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "conversation/ChatInput.h"
#include "conversation/ChatLog.h"
#include "conversation/LineContext.h"
#include "conversation/RecordingChatView.h"
#include "support/TempFolder.h"

namespace vorlan::conversation::test_support {

inline constexpr std::uint32_t kTextColour = 0x000005;
inline constexpr std::uint32_t kNoticeColour = 0x000004;
inline constexpr std::uint32_t kOwnColour = 0x00AA00;

using ViewRun = RecordingChatView::Run;
using Runs = std::vector<ViewRun>;

// Lines stamped 5 December 2026, 09:05.
inline LineContext FixedLines(bool timestamps = true) {
    LineContext lines;
    lines.clock = [] { return platform::LocalTime{2026, 12, 5, 9, 5, 0}; };
    lines.timestamps = timestamps;
    lines.textColor = kTextColour;
    lines.noticeColor = kNoticeColour;
    return lines;
}

// A fresh program folder, removed again with the test.
class TempProgramFolder : public test::TempFolder {
public:
    std::string Folder() const { return Path().string(); }
    // A file below the folder, given with '/' separators.
    std::string Read(const std::string& relative) const {
        std::ifstream in(Path() / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// The main window as the input line sees it.
// The client around an input line, as far as sending reads and changes it.
class FakeInputContext {
public:
    bool connected = true;
    int ownId = 7;
    bool mainChatOpen = true;
    std::string ownName = "Anna";
    std::string passwords[4];  // client, super admin, normal admin, normal user
    std::vector<std::string> sent;    // as on the wire, with the zero byte
    std::vector<std::string> popups;  // text, force and source
    LineContext lines = FixedLines();
    RecordingChatView mainView;
    ChatLog mainLog;

    InputLine LineFor(ChatView& view, ChatLog& log, bool peerOnline = false) {
        return {lines, view, log, connected, ownId, mainChatOpen, peerOnline, ownName, kOwnColour};
    }
    // What the client does with an outcome; nothing leaves while not connected.
    void CarryOut(const InputOutcome& outcome) {
        if (outcome.ownName) ownName = *outcome.ownName;
        if (outcome.password) passwords[static_cast<int>(*outcome.password)] = outcome.passwordValue;
        if (!outcome.popup.empty()) popups.push_back(outcome.popup + "|0|" + std::to_string(outcome.popupSource));
        if (!outcome.message.empty() && connected) sent.push_back(outcome.message + '\0');
    }
};

inline void SendMainInput(FakeInputContext& context, const std::string& typed) {
    context.CarryOut(SendMainInput(context.LineFor(context.mainView, context.mainLog), typed));
}

// The partner is online when its id is 7 or 12.
inline void SendPrivateInput(FakeInputContext& context, int peerId, ChatView& view, ChatLog& log,
                             const std::string& typed) {
    context.CarryOut(SendPrivateInput(context.LineFor(view, log, peerId == 7 || peerId == 12), peerId, typed));
}

}  // namespace vorlan::conversation::test_support
