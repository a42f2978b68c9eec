#include "text/random.h"

#include <atomic>
#include <cstdint>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

// A thread that never seeds starts from 1, as with the C library's rand().
thread_local std::uint32_t generatorState = 1;
std::atomic<std::uint32_t> seedCounter{0};

std::uint32_t TickCount() {
#ifdef _WIN32
    return GetTickCount();
#else
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
#endif
}

int NextRandom() {
    generatorState = generatorState * 214013u + 2531011u;
    return static_cast<int>((generatorState >> 16) & 0x7FFF);
}

}  // namespace

void RandomSeed() {
    std::uint32_t ticks = TickCount();
    std::uint32_t counter = seedCounter.load();
    // The counter moves on by 100 plus the low byte of (ticks + counter) after every seed.
    while (!seedCounter.compare_exchange_weak(counter, counter + 100 + ((ticks + counter) & 0xFF))) {
    }
    generatorState = ticks + counter;
}

int RandomNumber(int lower, int upper) {
    if (lower < 0) lower = 0;
    if (upper < 0) upper = 0;
    if (lower > upper) std::swap(lower, upper);
    if (lower == upper) return lower;
    std::int64_t span = std::int64_t{upper} - lower + 1;
    return static_cast<int>(lower + NextRandom() % span);
}
