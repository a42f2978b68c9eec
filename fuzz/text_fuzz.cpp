// The text primitives over any bytes, a lead byte of a double-byte character at the end included.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"

namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool MatchesAt(const Text& text, int position, const Text& sought, bool ignoreCase) {
    if (position < 1 || static_cast<size_t>(position) - 1 + sought.size() > text.size())
        return false;
    for (size_t i = 0; i < sought.size(); ++i) {
        char a = text[static_cast<size_t>(position) - 1 + i], b = sought[i];
        if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
    }
    return true;
}

void CheckSearches(const Text& text, const Text& sought, int start, bool ignoreCase) {
    int found = FindText(text, sought, start, ignoreCase);
    int last = FindTextReverse(text, sought, ignoreCase);
    if (sought.empty()) return;
    FUZZ_CHECK(found == -1 || (found >= start && MatchesAt(text, found, sought, ignoreCase)));
    FUZZ_CHECK(last == -1 || MatchesAt(text, last, sought, ignoreCase));
    int first = FindText(text, sought, 1, ignoreCase);
    FUZZ_CHECK((first == -1) == (last == -1));
    FUZZ_CHECK(last >= first);
}

void CheckReplace(const Text& text, const Text& sought, const Text& replacement, int start,
                  int count) {
    // Replacing a text by itself, letter case counting, changes nothing.
    FUZZ_CHECK(ReplaceText(text, sought, sought, start, count, true) == text);
    Text replaced = ReplaceText(text, sought, replacement, start, count, true);
    if (sought.empty() || FindText(text, sought, start, false) == -1) {
        FUZZ_CHECK(replaced == text);
    }
    // What lies before the start is never touched.
    if (start > 1) FUZZ_CHECK(replaced.compare(0, start - 1, text, 0, start - 1) == 0);
}

void CheckSplit(const Text& text, const Text& separator) {
    TextArray pieces = SplitText(text, separator);
    if (text.empty()) {
        FUZZ_CHECK(pieces.empty());
        return;
    }
    // Joined again they give the text, but for one separator at its end.
    Text joined = JoinTexts(pieces, separator);
    FUZZ_CHECK(joined == text || joined + separator == text);
}

void CheckBlanksAndCase(const Text& text) {
    Text trimmed = TrimBlanks(text);
    FUZZ_CHECK(text.find(trimmed) != Text::npos);
    FUZZ_CHECK(TrimBlanks(trimmed) == trimmed);
    Text removed = RemoveBlanks(text);
    FUZZ_CHECK(removed.size() <= text.size());
    FUZZ_CHECK(RemoveBlanks(removed) == removed);
    FUZZ_CHECK(RemoveBlanks(trimmed) == removed);
    Text lower = ToLowerCase(text);
    FUZZ_CHECK(lower.size() == text.size());
    FUZZ_CHECK(ToLowerCase(lower) == lower);
    (void)TextToInt(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    int start = data.ConsumeIntegralInRange(-2, 80);
    int count = data.ConsumeIntegralInRange(-2, 4);
    bool ignoreCase = data.ConsumeBool();
    Text sought = TakeText(data, 8);
    Text replacement = TakeText(data, 8);
    Text text = TakeRestAsText(data);

    CheckSearches(text, sought, start, ignoreCase);
    CheckReplace(text, sought, replacement, start, count);
    (void)ReplaceText(text, sought, replacement, start, count, false);
    CheckSplit(text, sought);
    CheckBlanksAndCase(text);
    (void)TextMid(text, start, count * 7);
    (void)TextLeft(text, start);
    (void)TextRight(text, start);
    return 0;
}
