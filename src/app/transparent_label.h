// The engraved label: one centred line in its own font over whatever lies behind it, first
// in white one pixel right and down, then in its text colour.
#pragma once

#include <windows.h>

#include "text/text.h"

// The label takes ownership of `font`.
HWND CreateEngravedLabel(HWND parent, int controlId, const Text& caption, HFONT font, int left,
                         int top, int width, int height);
// Recolours the label (red + green * 256 + blue * 65536) and redraws it and what lies behind
// it before returning. Main thread only.
void SetEngravedLabelColour(HWND label, int colour);
