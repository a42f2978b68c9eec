// Stands in for a program that picora.exe starts: appends its command line, as UTF-16 with a
// line feed, to the file named by PICORA_RECORD_FILE, and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t file[MAX_PATH];
    if (!GetEnvironmentVariableW(L"PICORA_RECORD_FILE", file, MAX_PATH)) return 1;
    std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    HANDLE out = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(out);
    return 0;
}
