// Runs regular-expression tests against every engine this build has: the system component and
// the built-in engine on Windows, the built-in engine alone elsewhere.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "text/regex_object.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

enum class Engine { kSystem, kBuiltIn };

inline std::vector<Engine> AllEngines() {
#ifdef _WIN32
    return {Engine::kSystem, Engine::kBuiltIn};
#else
    return {Engine::kBuiltIn};
#endif
}

inline std::string EngineName(Engine engine) {
    return engine == Engine::kSystem ? "System" : "BuiltIn";
}

inline void PrintTo(Engine engine, std::ostream* os) {
    *os << EngineName(engine);
}

// Selects the engine for the objects made while it lives.
struct EngineChoice {
    explicit EngineChoice(Engine engine) { ForceBuiltInRegexEngine(engine == Engine::kBuiltIn); }
    ~EngineChoice() { ForceBuiltInRegexEngine(false); }
};

inline double SecondsNow() {
#ifdef _WIN32
    return static_cast<double>(GetTickCount64()) / 1000.0;
#else
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
#endif
}
