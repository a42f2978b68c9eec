#include <gtest/gtest.h>

#include "web/fetch.h"
#include "web/http_request.h"

namespace {

TEST(HeaderValue, AfterFirstColonTrimmed) {
    EXPECT_EQ(HeaderValue("Location: /next"), "/next");
    EXPECT_EQ(HeaderValue("Date: Mon, 01 Jan 2024 10:00:00 GMT"), "Mon, 01 Jan 2024 10:00:00 GMT");
    EXPECT_EQ(HeaderValue("no colon"), "");
    EXPECT_EQ(HeaderValue("X:"), "");
    EXPECT_EQ(HeaderValue("Location:http://a:1/b "), "http://a:1/b");
}

TEST(DefaultRequestHeaders, RefererIsTheAddress) {
    EXPECT_EQ(DefaultRequestHeaders("http://h/p"),
              "Referer: http://h/p\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)\r\n"
              "Content-Type: application/x-www-form-urlencoded");
}

TEST(RequestUserAgent, FromUserAgentLineElseDefault) {
    const std::pair<Text, Text> cases[] = {
        {"", kRequestUserAgent},
        {"X-A: 1", kRequestUserAgent},
        {"User-Agent: Foo\r\nX-A: 1", "Foo"},
        {"User-Agent: Foo", "Foo"},      // last line: the value after the first colon
        {"user-agent: Foo\r\n", "Foo"},  // found ignoring letter case
        {"X-A: 1\r\nUser-Agent: Foo", "1\r\nUser-Agent: Foo"},  // first colon of the whole text
    };
    for (const auto& [headers, agent] : cases) EXPECT_EQ(RequestUserAgent(headers), agent);
}

TEST(ApplyResponseHeaders, LocationAndCookiesFromRawHeaders) {
    HttpOptions o;
    o.rawHeaders =
        "HTTP/1.1 302 Found\r\nLocation: /first\r\nSet-Cookie: sid=9; path=/\r\n"
        "Content-Location: /x\r\nSet-Cookie: u=2; expires=never\r\n\r\n";
    ApplyResponseHeaders(o);
    EXPECT_EQ(o.redirectTarget, "/x");  // the last matching line wins
    EXPECT_EQ(o.responseCookies, "sid=9;u=2;");
    EXPECT_EQ(o.cookies, "sid=9; u=2");
}

TEST(ApplyResponseHeaders, NoLocationLeavesRawHeadersAsTarget) {
    HttpOptions o;
    o.cookies = "a=1";
    o.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: k=v\r\n\r\n";  // no ";": an empty item
    ApplyResponseHeaders(o);
    EXPECT_EQ(o.redirectTarget, o.rawHeaders);
    EXPECT_EQ(o.responseCookies, ";");
    EXPECT_EQ(o.cookies, "; a=1");
}

TEST(ApplyResponseHeaders, CallerTargetKeptWhenNoLineMatches) {
    HttpOptions o;
    o.redirectTarget = "/kept";
    o.rawHeaders = BlankText(5000);  // what an unreadable header block leaves
    ApplyResponseHeaders(o);
    EXPECT_EQ(o.redirectTarget, "/kept");
    EXPECT_EQ(o.responseCookies, "");
}

TEST(FetchChunkSize, FromContentLength) {
    const std::pair<Text, int> cases[] = {
        {"5000", 5001},     {"", 10240},        {"0", 10240}, {"-5", 10240},
        {"900000", 102400}, {"102399", 102400}, {"1", 2},     {"99999999999999", 102400},
    };
    for (const auto& [length, chunk] : cases) EXPECT_EQ(FetchChunkSize(length), chunk) << length;
}

}  // namespace
