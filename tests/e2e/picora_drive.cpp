// picora_drive: the automation driver as a command, for scripts (the run command, the
// screenshot in the documentation).
//
//   picora_drive [--desktop=NAME] start PATH   start picora.exe on the desktop, wait for its end,
//                                              exit with its exit code
//   picora_drive [--desktop=NAME] pass-usage-box
//                                              answer the usage box, wait for the main window
//   picora_drive [--desktop=NAME] close [yes|no]
//                                              close the main window, give that answer (default
//                                              no) to the save question, wait for the window's end
//   picora_drive [--desktop=NAME] update       press "更新", wait for the final status text
//   picora_drive [--desktop=NAME] next-page    press "下一页", wait until picture box 1 changes
//                                              (and box 6, for a while)
//   picora_drive [--desktop=NAME] save BOX FILE
//                                              save the picture of box BOX (1..6) as FILE (a path
//                                              as Windows sees it), wait for the file
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/driver.h"

namespace {

const wchar_t kMainWindowClass[] = L"PicoraMainWindow";

int Fail(const char* what) {
    std::fprintf(stderr, "picora_drive: %s\n", what);
    return 1;
}

HWND MessageBoxTitled(const Text& title) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindProgramWindow(0, kDialogClass);
        return found && WindowText(found) == Wide(title);
    });
    return found && WindowText(found) == Wide(title) ? found : nullptr;
}

int PassUsageBox() {
    HWND box = MessageBoxTitled("温馨提示   本版本是1.1");
    if (!box || !AnswerMessageBox(box, IDOK)) return Fail("no usage box");
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window) return Fail("no main window");
    // Returns once the main thread serves its message loop, so the window has been drawn.
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return 0;
}

int Close(bool yes) {
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window) return Fail("no main window");
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = MessageBoxTitled("温馨提示");
    if (!question || !AnswerMessageBox(question, yes ? IDYES : IDNO))
        return Fail("no save question");
    return WaitUntil([&] { return !IsWindow(window); }) ? 0 : Fail("the window stays");
}

constexpr DWORD kUpdateWaitMs = 180000;

int Update() {
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window) return Fail("no main window");
    ClickButton(FindControl(window, kIdButton1));
    HWND bar = FindControl(window, kIdStatusBar);
    const Text done = "更新已完成----共更新了";
    bool finished = WaitUntil([&] { return StatusBarText(bar).compare(0, done.size(), done) == 0; },
                              kUpdateWaitMs);
    return finished ? 0 : Fail("the update did not finish");
}

std::vector<std::uint32_t> BoxPixels(HWND window, int box) {
    RECT area;
    GetWindowRect(FindControl(window, kIdPicture1 + box - 1), &area);
    return ScreenPixels(area);
}

int NextPage() {
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window) return Fail("no main window");
    std::vector<std::uint32_t> first = BoxPixels(window, 1), last = BoxPixels(window, 6);
    ClickButton(FindControl(window, kIdButton3));
    if (!WaitUntil([&] { return BoxPixels(window, 1) != first; }))
        return Fail("picture box 1 did not change");
    // The boxes fill one after the other; box 6 may show the same picture as before when its
    // entry fails, so its change is waited for but not required.
    WaitUntil([&] { return BoxPixels(window, 6) != last; }, 5000);
    return 0;
}

BOOL CALLBACK KeepFirstEdit(HWND child, LPARAM result) {
    if (WindowClass(child) != L"Edit") return TRUE;
    *reinterpret_cast<HWND*>(result) = child;
    return FALSE;
}

int Save(int box, const std::wstring& file) {
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window || box < 1 || box > 6) return Fail("no main window or no such box");
    RightClick(FindControl(window, kIdPicture1 + box - 1), 30, 30);
    if (!WaitForProgramWindow(0, L"#32768")) return Fail("no popup menu");
    PressKey(window, VK_DOWN);
    PressKey(window, VK_RETURN);
    HWND dialog = WaitForProgramWindow(0, kDialogClass);
    if (!dialog) return Fail("no save dialog");
    // The file name box is the dialog's only edit field.
    HWND name = nullptr;
    EnumChildWindows(dialog, KeepFirstEdit, reinterpret_cast<LPARAM>(&name));
    if (!name) return Fail("no file name field");
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    bool saved = WaitUntil([&] {
        return !IsWindow(dialog) && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    return saved ? 0 : Fail("the picture was not saved");
}

int Start(const std::wstring& path) {
    RunningProgram program = StartProgram(path);
    if (!program.process) return Fail("cannot start the program");
    WaitForSingleObject(program.process, INFINITE);
    long code = WaitForExit(program, 0);
    StopProgram(program);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    std::string desktop = "picora";
    int at = 1;
    if (at < argc && std::string(argv[at]).rfind("--desktop=", 0) == 0)
        desktop = std::string(argv[at++]).substr(10);
    if (at >= argc)
        return Fail(
            "usage: picora_drive [--desktop=NAME] start PATH|pass-usage-box|close [yes|no]|update|"
            "next-page|save BOX FILE");
    if (!UseDesktop(Wide(desktop), 1024, 768)) return Fail("cannot use the desktop");
    std::string command = argv[at];
    if (command == "start" && at + 1 < argc) return Start(Wide(argv[at + 1]));
    if (command == "pass-usage-box") return PassUsageBox();
    if (command == "close") return Close(at + 1 < argc && std::string(argv[at + 1]) == "yes");
    if (command == "update") return Update();
    if (command == "next-page") return NextPage();
    if (command == "save" && at + 2 < argc)
        return Save(std::atoi(argv[at + 1]), Wide(argv[at + 2]));
    return Fail("unknown command");
}
