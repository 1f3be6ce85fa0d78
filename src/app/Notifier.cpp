#include "app/Notifier.h"

#include "platform/Files.h"

namespace vorlan::app {

void Notifier::ShowPopup(const std::string& text, int force, int source) {
    if (!options_.enablePopup && force != 1) return;
    // A visible pop-up slides away for this one; only a pop-up that starts
    // from nothing sounds.
    const bool replacing = popup_.IsPopupVisible();
    popup_.ShowPopup({text, source, force == 1});
    if (!replacing && options_.enablePopupSound && force == 0) PlaySound("\\Sounds\\popup.wav");
}

void Notifier::PlayMessageSound() {
    if (options_.messageSound) PlaySound("\\Sounds\\message.wav");
}

void Notifier::PlaySound(const std::string& name) {
    const std::string path = programFolder_ + name;
    if (platform::FileExists(path)) sounds_.PlayWave(path);
}

}  // namespace vorlan::app
