#include <algorithm>
#include <new>

#include "web/internet_handle.h"

namespace {

// Grows the buffer itself so that its capacity never passes kMaxBodyBytes, as doubling would.
bool AppendBounded(Bytes& body, const std::uint8_t* data, std::size_t count) {
    if (count > kMaxBodyBytes - body.size()) return false;
    std::size_t needed = body.size() + count;
    if (needed > body.capacity()) {
        body.reserve(std::min(kMaxBodyBytes, std::max(needed, body.capacity() * 2)));
    }
    body.insert(body.end(), data, data + count);
    return true;
}

}  // namespace

Bytes ReadBody(HINTERNET request, DWORD chunkSize) {
    try {
        Bytes chunk(chunkSize);
        Bytes body;
        for (;;) {
            DWORD delivered = 0;
            if (!InternetReadFile(request, chunk.data(), chunkSize, &delivered)) break;
            if (delivered == 0) break;
            if (!AppendBounded(body, chunk.data(), std::min<DWORD>(delivered, chunkSize))) {
                return Bytes();
            }
        }
        return body;
    } catch (const std::bad_alloc&) {
        return Bytes();
    }
}
