#include "text/text_between.h"

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool caseSensitive) {
    const Text quote = "\"";
    Text leftDelimiter = ReplaceText(left, kQuotePlaceholder, quote, 0, kAllOccurrences, true);
    Text rightDelimiter = ReplaceText(right, kQuotePlaceholder, quote, 0, kAllOccurrences, true);

    int d = FindText(text, leftDelimiter, start, !caseSensitive);
    if (d == -1) return Text();
    d += TextLength(leftDelimiter);
    int c = FindText(text, rightDelimiter, d, !caseSensitive);
    if (c == -1) return Text();
    return TextMid(text, d, c - d);
}

Text CutSection(const Text& text, int& position, const Text& startMarker, Text& secondMarker,
                bool useSecondMarker, const Text& endMarker, bool caseInsensitive,
                bool keepStartMarker) {
    position = FindText(text, startMarker, position, caseInsensitive);
    if (position < 0) return Text();

    int b = position;
    if (useSecondMarker) {
        b = FindText(text, secondMarker, position, caseInsensitive);
    } else {
        secondMarker = startMarker;
    }
    if (b < 0) {
        position = -1;
        return Text();
    }

    int afterMarker = b + TextLength(secondMarker);
    int e = FindText(text, endMarker, afterMarker, caseInsensitive);
    if (e < 0) e = TextLength(text) + 1;
    if (!keepStartMarker) position = afterMarker;
    return TextMid(text, position, e - position);
}
