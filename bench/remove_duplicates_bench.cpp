// RemoveCatalogueDuplicates in the real window: the program's own main window, shown, its list
// filled with 20,000 paths (a third repeats) through CatalogueAdd; the removal runs on a worker
// while this thread serves the window, as the program's main thread does. Timed from the
// worker's start until it returns, after the final status text is set. For comparison it also
// times JoinUnique + SplitText on the same paths, and writes them one per line for sort -u.
//   remove_duplicates_bench --lines=FILE [--items=N] [--runs=N]
// Prints "remove_best_ms=.. remove_median_ms=.. runs=.. items=.. kept=.. join_split_ms=..";
// exits 1 when the catalogue or the status text is not what the removal must leave.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <vector>

#include "app/control_ids.h"
#include "app/controls.h"
#include "app/events.h"
#include "app/main_window.h"
#include "catalogue/duplicate_removal.h"
#include "catalogue_paths.h"
#include "e2e/driver.h"
#include "text/unique.h"
#include "web/site.h"

namespace {

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

DWORD WINAPI RemoveOnWorker(void*) {
    RemoveCatalogueDuplicates();
    return 0;
}

// One removal on a worker, serving the window meanwhile; its time in ms.
double TimedRemoval() {
    double start = NowMs();
    HANDLE worker = CreateThread(nullptr, 0, RemoveOnWorker, nullptr, 0, nullptr);
    if (!worker) return -1;
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        Pump();
    double took = NowMs() - start;
    CloseHandle(worker);
    return took;
}

TextArray FirstOccurrences(const TextArray& paths) {
    std::set<Text> seen;
    TextArray kept;
    for (const Text& path : paths)
        if (seen.insert(path).second) kept.push_back(path);
    return kept;
}

bool CatalogueHolds(const TextArray& expected) {
    if (CatalogueCount() != int(expected.size())) return false;
    for (int i = 0; i < int(expected.size()); ++i)
        if (CatalogueItem(i) != expected[i]) return false;
    return true;
}

double JoinAndSplitMs(const TextArray& paths) {
    Text joined;
    for (const Text& path : paths) joined += (joined.empty() ? "" : kCatalogueSeparator) + path;
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        double start = NowMs();
        TextArray kept = SplitText(JoinUnique(joined, kCatalogueSeparator), kCatalogueSeparator);
        best = std::min(best, NowMs() - start);
    }
    return best;
}

int Run(const Text& linesFile, int items, int runs) {
    TextArray paths = CataloguePaths(items);
    std::ofstream lines(linesFile.c_str(), std::ios::binary);
    for (const Text& path : paths) lines << path << '\n';
    lines.close();
    if (!lines) {
        std::fprintf(stderr, "remove_duplicates_bench: cannot write %s\n", linesFile.c_str());
        return 2;
    }
    TextArray expected = FirstOccurrences(paths);
    Text finalText = DuplicatesRemovedText(int(expected.size()), ContactAccount());

    if (!CreateMainWindow(EventTable())) {
        std::fprintf(stderr, "remove_duplicates_bench: cannot make the main window\n");
        return 2;
    }
    ShowMainWindowCentred(MainWindowHandle());
    HWND statusBar = FindControl(MainWindowHandle(), kIdStatusBar);
    std::vector<double> times;
    int status = 0;
    for (int run = 0; run < runs && status == 0; ++run) {
        CatalogueClear();
        SetStatusText("");
        for (const Text& path : paths) CatalogueAdd(path);
        Pump();
        times.push_back(TimedRemoval());
        Pump();
        if (!CatalogueHolds(expected) || StatusBarText(statusBar) != finalText) {
            std::fprintf(stderr, "remove_duplicates_bench: run %d left %d items, status \"%s\"\n",
                         run + 1, CatalogueCount(), StatusBarText(statusBar).c_str());
            status = 1;
        }
    }
    DestroyWindow(MainWindowHandle());
    if (status != 0) return status;

    std::sort(times.begin(), times.end());
    std::printf(
        "remove_best_ms=%.0f remove_median_ms=%.0f runs=%d items=%d kept=%d join_split_ms=%.2f\n",
        times.front(), times[times.size() / 2], runs, items, int(expected.size()),
        JoinAndSplitMs(paths));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Text linesFile = ArgumentValue(argc, argv, "lines");
    Text items = ArgumentValue(argc, argv, "items");
    Text runs = ArgumentValue(argc, argv, "runs");
    if (linesFile.empty()) {
        std::fprintf(stderr,
                     "usage: remove_duplicates_bench --lines=FILE [--items=N] [--runs=N]\n");
        return 2;
    }
    // The window needs a desktop on this display: the program starts itself again there.
    int exitCode = 0;
    if (!OnOwnDesktop(argc, argv, L"picora-bench", exitCode)) return exitCode;
    return Run(linesFile, items.empty() ? 20000 : std::atoi(items.c_str()),
               runs.empty() ? 3 : std::max(1, std::atoi(runs.c_str())));
}
