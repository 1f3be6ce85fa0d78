#pragma once

#include <algorithm>
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

#include "app/MainCore.h"
#include "client/ClientSession.h"
#include "conversation/RecordingChatView.h"
#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "protocol/Framing.h"
#include "support/TempFolder.h"

namespace vorlan::client::test_support {

// The test colours are numbered from 1, so a run's colour names its slot.
inline constexpr std::uint32_t kNotice = 4, kText = 5, kMessage = 6, kCurrentServer = 8, kTreeText = 9;
inline constexpr std::uint32_t kHostColour = 13, kNormalAdminColour = 15, kNormalUserColour = 16;
inline constexpr const char* kLogTime = "05.12.2026 09:05";

inline std::string Sep() { return std::string(1, protocol::kSep); }
inline std::string Z() { return std::string(1, '\0'); }

inline platform::LocalTime FixedTime() {
    platform::LocalTime time;
    time.year = 2026, time.month = 12, time.day = 5, time.hour = 9, time.minute = 5;
    return time;
}

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    return platform::EventLoop::RunUntil(done, timeoutMs);
}

// The last `count` runs as "text{colour}", with "*" after a bold run's colour:
// one string states every run's bytes, colour and weight.
inline std::string Runs(const conversation::RecordingChatView& view, std::size_t count = 1000) {
    const auto& runs = view.Runs();
    std::string out;
    for (std::size_t i = runs.size() > count ? runs.size() - count : 0; i < runs.size(); ++i) {
        out += runs[i].text + "{" + std::to_string(runs[i].colour) + (runs[i].bold ? "*}" : "}");
    }
    return out;
}

// The connection's menu items, "+" enabled or "-" greyed, the number of enabled
// status items, the main chat toggle's text and the checked status.
inline std::string MenuStates(const MainMenuModel& menu) {
    auto item = [&](const char* name, int id) { return std::string(name) + (menu.IsEnabled(id) ? "+ " : "- "); };
    int statuses = 0;
    std::string checked;
    for (int id = menu::kStatusAvailable; id <= menu::kStatusCustom; ++id) {
        statuses += menu.IsEnabled(id);
        if (menu.IsChecked(id)) checked = menu.Text(id);
    }
    return item("local", menu::kConnectToLocalServer) + item("server", menu::kConnectToServer) +
           item("end", menu::kEndConnection) + item("status", menu::kSetStatusSubmenu) + std::to_string(statuses) +
           " " + item("toggle", menu::kMainChatToggle) + menu.Text(menu::kMainChatToggle) + " | " + checked;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---- recording views ---------------------------------------------------------------

class RecordingUserTree : public UserTreeView {
public:
    struct Group {
        int id;
        std::string text;
        std::uint32_t colour;
    };
    std::vector<Group> groups;  // in the order they were added
    std::vector<UserRow> rows;  // in the order they were added
    int selected = kTopLevel;

    void AddGroupRow(int id, const std::string& text, std::uint32_t colour) override {
        groups.push_back({id, text, colour});
    }
    void RemoveGroupRow(int id) override {
        std::erase_if(groups, [&](const Group& g) { return g.id == id; });
    }
    void AddUserRow(const UserRow& row) override { rows.push_back(row); }
    void UpdateUserRow(const UserRow& row) override {
        std::replace_if(
            rows.begin(), rows.end(), [&](const UserRow& r) { return r.id == row.id; }, row);
    }
    void RemoveUserRow(int id) override {
        std::erase_if(rows, [&](const UserRow& r) { return r.id == id; });
    }
    void ClearRows() override { rows.clear(), groups.clear(); }
    int SelectedRowId() const override { return selected; }

    // "Admins: Host, (Bob) | Normal: Carl": groups in tree order, labels in row order.
    std::string Render() const {
        std::string out;
        for (const Group& group : groups) {
            out += (out.empty() ? "" : " | ") + group.text + ":";
            const char* separator = " ";
            for (const UserRow& row : rows) {
                if (row.group == group.id) out += separator + row.label, separator = ", ";
            }
        }
        return out;
    }
    const UserRow* Row(int id) const {
        for (const UserRow& r : rows)
            if (r.id == id) return &r;
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
    void SetServerItemLabel(int id, const std::string& label) override { Find(id).label = label; }
    void SetServerItemColour(int id, std::uint32_t colour) override { Find(id).colour = colour; }
    void RemoveServerItem(int id) override {
        std::erase_if(items, [&](const Item& i) { return i.id == id; });
    }
    void ClearServerItems() override { items.clear(); }
    Item& Find(int id) {
        for (Item& item : items)
            if (item.id == id) return item;
        throw std::out_of_range("no server item " + std::to_string(id));
    }
};

struct RecordingConnections : RemoteConnectionsView {
    bool open = false;
    std::vector<RemoteConnectionRow> rows;
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    void ClearRows() override { rows.clear(); }
    void AddRow(const RemoteConnectionRow& row) override { rows.push_back(row); }
};

struct RecordingBanList : RemoteBanListView {
    bool open = false;
    std::vector<std::string> rows;  // "id:label"
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    void ClearRows() override { rows.clear(); }
    void AddRow(int banId, const std::string& label) override { rows.push_back(std::to_string(banId) + ":" + label); }
};

class RecordingPrivateWindow : public PrivateChatWindowView {
public:
    explicit RecordingPrivateWindow(std::vector<RecordingPrivateWindow*>& alive) : alive_(alive) {
        alive_.push_back(this);
    }
    ~RecordingPrivateWindow() override { std::erase(alive_, this); }

    conversation::RecordingChatView view;
    std::string caption;
    int flashes = 0, shownMinimised = 0, shownInFront = 0;
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

// Every view of the main window, recorded; the small ones are this object itself.
struct RecordedViews : MainMenuView,
                       app::PopupView,
                       MainWindowState,
                       TrayTip,
                       app::SoundPlayer,
                       InfoWindowView,
                       AdminMenusView,
                       PrivateChatWindowFactory,
                       Transfers {
    conversation::RecordingChatView mainView;
    RecordingUserTree userTree;
    RecordingRecentServers recentServers;
    RecordingConnections connections;
    RecordingBanList banList;
    std::map<int, MenuItemState> menuChanged;
    std::vector<std::string> popups;  // "text" or, with a force or source, "text|force|source"
    bool foreground = true, visible = true;
    std::string tip = "Vorlan";
    std::vector<std::string> played;  // sounds
    int infoShown = 0, infoUserId = 0;
    std::string infoCaption;
    std::array<std::string, kInfoFieldCount> infoFields;
    int adminInstalls = 0, adminRemoves = 0;
    std::vector<RecordingPrivateWindow*> alive;  // private windows not yet destroyed, oldest first
    std::vector<std::string> transferControls;
    std::vector<int> cancelled;  // transfers, by user id
    int cancelledAll = 0;        // every pending transfer, when the connection ended

    void OnMenuItemChanged(int id, const MenuItemState& state) override { menuChanged[id] = state; }
    bool IsPopupVisible() const override { return false; }
    void ShowPopup(const app::PopupRequest& popup) override {
        const int force = popup.updateNotice ? 1 : 0;
        popups.push_back(force || popup.source ? popup.text + "|" + std::to_string(force) + "|" +
                                                     std::to_string(popup.source)
                                               : popup.text);
    }
    bool IsMainWindowForeground() const override { return foreground; }
    bool IsMainWindowVisible() const override { return visible; }
    void SetTrayTip(const std::string& text) override { tip = text; }
    void PlayWave(const std::string& path) override { played.push_back(path); }
    void ShowInfoWindow() override { ++infoShown; }
    void SetInfoCaption(const std::string& text) override { infoCaption = text; }
    void SetInfoUserId(int id) override { infoUserId = id; }
    void SetInfoField(int index, const std::string& text) override {
        infoFields.at(static_cast<std::size_t>(index)) = text;
    }
    void InstallAdminMenus() override { ++adminInstalls; }
    void RemoveAdminMenus() override { ++adminRemoves; }
    bool AdminMenusInstalled() const { return adminInstalls > adminRemoves; }
    std::unique_ptr<PrivateChatWindowView> CreatePrivateChatWindow() override {
        return std::make_unique<RecordingPrivateWindow>(alive);
    }
    void OnFileTransferControl(const std::string& message) override { transferControls.push_back(message); }
    void CancelTransfersWith(int userId) override { cancelled.push_back(userId); }
    void CancelAllPendingTransfers() override { ++cancelledAll; }

    ClientSessionViews Views(Notifications& notifications) {
        return {mainView, userTree, recentServers, notifications, *this, *this,
                *this,    connections, banList,    *this,         *this, *this};
    }
    app::MainCoreViews CoreViews() {
        return {mainView, userTree, recentServers, *this, *this, *this, *this, *this, connections, banList, *this,
                *this};
    }
    RecordingPrivateWindow* Window(std::size_t index) { return index < alive.size() ? alive[index] : nullptr; }
};

inline storage::Colors TestColours() {
    storage::Colors colours{};
    for (std::size_t k = 0; k < colours.size(); ++k) colours[k] = static_cast<std::uint32_t>(k + 1);
    return colours;
}

// A session named Anna, logging off, over recorded views and the real
// notifier; `folder` is the program folder.
class TestClient : public RecordedViews {
public:
    ClientSessionSettings settings;
    std::unique_ptr<app::Notifier> notifier;
    std::unique_ptr<ClientSession> session;

    explicit TestClient(const std::string& folder, const std::function<void(ClientSessionSettings&)>& adjust = {}) {
        settings.colors = TestColours();
        settings.programFolder = folder;
        settings.clock = FixedTime;
        settings.profile.name = "Anna";
        settings.options.mainChatLogging = settings.options.privateChatLogging = false;
        if (adjust) adjust(settings);
        notifier = std::make_unique<app::Notifier>(settings.options, folder, *this, *this);
        session = std::make_unique<ClientSession>(Views(*notifier), settings);
        session->SetMenuView(this);
    }

    ClientSession* operator->() { return session.get(); }
    void Receive(const std::string& message) { session->HandleServerMessage(message); }
    std::string ViewText() const { return mainView.Text(); }
    bool ViewEndsWith(const std::string& text) const { return mainView.Text().ends_with(text); }
};

// ---- a raw peer for exact bytes ------------------------------------------------------------

struct RawPeer : platform::AsyncSocket {
    std::string received;
    bool closed = false;

    void OnReceive(int) override {
        char buffer[65536];
        const int count = Receive(buffer, sizeof buffer);
        if (count > 0) received.append(buffer, static_cast<std::size_t>(count));
    }
    void OnClose(int) override { closed = true; }
};

// A listening socket that accepts every connection into a RawPeer.
struct RawServer : platform::AsyncSocket {
    std::vector<std::unique_ptr<RawPeer>> peers;

    bool Start(std::uint16_t port = 0, const std::string& bindAddress = "127.0.0.1") {
        return Create(port, platform::kEventAccept, bindAddress) && Listen();
    }
    RawPeer& Peer(std::size_t index = 0) { return *peers.at(index); }
    void Send(const std::string& bytes) { Peer().Send(bytes.data(), static_cast<int>(bytes.size())); }
    void OnAccept(int) override {
        auto peer = std::make_unique<RawPeer>();
        if (Accept(*peer)) peers.push_back(std::move(peer));
    }
};

}  // namespace vorlan::client::test_support
