// One complete HTTP exchange over WinINet, with the caller's headers, cookies, body, proxy and
// redirect control. Each call opens and closes its own internet handle, connection and request.
#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

// Every field but the address, with its default. In/out fields are read and then written; out
// fields are only written. When an internet handle, connection or request cannot be opened,
// no field is written.
struct HttpOptions {
    int method = 0;             // 1: "POST" with the body; 0: "GET" without one; else "GET" with it
    Text postText;              // the body, used when postBytes is empty
    Text cookies;               // in/out: sent as "Cookie: "; on return merged with the response's
    Text responseCookies;       // out: the response's name=value items, "item;" each, no blanks
    Text extraHeaders;          // in/out: header lines joined by "\r\n"; on return the text sent
    Text redirectTarget;        // in/out: on return the last "Location:" value, or the raw headers
    bool noRedirect = false;    // WinINet then leaves redirects to the caller
    Bytes postBytes;            // in/out: the body; filled from postText when empty and one is sent
    std::optional<Text> proxy;  // present: requests go through "http=" + proxy
    Text rawHeaders;  // out: the response's headers, or 5000 blanks when they cannot be read
};

// The user agent when extraHeaders names none.
inline constexpr const char* kRequestUserAgent =
    "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)";

// The response body whatever the HTTP status; empty Bytes when nothing was read, when the body
// runs past 64 MiB, or when memory runs out.
Bytes HttpRequest(const Text& url, HttpOptions& options);
// A plain GET with the default header block.
Bytes HttpRequest(const Text& url);

// The text after the first ":" of a header line, blanks trimmed; "" without a ":".
Text HeaderValue(const Text& line);

// The steps of HttpRequest that are plain text work, for its tests.

// The header text sent when the caller gives none; Referer is the requested address.
Text DefaultRequestHeaders(const Text& url);
// The agent named by a "User-Agent:" line of extraHeaders (found ignoring letter case), else
// kRequestUserAgent.
Text RequestUserAgent(const Text& extraHeaders);
// From rawHeaders: redirectTarget (the last line holding "Location:", else rawHeaders itself),
// responseCookies (one "name=value; " per line holding "Set-Cookie"), then MergeCookies.
void ApplyResponseHeaders(HttpOptions& options);
// The WinINet request flags (Windows builds only).
std::uint32_t HttpRequestFlags(const Text& url, bool noRedirect);
