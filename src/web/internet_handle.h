// What the WinINet routines share: handle ownership and the bounded body read.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <memory>

#include "text/text.h"

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

// Far above any page or photo; a server that sends more is broken or hostile, and an endless
// body must not exhaust a 32-bit process.
inline constexpr std::size_t kMaxBodyBytes = 64u * 1024u * 1024u;

// Reads the body in chunks of chunkSize bytes until a read delivers nothing or fails (a
// failed read ends the body there). Empty Bytes when the body runs past kMaxBodyBytes or
// memory runs out.
Bytes ReadBody(HINTERNET request, DWORD chunkSize);
