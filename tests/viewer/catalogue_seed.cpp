// Linked only into the test build of the program: fills the catalogue at start from
// PICORA_TEST_CATALOGUE (paths separated by "|"), so paging can be tested without an update.
// The product has no such way in.
#include <windows.h>

#include <cstdlib>
#include <thread>

#include "app/controls.h"

namespace {

constexpr ULONGLONG kSeedDeadlineMs = 60000;

void SeedCatalogue(Text paths) {
    ULONGLONG deadline = GetTickCount64() + kSeedDeadlineMs;
    // Once the window is shown, the usage box is answered and every control exists.
    while (!IsWindowVisible(MainWindowHandle())) {
        if (GetTickCount64() > deadline) return;
        Sleep(20);
    }
    for (const Text& path : SplitText(paths, "|")) CatalogueAdd(path);
}

const bool g_seeding = [] {
    const char* paths = std::getenv("PICORA_TEST_CATALOGUE");
    if (paths == nullptr || *paths == '\0') return false;
    std::thread(SeedCatalogue, Text(paths)).detach();
    return true;
}();

}  // namespace
