#pragma once

#include <string>

#include "client/ClientViews.h"

namespace vorlan::transfer {

// The file transfers as the application owns them: the client hands over the
// control messages and the users that leave (client::Transfers), the windows
// start sends, and the application stops and destroys the transfer windows at
// shut-down.
class TransferService : public client::Transfers {
public:
    // "Send file" on a user (`droppedPath` empty), or a file or folder dropped
    // on a user or on a private chat's input line: opens the "Open file"
    // dialog addressed to `peerId`. Nothing happens for an id that is no user
    // (and nothing at all in a service without windows).
    virtual void StartSend(int /*peerId*/, const std::string& /*droppedPath*/) {}
    // Shut-down, before the settings files are written: every send and receive
    // window stops and shows its final text.
    virtual void StopAll() = 0;
    // Shut-down, after the private logs are closed: every file dialog and
    // transfer window is destroyed and the lists are emptied.
    virtual void DestroyAll() = 0;
};

}  // namespace vorlan::transfer
