#include "app/workers.h"

#include <windows.h>

#include <atomic>
#include <new>

namespace {

// Counted from before the thread exists until after its job has returned, so a job that starts
// another worker never lets the count touch zero between them.
std::atomic<int> g_runningWorkers = 0;

struct Job {
    void (*routine)();
};

DWORD WINAPI WorkerEntry(LPVOID parameter) {
    Job* job = static_cast<Job*>(parameter);
    try {
        job->routine();
    } catch (...) {
        // A job's failure stays inside the job; there is nobody to report it to.
    }
    delete job;
    --g_runningWorkers;
    return 0;
}

}  // namespace

bool StartWorker(void (*job)()) {
    if (!job) return false;
    Job* parameter = new (std::nothrow) Job{job};
    if (!parameter) return false;
    ++g_runningWorkers;
    HANDLE thread = CreateThread(nullptr, 0, WorkerEntry, parameter, 0, nullptr);
    if (!thread) {
        --g_runningWorkers;
        delete parameter;
        return false;
    }
    CloseHandle(thread);
    return true;
}

int RunningWorkers() {
    return g_runningWorkers;
}
