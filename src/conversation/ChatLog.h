#pragma once

#include <string>

#include "conversation/ChatView.h"
#include "platform/Files.h"

namespace vorlan::conversation {

class ChatView;
struct LineContext;

// Where the logs live, under the program folder (no trailing separator).
std::string ChatLogsFolder(const std::string& programFolder);     // ...\Chat logs
std::string PrivateLogsFolder(const std::string& programFolder);  // ...\Chat logs\Private chat
std::string MainLogPath(const std::string& programFolder);        // ...\Chat logs\mainchat.txt
// "" when the name is not usable (see below), so that "Open chat log" for such
// a user finds nothing instead of a file elsewhere.
std::string PrivateLogPath(const std::string& programFolder, const std::string& partnerName);

// Whether `partnerName` + ".txt" names a file inside the "Private chat" folder:
// no path separators, drive colon, "..", characters Windows refuses in file
// names, control characters or device names (CON, NUL, COM1...).
bool IsUsableLogName(const std::string& partnerName);

// One chat log file (the main chat's, or one private window's), appended across
// sessions, opened with writing denied to other openers.
class ChatLog : public Batched {
public:
    ChatLog() = default;
    ~ChatLog() override { WriteHeld(); }
    ChatLog(const ChatLog&) = delete;
    ChatLog& operator=(const ChatLog&) = delete;

    // Opens "Chat logs\mainchat.txt" when `loggingOn` (the option, read only
    // here), creating the folder; writes the session start, then "Chat logging
    // to: mainchat.txt" into `view`. On failure writes the notice "Couldn't open
    // chat log file." into `view` and returns false; when logging is off returns
    // false and writes nothing. An open log is closed first (without a line).
    bool OpenMain(const std::string& programFolder, bool loggingOn, const LineContext& lines, ChatView& view);

    // The same for "Chat logs\Private chat\<partnerName>.txt"; a name that would
    // not stay inside that folder fails with the notice.
    bool OpenPrivate(const std::string& programFolder, const std::string& partnerName, bool loggingOn,
                     const LineContext& lines, ChatView& view);

    bool IsOpen() const { return file_.IsOpen(); }

    // Appends the bytes exactly while open; does nothing while closed. Write
    // errors are ignored. During a batch the bytes are held and written
    // together at its end (or once a megabyte waits): a busy room's lines
    // then cost one write per receive, not one each.
    void Write(const std::string& text);
    void BeginBatch() override { ++batchDepth_; }
    void EndBatch() override;

    // If open: writes "\r\nSession close (" + LogTimestamp + ")" and closes.
    void Close(const LineContext& lines);

    // The path of the last file this log tried to open ("" before any);
    // "Open chat log" shows it when it exists.
    const std::string& Path() const { return path_; }

private:
    bool Open(const std::string& path, const std::string& shownName, const LineContext& lines, ChatView& view);

    void WriteHeld();

    platform::File file_;
    std::string path_;
    std::string held_;
    int batchDepth_ = 0;
};

}  // namespace vorlan::conversation
