// The program's entry and exit.
#pragma once

#include "app/events.h"

// Makes the program-wide state, creates the main window hidden, runs the Created handler,
// shows the window centred and serves it until it closes. Returns the exit code, 0.
int RunApplication(const EventTable& events);
