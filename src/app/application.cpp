#include "app/application.h"

#include <windows.h>

#include <cstdlib>

#include "app/globals.h"
#include "app/main_window.h"

int RunApplication(const EventTable& events) {
    InitGlobals();
    std::atexit(FreeGlobals);
    HWND window = CreateMainWindow(events);
    if (!window) return 0;
    if (events.OnMainWindowCreated) events.OnMainWindowCreated();
    ShowMainWindowCentred(window);
    RunMessageLoop(window);
    return 0;
}
