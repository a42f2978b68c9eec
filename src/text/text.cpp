#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool BytesMatch(const char* at, const Text& sought, bool ignoreCase) {
    for (size_t i = 0; i < sought.size(); ++i) {
        char a = at[i], b = sought[i];
        if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
    }
    return true;
}

// Length of the character at offset i, or 0 when a lead byte is the text's last byte: such a
// byte ends every walk.
size_t CharLength(const Text& text, size_t i) {
    if (!IsLeadByte(text[i])) return 1;
    return i + 1 < text.size() ? 2 : 0;
}

bool IsBlankAt(const Text& text, size_t i, size_t length) {
    if (length == 1) return text[i] == ' ';
    return length == 2 && static_cast<unsigned char>(text[i]) == 0xA1 &&
           static_cast<unsigned char>(text[i + 1]) == 0xA1;
}

int ClampToInt(size_t n) {
    return n > static_cast<size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(n);
}

constexpr size_t kStop = Text::npos;

// Walks the text from offset from and calls found(offset) at every character start where sought
// matches. found gives the offset where the walk goes on (past the match, for non-overlapping
// uses), or kStop.
template <typename Found>
void WalkMatches(const Text& text, size_t from, const Text& sought, bool ignoreCase, Found found) {
    size_t i = from;
    while (i < text.size()) {
        size_t length = CharLength(text, i);
        if (length == 0) return;
        if (text.size() - i >= sought.size() && BytesMatch(text.data() + i, sought, ignoreCase)) {
            size_t next = found(i);
            if (next == kStop) return;
            if (next > i) {
                i = next;
                continue;
            }
        }
        i += length;
    }
}

}  // namespace

int TextLength(const Text& text) { return ClampToInt(text.size()); }

Text TextLeft(const Text& text, int count) {
    if (count <= 0) return Text();
    return text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
}

Text TextRight(const Text& text, int count) {
    if (count <= 0) return Text();
    size_t n = std::min(text.size(), static_cast<size_t>(count));
    return text.substr(text.size() - n);
}

Text TextMid(const Text& text, int start, int count) {
    if (start < 1 || count <= 0 || static_cast<size_t>(start) > text.size()) return Text();
    return text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count));
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
    size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
    if (from >= text.size()) return -1;
    if (sought.empty()) return 1;
    int position = -1;
    WalkMatches(text, from, sought, ignoreCase, [&](size_t at) {
        position = ClampToInt(at + 1);
        return kStop;
    });
    return position;
}

int FindTextReverse(const Text& text, const Text& sought, bool ignoreCase) {
    if (text.empty()) return -1;
    if (sought.empty()) return 1;
    int position = -1;
    WalkMatches(text, 0, sought, ignoreCase, [&](size_t at) {
        position = ClampToInt(at + 1);
        return at;  // keep walking: the last match wins
    });
    return position;
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 int count, bool caseSensitive) {
    if (text.empty() || sought.empty() || count == 0) return text;
    size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
    if (from >= text.size()) return text;

    Text result = text.substr(0, from);
    size_t copied = from;  // text before this offset is already in result
    int replaced = 0;
    WalkMatches(text, from, sought, !caseSensitive, [&](size_t at) {
        result.append(text, copied, at - copied);
        result += replacement;
        copied = at + sought.size();
        return (count > 0 && ++replaced == count) ? kStop : copied;
    });
    result.append(text, copied, Text::npos);
    return result;
}

TextArray SplitText(const Text& text, const Text& separator) {
    TextArray items;
    if (text.empty()) return items;
    if (separator.empty()) return {text};
    size_t pieceStart = 0;
    WalkMatches(text, 0, separator, false, [&](size_t at) {
        items.push_back(text.substr(pieceStart, at - pieceStart));
        pieceStart = at + separator.size();
        return pieceStart;
    });
    if (pieceStart < text.size()) items.push_back(text.substr(pieceStart));
    return items;
}

Text TrimBlanks(const Text& text) {
    size_t first = text.size(), end = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = CharLength(text, i);
        if (length == 0) length = 1;  // a lone last lead byte is no blank
        if (!IsBlankAt(text, i, length)) {
            if (first == text.size()) first = i;
            end = i + length;
        }
        i += length;
    }
    return first < end ? text.substr(first, end - first) : Text();
}

Text RemoveBlanks(const Text& text) {
    Text result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = CharLength(text, i);
        if (length == 0) length = 1;
        if (!IsBlankAt(text, i, length)) result.append(text, i, length);
        i += length;
    }
    return result;
}

Text ToLowerCase(const Text& text) {
    Text result = text;
    for (size_t i = 0; i < result.size();) {
        size_t length = CharLength(result, i);
        if (length == 0) break;
        if (length == 1) result[i] = FoldAscii(result[i]);
        i += length;
    }
    return result;
}

int TextToInt(const Text& text) {
    // Full-width digits, signs and space: A3B0..A3B9, A3AB, A3AD, A1A1.
    Text ascii;
    ascii.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = CharLength(text, i);
        if (length == 2) {
            auto lead = static_cast<unsigned char>(text[i]);
            auto trail = static_cast<unsigned char>(text[i + 1]);
            if (lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9) {
                ascii += static_cast<char>('0' + (trail - 0xB0));
            } else if (lead == 0xA3 && trail == 0xAB) {
                ascii += '+';
            } else if (lead == 0xA3 && trail == 0xAD) {
                ascii += '-';
            } else if (lead == 0xA1 && trail == 0xA1) {
                ascii += ' ';
            } else {
                ascii.append(text, i, 2);
            }
        } else {
            ascii += text[i];
            length = 1;
        }
        i += length;
    }

    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < ascii.size() && isSpace(ascii[i])) ++i;
    bool negative = false;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) negative = ascii[i++] == '-';
    // Saturate rather than overflow on absurdly long digit runs.
    std::int64_t value = 0;
    const std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
        value = std::min(limit, value * 10 + (ascii[i] - '0'));
    }
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

Text ToText(int value) { return std::to_string(value); }

Text ToText(const Bytes& bytes) {
    auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return Text(bytes.begin(), zero);
}

Text ToText(const Text& text) {
    return text.substr(0, text.find('\0'));  // a Text never holds a zero byte
}

Bytes ToBytes(const Text& text) { return Bytes(text.begin(), text.end()); }

Text BlankText(int count) { return count < 1 ? Text() : Text(static_cast<size_t>(count), ' '); }

Bytes BlankBytes(int count) { return count <= 0 ? Bytes() : Bytes(static_cast<size_t>(count), 0); }

int BytesLength(const Bytes& bytes) { return ClampToInt(bytes.size()); }

Bytes BytesLeft(const Bytes& bytes, int count) {
    if (count <= 0) return Bytes();
    return Bytes(bytes.begin(), bytes.begin() + std::min(bytes.size(), static_cast<size_t>(count)));
}

Text CharFromCode(int code) {
    char c = static_cast<char>(code & 0xFF);
    return c == 0 ? Text() : Text(1, c);
}

Bytes JoinBytes(const Bytes& first, const Bytes& second) {
    Bytes joined;
    joined.reserve(first.size() + second.size());
    joined.insert(joined.end(), first.begin(), first.end());
    joined.insert(joined.end(), second.begin(), second.end());
    return joined;
}

int RgbColour(int red, int green, int blue) { return red + green * 0x100 + blue * 0x10000; }
