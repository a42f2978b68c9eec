#include <algorithm>
#include <cstdint>

#include "web/fetch.h"

int FetchChunkSize(const Text& contentLength) {
    std::int64_t length = TextToInt(contentLength);
    if (length <= 0) return 10240;
    return static_cast<int>(std::min<std::int64_t>(length + 1, 102400));
}
