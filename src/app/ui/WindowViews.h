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

// The admin's "Connections" and "Ban list" windows need the client session,
// which the core makes after taking its views: until a window is bound here,
// and after it is let go, it counts as closed.
class RemoteConnectionsSlot : public client::RemoteConnectionsView {
public:
    void Bind(client::RemoteConnectionsView* window) { window_ = window; }
    bool IsOpen() const override { return window_ != nullptr && window_->IsOpen(); }
    void Close() override {
        if (window_ != nullptr) window_->Close();
    }
    void ClearRows() override {
        if (window_ != nullptr) window_->ClearRows();
    }
    void AddRow(const client::RemoteConnectionRow& row) override {
        if (window_ != nullptr) window_->AddRow(row);
    }

private:
    client::RemoteConnectionsView* window_ = nullptr;
};

class RemoteBanListSlot : public client::RemoteBanListView {
public:
    void Bind(client::RemoteBanListView* window) { window_ = window; }
    bool IsOpen() const override { return window_ != nullptr && window_->IsOpen(); }
    void Close() override {
        if (window_ != nullptr) window_->Close();
    }
    void ClearRows() override {
        if (window_ != nullptr) window_->ClearRows();
    }
    void AddRow(int banId, const std::string& label) override {
        if (window_ != nullptr) window_->AddRow(banId, label);
    }

private:
    client::RemoteBanListView* window_ = nullptr;
};

}  // namespace vorlan::app
