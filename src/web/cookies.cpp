#include "web/cookies.h"

#include "text/unique.h"

Text CookieName(const Text& item) {
    int equals = FindText(item, "=");
    return TrimBlanks(equals == -1 ? item : TextLeft(item, equals - 1));
}

bool HasCookieNamed(const TextArray& list, const Text& name) {
    for (const Text& item : list) {
        if (CookieName(item) == name) return true;
    }
    return false;
}

Text MergeCookies(Text& cookies, Text& responseCookies) {
    cookies = RemoveBlanks(cookies);
    responseCookies = RemoveBlanks(responseCookies);

    TextArray merged = SplitText(responseCookies, ";");
    // Checked against the list as it grows, so that of two request items with one name only
    // the first is taken.
    for (const Text& item : SplitText(cookies, ";")) {
        if (!HasCookieNamed(merged, CookieName(item))) merged.push_back(item);
    }

    cookies.clear();
    for (const Text& item : merged) {
        if (TextRight(item, 8) == "=deleted") continue;  // the server's way of removing it
        cookies += item;
        cookies += "; ";
    }
    cookies = TextLeft(cookies, TextLength(cookies) - 2);
    cookies = JoinUnique(cookies, "; ");
    return cookies;
}
