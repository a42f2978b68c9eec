#include "viewer/paging.h"

#include "app/chores.h"
#include "app/controls.h"
#include "app/globals.h"
#include "app/workers.h"
#include "viewer/page_loader.h"

namespace {

// Only the main thread writes the slots; workers read each one as they reach its box.
void MovePageSlots(int by) {
    for (auto& slot : PageSlots) slot += by;
}

void LoadPageInBackground() {
    StartWorker(LoadPicturePage);
    ScheduleMemoryTrim(MainWindowHandle());
}

}  // namespace

void OnPrevPageClicked() {
    if (PageSlots[0] == 0) return;
    MovePageSlots(-kPageStep);
    LoadPageInBackground();
}

void OnNextPageClicked() {
    MovePageSlots(kPageStep);
    LoadPageInBackground();
}
