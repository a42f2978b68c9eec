// JoinUnique on a catalogue-sized list: 100,000 picture paths joined by the catalogue's
// separator, a third of them repeats. Writes the same paths one per line to the file named by
// the first argument, for the baseline (sort -u), and prints the best of five runs in ms.
#include <time.h>

#include <cstdio>
#include <fstream>

#include "catalogue_paths.h"
#include "text/unique.h"

namespace {

constexpr int kPaths = 100000;
const Text kSeparator = "#分割符#";

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

Text MakeList(std::ofstream& lines) {
    Text list;
    for (const Text& path : CataloguePaths(kPaths)) {
        if (!list.empty()) list += kSeparator;
        list += path;
        lines << path << '\n';
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: join_unique_bench LINES-FILE\n");
        return 2;
    }
    std::ofstream lines(argv[1], std::ios::binary);
    Text list = MakeList(lines);
    lines.close();
    double best = 1e300;
    size_t kept = 0;
    for (int run = 0; run < 5; ++run) {
        double start = NowMs();
        Text unique = JoinUnique(list, kSeparator);
        double took = NowMs() - start;
        if (took < best) best = took;
        kept = unique.size();
    }
    std::printf("%.2f %zu %zu\n", best, list.size(), kept);
    return 0;
}
