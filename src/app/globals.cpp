#include "app/globals.h"

std::atomic<int> PageSlots[6];
Bytes CurrentPicture;
TextArray PageLinks, PicturePaths;

void InitGlobals() {
    for (auto& slot : PageSlots) slot = 0;
    CurrentPicture.clear();
    PageLinks.clear();
    PicturePaths.clear();
}

void FreeGlobals() {
    Bytes().swap(CurrentPicture);
    TextArray().swap(PageLinks);
    TextArray().swap(PicturePaths);
}
