#include "app/chores.h"

#include "app/controls.h"
#include "app/main_thread.h"
#include "text/random.h"

void OnColourTick() {
    int red = RandomNumber(1, 200);
    int green = RandomNumber(1, 200);
    int blue = RandomNumber(1, 200);
    SetLabelColour(RgbColour(red, green, blue));
    ScheduleMemoryTrim(MainWindowHandle());
}

UINT_PTR ScheduleMemoryTrim(HWND window) {
    UINT_PTR id = 0;
    // SetTimer only works on a window of the calling thread; the same id replaces the timer.
    RunOnWindowThread(window,
                      [&] { id = SetTimer(window, kTrimTimerId, kTrimDelayMs, TrimWorkingSet); });
    return id;
}

void CALLBACK TrimWorkingSet(HWND, UINT, UINT_PTR, DWORD) {
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}
