#include "e2e/driver.h"

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

#include "text/wide.h"

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kMessageTimeoutMs = 5000;

struct WindowSearch {
    DWORD processId;
    const std::wstring* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search->processId && owner != search->processId) || !IsWindowVisible(window)) return TRUE;
    if (!search->className->empty() && WindowClass(window) != *search->className) return TRUE;
    search->found = window;
    return FALSE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ControlSearch*>(parameter);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
}

bool UseDesktop(const std::wstring& name, int width, int height) {
    // Wine gives a desktop of that name a virtual desktop window of this size.
    std::wstring size = std::to_wstring(width) + L"x" + std::to_wstring(height);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                       static_cast<DWORD>((size.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && SetThreadDesktop(desktop);
}

int RerunOnDesktop(const std::wstring& name, int width, int height) {
    if (!UseDesktop(name, width, height)) return 2;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = GetCommandLineW();
    commandLine += L" " + Wide(kOnDesktopArgument);
    std::wstring desktop = name;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = desktop.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info))
        return 2;
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

namespace {

std::wstring DisplayDesktopName(const std::wstring& name) {
    const char* display = std::getenv("DISPLAY");
    return name + Wide(display ? display : "");
}

}  // namespace

bool UseDisplayDesktop(const std::wstring& name) {
    return UseDesktop(DisplayDesktopName(name), kDesktopWidth, kDesktopHeight);
}

bool OnOwnDesktop(int argc, char** argv, const std::wstring& name, int& exitCode) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] == Text(kOnDesktopArgument)) return true;
    exitCode = RerunOnDesktop(DisplayDesktopName(name), kDesktopWidth, kDesktopHeight);
    return false;
}

RunningProgram StartProgram(const std::wstring& path) {
    RunningProgram program;
    wchar_t desktopName[256] = L"";
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, desktopName,
                              sizeof(desktopName), nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = desktopName;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return program;
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.processId = info.dwProcessId;
    return program;
}

long WaitForExit(RunningProgram& program, DWORD timeoutMs) {
    if (!program.process || WaitForSingleObject(program.process, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    return static_cast<long>(code);
}

void StopProgram(RunningProgram& program) {
    if (!program.process) return;
    if (WaitForSingleObject(program.process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(program.process, 1);
        WaitForSingleObject(program.process, 5000);
    }
    CloseHandle(program.process);
    program = RunningProgram();
}

HWND FindProgramWindow(DWORD processId, const std::wstring& className) {
    WindowSearch search{processId, &className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProgramWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProgramWindow(processId, className)) != nullptr; },
              timeoutMs);
    return found;
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

std::wstring WindowClass(HWND window) {
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

HWND FindControl(HWND window, int controlId) {
    ControlSearch search{controlId, nullptr};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT PlaceInClient(HWND window, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::wstring MessageBoxText(HWND box) {
    // The message box's text is its static control with the identifier 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : L"";
}

bool AnswerMessageBox(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    if (!button) return false;
    ClickButton(button);
    return true;
}

void ClickButton(HWND button) {
    DWORD_PTR ignored;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &ignored);
}

void PressKey(HWND window, WPARAM virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

void RightClick(HWND window, int x, int y) {
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
}

void LeftClick(HWND window, int x, int y) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

Text StatusBarText(HWND statusBar) {
    // SB_GETTEXTW writes through a pointer, which the system does not carry across processes:
    // the buffer has to live in the status bar's process.
    DWORD processId = 0;
    GetWindowThreadProcessId(statusBar, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return Text();
    Text text;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(statusBar, SB_GETTEXTLENGTHW, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                            &result)) {
        size_t length = LOWORD(result);
        size_t size = (length + 1) * sizeof(wchar_t);
        void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (remote) {
            std::wstring wide(length + 1, L'\0');
            SIZE_T read = 0;
            if (SendMessageTimeoutW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote),
                                    SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) &&
                ReadProcessMemory(process, remote, wide.data(), size, &read) && read == size) {
                wide.resize(wcsnlen(wide.c_str(), length));
                text = TextFromWide(wide);
            }
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        }
    }
    CloseHandle(process);
    return text;
}

Text ListBoxItem(HWND list, int index) {
    // Unlike SB_GETTEXTW, the system carries LB_GETTEXT's buffer across processes itself.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length) ||
        static_cast<LRESULT>(length) == LB_ERR)
        return Text();
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) == LB_ERR || copied > length)
        return Text();
    wide.resize(copied);
    return TextFromWide(wide);
}

std::vector<std::uint32_t> ScreenPixels(const RECT& area) {
    int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<std::uint32_t> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        auto* source = static_cast<const std::uint32_t*>(bits);
        pixels.assign(source, source + std::size_t(width) * height);
        for (auto& pixel : pixels) pixel &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::wstring Wide(const Text& text) {
    return WideFromText(text);
}

HWND PassUsageBox(const RunningProgram& program) {
    HWND box = WaitForProgramWindow(program.processId, kDialogClass);
    if (!box || !AnswerMessageBox(box, IDOK)) return nullptr;
    return WaitForProgramWindow(program.processId, kMainWindowClass);
}

std::string ArgumentValue(int argc, char** argv, const std::string& name) {
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind(prefix, 0) == 0) return argument.substr(prefix.size());
    }
    return std::string();
}

std::vector<std::wstring> FileNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
