#include "app/main_thread.h"

void RunOnWindowThread(HWND window, const std::function<void()>& job) {
    if (!window || !IsWindow(window)) return;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        job();
        return;
    }
    SendMessageW(window, kRunJobMessage, 0, reinterpret_cast<LPARAM>(&job));
}

LRESULT RunPostedJob(LPARAM lParam) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
}
