#include "app/picture_click.h"

#include "app/controls.h"
#include "app/globals.h"

void OnPictureRightClick(int box) {
    ShowPictureMenu();
    // Taken after the menu has closed; the item's handler runs only after this returns.
    CurrentPicture = GetPicture(box);
}
