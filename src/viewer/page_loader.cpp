#include "viewer/page_loader.h"

#include <atomic>
#include <iterator>

#include "app/chores.h"
#include "app/controls.h"
#include "app/globals.h"
#include "app/main_thread.h"
#include "viewer/transcode.h"
#include "web/fetch.h"
#include "web/site.h"

void LoadPictureBox(int box, Bytes& picture) {
    std::atomic<int>& slot = PageSlots[box - kPictureBox1];
    const int read = slot;
    Bytes body = FetchUrl(SiteBase() + CatalogueItem(read));
    TranscodeImage(body, kImageBmp, picture);
    body = Bytes();
    // A page button that moved the slot meanwhile started a run that shows the new entry; this
    // run's picture would be stale, and could land after that one. The buttons move the slots
    // on the main thread, so the check and the write go there together.
    RunOnWindowThread(MainWindowHandle(), [&] {
        if (slot == read) SetPicture(box, picture);
    });
}

void LoadPicturePage() {
    Bytes picture;
    for (int box = kPictureBox1; box < kPictureBox1 + static_cast<int>(std::size(PageSlots));
         ++box) {
        LoadPictureBox(box, picture);
    }
    ScheduleMemoryTrim(MainWindowHandle());
}
