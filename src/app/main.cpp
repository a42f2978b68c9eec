#include <windows.h>

// The window arrives with the application shell; until then the program only starts and ends.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
