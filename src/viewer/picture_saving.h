// Saving a shown picture: the right click on a box picks the picture (app/picture_click.h),
// the menu item "保存图片" writes it.
#pragma once

// Handler of "保存图片": asks for a file name in the save dialog and writes CurrentPicture to
// it; a cancelled dialog writes nothing.
void OnSavePictureSelected();
