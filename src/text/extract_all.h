// Collecting every piece of a text between two delimiters.
#pragma once

#include <vector>

#include "text/text.h"

// Empties result, then appends, in page order, every piece between left and right (the first
// right after each left; pieces do not overlap and never span a line feed). Letter case of the
// delimiters is ignored. Delimiters are literal except ".", "\", "^", "$" and "|", which keep
// their regular-expression meaning. Each piece becomes prefix + piece + suffix; with
// maximumLength not 0, longer pieces are skipped and only one of includeLeft (which wins) and
// includeRight adds its delimiter; with maximumLength 0 both may. Returns the size of result.
int ExtractAllBetween(const Text& text, const Text& left, const Text& right, TextArray& result,
                      int maximumLength = 0, const Text& prefix = Text(),
                      const Text& suffix = Text(), bool includeLeft = false,
                      bool includeRight = false);

// text with a backslash before every "?", "*", "+", "[", "]", "(", ")", "{" and "}".
Text EscapePattern(const Text& text);

struct ReplacePair {
    Text sought;
    Text replacement;
};

// Applies ReplaceText with each pair in turn, each to the result of the one before, all with
// the same count, start (0 counts as 1) and case rule; an empty sought text changes nothing.
Text ReplacePairs(const Text& text, const std::vector<ReplacePair>& pairs,
                  int count = kAllOccurrences, int start = 1, bool caseSensitive = false);
