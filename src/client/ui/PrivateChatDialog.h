#pragma once

#include <windows.h>

#include <string>

#include "ui/Dialog.h"
#include "client/ClientViews.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"

namespace vorlan::client {

class ClientSession;

// One private conversation's window (dialog 142, the desktop as parent): a
// chat view, an input line and the partner's name in the caption. The client
// session decides what it shows and owns it through its list of private chats;
// destroying the object destroys the window.
class PrivateChatDialog : public ui::Dialog, public PrivateChatWindowView {
public:
    // `iconSource`: the main window, whose icons this window shows (may be null).
    PrivateChatDialog(HINSTANCE instance, ClientSession& session, HWND iconSource);

    // Creates the window, hidden, with the remembered size.
    bool Create();

    // PrivateChatWindowView
    conversation::ChatView& View() override { return view_; }
    void SetCaption(const std::string& caption) override;
    void Flash() override;
    void ShowMinimisedWithoutActivating() override;
    void ShowInFront(bool maximized) override;
    bool IsForeground() const override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void TakeIcons();
    void ApplyRememberedSize();
    void OnSize(WPARAM kind, int clientWidth, int clientHeight);
    void PlaceControls(int clientWidth, int clientHeight);
    bool IsViewAtEnd() const;
    void OnCommand(int id, int notification);
    void Send();
    void OpenChatLog();
    void OnDropFiles(HDROP drop);
    // Hands the window to the session, which destroys it: nothing of this
    // object may be used afterwards.
    void CloseByUser();

    HINSTANCE instance_;
    ClientSession& session_;
    HWND iconSource_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl view_;
    conversation::ChatTextControl input_;
    bool initialised_ = false;
};

}  // namespace vorlan::client
