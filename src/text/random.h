// The C library's linear congruential generator, one state per thread.
#pragma once

// Seeds the calling thread's generator from the tick count plus a process-wide counter, so
// that two seeds taken within one millisecond still differ.
void RandomSeed();
// A value in [lower, upper], both ends included; negative bounds count as 0 and swapped
// bounds are put in order.
int RandomNumber(int lower, int upper);
