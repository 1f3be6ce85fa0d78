#pragma once

#include <windows.h>

#include "storage/Records.h"
#include "ui/ModelessDialog.h"

namespace vorlan::app {

// "About Vorlan" (dialog 136): the version, two lines about the program, a
// link button with the home page address, and "close".
class AboutDialog : public ui::ModelessDialog {
public:
    // The home page shown on the link button, which opens it.
    static constexpr const char* kHomePage = "http://www.vorlan.net/";

    // `options` choose the browser when the link is clicked.
    AboutDialog(HINSTANCE instance, const storage::Options& options);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void OpenHomePage() const;

    const storage::Options& options_;
};

}  // namespace vorlan::app
