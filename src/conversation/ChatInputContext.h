#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan::conversation {

class ChatView;
class ChatLog;
struct LineContext;

enum class PasswordKind { Client, SuperAdmin, NormalAdmin, NormalUser };

// What the input lines need from the main window (implemented by the client
// side). Every call is made on the user-interface thread.
class ChatInputContext {
public:
    virtual ~ChatInputContext() = default;

    // State read by the send action.
    virtual bool IsConnected() const = 0;             // the client connection is up
    virtual int OwnId() const = 0;                    // > 0 once the server said who we are
    virtual bool IsMainChatOpen() const = 0;          // the main menu reads "Close main chat"
    virtual bool IsUserOnline(int userId) const = 0;  // the id is in the user list
    virtual std::string OwnName() const = 0;          // the profile's Name
    virtual std::uint32_t OwnColour() const = 0;      // the own user's colour in the user list

    // State changed by commands; kept in memory, saved at shut-down.
    virtual void SetOwnName(const std::string& name) = 0;
    virtual void SetPassword(PasswordKind kind, const std::string& password) = 0;

    // One message for the server, without its zero byte (built by the
    // protocol's builders); dropped while not connected.
    virtual void SendToServer(std::string_view message) = 0;
    virtual void ShowPopup(const std::string& text, int force, int source) = 0;

    virtual const LineContext& Lines() const = 0;
    virtual ChatView& MainView() = 0;
    virtual ChatLog& MainLog() = 0;
};

}  // namespace vorlan::conversation
