// Membership and de-duplication of lists joined by a separator.
#pragma once

#include "text/text.h"

// 1-based index of the first element equal to text byte for byte, or -1.
int FindInArray(const TextArray& array, const Text& text);

// The list without repeated items, first occurrences in input order, joined again by
// separator with none at the end.
Text JoinUnique(const Text& list, const Text& separator);
