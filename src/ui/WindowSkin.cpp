#include "ui/WindowSkin.h"

namespace vorlan::ui {

namespace {
WindowSkin* installed = nullptr;
}

void InstallWindowSkin(WindowSkin* skin) { installed = skin; }

WindowSkin* InstalledWindowSkin() { return installed; }

}  // namespace vorlan::ui
