#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "client/ClientSession.h"
#include "conversation/RecordingChatView.h"
#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "protocol/Framing.h"
#include "support/TempFolder.h"

namespace vorlan::client::test_support {

using ViewRun = conversation::RecordingChatView::Run;

// Colour k of the test colours file is simply k, so a run's colour names its slot.
inline constexpr std::uint32_t kNotice = 4;
inline constexpr std::uint32_t kText = 5;
inline constexpr std::uint32_t kMessage = 6;
inline constexpr std::uint32_t kCurrentServer = 8;
inline constexpr std::uint32_t kTreeText = 9;
inline constexpr std::uint32_t kHostColour = 13;
inline constexpr std::uint32_t kSuperAdminColour = 14;
inline constexpr std::uint32_t kNormalAdminColour = 15;
inline constexpr std::uint32_t kNormalUserColour = 16;

inline std::string Sep() { return std::string(1, protocol::kSep); }

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
inline constexpr const char* kPrefix = "[09:05] ";
inline constexpr const char* kLogTime = "05.12.2026 09:05";

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    return platform::EventLoop::RunUntil(done, timeoutMs);
}

// ---- recording views ---------------------------------------------------------------

class RecordingUserTree : public UserTreeView {
public:
    struct Group {
        int id;
        std::string text;
        std::uint32_t colour;
    };
    std::vector<Group> groups;       // in the order they were added
    std::vector<UserRow> rows;       // in the order they were added
    int selected = kTopLevel;
    int clears = 0;

    void AddGroupRow(int groupId, const std::string& text, std::uint32_t colour) override {
        groups.push_back({groupId, text, colour});
    }
    void RemoveGroupRow(int groupId) override {
        std::erase_if(groups, [&](const Group& g) { return g.id == groupId; });
    }
    void AddUserRow(const UserRow& row) override { rows.push_back(row); }
    void UpdateUserRow(const UserRow& row) override {
        for (UserRow& r : rows) {
            if (r.id == row.id) r = row;
        }
    }
    void RemoveUserRow(int id) override {
        std::erase_if(rows, [&](const UserRow& r) { return r.id == id; });
    }
    void ClearRows() override {
        rows.clear();
        groups.clear();
        ++clears;
    }
    int SelectedRowId() const override { return selected; }

    // "Admins: Host, (Bob) | Normal: Carl": groups in tree order, labels in row order.
    std::string Render() const {
        std::string out;
        for (const Group& group : groups) {
            if (!out.empty()) out += " | ";
            out += group.text + ":";
            bool first = true;
            for (const UserRow& row : rows) {
                if (row.group != group.id) continue;
                out += first ? " " : ", ";
                out += row.label;
                first = false;
            }
        }
        return out;
    }
    const UserRow* Row(int id) const {
        for (const UserRow& r : rows) {
            if (r.id == id) return &r;
        }
        return nullptr;
    }
};

class RecordingRecentServers : public RecentServersView {
public:
    struct Item {
        int id;
        std::string label;
        std::uint32_t colour;
    };
    std::vector<Item> items;
    void AddServerItem(int id, const std::string& label, std::uint32_t colour) override {
        items.push_back({id, label, colour});
    }
    void SetServerItemLabel(int id, const std::string& label) override {
        if (Item* item = Find(id)) item->label = label;
    }
    void SetServerItemColour(int id, std::uint32_t colour) override {
        if (Item* item = Find(id)) item->colour = colour;
    }
    void RemoveServerItem(int id) override {
        std::erase_if(items, [&](const Item& i) { return i.id == id; });
    }
    void ClearServerItems() override { items.clear(); }
    Item* Find(int id) {
        for (Item& item : items) {
            if (item.id == id) return &item;
        }
        return nullptr;
    }
};

class RecordingMenu : public MainMenuView {
public:
    std::map<int, MenuItemState> changed;
    void OnMenuItemChanged(int id, const MenuItemState& state) override { changed[id] = state; }
};

class RecordingPopups : public PopupRequests {
public:
    struct Popup {
        std::string text;
        int force;
        int source;
        bool operator==(const Popup&) const = default;
    };
    std::vector<Popup> popups;
    void ShowPopup(const std::string& text, int force, int source) override { popups.push_back({text, force, source}); }
};

class FakeMainWindow : public MainWindowState {
public:
    bool foreground = true;
    bool visible = true;
    bool IsMainWindowForeground() const override { return foreground; }
    bool IsMainWindowVisible() const override { return visible; }
};

class RecordingTray : public TrayTip {
public:
    std::string tip = "Vorlan";
    void SetTrayTip(const std::string& text) override { tip = text; }
};

class RecordingSounds : public SoundPlayer {
public:
    std::vector<std::string> played;
    void PlayWave(const std::string& path) override { played.push_back(path); }
};

class RecordingInfo : public InfoWindowView {
public:
    int shown = 0;
    std::string caption;
    int userId = 0;
    std::array<std::string, kInfoFieldCount> fields;
    void ShowInfoWindow() override { ++shown; }
    void SetInfoCaption(const std::string& text) override { caption = text; }
    void SetInfoUserId(int id) override { userId = id; }
    void SetInfoField(int index, const std::string& text) override { fields.at(static_cast<std::size_t>(index)) = text; }
};

class RecordingConnections : public RemoteConnectionsView {
public:
    bool open = false;
    std::vector<RemoteConnectionRow> rows;
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    void ClearRows() override { rows.clear(); }
    void AddRow(const RemoteConnectionRow& row) override { rows.push_back(row); }
};

class RecordingBanList : public RemoteBanListView {
public:
    bool open = false;
    std::vector<std::pair<int, std::string>> rows;
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    void ClearRows() override { rows.clear(); }
    void AddRow(int banId, const std::string& label) override { rows.emplace_back(banId, label); }
};

class RecordingAdminMenus : public AdminMenusView {
public:
    int installs = 0;
    int removes = 0;
    bool Installed() const { return installs > removes; }
    void InstallAdminMenus() override { ++installs; }
    void RemoveAdminMenus() override { ++removes; }
};

class RecordingPrivateWindow : public PrivateChatWindowView {
public:
    explicit RecordingPrivateWindow(std::vector<RecordingPrivateWindow*>& alive) : alive_(alive) {
        alive_.push_back(this);
    }
    ~RecordingPrivateWindow() override { std::erase(alive_, this); }

    conversation::RecordingChatView view;
    std::string caption;
    int flashes = 0;
    int shownMinimised = 0;
    int shownInFront = 0;
    bool foreground = false;

    conversation::ChatView& View() override { return view; }
    void SetCaption(const std::string& text) override { caption = text; }
    void Flash() override { ++flashes; }
    void ShowMinimisedWithoutActivating() override { ++shownMinimised; }
    void ShowInFront(bool) override { ++shownInFront; }
    bool IsForeground() const override { return foreground; }

private:
    std::vector<RecordingPrivateWindow*>& alive_;
};

class RecordingPrivateWindows : public PrivateChatWindowFactory {
public:
    std::vector<RecordingPrivateWindow*> alive;  // windows not yet destroyed, oldest first
    std::unique_ptr<PrivateChatWindowView> CreatePrivateChatWindow() override {
        return std::make_unique<RecordingPrivateWindow>(alive);
    }
};

class RecordingTransfers : public TransferHook {
public:
    std::vector<std::string> controls;
    std::vector<int> cancelled;
    void OnFileTransferControl(const std::string& message) override { controls.push_back(message); }
    void CancelTransfersWith(int userId) override { cancelled.push_back(userId); }
};

// ---- a client with every view recorded ---------------------------------------------------

inline storage::Colors TestColours() {
    storage::Colors colours{};
    for (std::size_t k = 0; k < colours.size(); ++k) colours[k] = static_cast<std::uint32_t>(k + 1);
    return colours;
}

class TestClient {
public:
    conversation::RecordingChatView mainView;
    RecordingUserTree userTree;
    RecordingRecentServers recentServers;
    RecordingMenu menu;
    RecordingPopups popups;
    FakeMainWindow mainWindow;
    RecordingTray tray;
    RecordingSounds sounds;
    RecordingInfo info;
    RecordingConnections connections;
    RecordingBanList banList;
    RecordingAdminMenus adminMenus;
    RecordingPrivateWindows privateWindows;
    RecordingTransfers transfers;
    std::unique_ptr<ClientSession> session;

    // `folder` is the program folder (logs go below it).
    explicit TestClient(const std::string& folder, const std::function<void(ClientSessionSettings&)>& adjust = {}) {
        ClientSessionSettings settings;
        settings.colors = TestColours();
        settings.programFolder = folder;
        settings.clock = FixedTime;
        settings.profile.name = "Anna";
        settings.options.mainChatLogging = false;
        settings.options.privateChatLogging = false;
        settings.keepAliveMs = 60000;
        settings.reconnectMs = 30000;
        if (adjust) adjust(settings);
        ClientSessionViews views{mainView, userTree, recentServers, popups,      mainWindow,
                                 tray,     sounds,   info,          connections, banList,
                                 adminMenus, privateWindows, transfers};
        session = std::make_unique<ClientSession>(views, std::move(settings));
        session->SetMenuView(&menu);
    }

    ClientSession& operator*() { return *session; }
    ClientSession* operator->() { return session.get(); }

    void Receive(const std::string& message) { session->HandleServerMessage(message); }
    std::string ViewText() const { return mainView.Text(); }
    RecordingPrivateWindow* Window(std::size_t index) {
        return index < privateWindows.alive.size() ? privateWindows.alive[index] : nullptr;
    }
};

// ---- a raw peer for exact bytes ------------------------------------------------------------

class RawPeer : public platform::AsyncSocket {
public:
    std::string received;
    bool closed = false;
    int closeError = -1;

protected:
    void OnReceive(int) override {
        char buffer[65536];
        const int count = Receive(buffer, sizeof buffer);
        if (count > 0) received.append(buffer, static_cast<std::size_t>(count));
    }
    void OnClose(int error) override {
        closed = true;
        closeError = error;
    }
};

// A listening socket on loopback that accepts every connection into a RawPeer.
class RawServer : public platform::AsyncSocket {
public:
    std::vector<std::unique_ptr<RawPeer>> peers;

    bool Start(std::uint16_t port = 0, const std::string& bindAddress = "127.0.0.1") {
        return Create(port, platform::kEventAccept, bindAddress) && Listen();
    }
    RawPeer& Peer(std::size_t index = 0) { return *peers.at(index); }
    void Send(const std::string& bytes, std::size_t index = 0) {
        Peer(index).Send(bytes.data(), static_cast<int>(bytes.size()));
    }

protected:
    void OnAccept(int) override {
        auto peer = std::make_unique<RawPeer>();
        if (Accept(*peer)) peers.push_back(std::move(peer));
    }
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vorlan::client::test_support
