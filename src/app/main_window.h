// The main window: its controls, the event table that binds handlers to them, and the
// message loop with the window's keyboard rules.
#pragma once

#include <windows.h>

#include "app/events.h"

struct MainWindowControls {
    HWND window = nullptr;
    HWND label = nullptr;
    HWND contactBadge = nullptr;
    HWND listBox = nullptr;
    HWND statusBar = nullptr;
    HWND pictures[6] = {};        // 图片框1 .. 图片框6
    HWND buttons[3] = {};         // 按钮1 .. 按钮3
    HMENU pictureMenu = nullptr;  // "play", shown only as the pictures' popup
};

// Creates the window and every control, hidden, and starts the colour timer. The table is
// copied; its handlers run from then on. Null when the window cannot be made.
HWND CreateMainWindow(const EventTable& events);
void ShowMainWindowCentred(HWND window);
// Runs until the quit message; returns its exit code.
int RunMessageLoop(HWND window);
// Main thread only.
const MainWindowControls& MainWindowParts();
// The window's handle, readable from any thread; null before creation and after destruction.
HWND MainWindowOfAnyThread();
