// The program-wide variables, shared by the main thread and the workers.
#pragma once

#include <atomic>

#include "text/text.h"

// Slot 1 is PageSlots[0]. Atomic: workers read the slots while the page buttons change them.
extern std::atomic<int> PageSlots[6];
// Main thread only: the picture last right-clicked, for the save command.
extern Bytes CurrentPicture;
// Used by the single catalogue update only.
extern TextArray PageLinks, PicturePaths;

void InitGlobals();
void FreeGlobals();
