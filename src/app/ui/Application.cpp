#include <winsock2.h>

#include "app/ui/Application.h"

#include <commctrl.h>

#include "app/ui/MainDialog.h"

namespace vorlan::app {

Application::Application(HINSTANCE instance) : instance_(instance) {}

int Application::Run() {
    WSADATA winsock;
    const bool winsockStarted = WSAStartup(MAKEWORD(2, 2), &winsock) == 0;
    // Registers the RichEdit20A window class for the chat views; without it
    // those controls stay empty, which is all that can be done then.
    LoadLibraryA("riched20.DLL");
    // Registers the tree view class that the windows' templates name.
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&commonControls);

    MainDialog mainDialog(instance_);
    mainDialog.Run();

    if (winsockStarted) {
        WSACleanup();
    }
    return 0;
}

}  // namespace vorlan::app
