// Collecting every piece between two delimiters (the built-in engine natively).
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "text/extract_all.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    int maximumLength = data.ConsumeIntegralInRange(0, 40);
    bool includeLeft = data.ConsumeBool(), includeRight = data.ConsumeBool();
    Text left = TakeText(data, 10);
    Text right = TakeText(data, 10);
    Text text = TakeRestAsText(data);

    TextArray pieces{"left over"};
    int count = ExtractAllBetween(text, left, right, pieces, maximumLength);
    FUZZ_CHECK(count == static_cast<int>(pieces.size()));
    for (const Text& piece : pieces) {
        // A line feed byte may be the second byte of a double-byte character, which is no line
        // feed.
        FUZZ_CHECK(FindText(piece, "\n") == -1);
        FUZZ_CHECK(text.find(piece) != Text::npos);
        if (maximumLength != 0) FUZZ_CHECK(TextLength(piece) <= maximumLength);
    }
    TextArray wrapped;
    int wrappedCount = ExtractAllBetween(text, left, right, wrapped, maximumLength, "<", ">",
                                         includeLeft, includeRight);
    FUZZ_CHECK(wrappedCount == count);
    for (const Text& piece : wrapped) FUZZ_CHECK(piece.find('<') != Text::npos);
    (void)EscapePattern(text);
    return 0;
}
