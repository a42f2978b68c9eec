// The catalogue file written on close.
#pragma once

// The query-close handler of the main window: asks whether to save the catalogue. It never
// refuses the close.
void OnMainWindowClosing();
