// What every fuzzer shares: a broken invariant aborts, so libFuzzer keeps the input that did it.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "text/text.h"

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// A Text never holds a zero byte: a network text reaches us cut at the first one.
inline Text TakeText(FuzzedDataProvider& data, size_t maximum = 64) {
    return ToText(data.ConsumeRandomLengthString(maximum));
}

inline Text TakeRestAsText(FuzzedDataProvider& data) {
    return ToText(data.ConsumeRemainingBytesAsString());
}

inline Text JoinTexts(const TextArray& items, const Text& separator) {
    Text joined;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) joined += separator;
        joined += items[i];
    }
    return joined;
}

inline bool EndsWith(const Text& text, const Text& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}
