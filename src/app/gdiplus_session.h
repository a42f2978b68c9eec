// GDI+ is started once for the whole process and never shut down: workers may still hold
// images when the program ends, and the process end releases everything.
#pragma once

// True when GDI+ is running. Safe to call from any thread, any number of times.
bool EnsureGdiplus();
