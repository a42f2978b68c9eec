#include "web/http_request.h"

#include <algorithm>
#include <new>

#include "text/text_between.h"
#include "web/internet_handle.h"
#include "web/url.h"

namespace {

constexpr DWORD kRequestChunkBytes = 1024;
constexpr DWORD kRawHeaderBufferBytes = 5000;

HINTERNET OpenInternet(const Text& agent, const std::optional<Text>& proxy) {
    if (!proxy) return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    Text proxyList = "http=" + *proxy;
    return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), "", 0);
}

void Send(HINTERNET request, HttpOptions& o) {
    DWORD headerLength = static_cast<DWORD>(o.extraHeaders.size());
    if (o.method == 0) {
        HttpSendRequestA(request, o.extraHeaders.c_str(), headerLength, nullptr, 0);
        return;
    }
    if (o.postBytes.empty()) o.postBytes = ToBytes(o.postText);
    HttpSendRequestA(request, o.extraHeaders.c_str(), headerLength,
                     o.postBytes.empty() ? nullptr : o.postBytes.data(),
                     static_cast<DWORD>(o.postBytes.size()));
}

// The header text WinINet received, or kRawHeaderBufferBytes blanks when it does not fit or
// cannot be had.
Text QueryRawHeaders(HINTERNET request) {
    Text buffer = BlankText(kRawHeaderBufferBytes);
    DWORD length = kRawHeaderBufferBytes;
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
        return buffer;
    }
    // A Text holds no zero byte.
    return ToText(Bytes(buffer.begin(), buffer.begin() + std::min(length, kRawHeaderBufferBytes)));
}

Bytes Exchange(const Text& url, HttpOptions& o) {
    const char* verb = o.method == 1 ? "POST" : "GET";
    InternetHandle internet(OpenInternet(RequestUserAgent(o.extraHeaders), o.proxy));
    if (!internet) return Bytes();
    InternetHandle connection(InternetConnectA(internet.get(), UrlHost(url).c_str(),
                                               static_cast<INTERNET_PORT>(UrlPort(url)), nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return Bytes();
    InternetHandle request(HttpOpenRequestA(connection.get(), verb, UrlPath(url).c_str(),
                                            "HTTP/1.1", nullptr, nullptr,
                                            HttpRequestFlags(url, o.noRedirect), 0));
    if (!request) return Bytes();

    if (o.extraHeaders.empty()) o.extraHeaders = DefaultRequestHeaders(url);
    if (!o.cookies.empty()) o.extraHeaders += "\r\nCookie: " + o.cookies;
    // A failed send is not looked at: it shows as an empty body and unreadable headers.
    Send(request.get(), o);
    Bytes body = ReadBody(request.get(), kRequestChunkBytes);
    o.rawHeaders = QueryRawHeaders(request.get());
    request.reset();
    connection.reset();
    internet.reset();

    ApplyResponseHeaders(o);
    return body;
}

}  // namespace

std::uint32_t HttpRequestFlags(const Text& url, bool noRedirect) {
    std::uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_NO_COOKIES;
    if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (TextLeft(ToLowerCase(url), 5) == "https") {
        flags |= INTERNET_FLAG_SECURE;
    } else {
        flags |= INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    }
    return flags;
}

Bytes HttpRequest(const Text& url, HttpOptions& options) {
    try {
        return Exchange(url, options);
    } catch (const std::bad_alloc&) {
        return Bytes();
    }
}

Bytes HttpRequest(const Text& url) {
    HttpOptions options;
    return HttpRequest(url, options);
}
