// The plain download of one address, behind every fetch but the list pages'. All fetches share
// one WinINet internet handle, opened by the first and closed by CloseInternet at shutdown.
#pragma once

#include "text/text.h"

inline constexpr const char* kFetchUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// The body exactly as the server sent it, whatever the HTTP status; a read that fails part-way
// ends it there. Empty Bytes for an empty address, an address WinINet cannot take apart (one
// without a scheme), any failure to connect or send, a body past 64 MiB, or memory that runs
// out. The fragment is not sent; redirects are followed. Safe on any thread.
Bytes FetchUrl(const Text& address);

// Closes the shared internet handle; a later fetch opens it again.
void CloseInternet();

// The read chunk for a response's Content-Length text: min(n + 1, 102400) bytes for a
// length n above 0, else 10240.
int FetchChunkSize(const Text& contentLength);
