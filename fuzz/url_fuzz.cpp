// Taking addresses apart: every input gives a result.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Text address = TakeRestAsText(data);

    for (bool domainOnly : {false, true}) {
        for (bool withPort : {false, true}) {
            Text host = UrlHost(address, domainOnly, withPort);
            FUZZ_CHECK(ToLowerCase(host) == host);
            FUZZ_CHECK(host.size() <= address.size() + 1);
            if (!withPort) FUZZ_CHECK(FindText(host, ":") == -1);
        }
    }
    (void)UrlPort(address);
    Text path = UrlPath(address);
    FUZZ_CHECK(!path.empty() && path[0] == '/');
    FUZZ_CHECK(path == "/" || address.find(path) != Text::npos);
    return 0;
}
