#include "web/fetch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>

#include "web/internet_handle.h"

namespace {

constexpr DWORD kCanonicalBufferBytes = 2084;
constexpr DWORD kHostBytes = 256;
constexpr DWORD kPathBytes = 2048;
constexpr DWORD kUserBytes = 128;

// The one internet handle of all fetches. Read without the mutex once open; the mutex only
// makes two first fetches that race open it once.
std::atomic<HINTERNET> gInternet{nullptr};
std::mutex gInternetOpening;

HINTERNET SharedInternet() {
    HINTERNET internet = gInternet.load(std::memory_order_acquire);
    if (internet) return internet;
    std::lock_guard<std::mutex> lock(gInternetOpening);
    internet = gInternet.load(std::memory_order_acquire);
    if (!internet) {
        // A failure leaves it unopened, so the next fetch tries again.
        internet = InternetOpenA(kFetchUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        gInternet.store(internet, std::memory_order_release);
    }
    return internet;
}

// Resolves dot segments; ICU_NO_ENCODE leaves blanks and double-byte characters as they are.
bool Canonicalize(const Text& address, Text& canonical) {
    canonical.assign(kCanonicalBufferBytes, '\0');
    DWORD length = kCanonicalBufferBytes;
    if (!InternetCanonicalizeUrlA(address.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        // length now holds the size WinINet asks for.
        canonical.assign(static_cast<size_t>(length) + 1, '\0');
        length = static_cast<DWORD>(canonical.size());
        if (!InternetCanonicalizeUrlA(address.c_str(), canonical.data(), &length, ICU_NO_ENCODE)) {
            return false;
        }
    }
    canonical.resize(std::min<size_t>(length, canonical.size()));
    canonical = ToText(canonical);
    return true;
}

struct CrackedUrl {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    INTERNET_PORT port = 0;
    char host[kHostBytes + 1] = {};
    char user[kUserBytes + 1] = {};
    char password[kUserBytes + 1] = {};
    char path[kPathBytes + 1] = {};  // with the query: no extra-info buffer is given
};

bool Crack(const Text& canonical, CrackedUrl& url) {
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = url.host;
    parts.dwHostNameLength = sizeof(url.host);
    parts.lpszUserName = url.user;
    parts.dwUserNameLength = sizeof(url.user);
    parts.lpszPassword = url.password;
    parts.dwPasswordLength = sizeof(url.password);
    parts.lpszUrlPath = url.path;
    parts.dwUrlPathLength = sizeof(url.path);
    if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return false;
    url.scheme = parts.nScheme;
    url.port = parts.nPort;
    return true;
}

const char* NullIfEmpty(const char* text) {
    return text[0] ? text : nullptr;
}

// Whatever the system's own proxy settings say, and no proxy credentials.
void UsePreconfiguredProxy(HINTERNET internet, HINTERNET connection) {
    INTERNET_PROXY_INFO proxy = {};
    proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
    InternetSetOptionA(internet, INTERNET_OPTION_PROXY, &proxy, sizeof(proxy));
    char empty[1] = "";
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 0);
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 0);
}

DWORD ChunkSizeOf(HINTERNET request) {
    char length[32] = {};
    DWORD size = sizeof(length) - 1;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr)) size = 0;
    return static_cast<DWORD>(FetchChunkSize(Text(length, std::min<DWORD>(size, 31))));
}

Bytes Fetch(const Text& address) {
    if (address.empty()) return Bytes();
    Text canonical;
    if (!Canonicalize(address, canonical)) return Bytes();
    CrackedUrl url;
    if (!Crack(canonical, url)) return Bytes();
    Text path = url.path;
    path = path.substr(0, path.find('#'));  // the fragment is the browser's, not the server's
    if (url.scheme != INTERNET_SCHEME_HTTP && url.scheme != INTERNET_SCHEME_HTTPS) return Bytes();

    HINTERNET internet = SharedInternet();
    if (!internet) return Bytes();
    InternetHandle connection(InternetConnectA(internet, url.host, url.port, NullIfEmpty(url.user),
                                               NullIfEmpty(url.password), INTERNET_SERVICE_HTTP, 0,
                                               0));
    if (!connection) return Bytes();
    UsePreconfiguredProxy(internet, connection.get());

    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (url.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", path.c_str(), "HTTP/1.0",
                                            nullptr, acceptTypes, flags, 0));
    if (!request) return Bytes();
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), kHeaders, sizeof(kHeaders) - 1, nullptr, 0)) {
        return Bytes();
    }
    return ReadBody(request.get(), ChunkSizeOf(request.get()));
}

}  // namespace

Bytes FetchUrl(const Text& address) {
    try {
        return Fetch(address);
    } catch (const std::bad_alloc&) {
        return Bytes();
    }
}

void CloseInternet() {
    HINTERNET internet = gInternet.exchange(nullptr, std::memory_order_acq_rel);
    if (internet) InternetCloseHandle(internet);
}
