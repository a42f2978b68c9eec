// picora_drive: the automation driver as a command, for scripts (the run command, the
// screenshot in the documentation).
//
//   picora_drive [--desktop=NAME] start PATH   start picora.exe on the desktop, wait for its end,
//                                              exit with its exit code
//   picora_drive [--desktop=NAME] pass-usage-box
//                                              answer the usage box, wait for the main window
//   picora_drive [--desktop=NAME] close        close the main window, answer No to the question
#include <cstdio>
#include <string>

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

int Close() {
    HWND window = WaitForProgramWindow(0, kMainWindowClass);
    if (!window) return Fail("no main window");
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = MessageBoxTitled("温馨提示");
    if (!question || !AnswerMessageBox(question, IDNO)) return Fail("no save question");
    return WaitUntil([&] { return !IsWindow(window); }) ? 0 : Fail("the window stays");
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
        return Fail("usage: picora_drive [--desktop=NAME] start PATH|pass-usage-box|close");
    if (!UseDesktop(Wide(desktop), 1024, 768)) return Fail("cannot use the desktop");
    std::string command = argv[at];
    if (command == "start" && at + 1 < argc) return Start(Wide(argv[at + 1]));
    if (command == "pass-usage-box") return PassUsageBox();
    if (command == "close") return Close();
    return Fail("unknown command");
}
