#include "app/gdiplus_session.h"

#include <windows.h>
// GDI+ needs the COM stream declarations first.
#include <objidl.h>

#include <gdiplus.h>

#include <mutex>

bool EnsureGdiplus() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    });
    return started;
}
