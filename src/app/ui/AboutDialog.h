#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/ModelessDialog.h"

namespace vorlan::app {

// "About Vorlan" (dialog 136): the version, two lines about the program, a
// link button with the home page address, and "close".
class AboutDialog : public ui::ModelessDialog {
public:
    // `browserProgram` gives the program that opens web addresses now ("" for none).
    AboutDialog(HINSTANCE instance, std::string homePage, std::function<std::string()> browserProgram);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void OpenHomePage() const;

    std::string homePage_;
    std::function<std::string()> browserProgram_;
};

}  // namespace vorlan::app
