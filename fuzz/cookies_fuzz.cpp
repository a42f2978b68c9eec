// Folding a response's cookies into the kept ones.
#include <cstddef>
#include <cstdint>
#include <set>

#include "fuzz_check.h"
#include "text/unique.h"
#include "web/cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Text cookies = TakeText(data, 200);
    Text response = TakeRestAsText(data);

    Text merged = MergeCookies(cookies, response);
    FUZZ_CHECK(merged == cookies);
    FUZZ_CHECK(RemoveBlanks(response) == response);
    TextArray items = SplitText(merged, "; ");
    for (const Text& item : items) FUZZ_CHECK(!EndsWith(item, "=deleted"));
    // An empty item ("a=1;;b=2") may leave a separator at the end (fuzz/corpus/unique).
    if (!EndsWith(merged, "; ")) FUZZ_CHECK(JoinUnique(merged, "; ") == merged);
    // Merging the same response again changes nothing more. Not so for bytes of 0x80 and above:
    // under the double-byte rule a lead byte just before a ";" takes it as its second byte, so
    // such a text is split otherwise once its blanks are gone (fuzz/corpus/cookies/lead-byte-*).
    Text again = response;
    bool ascii = true;
    for (char c : cookies + response) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) FUZZ_CHECK(MergeCookies(cookies, again) == merged);
    return 0;
}
