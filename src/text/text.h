// Texts, byte buffers and the primitive operations on them.
//
// A Text holds bytes in code page 936 (GBK) and never a zero byte; the empty text and an
// absent text are the same value. Positions are 1-based and a failed search gives -1.
// Searches and transforms walk the text under the double-byte rule: a byte of 0x80 or above
// starts a two-byte character, and a match is tried only at a character's first byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;
// Indexed from 1 in every routine that hands out an index (FindInArray).
using TextArray = std::vector<Text>;

// No limit on the number of replacements.
inline constexpr int kAllOccurrences = -1;

int TextLength(const Text& text);
Text TextLeft(const Text& text, int count);
Text TextRight(const Text& text, int count);
Text TextMid(const Text& text, int start, int count);

int FindText(const Text& text, const Text& sought, int start = 0, bool ignoreCase = false);
int FindTextReverse(const Text& text, const Text& sought, bool ignoreCase = false);
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = Text(),
                 int start = 0, int count = kAllOccurrences, bool caseSensitive = false);
TextArray SplitText(const Text& text, const Text& separator);

Text TrimBlanks(const Text& text);
Text RemoveBlanks(const Text& text);
Text ToLowerCase(const Text& text);

int TextToInt(const Text& text);
Text ToText(int value);
Text ToText(const Bytes& bytes);
Text ToText(const Text& text);
Bytes ToBytes(const Text& text);
Text BlankText(int count);
Bytes BlankBytes(int count);
int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int count);
Text CharFromCode(int code);
Bytes JoinBytes(const Bytes& first, const Bytes& second);

int RgbColour(int red, int green, int blue);
