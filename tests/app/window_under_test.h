// For test programs that run the main window in their own process.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/controls.h"
#include "app/events.h"
#include "app/main_window.h"
#include "e2e/driver.h"
#include "text/wide.h"

inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

inline COLORREF PixelOf(int box, int x, int y) {
    HWND window = MainWindowParts().pictures[box - 1];
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

// Serves the window until the pixel shows `expected`, up to a deadline.
inline bool PixelBecomes(int box, int x, int y, COLORREF expected) {
    ULONGLONG deadline = GetTickCount64() + 5000;
    while (GetTickCount64() < deadline) {
        Pump();
        if (PixelOf(box, x, y) == expected) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

// Tests that share one main window, made once for the whole suite.
class WindowUnderTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(CreateMainWindow(EventTable()), nullptr);
        ShowWindow(MainWindowHandle(), SW_SHOWNOACTIVATE);
        Pump();
    }
    static void TearDownTestSuite() { DestroyWindow(MainWindowHandle()); }
};

// The test program's main: its tests run on a desktop of their own on this display (the
// default one may belong to no display), so the program first starts itself again there.
inline int RunTestsOnOwnDesktop(int argc, char** argv, const std::wstring& name) {
    int exitCode = 0;
    if (!OnOwnDesktop(argc, argv, name, exitCode)) return exitCode;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
