// The regular-expression object over any pattern and subject (the built-in engine natively).
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "text/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    bool caseSensitive = data.ConsumeBool(), multiline = data.ConsumeBool();
    bool global = data.ConsumeBool();
    Text pattern = TakeText(data, 24);
    Text replacement = TakeText(data, 12);
    Text subject = TakeRestAsText(data);

    RegexObject regex;
    if (!regex.Create(pattern, subject, caseSensitive, multiline, global)) {
        FUZZ_CHECK(regex.MatchCount() == 0);
        return 0;
    }
    int count = regex.MatchCount();
    FUZZ_CHECK(count >= 0);
    if (!global) FUZZ_CHECK(count <= 1);
    for (int n = 1; n <= count; ++n) {
        int position = -1;
        Text match = regex.MatchText(n, &position);
        // The position is where FindText finds the text from the match's start on; it cannot find
        // a lead byte that ends the subject (fuzz/corpus/regex/lone-lead-byte), so -2 there.
        FUZZ_CHECK(position == -2 || position >= 0);
        FUZZ_CHECK(position == -2 ||
                   subject.compare(static_cast<size_t>(position), match.size(), match) == 0);
        for (int g = 1; g <= regex.SubmatchCount(); ++g) {
            int at = -1;
            Text group = regex.SubmatchText(n, g, &at);
            FUZZ_CHECK(at == -2 ||
                       subject.compare(static_cast<size_t>(at), group.size(), group) == 0);
        }
    }
    FUZZ_CHECK(regex.MatchText(count + 1).empty());
    if (count == 0) FUZZ_CHECK(regex.Replace(replacement) == subject);
    (void)regex.Replace(replacement);
    return 0;
}
