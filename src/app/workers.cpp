#include "app/workers.h"

#include <windows.h>

#include <new>

namespace {

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
    return 0;
}

}  // namespace

bool StartWorker(void (*job)()) {
    if (!job) return false;
    Job* parameter = new (std::nothrow) Job{job};
    if (!parameter) return false;
    HANDLE thread = CreateThread(nullptr, 0, WorkerEntry, parameter, 0, nullptr);
    if (!thread) {
        delete parameter;
        return false;
    }
    CloseHandle(thread);
    return true;
}
