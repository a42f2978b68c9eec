#include "web/url.h"

#include "text/text_between.h"

Text UrlHost(const Text& address, bool domainOnly, bool withPort) {
    Text s = ToLowerCase(address);
    if (TextRight(s, 1) != "/") s += "/";
    if (TextLeft(s, 8) == "https://") {
        s = TextBetween(s, "https://", "/");
    } else {
        if (FindText(s, "http://") == -1) s = "http://" + s;
        s = TextBetween(s, "http://", "/");
    }
    if (domainOnly) {
        TextArray labels = SplitText(s, ".");
        if (labels.size() > 1) s = labels[labels.size() - 2] + "." + labels.back();
    }
    // The port goes last, so that with domainOnly it has stayed attached to the last label.
    int colon = FindText(s, ":");
    if (!withPort && colon != -1) s = TextLeft(s, colon - 1);
    return s;
}

int UrlPort(const Text& address) {
    Text host = UrlHost(address, false, true);
    int colon = FindTextReverse(host, ":");
    if (colon == -1) return TextLeft(ToLowerCase(address), 5) == "https" ? 443 : 80;
    return TextToInt(TextMid(host, colon + 1, TextLength(host) - colon));
}

Text UrlPath(const Text& address) {
    int hostAt = FindText(address, UrlHost(address), 1, true);
    int slash = FindText(address, "/", hostAt);
    if (slash == -1) return "/";
    return TextMid(address, slash, TextLength(address) - slash + 1);
}
