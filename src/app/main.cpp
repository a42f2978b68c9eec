#include <windows.h>

#include "app/application.h"
#include "app/chores.h"
#include "app/picture_click.h"
#include "catalogue/catalogue_file.h"
#include "viewer/paging.h"
#include "viewer/picture_saving.h"

// The only place that knows every handler: it binds them to the window's events.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    EventTable events;
    events.OnMainWindowCreated = OnMainWindowCreated;
    events.OnMainWindowClosing = OnMainWindowClosing;
    events.OnColourTick = OnColourTick;
    events.OnPictureRightClick = OnPictureRightClick;
    events.OnSavePictureSelected = OnSavePictureSelected;
    events.OnPrevPageClicked = OnPrevPageClicked;
    events.OnNextPageClicked = OnNextPageClicked;
    return RunApplication(events);
}
