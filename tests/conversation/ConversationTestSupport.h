#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "conversation/ChatInputContext.h"
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
class FakeInputContext : public ChatInputContext {
public:
    bool connected = true;
    int ownId = 7;
    bool mainChatOpen = true;
    std::string ownName = "Anna";
    std::string passwords[4];  // client, super admin, normal admin, normal user
    std::vector<std::string> sent;
    std::vector<std::string> popups;  // text, force and source
    LineContext lines = FixedLines();
    RecordingChatView mainView;
    ChatLog mainLog;

    bool IsConnected() const override { return connected; }
    int OwnId() const override { return ownId; }
    bool IsMainChatOpen() const override { return mainChatOpen; }
    bool IsUserOnline(int userId) const override { return userId == 7 || userId == 12; }
    std::string OwnName() const override { return ownName; }
    std::uint32_t OwnColour() const override { return kOwnColour; }
    void SetOwnName(const std::string& name) override { ownName = name; }
    void SetPassword(PasswordKind kind, const std::string& value) override {
        passwords[static_cast<int>(kind)] = value;
    }
    // As on the wire, with the zero byte; nothing leaves while not connected.
    void SendToServer(std::string_view message) override {
        if (connected) sent.push_back(std::string(message) + '\0');
    }
    void ShowPopup(const std::string& text, int force, int source) override {
        popups.push_back(text + "|" + std::to_string(force) + "|" + std::to_string(source));
    }
    const LineContext& Lines() const override { return lines; }
    ChatView& MainView() override { return mainView; }
    ChatLog& MainLog() override { return mainLog; }
};

}  // namespace vorlan::conversation::test_support
