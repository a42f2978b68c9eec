#include <windows.h>

#include "app/application.h"
#include "app/chores.h"
#include "app/picture_click.h"
#include "app/startup.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_update.h"
#include "viewer/contact_badge.h"
#include "viewer/paging.h"
#include "viewer/picture_saving.h"
#include "web/fetch.h"

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
    events.OnUpdateClicked = OnUpdateClicked;
    events.OnContactBadgeClick = OnContactBadgeClick;
    int exitCode = RunApplication(events);
    CloseInternet();
    EndProgram(exitCode);
}
