#pragma once

#include <windows.h>

namespace vorlan::app {

// The application object: prepares the libraries the windows need, then runs
// the main window; the program ends when the main window has closed.
class Application {
public:
    explicit Application(HINSTANCE instance);
    int Run();

private:
    HINSTANCE instance_;
};

}  // namespace vorlan::app
