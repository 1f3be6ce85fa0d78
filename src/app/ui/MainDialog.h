#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/MainCore.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/AdminMenus.h"
#include "ui/Dialog.h"
#include "app/ui/MenuMirror.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/PopupWindow.h"
#include "app/ui/TrayIcon.h"
#include "app/ui/TrayMenuEntries.h"
#include "app/ui/TrayMenuWindow.h"
#include "app/ui/WindowViews.h"
#include "client/ui/BanListWindow.h"
#include "client/ui/ConnectDialog.h"
#include "client/ui/ConnectionsWindow.h"
#include "client/ui/CustomStatusDialog.h"
#include "client/ui/EditProfileDialog.h"
#include "client/ui/InfoDialog.h"
#include "client/ui/PrivateChatWindows.h"
#include "client/ui/RecentServersTreeControl.h"
#include "client/ui/UserTreeControl.h"
#include "conversation/ui/ChatTextControl.h"
#include "skin/HoverCard.h"
#include "skin/ui/HoverCardWindow.h"
#include "skin/ui/Skin.h"
#include "transfer/ui/TransferWindows.h"

namespace vorlan::app {

// The main window (dialog 102 with the main menu 130). The program's whole
// life is this modal dialog: when it ends, the program ends. It shows what
// the core decides and forwards the user's commands to it; closing it only
// hides it in the tray, "Exit" ends the program.
class MainDialog : public ui::Dialog, private conversation::ChatTextOwner, private client::MainWindowState {
public:
    explicit MainDialog(HINSTANCE instance);
    ~MainDialog() override;

    // Shows the window and returns when it has closed.
    INT_PTR Run();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::DialogLook Look() const override;

private:
    // ChatTextOwner
    const storage::Options* LinkOptions() const override;
    void SetMenuTarget(conversation::ChatTextControl* control) override { menuTarget_ = control; }
    HWND CommandWindow() const override { return handle(); }
    // MainWindowState
    bool IsMainWindowForeground() const override;
    bool IsMainWindowVisible() const override;

    MainCoreViews Views();
    conversation::ChatTextColours TextColours() const;

    // Start-up, in its order.
    void OnInitDialog();
    void LoadIcons();
    void LoadSkin();
    void OnUserTreeHover(const std::optional<client::UserTreeControl::HoverEntry>& entry);
    void PlaceAtStoredSize();
    void SetUpServersTree();
    void SetUpTextControls();
    void SetUpMenus();
    void CreateSingleDialogs();

    void OnCommand(WPARAM wParam);
    bool OnWindowCommand(int id);
    bool OnChatTextCommand(int id);
    bool OnUserMenuCommand(int id);
    bool OnServersMenuCommand(int id);
    void OnSize(WPARAM type, int cx, int cy);
    void LayOut(int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR NotifyResult(LRESULT result);
    void OnTrayCallback(LPARAM lParam);
    INT_PTR OnLabelColour(HDC dc, HWND control);

    void SendInputLine();
    void HideToTray();
    void ShowVorlan();
    void ShowPrivateChat(int userId);
    void OpenUpdatePage() const;
    void OnShown();
    void ShowUserMenu();
    void ShowServersMenu(int entryId);
    void ShowTrayMenu();
    void CopyRecentAddress();
    void OpenInShell(const std::string& path) const;
    void Shutdown();
    // File transfers started here: "Send file" and files dropped on a user.
    void SendFileToSelectedUser();
    void OnDropFiles(HDROP drop);

    HINSTANCE instance_;
    // The look of every window; it outlives them all.
    skin::Skin skin_;
    UINT taskbarCreated_;
    HICON smallIcon_ = nullptr;
    HICON largeIcon_ = nullptr;
    HMENU userMenuResource_ = nullptr;
    HMENU serversMenuResource_ = nullptr;
    conversation::ChatTextControl* menuTarget_ = nullptr;
    bool shutDown_ = false;
    bool maximizeWhenShown_ = false;

    // The views the core reports to; they outlive the core.
    conversation::ChatTextControl chatView_;
    conversation::ChatTextControl inputLine_;
    client::UserTreeControl userTree_;
    client::RecentServersTreeControl serversTree_;
    MenuMirror menu_;
    TrayIcon tray_;
    AdminMenus adminMenus_;
    PopupWindow popup_;
    skin::HoverCardWindow hoverCard_{skin_};
    skin::HoverArming hoverArming_;
    WaveSoundPlayer sounds_;
    RemoteConnectionsSlot remoteConnections_;
    RemoteBanListSlot remoteBanList_;
    // Bound to the core once it exists; until then, and whenever a window
    // cannot be made, it hands out windowless chats.
    client::PrivateChatWindows privateChatWindows_;
    client::InfoDialog info_;
    // The file transfer windows' maker, bound once the core exists.
    transfer::TransferWindows transferWindows_;

    std::unique_ptr<MainCore> core_;

    // Windows that reach the core; they go before it.
    std::unique_ptr<client::ConnectDialog> connect_;
    std::unique_ptr<AboutDialog> about_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<client::EditProfileDialog> profile_;
    std::unique_ptr<client::CustomStatusDialog> customStatus_;
    std::unique_ptr<client::ConnectionsWindow> connections_;
    std::unique_ptr<client::BanListWindow> banList_;
    TrayMenuWindow trayMenuWindow_;
    TrayMenuEntries trayEntries_;
};

}  // namespace vorlan::app
