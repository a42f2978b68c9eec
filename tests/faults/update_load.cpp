// The full update of a large site in the test build of picora.exe, watched from outside: clicks
// "更新", asks the main window for WM_NULL every 20 ms until the final status text, then closes
// without saving. Prints the update's time, the slowest answer, the asks not answered within
// 100 ms and the program's peak working set. Exits 1 when the update never finished, or the
// window did not answer within 100 ms more than kMissesAllowed times or within a second even
// once: the main thread must never wait on the network. (A machine shared with builds misses a
// few asks by some milliseconds; a wait on the network misses by far more.)
// With --press-next=N it instead presses "下一页" N times in quick succession once the update
// has added its first path, serves a second more, and closes without saving while the update
// still runs: the program must end with exit code 0 and keep answering meanwhile.
//   update_load --picora=PATH [--deadline-ms=N] [--press-next=N]
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/control_ids.h"
#include "e2e/driver.h"

namespace {

const wchar_t kMainWindowClass[] = L"PicoraMainWindow";
const Text kFinalPrefix = "更新已完成";

constexpr double kMissesAllowed = 0.02;  // of the asks
constexpr ULONGLONG kNeverSlowerMs = 1000;

struct Watch {
    int asked = 0;
    int unanswered = 0;
    ULONGLONG worst = 0;
};

void Ask(HWND window, Watch& watch) {
    DWORD_PTR result = 0;
    ULONGLONG before = GetTickCount64();
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result)) {
        ++watch.unanswered;
    }
    ULONGLONG took = GetTickCount64() - before;
    if (took > watch.worst) watch.worst = took;
    ++watch.asked;
}

const Text kProgressPrefix = "正在更新----";

// Asks while waiting for the status text to start with prefix, up to the deadline.
bool AskUntilStatus(HWND window, HWND statusBar, const Text& prefix, ULONGLONG deadline,
                    Watch& watch) {
    while (GetTickCount64() < deadline) {
        Ask(window, watch);
        if (StatusBarText(statusBar).rfind(prefix, 0) == 0) return true;
        Sleep(20);
    }
    return false;
}

int PressNextDuringUpdate(RunningProgram& program, HWND window, HWND statusBar, int presses) {
    Watch watch;
    ClickButton(FindControl(window, kIdButton1));
    bool started =
        AskUntilStatus(window, statusBar, kProgressPrefix, GetTickCount64() + 60000, watch);
    HWND next = FindControl(window, kIdButton3);
    for (int i = 0; i < presses; ++i) ClickButton(next);
    AskUntilStatus(window, statusBar, "\x01", GetTickCount64() + 1000, watch);  // just asks
    bool stillUpdating = StatusBarText(statusBar).rfind(kProgressPrefix, 0) == 0;
    std::printf("presses=%d started=%d still_updating=%d asks=%d unanswered=%d slowest_ms=%llu\n",
                presses, started ? 1 : 0, stillUpdating ? 1 : 0, watch.asked, watch.unanswered,
                static_cast<unsigned long long>(watch.worst));
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = WaitForProgramWindow(program.processId, kDialogClass);
    if (question) AnswerMessageBox(question, IDNO);
    long exitCode = WaitForExit(program, 10000);
    std::printf("exit_code=%ld\n", exitCode);
    bool answered =
        watch.unanswered <= kMissesAllowed * watch.asked && watch.worst < kNeverSlowerMs;
    return started && question && exitCode == 0 && answered ? 0 : 1;
}

int Run(const std::wstring& picora, ULONGLONG deadlineMs, int presses) {
    RunningProgram program = StartProgram(picora);
    if (!program.process) {
        std::fprintf(stderr, "update_load: cannot start the program\n");
        return 2;
    }
    int status = 1;
    HWND notice = WaitForProgramWindow(program.processId, kDialogClass);
    if (notice) AnswerMessageBox(notice, IDOK);
    HWND window = WaitForProgramWindow(program.processId, kMainWindowClass);
    HWND statusBar = window ? FindControl(window, kIdStatusBar) : nullptr;
    if (statusBar && presses > 0) {
        status = PressNextDuringUpdate(program, window, statusBar, presses);
    } else if (statusBar) {
        Watch watch;
        ULONGLONG start = GetTickCount64();
        ClickButton(FindControl(window, kIdButton1));
        bool finished = false;
        while (!finished && GetTickCount64() - start < deadlineMs) {
            Ask(window, watch);
            finished = StatusBarText(statusBar).rfind(kFinalPrefix, 0) == 0;
            if (!finished) Sleep(20);
        }
        ULONGLONG took = GetTickCount64() - start;
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(program.process, &memory, sizeof(memory));
        std::printf(
            "update_ms=%llu finished=%d asks=%d unanswered=%d slowest_ms=%llu "
            "peak_working_set_bytes=%llu\n",
            static_cast<unsigned long long>(took), finished ? 1 : 0, watch.asked, watch.unanswered,
            static_cast<unsigned long long>(watch.worst),
            static_cast<unsigned long long>(memory.PeakWorkingSetSize));
        std::printf("final status: %s\n", StatusBarText(statusBar).c_str());
        bool answered =
            watch.unanswered <= kMissesAllowed * watch.asked && watch.worst < kNeverSlowerMs;
        status = finished && answered ? 0 : 1;

        PostMessageW(window, WM_CLOSE, 0, 0);
        HWND question = WaitForProgramWindow(program.processId, kDialogClass);
        if (question) AnswerMessageBox(question, IDNO);
        if (WaitForExit(program, 10000) != 0) status = 1;
    } else {
        std::fprintf(stderr, "update_load: the main window did not appear\n");
    }
    StopProgram(program);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring picora;
    ULONGLONG deadlineMs = 300000;
    int presses = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--picora=", 9) == 0) picora = Wide(argv[i] + 9);
        if (std::strncmp(argv[i], "--press-next=", 13) == 0) presses = std::atoi(argv[i] + 13);
        if (std::strncmp(argv[i], "--deadline-ms=", 14) == 0) deadlineMs = std::atoll(argv[i] + 14);
    }
    if (picora.empty()) {
        std::fprintf(stderr,
                     "usage: update_load --picora=PATH [--deadline-ms=N] [--press-next=N]\n");
        return 2;
    }
    // A desktop of its own on this display, as the other window tests.
    bool onOwnDesktop = false;
    for (int i = 1; i < argc; ++i)
        onOwnDesktop = onOwnDesktop || argv[i] == Text(kOnDesktopArgument);
    if (!onOwnDesktop) {
        const char* display = std::getenv("DISPLAY");
        return RerunOnDesktop(L"picora-load" + Wide(display ? display : ""), 1024, 768);
    }
    return Run(picora, deadlineMs, presses);
}
