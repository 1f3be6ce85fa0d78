#include "conversation/ChatLog.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "conversation/ChatLines.h"
#include "conversation/LineContext.h"
#include "conversation/TimeText.h"

namespace vorlan::conversation {
namespace {

constexpr const char* kOpenFailedNotice = "Couldn't open chat log file.";
constexpr std::size_t kMaxHeldBytes = 1 << 20;

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

bool HasCharacterWindowsRefuses(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

// Windows opens a device instead of a file for these names, whatever the extension.
bool IsDeviceName(const std::string& name) {
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = UpperAscii(base);
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return true;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"))) {
        unsigned char last = static_cast<unsigned char>(base[3]);
        return (last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3;
    }
    return false;
}

// The file counts as empty when it cannot be read or its first line is empty.
bool FileHoldsText(const std::string& path) {
    platform::File file;
    if (!file.Open(path, platform::File::Mode::Read)) return false;
    char first[2] = {0, 0};
    std::int64_t got = file.Read(first, sizeof first);
    if (got <= 0) return false;
    if (first[0] == '\n') return false;
    if (got == 2 && first[0] == '\r' && first[1] == '\n') return false;
    return true;
}

void EnsureFolder(const std::string& path) {
    if (!platform::DirectoryExists(path)) platform::CreateFolder(path);
}

}  // namespace

std::string ChatLogsFolder(const std::string& programFolder) { return programFolder + "\\Chat logs"; }

std::string PrivateLogsFolder(const std::string& programFolder) {
    return ChatLogsFolder(programFolder) + "\\Private chat";
}

std::string MainLogPath(const std::string& programFolder) { return ChatLogsFolder(programFolder) + "\\mainchat.txt"; }

std::string PrivateLogPath(const std::string& programFolder, const std::string& partnerName) {
    if (!IsUsableLogName(partnerName)) return {};
    return PrivateLogsFolder(programFolder) + "\\" + partnerName + ".txt";
}

bool IsUsableLogName(const std::string& partnerName) {
    if (partnerName == "." || partnerName.find("..") != std::string::npos) return false;
    return !HasCharacterWindowsRefuses(partnerName) && !IsDeviceName(partnerName);
}

bool ChatLog::OpenMain(const std::string& programFolder, bool loggingOn, const LineContext& lines, ChatView& view) {
    WriteHeld();
    file_.Close();
    path_ = MainLogPath(programFolder);
    if (!loggingOn) return false;
    EnsureFolder(ChatLogsFolder(programFolder));
    return Open(path_, "mainchat.txt", lines, view);
}

bool ChatLog::OpenPrivate(const std::string& programFolder, const std::string& partnerName, bool loggingOn,
                          const LineContext& lines, ChatView& view) {
    WriteHeld();
    file_.Close();
    path_ = PrivateLogPath(programFolder, partnerName);
    if (!loggingOn) return false;
    EnsureFolder(ChatLogsFolder(programFolder));
    EnsureFolder(PrivateLogsFolder(programFolder));
    if (path_.empty()) {
        WriteNotice(lines, view, nullptr, kOpenFailedNotice);
        return false;
    }
    return Open(path_, partnerName + ".txt", lines, view);
}

bool ChatLog::Open(const std::string& path, const std::string& shownName, const LineContext& lines, ChatView& view) {
    const bool holdsText = FileHoldsText(path);
    // Append mode puts every write at the end, so no separate seek is needed.
    if (!file_.Open(path, platform::File::Mode::Append, /*denyWrite=*/true)) {
        WriteNotice(lines, view, nullptr, kOpenFailedNotice);
        return false;
    }
    Write(std::string(holdsText ? "\r\n\r\n" : "") + "Session start (" + LogTimestamp(lines.Now()) + ")");
    LineBuilder::Indented(lines)
        .Add("Chat logging to:", lines.noticeColor)
        .Add(" " + shownName, lines.textColor)
        .WriteTo(view, nullptr);
    return true;
}

void ChatLog::Write(const std::string& text) {
    if (!file_.IsOpen()) return;
    if (batchDepth_ == 0) {
        file_.Write(text);
        return;
    }
    held_ += text;
    if (held_.size() >= kMaxHeldBytes) WriteHeld();
}

void ChatLog::EndBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) WriteHeld();
}

void ChatLog::WriteHeld() {
    if (!held_.empty() && file_.IsOpen()) file_.Write(held_);
    held_.clear();
}

void ChatLog::Close(const LineContext& lines) {
    if (!file_.IsOpen()) return;
    Write("\r\nSession close (" + LogTimestamp(lines.Now()) + ")");
    WriteHeld();
    file_.Close();
}

}  // namespace vorlan::conversation
