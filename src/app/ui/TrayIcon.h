#pragma once

#include <windows.h>

#include <string>

#include "client/ClientViews.h"

namespace vorlan::app {

// The notification-area icon of the main window (icon 1, callback message
// 0x8001). Added once at start-up; later updates change only its tip.
class TrayIcon : public client::TrayTip {
public:
    ~TrayIcon() override { Remove(); }

    void Add(HWND window, HICON icon, const std::string& tip);
    // The shell's task bar was re-created ("TaskbarCreated"): add it again.
    void AddAgain();
    void Remove();

    void SetTrayTip(const std::string& text) override;
    const std::string& Tip() const { return tip_; }

private:
    NOTIFYICONDATAA Data(UINT flags) const;

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    std::string tip_;
};

}  // namespace vorlan::app
