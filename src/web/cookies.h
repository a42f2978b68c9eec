// Cookie keeping of the HTTP request routine: WinINet's own cookie handling is off for its
// requests, so the caller holds the cookies as one text of name=value items joined by "; ".
#pragma once

#include "text/text.h"

// The item's name: the part before its first "=" (the whole item without one), blanks trimmed.
Text CookieName(const Text& item);

// True when some item of list has exactly this name (letter case counts).
bool HasCookieNamed(const TextArray& list, const Text& name);

// Folds the name=value items of a response into cookies: the response's items first, then the
// request's items of names the response does not carry; items ending in "=deleted" go, exact
// repeats go, and every blank goes from both texts. cookies receives the merged text,
// responseCookies loses its blanks; the merged text is also returned.
Text MergeCookies(Text& cookies, Text& responseCookies);
