// The Created handler of the main window. Compiled into the program only: it reaches the
// contact badge, which the shell library knows nothing of.
#pragma once

// The contact badge, the usage message box, the page slots, the main thread's seed.
void OnMainWindowCreated();
