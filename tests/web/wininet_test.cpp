// HttpRequest and FetchUrl on the wire, against tools/test-server/test_server.py. Run through
// tests/harness/with-server, which gives the server's address in PICORA_TEST_SERVER.
#include <winsock2.h>

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "web/fetch.h"
#include "web/http_request.h"

namespace {

Text Server() {
    const char* address = std::getenv("PICORA_TEST_SERVER");
    return address ? address : "";
}

class WebTest : public testing::Test {
  protected:
    void SetUp() override {
        server = Server();
        ASSERT_FALSE(server.empty()) << "run through tests/harness/with-server";
    }
    Text server;
};

// A request as the server received it.
struct Received {
    Text requestLine;
    TextArray headers;  // the header lines in order, without the request line
    Text body;
};

Received Parse(const Bytes& raw) {
    Text all(raw.begin(), raw.end());
    Received r;
    size_t end = all.find("\r\n\r\n");
    if (end == Text::npos) return r;
    TextArray lines = SplitText(all.substr(0, end), "\r\n");
    if (lines.empty()) return r;
    r.requestLine = lines[0];
    r.headers.assign(lines.begin() + 1, lines.end());
    r.body = all.substr(end + 4);
    return r;
}

// The header lines without those WinINet adds itself.
TextArray OwnHeaders(const Received& r) {
    TextArray own;
    for (const Text& line : r.headers) {
        if (line.rfind("Host:", 0) == 0 || line.rfind("Content-Length:", 0) == 0) continue;
        own.push_back(line);
    }
    return own;
}

Text HeaderNamed(const Received& r, const Text& name) {
    for (const Text& line : r.headers) {
        if (line.rfind(name + ":", 0) == 0) return HeaderValue(line);
    }
    return "<none>";
}

Bytes Pattern(size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

// A port where a socket is bound but does not listen: connections to it are refused.
struct RefusingPort {
    RefusingPort() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int size = sizeof(address);
        getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~RefusingPort() {
        closesocket(sock);
        WSACleanup();
    }
    SOCKET sock;
    int port = 0;
};

SIZE_T PeakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
}

// --- HttpRequest -------------------------------------------------------------------------

TEST_F(WebTest, RequestWithDefaultsSendsDefaultHeaderBlock) {
    Text url = server + "/t/echo/defaults";
    Received r = Parse(HttpRequest(url));
    EXPECT_EQ(r.requestLine, "GET /t/echo/defaults HTTP/1.1");
    EXPECT_EQ(OwnHeaders(r), SplitText(DefaultRequestHeaders(url), "\r\n"));
    EXPECT_EQ(HeaderNamed(r, "Referer"), url);
    EXPECT_EQ(HeaderNamed(r, "Content-Length"), "<none>");
    EXPECT_EQ(r.body, "");
}

TEST_F(WebTest, RequestReportsHeaderTextItSent) {
    HttpOptions o;
    o.extraHeaders = "User-Agent: Foo\r\nX-A: 1";
    o.cookies = "a=1; b=2";
    Received r = Parse(HttpRequest(server + "/t/echo/extra", o));
    EXPECT_EQ(o.extraHeaders, "User-Agent: Foo\r\nX-A: 1\r\nCookie: a=1; b=2");
    EXPECT_EQ(OwnHeaders(r), SplitText(o.extraHeaders, "\r\n"));
    EXPECT_EQ(o.cookies, "a=1; b=2");  // no Set-Cookie: kept as sent

    HttpOptions c;
    c.cookies = "a=1";
    Text url = server + "/t/echo/cookie";
    r = Parse(HttpRequest(url, c));
    EXPECT_EQ(c.extraHeaders, DefaultRequestHeaders(url) + "\r\nCookie: a=1");
    EXPECT_EQ(OwnHeaders(r), SplitText(c.extraHeaders, "\r\n"));
}

struct BodyCase {
    const char* name;
    int method;
    Text postText;
    Bytes postBytes;
    Text verb;
    Text body;
    Bytes postBytesAfter;
};

TEST_F(WebTest, RequestMethodAndBody) {
    const Bytes zeroes = {'a', 0, 'b', 0xFF};
    const BodyCase cases[] = {
        {"post text", 1, "k=v", {}, "POST", "k=v", ToBytes("k=v")},
        {"post bytes win", 1, "ignored", zeroes, "POST", Text("a\0b\xFF", 4), zeroes},
        {"method 2", 2, "xyz", {}, "GET", "xyz", ToBytes("xyz")},
        {"method 0 sends none", 0, "k=v", {}, "GET", "", {}},
        {"empty post", 1, "", {}, "POST", "", {}},
    };
    for (const BodyCase& c : cases) {
        HttpOptions o;
        o.method = c.method;
        o.postText = c.postText;
        o.postBytes = c.postBytes;
        Received r = Parse(HttpRequest(server + "/t/echo/body", o));
        EXPECT_EQ(r.requestLine, c.verb + " /t/echo/body HTTP/1.1") << c.name;
        EXPECT_EQ(r.body, c.body) << c.name;
        EXPECT_EQ(o.postBytes, c.postBytesAfter) << c.name;
    }
}

TEST_F(WebTest, RequestOutParametersFromLocationAndCookies) {
    HttpOptions o;
    o.noRedirect = true;
    o.cookies = "u=1; keep=3";
    Bytes body = HttpRequest(server +
                                 "/t/respond?status=302&h=Location:%20/next"
                                 "&h=Set-Cookie:%20sid=9;%20path=/"
                                 "&h=Set-Cookie:%20u=2;%20expires=never&body=moved",
                             o);
    EXPECT_EQ(ToText(body), "moved");  // the 302's own body: not followed
    EXPECT_EQ(o.redirectTarget, "/next");
    EXPECT_EQ(o.responseCookies, "sid=9;u=2;");
    EXPECT_EQ(o.cookies, "sid=9; u=2; keep=3");
    EXPECT_EQ(o.rawHeaders.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
    EXPECT_NE(o.rawHeaders.find("\r\nSet-Cookie: u=2; expires=never\r\n"), Text::npos);
    EXPECT_EQ(o.rawHeaders.substr(o.rawHeaders.size() - 4), "\r\n\r\n");
}

TEST_F(WebTest, RequestFollowsRedirectUnlessForbidden) {
    HttpOptions follow;
    Received r = Parse(HttpRequest(server + "/t/redirect?to=/t/echo/followed", follow));
    EXPECT_EQ(r.requestLine, "GET /t/echo/followed HTTP/1.1");
    EXPECT_EQ(follow.redirectTarget, follow.rawHeaders);  // the final answer has no Location
    EXPECT_EQ(follow.rawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);

    HttpOptions stay;
    stay.noRedirect = true;
    EXPECT_EQ(ToText(HttpRequest(server + "/t/redirect?to=/t/echo/followed", stay)),
              "redirect body");
    EXPECT_EQ(stay.redirectTarget, "/t/echo/followed");
}

TEST_F(WebTest, RequestThroughProxy) {
    HttpOptions o;
    o.proxy = server.substr(Text("http://").size());  // the test server answers as the proxy
    Received r = Parse(HttpRequest("http://picora.invalid/t/echo/proxied", o));
    // WinINet names the port itself (Wine writes ":80").
    EXPECT_EQ(r.requestLine.rfind("GET http://picora.invalid", 0), 0u) << r.requestLine;
    EXPECT_TRUE(r.requestLine.ends_with("/t/echo/proxied HTTP/1.1")) << r.requestLine;
    EXPECT_EQ(HeaderNamed(r, "Referer"), "http://picora.invalid/t/echo/proxied");
}

TEST_F(WebTest, RequestFlags) {
    EXPECT_EQ(HttpRequestFlags("http://p.q/", false), 0x80084010u);
    EXPECT_EQ(HttpRequestFlags("p.q/", true), 0x80284010u);
    EXPECT_EQ(HttpRequestFlags("HTTPS://p.q/", false), 0x80880010u);
}

TEST_F(WebTest, RequestWithOversizedHeadersStillGivesBody) {
    HttpOptions o;
    o.cookies = "a=1";
    EXPECT_EQ(ToText(HttpRequest(server + "/t/bigheaders?n=6000", o)), "big headers");
    EXPECT_EQ(o.rawHeaders, BlankText(5000));
    EXPECT_EQ(o.redirectTarget, BlankText(5000));
    EXPECT_EQ(o.responseCookies, "");
    EXPECT_EQ(o.cookies, "a=1");
}

TEST_F(WebTest, RequestToRefusingPortGivesEmptyBodyAndNoResponseHeaders) {
    RefusingPort refusing;
    HttpOptions o;
    o.cookies = "a = 1";
    Bytes body = HttpRequest("http://127.0.0.1:" + ToText(refusing.port) + "/x", o);
    EXPECT_TRUE(body.empty());
    // Windows fails the header query, which leaves the 5000 blanks; Wine answers "\r\n".
    EXPECT_EQ(o.rawHeaders.find("HTTP/"), Text::npos);
    EXPECT_EQ(o.redirectTarget, o.rawHeaders);
    EXPECT_EQ(o.cookies, "a=1");  // still merged, with an empty response
    EXPECT_EQ(o.extraHeaders.rfind("Referer: http://127.0.0.1:", 0), 0u);
}

// --- FetchUrl ----------------------------------------------------------------------------

TEST_F(WebTest, FetchSendsPathAndQueryButNoFragment) {
    const std::pair<Text, Text> cases[] = {
        {"/t/echo/a.html#top", "GET /t/echo/a.html HTTP/1.0"},
        {"/t/echo/pa?p=2:1:41", "GET /t/echo/pa?p=2:1:41 HTTP/1.0"},
        {"/t/echo/x/../y/./z.jpg", "GET /t/echo/y/z.jpg HTTP/1.0"},  // canonicalised
    };
    for (const auto& [path, requestLine] : cases) {
        Received r = Parse(FetchUrl(server + path));
        EXPECT_EQ(r.requestLine, requestLine) << path;
        EXPECT_EQ(HeaderNamed(r, "User-Agent"), kFetchUserAgent) << path;
        EXPECT_EQ(HeaderNamed(r, "Accept"), "*/*") << path;
    }
}

TEST_F(WebTest, FetchGivesBodyWhateverItsFraming) {
    EXPECT_EQ(FetchUrl(server + "/t/length?n=5000"), Pattern(5000));
    EXPECT_EQ(FetchUrl(server + "/t/length?n=900000"), Pattern(900000));
    EXPECT_EQ(FetchUrl(server + "/t/nolength?n=30000"), Pattern(30000));
    EXPECT_EQ(FetchUrl(server + "/t/cut?n=1000&send=400"), Pattern(400));  // the part read
    Text notFound = ToText(FetchUrl(server + "/no/such/page.jpg"));
    EXPECT_NE(notFound.find("<h1>404 Not Found</h1>"), Text::npos);
    EXPECT_EQ(ToText(FetchUrl(server + "/t/redirect?to=/t/ping")), "pong");
}

TEST_F(WebTest, FetchFailuresGiveEmptyBytes) {
    RefusingPort refusing;
    const Text cases[] = {
        "",
        "127.0.0.1/t/ping",  // no scheme
        "http://127.0.0.1:" + ToText(refusing.port) + "/x.jpg",
        "ftp://127.0.0.1/x",
        "http://" + Text(300, 'h') + "/x",  // a host longer than the split allows
    };
    for (const Text& address : cases) EXPECT_TRUE(FetchUrl(address).empty()) << address;
}

TEST_F(WebTest, TwoFirstFetchesAtOnceBothSucceed) {
    CloseInternet();  // so that the threads below make the first fetch
    std::atomic<bool> go{false};
    Bytes results[2];
    std::thread threads[2];
    for (int i = 0; i < 2; ++i) {
        threads[i] = std::thread([&, i] {
            while (!go.load()) {
            }
            results[i] = FetchUrl(server + "/t/slow?ms=200");
        });
    }
    go = true;
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(ToText(results[0]), "slow");
    EXPECT_EQ(ToText(results[1]), "slow");
    CloseInternet();
    EXPECT_EQ(ToText(FetchUrl(server + "/t/ping")), "pong");  // opened again
}

// --- What a broken or hostile server sends -------------------------------------------------

TEST_F(WebTest, EndlessBodyGivesEmptyBytesInBoundedMemory) {
    SIZE_T before = PeakPrivateBytes();
    EXPECT_TRUE(FetchUrl(server + "/t/endless").empty());
    HttpOptions o;
    EXPECT_TRUE(HttpRequest(server + "/t/endless", o).empty());
    EXPECT_EQ(o.rawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);  // the exchange still ends
    // Reading stops at 64 MiB, and the buffer never grows past that.
    EXPECT_LT(PeakPrivateBytes() - before, SIZE_T{100} * 1024 * 1024);
}

TEST_F(WebTest, BodyOf64MiBIsKeptOneByteMoreIsNot) {
    const size_t limit = 64u * 1024 * 1024;
    Bytes body = FetchUrl(server + "/t/length?n=" + ToText(static_cast<int>(limit)));
    ASSERT_EQ(body.size(), limit);
    EXPECT_EQ(body[limit - 1], (limit - 1) % 251);
    body = Bytes();
    EXPECT_TRUE(FetchUrl(server + "/t/length?n=" + ToText(static_cast<int>(limit + 1))).empty());
}

TEST_F(WebTest, GarbageAndHangupsDoNotHarm) {
    for (const char* path : {"/t/garbage", "/t/hangup"}) {
        FetchUrl(server + path);
        HttpOptions o;
        HttpRequest(server + path, o);
    }
    EXPECT_TRUE(FetchUrl(server + "/t/hangup").empty());
    EXPECT_EQ(ToText(FetchUrl(server + "/t/ping")), "pong");
}

}  // namespace
