#include "viewer/page_loader.h"

#include <iterator>

#include "app/chores.h"
#include "app/controls.h"
#include "app/globals.h"
#include "viewer/transcode.h"
#include "web/fetch.h"
#include "web/site.h"

void LoadPictureBox(int box, Bytes& picture) {
    Text entry = CatalogueItem(PageSlots[box - kPictureBox1]);
    Bytes body = FetchUrl(SiteBase() + entry);
    TranscodeImage(body, kImageBmp, picture);
    body = Bytes();
    SetPicture(box, picture);
}

void LoadPicturePage() {
    Bytes picture;
    for (int box = kPictureBox1; box < kPictureBox1 + static_cast<int>(std::size(PageSlots));
         ++box) {
        LoadPictureBox(box, picture);
    }
    ScheduleMemoryTrim(MainWindowHandle());
}
