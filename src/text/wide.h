// Crossing between Text (always code page 936) and the system's UTF-16, whatever the
// system's own ANSI code page is.
#pragma once

#ifdef _WIN32
#include <string>

#include "text/text.h"

inline constexpr unsigned kTextCodePage = 936;

std::wstring WideFromText(const Text& text);
Text TextFromWide(const std::wstring& wide);
Text TextFromWide(const wchar_t* wide, int length);
#endif
