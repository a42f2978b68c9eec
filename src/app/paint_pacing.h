// Painting a control that changes many times a second.
#pragma once

#include <windows.h>

#include <functional>

// Makes `change` to `control` at once and paints it at once, unless a change was painted less
// than `intervalMs` ago: then the painting waits for the end of that interval. A control changed
// hundreds of times a second (an item added, a text set) is thus painted a few times a second,
// while every change is there for anyone who asks the control. Main thread only.
void ChangePaced(HWND control, UINT intervalMs, const std::function<void()>& change);
