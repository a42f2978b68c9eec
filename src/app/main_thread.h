// Carrying an operation over to the thread that owns a window.
#pragma once

#include <windows.h>

#include <functional>

// The private message that runs a job on the window's thread; its lParam points to a
// std::function<void()>. The window procedure of the main window serves it.
inline constexpr UINT kRunJobMessage = WM_APP + 1;

// Runs `job` at once when called on the window's own thread, otherwise on that thread through
// a synchronous message, returning when it has run. Nothing runs when the window is gone.
void RunOnWindowThread(HWND window, const std::function<void()>& job);

// Serves kRunJobMessage: call from the window procedure.
LRESULT RunPostedJob(LPARAM lParam);
