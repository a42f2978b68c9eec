// The picture box: a child window that keeps the bytes it is given, returns exactly those
// bytes, and draws what it recognises at natural size from its top-left corner, clipped.
#pragma once

#include <windows.h>

#include "text/text.h"

// Called when a mouse button goes down on a box, before the box itself handles the press.
using PictureMouseHandler = void (*)(int controlId, bool rightButton);

HWND CreatePictureBox(HWND parent, int controlId, int left, int top, int width, int height,
                      bool bordered, PictureMouseHandler onMouseDown);
// Main thread only (the controls' operations hand calls from workers over to it).
void SetBoxPicture(HWND box, const Bytes& bytes);
Bytes GetBoxPicture(HWND box);
