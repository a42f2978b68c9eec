// Drives the real picora.exe from outside, through ordinary window messages, the way an
// automation tool or a screen reader would. Every wait polls its condition up to a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "text/text.h"

inline constexpr DWORD kDefaultWaitMs = 20000;

// Polls `condition` every few milliseconds until it holds or `timeoutMs` pass.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultWaitMs);

// Moves the calling thread to the named desktop (made when missing, with the given screen
// size in Wine's virtual desktop), before the thread owns any window.
bool UseDesktop(const std::wstring& name, int width, int height);

// For a test program that makes windows itself: a process takes its display driver from the
// desktop it starts on, so moving a thread later is not enough. Runs this same program again,
// with the same arguments plus kOnDesktopArgument, on the named desktop, with this process's
// standard handles; returns its exit code (2 when it cannot start).
inline constexpr char kOnDesktopArgument[] = "--on-own-desktop";
int RerunOnDesktop(const std::wstring& name, int width, int height);
// The desktops of the test programs: the name given plus this X display's, 1024 x 768, so
// programs on different displays never share one.
inline constexpr int kDesktopWidth = 1024, kDesktopHeight = 768;
bool UseDisplayDesktop(const std::wstring& name);
// From main: true in the run on the program's own such desktop; otherwise runs the program
// there and gives that run's exit code.
bool OnOwnDesktop(int argc, char** argv, const std::wstring& name, int& exitCode);

struct RunningProgram {
    HANDLE process = nullptr;
    DWORD processId = 0;
};
// Starts the program on the calling thread's desktop.
RunningProgram StartProgram(const std::wstring& path);
// Waits for the process to end; its exit code, or -1 when it is still running at the deadline.
long WaitForExit(RunningProgram& program, DWORD timeoutMs = kDefaultWaitMs);
// Ends the process if it still runs, and closes its handle.
void StopProgram(RunningProgram& program);

// The names in a folder, without "." and "..".
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);

// The class of the program's main window.
inline constexpr wchar_t kMainWindowClass[] = L"PicoraMainWindow";
// Answers the program's usage box with OK and gives its main window once it is visible; null
// when either does not come.
HWND PassUsageBox(const RunningProgram& program);

// The VALUE of the first "--name=VALUE" among the arguments, or empty.
std::string ArgumentValue(int argc, char** argv, const std::string& name);

// A visible top-level window of the process (0: of any process) with that class (empty: any),
// null when none.
HWND FindProgramWindow(DWORD processId, const std::wstring& className);
HWND WaitForProgramWindow(DWORD processId, const std::wstring& className,
                          DWORD timeoutMs = kDefaultWaitMs);

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
// A child (at any depth) with the control identifier, null when none.
HWND FindControl(HWND window, int controlId);
// The control's place in the client area of `window`.
RECT PlaceInClient(HWND window, HWND control);

// Message boxes: the dialog class "#32770".
inline constexpr wchar_t kDialogClass[] = L"#32770";
std::wstring MessageBoxText(HWND box);
// Clicks the box's button with that identifier (IDOK, IDYES, IDNO).
bool AnswerMessageBox(HWND box, int buttonId);

// Clicks a push button through BM_CLICK.
void ClickButton(HWND button);
// Presses a key on a window of the program (posted key down and key up).
void PressKey(HWND window, WPARAM virtualKey);
// A right button press and release at a point of a window's client area.
void RightClick(HWND window, int x, int y);
// The same with the left button.
void LeftClick(HWND window, int x, int y);

// Part 0 of a status bar of another process, through SB_GETTEXTW on a buffer in that process,
// converted to GBK (code page 936). Empty when it cannot be read.
Text StatusBarText(HWND statusBar);

// Item `index` of a list box of another process, converted to GBK; empty when there is none.
Text ListBoxItem(HWND list, int index);

// The screen's pixels in a rectangle (screen coordinates), row after row, 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(const RECT& area);

// Wide text of a Text (code page 936).
std::wstring Wide(const Text& text);
