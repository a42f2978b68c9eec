// De-duplication of separator-joined lists.
#include <cstddef>
#include <cstdint>
#include <set>

#include "fuzz_check.h"
#include "text/unique.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Text separator = TakeText(data, 4);
    Text list = TakeRestAsText(data);
    // The program's separators ("; ", "#分割符#") begin with an ASCII byte; one that begins with a
    // lead byte matches where joining the kept items shifts the character boundaries.
    if (!separator.empty() && static_cast<unsigned char>(separator[0]) >= 0x80) return 0;

    Text unique = JoinUnique(list, separator);
    FUZZ_CHECK(unique.size() <= list.size());
    // Done twice it changes nothing more, unless an empty item came last: its separator then
    // stays at the end, and splitting drops it (fuzz/corpus/unique/empty-item-last).
    TextArray original = SplitText(list, separator);
    if (!EndsWith(unique, separator)) FUZZ_CHECK(JoinUnique(unique, separator) == unique);
    if (separator.empty()) {
        FUZZ_CHECK(unique == list);
        return 0;
    }
    TextArray items = SplitText(unique, separator);
    std::set<Text> seen(items.begin(), items.end());
    FUZZ_CHECK(seen.size() == items.size());
    // Every item of the list is kept, and only those (a list of one empty item becomes the empty
    // text, which splits into no item).
    for (const Text& item : original) FUZZ_CHECK(item.empty() || seen.count(item) == 1);
    for (const Text& item : items) FUZZ_CHECK(FindInArray(original, item) >= 1);
    return 0;
}
