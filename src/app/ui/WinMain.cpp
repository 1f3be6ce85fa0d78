#include <windows.h>

#include "app/ui/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vorlan::app::Application application(instance);
    return application.Run();
}
