#include "app/ui/MainDialog.h"

#include <shellapi.h>

#include <cstring>
#include <initializer_list>

#include "app/MainLayout.h"
#include "app/TrayMenuModel.h"
#include "app/ui/MainDialogIds.h"
#include "client/MenuIds.h"
#include "client/ui/PrivateChatIds.h"
#include "conversation/ui/ConversationIds.h"
#include "platform/Files.h"

namespace vorlan::app {

namespace {

// Colours of the colours file that the main window's controls use.
using storage::ColourIndex;

COLORREF ColourRef(const storage::Colors& colors, ColourIndex k) {
    return static_cast<COLORREF>(storage::ColourOf(colors, k));
}

// Posted at start-up when the window is to start maximized.
constexpr UINT kMaximizeAtStart = WM_APP + 2;

HICON LoadIconFile(const std::string& path, int size) {
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

void MoveControl(HWND control, const ControlRect& rect) {
    MoveWindow(control, rect.x, rect.y, rect.width, rect.height, TRUE);
}

bool IsScrolledToEnd(HWND view) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(view, SB_VERT, &info)) {
        return true;  // nothing to scroll
    }
    return info.nPos + static_cast<int>(info.nPage) > info.nMax;
}

}  // namespace

MainDialog::MainDialog(HINSTANCE instance)
    : instance_(instance),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      popup_({[this] { ShowVorlan(); }, [this](int userId) { ShowPrivateChat(userId); }, [this] { OpenUpdatePage(); }}),
      privateChatWindows_(instance),
      info_(instance, *this),
      transferWindows_(instance) {}

MainDialog::~MainDialog() {
    // The list windows go before the core, which may still ask about them.
    remoteConnections_.Bind(nullptr);
    remoteBanList_.Bind(nullptr);
    if (userMenuResource_ != nullptr) {
        DestroyMenu(userMenuResource_);
    }
    if (serversMenuResource_ != nullptr) {
        DestroyMenu(serversMenuResource_);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
    if (largeIcon_ != nullptr) {
        DestroyIcon(largeIcon_);
    }
}

INT_PTR MainDialog::Run() { return RunModal(instance_, IDD_MAIN_DIALOG, nullptr); }

MainCoreViews MainDialog::Views() {
    return {chatView_, userTree_, serversTree_,       popup_,         sounds_,     *this,
            tray_,     info_,     remoteConnections_, remoteBanList_, adminMenus_, privateChatWindows_};
}

conversation::ChatTextColours MainDialog::TextColours() const {
    return conversation::ChatTextColoursFrom(core_->Colors());
}

// ---- messages -----------------------------------------------------------------------

INT_PTR MainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.AddAgain();
        return TRUE;
    }
    switch (message) {
        case WM_INITDIALOG: OnInitDialog(); return FALSE;  // the focus was put into the input line
        case WM_COMMAND: OnCommand(wParam); return TRUE;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_SIZE: OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE;
        case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
        case WM_CLOSE: HideToTray(); return TRUE;
        case WM_TRAY_CALLBACK: OnTrayCallback(lParam); return TRUE;
        case WM_SHOWWINDOW:
            if (wParam != FALSE) OnShown();
            return FALSE;
        case kMaximizeAtStart:
            if (!shutDown_ && IsWindowVisible(handle())) {
                ShowWindow(handle(), SW_MAXIMIZE);
            }
            return TRUE;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return TRUE;
        case WM_PRIVATE_SEND_FILE:
            if (core_) core_->Transfers().StartSend(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC: return OnLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ENDSESSION:
            // Whatever the session's end says, the program ends properly.
            Shutdown();
            return TRUE;
        default: return FALSE;
    }
}

// ---- start-up -------------------------------------------------------------------------

void MainDialog::OnInitDialog() {
    LoadIcons();
    LoadSkin();

    MainCoreSettings settings;
    settings.programFolder = platform::ExecutableFolder();
    settings.transferWindows = &transferWindows_;
    core_ = std::make_unique<MainCore>(Views(), std::move(settings));
    skin_.SetColours(core_->Colors());
    privateChatWindows_.Bind(core_->Session(), handle());
    transferWindows_.Bind(core_->Options(), core_->Colors(), handle());
    DragAcceptFiles(handle(), TRUE);
    PlaceAtStoredSize();

    SetUpServersTree();
    core_->LoadRecentServers();
    SetUpTextControls();
    SetUpMenus();
    CreateSingleDialogs();

    tray_.Add(handle(), smallIcon_, "Vorlan");
    core_->Start();
    SetFocus(inputLine_.handle());
}

void MainDialog::LoadIcons() {
    const std::string path = platform::ExecutableFolder() + "\\Images\\icon.ico";
    // A missing icon file leaves the window without icons.
    smallIcon_ = LoadIconFile(path, 16);
    largeIcon_ = LoadIconFile(path, 32);
    if (smallIcon_ != nullptr) {
        SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
    if (largeIcon_ != nullptr) {
        SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    }
}

// The images once for the whole run; from now on every window is drawn through them.
void MainDialog::LoadSkin() {
    skin_.LoadImages(platform::ExecutableFolder());
    skin_.SetIcon(largeIcon_);
    ui::InstallWindowSkin(&skin_);
}

// The stored outer size at the current top-left corner, then maximized when
// it was. The start is read first: the move itself reports a restored window.
void MainDialog::PlaceAtStoredSize() {
    const MainWindowStart start = MainWindowStartFrom(core_->Options());
    RECT frame{};
    GetWindowRect(handle(), &frame);
    if (start.resize) {
        SetWindowPos(handle(), nullptr, frame.left, frame.top, start.width, start.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The modal loop shows the dialog "normal" the first time it runs out of
    // messages, which would undo a maximize made now: it is made right after.
    maximizeWhenShown_ = start.maximized;
    RECT client{};
    GetClientRect(handle(), &client);
    LayOut(client.right, client.bottom);
}

void MainDialog::SetUpServersTree() {
    const storage::Colors& colors = core_->Colors();
    serversTree_.Attach(GetDlgItem(handle(), IDC_SERVERS_TREE), ColourRef(colors, ColourIndex::TreeBackground),
                        ColourRef(colors, ColourIndex::TreeText));
    serversMenuResource_ = LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_SERVERS_MENU));
    SendDlgItemMessageA(handle(), IDC_SERVERS_LABEL, WM_SETFONT, reinterpret_cast<WPARAM>(skin_.TitleLabelFont()),
                        TRUE);
}

void MainDialog::SetUpTextControls() {
    const conversation::ChatTextColours colours = TextColours();
    chatView_.Attach(GetDlgItem(handle(), IDC_CHAT_VIEW), *this, colours);
    inputLine_.Attach(GetDlgItem(handle(), IDC_INPUT_LINE), *this, colours);
    inputLine_.ApplyMainInputLimit();
    const storage::Colors& colors = core_->Colors();
    userTree_.Attach(GetDlgItem(handle(), IDC_USER_TREE), ColourRef(colors, ColourIndex::TreeBackground),
                     ColourRef(colors, ColourIndex::TreeText));
    userTree_.SetHoverHandler([this](const auto& entry) { OnUserTreeHover(entry); });
    // Enter in the input line presses this hidden button.
    SendMessageA(handle(), DM_SETDEFID, IDC_SEND_BUTTON, 0);
}

void MainDialog::SetUpMenus() {
    userMenuResource_ = LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_USER_MENU));
    adminMenus_.Attach(GetMenu(handle()), handle(),
                       userMenuResource_ != nullptr ? GetSubMenu(userMenuResource_, 0) : nullptr);
    menu_.Attach(GetMenu(handle()));
    core_->Session().SetMenuView(&menu_);
    menu_.CopyAll(core_->Session().menu());
}

void MainDialog::CreateSingleDialogs() {
    const conversation::ChatTextColours colours = TextColours();
    info_.SetColours(colours);
    info_.SetPrivateChatAction([this] { return core_->Session().OpenPrivateChatFromInfo(); });
    conversation::ChatTextOwner& owner = *this;
    connect_ = std::make_unique<client::ConnectDialog>(instance_, core_->Session(), owner, colours);
    about_ = std::make_unique<AboutDialog>(instance_, core_->Options());
    options_ = std::make_unique<OptionsDialog>(instance_, *core_);
    profile_ = std::make_unique<client::EditProfileDialog>(instance_, core_->Session());
    customStatus_ = std::make_unique<client::CustomStatusDialog>(instance_, core_->Session());
    connections_ = std::make_unique<client::ConnectionsWindow>(instance_, core_->Session());
    connections_->SetWindowIcons(smallIcon_, largeIcon_);
    remoteConnections_.Bind(connections_.get());
    banList_ = std::make_unique<client::BanListWindow>(instance_, core_->Session());
    banList_->SetWindowIcons(smallIcon_, largeIcon_);
    remoteBanList_.Bind(banList_.get());
    for (ui::ModelessDialog* dialog : std::initializer_list<ui::ModelessDialog*>{
             connect_.get(), about_.get(), &info_, options_.get(), profile_.get(), customStatus_.get()}) {
        dialog->SetIcons(smallIcon_, largeIcon_);
    }
    popup_.Create(instance_);
    hoverCard_.Create(instance_);
    trayMenuWindow_.Create(instance_);
}

// ---- views the core asks ----------------------------------------------------------------

const storage::Options* MainDialog::LinkOptions() const { return core_ ? &core_->Options() : nullptr; }

bool MainDialog::IsMainWindowForeground() const { return handle() != nullptr && GetForegroundWindow() == handle(); }

bool MainDialog::IsMainWindowVisible() const { return handle() != nullptr && IsWindowVisible(handle()) != FALSE; }

// ---- commands ---------------------------------------------------------------------------

void MainDialog::OnCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_INPUT_LINE) {
        if (code == EN_CHANGE) {
            inputLine_.ApplyMainInputLimit();
        }
        return;
    }
    if (id == IDC_SEND_BUTTON || id == IDOK) {
        SendInputLine();
        return;
    }
    if (id == IDCANCEL) {  // the Escape key
        HideToTray();
        return;
    }
    if (!core_ || shutDown_) {
        return;
    }
    if (OnWindowCommand(id) || OnChatTextCommand(id) || OnUserMenuCommand(id) || OnServersMenuCommand(id)) {
        return;
    }
    core_->OnMenuCommand(id);
}

// Commands that open or close windows, or end the program.
bool MainDialog::OnWindowCommand(int id) {
    switch (id) {
        case ID_CONNECT_LOCAL_SERVER:
            connect_->Close();
            core_->OnMenuCommand(id);
            return true;
        case ID_CONNECT_TO_SERVER:
            core_->Session().StopReconnecting();
            connect_->Show();
            return true;
        case ID_ABOUT: about_->Show(); return true;
        case ID_OPTIONS: options_->Show(); return true;
        case ID_EDIT_PROFILE: profile_->Show(); return true;
        case ID_STATUS_CUSTOM: customStatus_->Show(); return true;
        case ID_GO_TO_CHAT_LOGS: OpenInShell(core_->ChatLogsFolderToOpen()); return true;
        case ID_SHOW_VORLAN: ShowVorlan(); return true;
        // The admin menus offer these only to an admin; the server would refuse anyone else.
        case ID_SHOW_CONNECTIONS:
            if (core_->Session().isAdmin()) connections_->ShowList();
            return true;
        case ID_SHOW_BAN_LIST:
            if (core_->Session().isAdmin()) banList_->ShowList();
            return true;
        case ID_EXIT: Shutdown(); return true;
        default: return false;
    }
}

// The chat text context menu's commands act on the control that opened it.
bool MainDialog::OnChatTextCommand(int id) {
    conversation::ChatTextControl* target = menuTarget_;
    switch (id) {
        case ID_CHAT_NAVIGATE:
            if (target != nullptr) target->Navigate();
            return true;
        case ID_CHAT_CUT:
            if (target != nullptr) target->Cut();
            return true;
        case ID_CHAT_COPY:
            if (target != nullptr) target->Copy();
            return true;
        case ID_CHAT_PASTE:
            if (target != nullptr) target->Paste();
            return true;
        case ID_CHAT_SELECT_ALL:
            if (target != nullptr) target->SelectAll();
            return true;
        case ID_CHAT_CLEAR_ALL:
            if (target != nullptr) target->ClearAll();
            return true;
        case ID_CHAT_OPEN_CHAT_LOG: OpenInShell(core_->ChatLogToOpen(target)); return true;
        default: return false;
    }
}

bool MainDialog::OnUserMenuCommand(int id) {
    switch (id) {
        case ID_USER_OPEN_CHAT_LOG: OpenInShell(core_->SelectedUserChatLogToOpen()); return true;
        case ID_USER_SEND_FILE: SendFileToSelectedUser(); return true;
        default: return core_->Session().OnUserMenuCommand(id);
    }
}

bool MainDialog::OnServersMenuCommand(int id) {
    const std::optional<int> entry = serversTree_.SelectedItemId();
    switch (id) {
        case ID_RECENT_CONNECT:
            if (entry) core_->Session().ConnectToRecent(*entry);
            return true;
        case ID_RECENT_REMOVE:
            if (entry) core_->Session().RemoveRecent(*entry);
            return true;
        case ID_RECENT_COPY_ADDRESS: CopyRecentAddress(); return true;
        default: return false;
    }
}

void MainDialog::SendInputLine() {
    if (!core_ || shutDown_) {
        return;
    }
    const std::string typed = inputLine_.Text();
    if (!typed.empty()) {
        core_->Session().SendMainInput(typed);
        inputLine_.SetText("");
    }
    SetFocus(inputLine_.handle());
}

void MainDialog::OpenInShell(const std::string& path) const {
    if (!path.empty()) {
        ShellExecuteA(handle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void MainDialog::CopyRecentAddress() {
    const std::optional<int> entryId = serversTree_.SelectedItemId();
    if (!entryId) {
        return;
    }
    const client::RecentServerList::Entry* entry = core_->Session().recentServers().FindById(*entryId);
    if (entry == nullptr || !OpenClipboard(handle())) {
        return;
    }
    EmptyClipboard();
    const std::string& address = entry->address;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, address.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, address.c_str(), address.size() + 1);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory) == nullptr) {
                GlobalFree(memory);
            }
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

// ---- layout -----------------------------------------------------------------------------

void MainDialog::OnSize(WPARAM type, int cx, int cy) {
    if (!core_) {
        return;
    }
    MainSizeKind kind = MainSizeKind::Other;
    if (type == SIZE_RESTORED) kind = MainSizeKind::Restored;
    if (type == SIZE_MAXIMIZED) kind = MainSizeKind::Maximized;
    if (type == SIZE_MINIMIZED) kind = MainSizeKind::Minimized;
    RECT frame{};
    GetWindowRect(handle(), &frame);
    if (RememberMainWindowSize(core_->Options(), kind, frame.right - frame.left, frame.bottom - frame.top)) {
        LayOut(cx, cy);
    }
}

void MainDialog::LayOut(int cx, int cy) {
    const storage::Options& options = core_->Options();
    const MainLayout layout = ComputeMainLayout(cx, cy, options.serversPaneHeight, options.userPaneWidth);
    HWND view = GetDlgItem(handle(), IDC_CHAT_VIEW);
    const bool atEnd = IsScrolledToEnd(view);

    // The label centres its text: all of it is redrawn, not only the new part.
    HWND label = GetDlgItem(handle(), IDC_SERVERS_LABEL);
    MoveWindow(label, layout.serversTree.x, layout.labelTop, layout.serversTree.width,
               layout.serversTree.y - layout.labelTop - 4, TRUE);
    InvalidateRect(label, nullptr, TRUE);
    MoveControl(GetDlgItem(handle(), IDC_SERVERS_TREE), layout.serversTree);
    MoveControl(view, layout.chatView);
    MoveControl(GetDlgItem(handle(), IDC_INPUT_LINE), layout.inputLine);
    MoveControl(GetDlgItem(handle(), IDC_USER_TREE), layout.userTree);

    if (atEnd) {
        SendMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
    }
}

void MainDialog::OnGetMinMaxInfo(MINMAXINFO& info) const {
    if (!core_) {
        return;
    }
    const storage::Options& options = core_->Options();
    const MinimumSize minimum = MainMinimumTrackingSize(options.serversPaneHeight, options.userPaneWidth);
    info.ptMinTrackSize.x = minimum.width;
    info.ptMinTrackSize.y = minimum.height;
}

INT_PTR MainDialog::OnLabelColour(HDC dc, HWND control) {
    if (!core_ || GetDlgCtrlID(control) != IDC_SERVERS_LABEL) {
        return FALSE;
    }
    SetTextColor(dc, ColourRef(core_->Colors(), ColourIndex::Label));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// ---- hover card -------------------------------------------------------------------------

void MainDialog::OnUserTreeHover(const std::optional<client::UserTreeControl::HoverEntry>& entry) {
    const skin::HoverArming::Step step = hoverArming_.MoveOver(entry ? std::optional<int>(entry->id) : std::nullopt);
    if (step.hide) hoverCard_.Disarm();
    if (step.arm && entry) {
        hoverCard_.Arm(skin::HoverCardTextFor({entry->id, entry->level, entry->text, entry->name, entry->status}));
    }
}

// The recently used servers sit in a panel with their label; every tree and
// text control gets its thin frame from the skin. (The chat and user panes are
// too close together for panels of their own.)
ui::DialogLook MainDialog::Look() const {
    ui::DialogLook look;
    if (!core_) return look;
    RECT client{};
    GetClientRect(handle(), &client);
    const storage::Options& options = core_->Options();
    const MainLayout layout =
        ComputeMainLayout(client.right, client.bottom, options.serversPaneHeight, options.userPaneWidth);
    const ControlRect& tree = layout.serversTree;
    look.frames.push_back({ui::SkinFrame::Kind::Panel, RECT{tree.x - 10, layout.labelTop - 10, tree.x + tree.width + 10,
                                                            tree.y + tree.height + 10}});
    return look;
}

// ---- trees ------------------------------------------------------------------------------

INT_PTR MainDialog::NotifyResult(LRESULT result) {
    SetWindowLongPtrA(handle(), DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR MainDialog::OnNotify(const NMHDR& header) {
    if (!core_) {
        return FALSE;
    }
    if (header.idFrom == IDC_USER_TREE) {
        if (std::optional<LRESULT> drawn = userTree_.HandleNotify(header)) {
            return NotifyResult(*drawn);
        }
        if (header.code == NM_RCLICK) {
            if (userTree_.SelectRowAtCursor() > 0) {
                ShowUserMenu();
            }
            return NotifyResult(TRUE);
        }
        if (header.code == NM_DBLCLK) {
            const int id = userTree_.UserIdAtCursor();
            if (id > 0) {
                core_->Session().OpenPrivateChat(id);
                return NotifyResult(TRUE);
            }
        }
        return FALSE;
    }
    if (header.idFrom == IDC_SERVERS_TREE) {
        if (std::optional<LRESULT> drawn = serversTree_.HandleNotify(header)) {
            return NotifyResult(*drawn);
        }
        if (header.code == NM_RCLICK) {
            if (std::optional<int> entry = serversTree_.SelectItemAtCursor()) {
                ShowServersMenu(*entry);
            }
            return NotifyResult(TRUE);
        }
        if (header.code == NM_DBLCLK) {
            if (std::optional<int> entry = serversTree_.ItemIdAtCursor()) {
                core_->Session().ConnectToRecent(*entry);
                return NotifyResult(TRUE);
            }
        }
    }
    return FALSE;
}

void MainDialog::ShowUserMenu() {
    HMENU menu = userMenuResource_ != nullptr ? GetSubMenu(userMenuResource_, 0) : nullptr;
    const client::UserMenuState state = core_->Session().UserMenuFor();
    if (menu == nullptr || !state.show) {
        return;
    }
    ModifyMenuA(menu, ID_USER_MUTE, MF_BYCOMMAND | MF_STRING, ID_USER_MUTE, state.muteText.c_str());
    if (state.adminItems) {
        EnableMenuItem(menu, ID_USER_ENABLE_ADMIN, MF_BYCOMMAND | (state.enableAdmin ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, ID_USER_DISABLE_ADMIN, MF_BYCOMMAND | (state.disableAdmin ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, ID_USER_KICK, MF_BYCOMMAND | (state.kickAndBan ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, ID_USER_BAN, MF_BYCOMMAND | (state.kickAndBan ? MF_ENABLED : MF_GRAYED));
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, handle(), nullptr);
}

void MainDialog::ShowServersMenu(int entryId) {
    HMENU menu = serversMenuResource_ != nullptr ? GetSubMenu(serversMenuResource_, 0) : nullptr;
    if (menu == nullptr) {
        return;
    }
    const bool connectEnabled = core_->Session().IsRecentConnectEnabled(entryId);
    EnableMenuItem(menu, ID_RECENT_CONNECT, MF_BYCOMMAND | (connectEnabled ? MF_ENABLED : MF_GRAYED));
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, handle(), nullptr);
}

// ---- tray and hiding --------------------------------------------------------------------

void MainDialog::OnTrayCallback(LPARAM lParam) {
    switch (LOWORD(lParam)) {
        case WM_LBUTTONDBLCLK: ShowVorlan(); break;
        case WM_RBUTTONUP: ShowTrayMenu(); break;
        default: break;
    }
}

// The "Vorlan" menu with the tray's entries before "Exit"; they leave again
// once the menu has closed.
void MainDialog::ShowTrayMenu() {
    if (!core_ || shutDown_) {
        return;
    }
    HMENU vorlan = GetSubMenu(GetMenu(handle()), 0);
    if (vorlan == nullptr) {
        return;
    }
    trayEntries_.Add(vorlan, TrayMenuItems(core_->Session().isAdmin()));
    const UINT command = trayMenuWindow_.Track(vorlan);
    trayEntries_.Remove();
    // The chosen command goes the way of every menu command ("Show
    // connections" and "Show ban list" included).
    if (command != 0) {
        SendMessageA(handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}

void MainDialog::HideToTray() {
    ShowWindow(handle(), SW_MINIMIZE);
    ShowWindow(handle(), SW_HIDE);
}

// The core hears of the showing itself (OnShown), whichever way it came.
void MainDialog::ShowVorlan() {
    const bool wasHidden = !IsWindowVisible(handle());
    const bool maximized = core_ && core_->Options().mainMaximized;
    ShowWindow(handle(), maximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    SetForegroundWindow(handle());
    if (wasHidden) {
        SetActiveWindow(handle());
    }
}

// Every way the hidden window becomes visible passes here ("Show Vorlan", the
// tray icon, the pop-up, the first showing at start-up): the core decides what
// that means for the unread lines.
void MainDialog::OnShown() {
    if (maximizeWhenShown_) {
        maximizeWhenShown_ = false;
        PostMessageA(handle(), kMaximizeAtStart, 0, 0);
    }
    if (core_ && !shutDown_) {
        core_->Session().MainWindowShown();
    }
}

// A click on a pop-up about a private conversation: its window, or a new one.
void MainDialog::ShowPrivateChat(int userId) {
    if (core_ && !shutDown_) {
        core_->Session().OpenPrivateChat(userId);
    }
}

void MainDialog::OpenUpdatePage() const {
    if (core_) {
        AboutDialog::OpenWebPage(core_->Options(), AboutDialog::kUpdatePage);
    }
}

// ---- shut-down --------------------------------------------------------------------------

void MainDialog::Shutdown() {
    if (shutDown_ || !core_) {
        End(0);
        return;
    }
    shutDown_ = true;
    core_->EndAndSave();
    tray_.Remove();
    ShowWindow(handle(), SW_HIDE);
    core_->CloseLogsAndWindows();
    connect_->Close();
    about_->Close();
    options_->Close();
    profile_->Close();
    customStatus_->Close();
    connections_->Close();
    banList_->Close();
    info_.Close();
    popup_.Destroy();
    hoverCard_.Destroy();
    trayMenuWindow_.Destroy();
    End(0);
}

// ---- file transfers -------------------------------------------------------------------

void MainDialog::SendFileToSelectedUser() {
    const int userId = core_->Session().userTree().SelectedUserId();
    if (userId > 0) core_->Transfers().StartSend(userId, "");
}

// Files dropped on a user of the user tree: one "Open file" dialog each.
// Drops anywhere else in the window are ignored.
void MainDialog::OnDropFiles(HDROP drop) {
    POINT at{};
    DragQueryPoint(drop, &at);
    HWND tree = userTree_.handle();
    MapWindowPoints(handle(), tree, &at, 1);
    TVHITTESTINFO hit{};
    hit.pt = at;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    int userId = 0;
    if (item != nullptr && (hit.flags & TVHT_ONITEM) != 0) {
        TVITEMA data{};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) != 0) {
            userId = static_cast<int>(data.lParam);
        }
    }
    if (userId > 0 && core_->Session().userTree().HasUser(userId)) {
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            // Paths longer than MAX_PATH come whole, not cut.
            std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
            path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
            if (!path.empty()) core_->Transfers().StartSend(userId, path);
        }
    }
    DragFinish(drop);
}

}  // namespace vorlan::app
