// Cutting pieces out of a page by their delimiters.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "text/text_between.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    int start = data.ConsumeIntegralInRange(-2, 80);
    bool flag1 = data.ConsumeBool(), flag2 = data.ConsumeBool(), flag3 = data.ConsumeBool();
    Text left = TakeText(data, 12);
    Text right = TakeText(data, 12);
    Text second = TakeText(data, 12);
    Text text = TakeRestAsText(data);

    Text between = TextBetween(text, left, right, start, flag1);
    FUZZ_CHECK(text.find(between) != Text::npos);
    FUZZ_CHECK(between.size() <= text.size());

    int position = start;
    Text secondMarker = second;
    Text section = CutSection(text, position, left, secondMarker, flag1, right, flag2, flag3);
    if (position < 0) {
        FUZZ_CHECK(section.empty());
    } else {
        // The section is the text from where it says it begins.
        FUZZ_CHECK(position >= 1);
        FUZZ_CHECK(text.compare(static_cast<size_t>(position) - 1, section.size(), section) == 0);
        if (!flag1) FUZZ_CHECK(secondMarker == left);
    }
    return 0;
}
