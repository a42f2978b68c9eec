// The event table: which handler runs for which event of the main window and its controls.
// The entry routine fills it; a null entry means the event has no handler.
#pragma once

struct EventTable {
    void (*OnMainWindowCreated)() = nullptr;
    void (*OnMainWindowClosing)() = nullptr;
    void (*OnColourTick)() = nullptr;
    void (*OnContactBadgeClick)() = nullptr;
    void (*OnPictureRightClick)(int box) = nullptr;
    void (*OnSavePictureSelected)() = nullptr;
    void (*OnUpdateClicked)() = nullptr;
    void (*OnPrevPageClicked)() = nullptr;
    void (*OnNextPageClicked)() = nullptr;
};
