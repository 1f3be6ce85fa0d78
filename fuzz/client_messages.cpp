// Feeds arbitrary bytes from a server through the client's framing and message
// handling, with every window replaced by one that only counts what it is told.
// Whatever a server sends must leave the client's user list, private chats and
// views consistent; sanitizers report the rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "client/ClientSession.h"
#include "protocol/Framing.h"

namespace {

using namespace vorlan;
using namespace vorlan::client;

class NullChatView : public conversation::ChatView {
public:
    std::size_t length = 0;
    void AppendText(const std::string& text, std::uint32_t, bool) override { length += text.size(); }
    void SetText(const std::string& text) override { length = text.size(); }
};

class NullUserTree : public UserTreeView {
public:
    void AddGroupRow(int, const std::string&, std::uint32_t) override {}
    void RemoveGroupRow(int) override {}
    void AddUserRow(const UserRow&) override {}
    void UpdateUserRow(const UserRow&) override {}
    void RemoveUserRow(int) override {}
    void ClearRows() override {}
    int SelectedRowId() const override { return 1; }
};

class NullServers : public RecentServersView {
public:
    void AddServerItem(int, const std::string&, std::uint32_t) override {}
    void SetServerItemLabel(int, const std::string&) override {}
    void SetServerItemColour(int, std::uint32_t) override {}
    void RemoveServerItem(int) override {}
    void ClearServerItems() override {}
};

class NullWindow : public Notifications,
                   public MainWindowState,
                   public TrayTip,
                   public InfoWindowView,
                   public AdminMenusView,
                   public Transfers {
public:
    void ShowPopup(const std::string&, int, int) override {}
    void PlayMessageSound() override {}
    bool IsMainWindowForeground() const override { return false; }
    bool IsMainWindowVisible() const override { return false; }
    void SetTrayTip(const std::string&) override {}
    void ShowInfoWindow() override {}
    void SetInfoCaption(const std::string&) override {}
    void SetInfoUserId(int) override {}
    void SetInfoField(int index, const std::string&) override {
        if (index < 0 || index >= kInfoFieldCount) std::abort();
    }
    void InstallAdminMenus() override {}
    void RemoveAdminMenus() override {}
    void OnFileTransferControl(const std::string&) override {}
    void CancelTransfersWith(int) override {}
    void CancelAllPendingTransfers() override {}
};

// The remote lists count as open, so that their rows are handled too.
class OpenConnections : public RemoteConnectionsView {
public:
    bool IsOpen() const override { return true; }
    void Close() override {}
    void ClearRows() override {}
    void AddRow(const RemoteConnectionRow&) override {}
};

class OpenBanList : public RemoteBanListView {
public:
    bool IsOpen() const override { return true; }
    void Close() override {}
    void ClearRows() override {}
    void AddRow(int, const std::string&) override {}
};

class NullPrivateWindow : public PrivateChatWindowView {
public:
    NullChatView view;
    conversation::ChatView& View() override { return view; }
    void SetCaption(const std::string&) override {}
    void Flash() override {}
    void ShowMinimisedWithoutActivating() override {}
    void ShowInFront(bool) override {}
    bool IsForeground() const override { return false; }
};

class NullPrivateWindows : public PrivateChatWindowFactory {
public:
    std::unique_ptr<PrivateChatWindowView> CreatePrivateChatWindow() override {
        return std::make_unique<NullPrivateWindow>();
    }
};

platform::LocalTime FixedTime() { return platform::LocalTime{2026, 12, 5, 9, 5, 0}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NullChatView mainView;
    NullUserTree users;
    NullServers servers;
    NullWindow window;
    OpenConnections connections;
    OpenBanList bans;
    NullPrivateWindows privateWindows;
    ClientSessionViews views{mainView, users,       servers, window, window,         window,
                             window,   connections, bans,    window, privateWindows, window};
    ClientSessionSettings settings;
    settings.clock = FixedTime;
    settings.options.mainChatLogging = false;
    settings.options.privateChatLogging = false;
    settings.profile.name = "Me";
    ClientSession session(views, settings);

    protocol::FrameSplitter splitter;
    splitter.Feed(std::string_view(reinterpret_cast<const char*>(data), size), [&](std::string_view message) {
        if (!message.empty()) session.HandleServerMessage(message);
        return true;
    });
    if (session.unreadCount() > 1001) std::abort();
    return 0;
}
