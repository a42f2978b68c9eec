// The text parts of the HTTP request routine, portable so that both builds test them.
#include "web/http_request.h"

#include "text/text_between.h"
#include "web/cookies.h"

Text DefaultRequestHeaders(const Text& url) {
    return "Referer: " + url +
           "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: " + kRequestUserAgent +
           "\r\nContent-Type: application/x-www-form-urlencoded";
}

Text HeaderValue(const Text& line) {
    int colon = FindText(line, ":");
    if (colon == -1) return Text();
    return TrimBlanks(TextMid(line, colon + 1, TextLength(line) - colon));
}

Text RequestUserAgent(const Text& extraHeaders) {
    if (FindText(extraHeaders, "User-Agent:", 0, true) == -1) return kRequestUserAgent;
    Text agent = TrimBlanks(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
    // A "User-Agent:" last line has no "\r\n" after it.
    if (agent.empty()) agent = HeaderValue(extraHeaders);
    return agent;
}

void ApplyResponseHeaders(HttpOptions& o) {
    o.responseCookies.clear();
    // Plain searches, letter case observed: "Content-Location:" counts as well.
    for (const Text& line : SplitText(o.rawHeaders, "\r\n")) {
        if (FindText(line, "Location:") != -1) o.redirectTarget = HeaderValue(line);
        if (FindText(line, "Set-Cookie") != -1) {
            o.responseCookies += TrimBlanks(TextBetween(line, "Set-Cookie:", ";")) + "; ";
        }
    }
    if (o.redirectTarget.empty()) o.redirectTarget = o.rawHeaders;
    MergeCookies(o.cookies, o.responseCookies);
}
