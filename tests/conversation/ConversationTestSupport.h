#pragma once

#include <cstdint>
#include <filesystem>
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

// 5 December 2026, 09:05.
inline platform::LocalTime FixedTime() {
    platform::LocalTime time;
    time.year = 2026;
    time.month = 12;
    time.day = 5;
    time.hour = 9;
    time.minute = 5;
    return time;
}

inline LineContext FixedLines(bool timestamps = true) {
    LineContext lines;
    lines.clock = FixedTime;
    lines.timestamps = timestamps;
    lines.textColor = kTextColour;
    lines.noticeColor = kNoticeColour;
    return lines;
}

// A fresh program folder, removed again with the test.
class TempProgramFolder {
public:
    std::string Path() const { return folder_.Path().string(); }

    // A file below the folder, given with '/' separators.
    std::string Read(const std::string& relative) const {
        std::ifstream in(folder_.Path() / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(folder_.Path() / relative); }

private:
    test::TempFolder folder_;
};

// The main window as the input line sees it.
class FakeInputContext : public ChatInputContext {
public:
    bool connected = true;
    int ownId = 7;
    bool mainChatOpen = true;
    std::vector<int> onlineUsers{7, 12};
    std::string ownName = "Anna";
    std::string clientPassword, superAdminPassword, normalAdminPassword, normalUserPassword;
    std::vector<std::string> sent;
    struct Popup {
        std::string text;
        int force;
        int source;
        bool operator==(const Popup&) const = default;
    };
    std::vector<Popup> popups;
    LineContext lines = FixedLines();
    RecordingChatView mainView;
    ChatLog mainLog;

    bool IsConnected() const override { return connected; }
    int OwnId() const override { return ownId; }
    bool IsMainChatOpen() const override { return mainChatOpen; }
    bool IsUserOnline(int userId) const override {
        for (int id : onlineUsers) {
            if (id == userId) return true;
        }
        return false;
    }
    std::string OwnName() const override { return ownName; }
    std::uint32_t OwnColour() const override { return kOwnColour; }
    void SetOwnName(const std::string& name) override { ownName = name; }
    void SetClientPassword(const std::string& value) override { clientPassword = value; }
    void SetSuperAdminPassword(const std::string& value) override { superAdminPassword = value; }
    void SetNormalAdminPassword(const std::string& value) override { normalAdminPassword = value; }
    void SetNormalUserPassword(const std::string& value) override { normalUserPassword = value; }
    void SendToServer(const std::string& frame) override { sent.push_back(frame); }
    void ShowPopup(const std::string& text, int force, int source) override {
        popups.push_back(Popup{text, force, source});
    }
    const LineContext& Lines() const override { return lines; }
    ChatView& MainView() override { return mainView; }
    ChatLog& MainLog() override { return mainLog; }
};

}  // namespace vorlan::conversation::test_support
