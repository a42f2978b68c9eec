// Removing repeated paths from the catalogue after an update.
#pragma once

#include "text/text.h"

// The whole catalogue travels as one text with this between items.
inline constexpr char kCatalogueSeparator[] = "#分割符#";

// The final status text; `account` follows two blanks and "QQ".
Text DuplicatesRemovedText(int count, const Text& account);

// A worker's job: keeps the first occurrence of every path, in order, and shows the count.
void RemoveCatalogueDuplicates();
