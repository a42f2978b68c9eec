// The messenger badge qq客服1 and its chat link.
#pragma once

#include "text/text.h"

// The browser the chat link is opened with.
inline constexpr char kChatBrowser[] = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

// The command line that opens a chat with `account`. The browser's path is quoted: unquoted,
// the system would try "C:\Program.exe" first, so a program placed there would run instead.
Text ChatCommandLine(const Text& account);

// Step 1 of the Created handler: fetches the badge (synchronously) and shows it in qq客服1;
// an empty or unknown answer leaves the box empty.
void SetUpContactBadge();

// The left-button-down handler of qq客服1: starts the browser with the chat link and waits at
// most 1000 ms for it to take input.
void OnContactBadgeClick();
