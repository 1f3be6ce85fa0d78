#pragma once

#include <string>

#include "client/ClientViews.h"
#include "storage/Records.h"

namespace vorlan::app {

// One pop-up as the window shows it.
struct PopupRequest {
    std::string text;
    int source = 0;             // a user id: a click opens that private chat; 0: the main window
    bool updateNotice = false;  // a click opens the home page
    bool operator==(const PopupRequest&) const = default;
};

// The notification pop-up window: it only slides. A request made while a
// pop-up is visible replaces it after a slide-down.
class PopupView {
public:
    virtual ~PopupView() = default;
    virtual bool IsPopupVisible() const = 0;
    virtual void ShowPopup(const PopupRequest& request) = 0;
};

// Plays a wave file by name, asynchronously.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void PlayWave(const std::string& path) = 0;
};

// Decides whether a pop-up shows and which sound plays: "Enable popup",
// force, the source, "Enable popup sound", "Enable message sound" and the
// sound rule (a sound is a file of the "Sounds" folder that exists and is not
// a folder; a missing one is skipped without a word). The window only slides
// and the platform only plays.
class Notifier : public client::Notifications {
public:
    Notifier(const storage::Options& options, std::string programFolder, PopupView& popup, SoundPlayer& sounds)
        : options_(options), programFolder_(std::move(programFolder)), popup_(popup), sounds_(sounds) {}

    // force 1 is an update notice: shown even with pop-ups off, never with a sound.
    void ShowPopup(const std::string& text, int force, int source) override;
    void PlayMessageSound() override;

    // The sound rule: plays programFolder + name (for example "\\Sounds\\popup.wav")
    // when that names an existing file that is not a folder.
    void PlaySound(const std::string& name);

private:
    const storage::Options& options_;
    std::string programFolder_;
    PopupView& popup_;
    SoundPlayer& sounds_;
};

}  // namespace vorlan::app
