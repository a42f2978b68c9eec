#include "text/extract_all.h"

#include "text/regex_object.h"

int ExtractAllBetween(const Text& text, const Text& left, const Text& right, TextArray& result,
                      int maximumLength, const Text& prefix, const Text& suffix, bool includeLeft,
                      bool includeRight) {
    RegexObject regex;
    result.clear();
    regex.Create(EscapePattern(left) + "(.*?)" + EscapePattern(right), text);
    int count = regex.MatchCount();
    for (int n = 1; n <= count; ++n) {
        Text piece = regex.SubmatchText(n, 1);
        if (maximumLength != 0) {
            if (TextLength(piece) > maximumLength) continue;
            piece = prefix + piece + suffix;
            if (includeLeft) {
                piece = left + piece;
            } else if (includeRight) {
                piece += right;
            }
        } else {
            piece = prefix + piece + suffix;
            if (includeLeft) piece = left + piece;
            if (includeRight) piece += right;
        }
        result.push_back(std::move(piece));
    }
    return static_cast<int>(result.size());
}

Text EscapePattern(const Text& text) {
    Text escaped =
        ReplacePairs(text, {{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}, {"[", "\\["}, {"]", "\\]"}});
    return ReplacePairs(escaped, {{"(", "\\("}, {")", "\\)"}, {"{", "\\{"}, {"}", "\\}"}});
}

Text ReplacePairs(const Text& text, const std::vector<ReplacePair>& pairs, int count, int start,
                  bool caseSensitive) {
    if (start == 0) start = 1;
    Text result = text;
    for (const ReplacePair& pair : pairs) {
        result = ReplaceText(result, pair.sought, pair.replacement, start, count, caseSensitive);
    }
    return result;
}
