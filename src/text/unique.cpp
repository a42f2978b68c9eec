#include "text/unique.h"

#include <string_view>
#include <unordered_set>

int FindInArray(const TextArray& array, const Text& text) {
    for (size_t i = 0; i < array.size(); ++i) {
        if (array[i] == text) return static_cast<int>(i) + 1;
    }
    return -1;
}

Text JoinUnique(const Text& list, const Text& separator) {
    TextArray items = SplitText(list, separator);
    // A hash set keeps this linear: the catalogue can hold many thousands of paths.
    std::unordered_set<std::string_view> kept;
    kept.reserve(items.size());
    Text result;
    result.reserve(list.size());
    for (const Text& item : items) {
        if (kept.insert(item).second) {
            result += item;
            result += separator;
        }
    }
    return TextLeft(result, TextLength(result) - TextLength(separator));
}
