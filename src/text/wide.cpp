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

Text TextFromWide(const std::wstring& wide) {
    return TextFromWide(wide.data(), static_cast<int>(wide.size()));
}
#endif
