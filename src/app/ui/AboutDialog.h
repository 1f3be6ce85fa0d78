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
    // Where the update notice leads: a page of the same site.
    static constexpr const char* kUpdatePage = "http://www.vorlan.net/index.php?page=vorlan";

    // Opens `address` with the browser the options choose; with none chosen,
    // nothing opens.
    static void OpenWebPage(const storage::Options& options, const char* address);

    // `options` choose the browser when the link is clicked.
    AboutDialog(HINSTANCE instance, const storage::Options& options);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    const storage::Options& options_;
};

}  // namespace vorlan::app
