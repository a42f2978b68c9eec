// The right click on a picture box. It belongs with the picture saving of the viewer and
// moves there when the viewer arrives; the save itself is not here yet.
#pragma once

// Shows the popup menu "play", then takes the box's picture as the one to save.
void OnPictureRightClick(int box);
