// Picture paths as the detail pages give them, for the duplicate removal benchmarks: every
// third one repeats an earlier path, chosen by a fixed pseudo-random sequence.
#pragma once

#include <string>

#include "text/text.h"

inline TextArray CataloguePaths(int count) {
    TextArray paths;
    unsigned seed = 12345;
    int fresh = 0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        int number = (i % 3 == 2 && fresh > 0) ? int(seed % unsigned(fresh)) : fresh++;
        paths.push_back("/photos/" + std::to_string(number / 100) + "/pic" +
                        std::to_string(number) + ".jpg");
    }
    return paths;
}
