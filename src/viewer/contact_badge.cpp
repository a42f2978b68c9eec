#include "viewer/contact_badge.h"

#include <windows.h>

#include "app/controls.h"
#include "web/fetch.h"
#include "web/site.h"

namespace {

constexpr DWORD kInputIdleWaitMs = 1000;

}  // namespace

Text ChatCommandLine(const Text& account) {
    return Text("\"") + kChatBrowser + "\" tencent://message/?uin=" + account;
}

void SetUpContactBadge() {
    SetPicture(kContactBadge, FetchUrl(BadgeAddress()));
}

void OnContactBadgeClick() {
    Text commandLine = ChatCommandLine(ContactAccount());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return;
    }
    WaitForInputIdle(process.hProcess, kInputIdleWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
