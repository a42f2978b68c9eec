// Worker threads: one operating-system thread per long job, never waited for.
#pragma once

// Starts `job` on a new thread and closes the thread's handle at once. Whatever the job
// throws ends only the job, never the program. True when the thread was created.
bool StartWorker(void (*job)());

// How many workers have been started and not yet finished their job.
int RunningWorkers();
