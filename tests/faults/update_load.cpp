// The full update of a large site in the test build of picora.exe, watched from outside: clicks
// "更新", asks the main window for WM_NULL every 20 ms until the final status text, then closes
// without saving. Prints the update's time, the slowest answer, the asks not answered within
// 100 ms and the program's peak working set. Exits 1 when the update never finished, or the
// window did not answer within 100 ms more than kMissesAllowed times or within a second even
// once: the main thread must never wait on the network. (A machine shared with builds misses a
// few asks by some milliseconds; a wait on the network misses by far more.)
// With --press-next=N it instead presses "下一页" N times in quick succession once the update
// is past its first list page, waits until the boxes show the pictures of the last page, and
// closes without saving while the update still runs: the program must end with exit code 0
// and keep answering meanwhile.
//   update_load --picora=PATH [--deadline-ms=N] [--press-next=N]
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "e2e/shown_colours.h"

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

const Text kProgressPrefix = "正在更新----已更新";

// Asks while waiting for the condition, up to the deadline.
bool AskUntil(HWND window, const std::function<bool()>& condition, ULONGLONG deadline,
              Watch& watch) {
    while (GetTickCount64() < deadline) {
        Ask(window, watch);
        if (condition()) return true;
        Sleep(20);
    }
    return false;
}

// The count of the progress text, 0 for any other text.
int ProgressCount(HWND statusBar) {
    Text text = StatusBarText(statusBar);
    if (text.rfind(kProgressPrefix, 0) != 0) return 0;
    return std::atoi(text.c_str() + kProgressPrefix.size());
}

// Past the first list page (900 paths), whose end fills the boxes once: from then on only the
// presses change the boxes.
constexpr int kPressAfterCount = 1000;
constexpr ULONGLONG kSettleMs = 3000;

int PressNextDuringUpdate(RunningProgram& program, HWND window, HWND statusBar, int presses) {
    Watch watch;
    ClickButton(FindControl(window, kIdButton1));
    bool started = AskUntil(
        window, [&] { return ProgressCount(statusBar) >= kPressAfterCount; },
        GetTickCount64() + 120000, watch);
    HWND next = FindControl(window, kIdButton3);
    for (int i = 0; i < presses; ++i) ClickButton(next);
    // Each press moves the page by five entries; the last page is read from the list as it is
    // now, since the update only appends to it.
    HWND list = FindControl(window, kIdListBox);
    std::uint32_t expected[6];
    for (int box = 1; box <= 6; ++box)
        expected[box - 1] = PathColour(ListBoxItem(list, 5 * presses + box - 1));
    auto lastPageShown = [&] {
        for (int box = 1; box <= 6; ++box)
            if (expected[box - 1] == kNoColour || BoxColour(window, box) != expected[box - 1])
                return false;
        return true;
    };
    // Shown, and still so once every run has had time to finish: a run started by an earlier
    // press must not set a box last.
    bool shown = AskUntil(window, lastPageShown, GetTickCount64() + 20000, watch);
    AskUntil(
        window, [] { return false; }, GetTickCount64() + kSettleMs, watch);
    shown = shown && lastPageShown();
    bool stillUpdating = ProgressCount(statusBar) > 0;
    std::printf(
        "presses=%d started=%d last_page_shown=%d still_updating=%d asks=%d unanswered=%d "
        "slowest_ms=%llu\n",
        presses, started ? 1 : 0, shown ? 1 : 0, stillUpdating ? 1 : 0, watch.asked,
        watch.unanswered, static_cast<unsigned long long>(watch.worst));
    if (!shown) {
        for (int box = 1; box <= 6; ++box)
            std::printf("box %d shows %06x, the last page's picture is %06x\n", box,
                        BoxColour(window, box), expected[box - 1]);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = WaitForProgramWindow(program.processId, kDialogClass);
    if (question) AnswerMessageBox(question, IDNO);
    long exitCode = WaitForExit(program, 10000);
    std::printf("exit_code=%ld\n", exitCode);
    bool answered =
        watch.unanswered <= kMissesAllowed * watch.asked && watch.worst < kNeverSlowerMs;
    return started && shown && question && exitCode == 0 && answered ? 0 : 1;
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
    std::wstring picora = Wide(ArgumentValue(argc, argv, "picora"));
    Text deadline = ArgumentValue(argc, argv, "deadline-ms");
    ULONGLONG deadlineMs = deadline.empty() ? 300000 : std::atoll(deadline.c_str());
    int presses = std::atoi(ArgumentValue(argc, argv, "press-next").c_str());
    if (picora.empty()) {
        std::fprintf(stderr,
                     "usage: update_load --picora=PATH [--deadline-ms=N] [--press-next=N]\n");
        return 2;
    }
    // A desktop of its own on this display, as the other window tests.
    int exitCode = 0;
    if (!OnOwnDesktop(argc, argv, L"picora-load", exitCode)) return exitCode;
    return Run(picora, deadlineMs, presses);
}
