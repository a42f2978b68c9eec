// The periodic chores of the main window: the label's colour and the working-set trim.
#pragma once

#include <windows.h>

// The one trim timer of the main window, "内存_优化".
inline constexpr UINT_PTR kTrimTimerId = 0x7269;
inline constexpr UINT kTrimDelayMs = 3000;

// Handler of 时钟1, every 300 ms: a random colour of 1..200 per channel, then a trim restart.
void OnColourTick();
// (Re)starts the single trim timer on `window`, from any thread: a worker's call is carried
// out by the window's thread, so there is never a second timer. Returns the timer's
// identifier, 0 on failure.
UINT_PTR ScheduleMemoryTrim(HWND window);
// The trim timer's routine: hands the process's pages back to the system.
void CALLBACK TrimWorkingSet(HWND window, UINT message, UINT_PTR id, DWORD time);
