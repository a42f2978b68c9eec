// The program's entry and exit.
#pragma once

#include "app/events.h"

// Makes the program-wide state, creates the main window hidden, runs the Created handler,
// shows the window centred and serves it until it closes. Returns the exit code, 0.
int RunApplication(const EventTable& events);

// Ends the process with the exit code once the window is gone. The program-wide storage is
// released first only when no worker runs: the runtime's exit routines would release it while
// a worker (an update that outlived the window) may still be walking it. Otherwise the system
// takes it back with the process, whose end stops the workers first.
[[noreturn]] void EndProgram(int exitCode);
