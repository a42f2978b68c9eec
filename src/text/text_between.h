// Cutting one piece out of a text by its delimiters.
#pragma once

#include "text/text.h"

// In either delimiter this stands for a double quote.
inline constexpr const char* kQuotePlaceholder = "#引号";

// The piece strictly between the first left delimiter at or after start and the first right
// delimiter after it; empty when either is missing.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool caseSensitive = false);

// The section from startMarker (or from just after it, or after secondMarker) up to, not
// including, endMarker, or to the end of the text when endMarker is missing. position is in:
// where to begin searching, out: where the section begins, or -1. Without useSecondMarker,
// secondMarker is overwritten with a copy of startMarker once the start marker is found.
Text CutSection(const Text& text, int& position, const Text& startMarker, Text& secondMarker,
                bool useSecondMarker, const Text& endMarker, bool caseInsensitive = true,
                bool keepStartMarker = true);
