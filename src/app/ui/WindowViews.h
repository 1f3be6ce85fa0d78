#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "app/Notifier.h"
#include "client/ClientViews.h"

// The views whose windows come with later work, in the shape the core needs
// now: each is small and holds no state of the rules.
namespace vorlan::app {

// Wave files by name, asynchronously; the core has checked that the file exists.
class WaveSoundPlayer : public SoundPlayer {
public:
    void PlayWave(const std::string& path) override {
        PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    }
};

// The remote "Connections" and "Ban list" windows are not built yet: never open.
class ClosedRemoteConnections : public client::RemoteConnectionsView {
public:
    bool IsOpen() const override { return false; }
    void Close() override {}
    void ClearRows() override {}
    void AddRow(const client::RemoteConnectionRow&) override {}
};

class ClosedRemoteBanList : public client::RemoteBanListView {
public:
    bool IsOpen() const override { return false; }
    void Close() override {}
    void ClearRows() override {}
    void AddRow(int, const std::string&) override {}
};

}  // namespace vorlan::app
