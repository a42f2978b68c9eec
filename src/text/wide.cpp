#ifdef _WIN32
#include "text/wide.h"

#include <windows.h>

std::wstring WideFromText(const Text& text) {
    if (text.empty()) return std::wstring();
    int length = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(kTextCodePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

Text TextFromWide(const wchar_t* wide, int length) {
    if (wide == nullptr || length <= 0) return Text();
    int needed = WideCharToMultiByte(kTextCodePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return Text();
    Text text(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(kTextCodePage, 0, wide, length, text.data(), needed, nullptr, nullptr);
    return ToText(text);
}

namespace {

constexpr wchar_t kEscapedByte = 0xDC00;

bool IsEscapedByte(wchar_t unit) {
    return unit >= kEscapedByte && unit <= kEscapedByte + 0xFF;
}

// The wide form of text when every character converts and converts back to the same bytes.
bool WideFromTextExactly(const char* text, int length, std::wstring& wide) {
    int needed = MultiByteToWideChar(kTextCodePage, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (needed <= 0) return false;
    wide.assign(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(kTextCodePage, MB_ERR_INVALID_CHARS, text, length, wide.data(), needed);
    for (wchar_t unit : wide) {
        if (IsEscapedByte(unit)) return false;
    }
    return TextFromWide(wide.data(), needed) == Text(text, static_cast<size_t>(length));
}

}  // namespace

std::wstring WideFromTextKeepingBytes(const Text& text) {
    std::wstring wide;
    if (text.empty() || WideFromTextExactly(text.data(), static_cast<int>(text.size()), wide)) {
        return wide;
    }
    // Character by character, under the double-byte rule.
    wide.clear();
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            wide += static_cast<wchar_t>(byte);
            ++i;
            continue;
        }
        std::wstring character;
        if (i + 1 < text.size() && WideFromTextExactly(text.data() + i, 2, character) &&
            character.size() == 1) {
            wide += character;
        } else {
            wide += static_cast<wchar_t>(kEscapedByte + byte);
            if (i + 1 < text.size()) {
                wide +=
                    static_cast<wchar_t>(kEscapedByte + static_cast<unsigned char>(text[i + 1]));
            }
        }
        i += 2;
    }
    return wide;
}

Text TextFromWideKeepingBytes(const wchar_t* wide, int length) {
    Text text;
    int runStart = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && !IsEscapedByte(wide[i])) continue;
        text += TextFromWide(wide + runStart, i - runStart);
        if (i < length) text += static_cast<char>(wide[i] - kEscapedByte);
        runStart = i + 1;
    }
    return text;
}

Text TextFromWide(const std::wstring& wide) {
    return TextFromWide(wide.data(), static_cast<int>(wide.size()));
}
#endif
