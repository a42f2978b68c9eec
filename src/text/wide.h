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

// The same, but every byte survives the round trip: bytes that do not form GBK characters (a
// page may be UTF-8) cross as U+DC00 + the byte, lone low surrogates that no GBK character
// maps to. A two-byte character that is not GBK crosses as two such units, so it is still
// one unit of matching wherever its second byte is a delimiter's byte.
std::wstring WideFromTextKeepingBytes(const Text& text);
Text TextFromWideKeepingBytes(const wchar_t* wide, int length);
#endif
