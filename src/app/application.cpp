#include "app/application.h"

#include <windows.h>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/workers.h"

int RunApplication(const EventTable& events) {
    InitGlobals();
    HWND window = CreateMainWindow(events);
    if (!window) return 0;
    if (events.OnMainWindowCreated) events.OnMainWindowCreated();
    ShowMainWindowCentred(window);
    RunMessageLoop(window);
    return 0;
}

void EndProgram(int exitCode) {
    if (RunningWorkers() == 0) FreeGlobals();
    ExitProcess(static_cast<UINT>(exitCode));
}
