#include "viewer/picture_saving.h"

#include "app/controls.h"
#include "app/globals.h"
#include "text/files.h"

void OnSavePictureSelected() {
    Text fileName;
    if (!OpenSaveDialog(fileName) || fileName.empty()) return;
    WriteBytesToFile(fileName, CurrentPicture);
}
