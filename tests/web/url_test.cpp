#include "web/url.h"

#include <gtest/gtest.h>

namespace {

struct HostCase {
    Text address;
    bool domainOnly, withPort;
    Text expected;
};

TEST(UrlHost, TakesHostOutOfAddress) {
    const HostCase cases[] = {
        {"HTTP://AB.Cd.EF/a/b", false, false, "ab.cd.ef"},
        {"ab.cd.ef", false, false, "ab.cd.ef"},  // no scheme, no slash
        {"https://p.q.r.s:8443/x", false, false, "p.q.r.s"},
        {"https://p.q.r.s:8443/x", false, true, "p.q.r.s:8443"},
        {"https://p.q.r.s:8443/x", true, false, "r.s"},
        {"https://p.q.r.s:8443/x", true, true, "r.s:8443"},  // the port stays on the last label
        {"box:8080/", false, false, "box"},
        {"box:8080/", true, false, "box"},            // a single label is left alone
        {"p.q/?u=http://r.s/", false, false, "r.s"},  // "http://" anywhere counts
        {"", false, false, ""},
        {"", true, true, ""},
        {"http://127.0.0.1:8020/nvshengzhenrenxiu/list_60_1.html", false, true, "127.0.0.1:8020"},
        // "https://" counts only in the first 8 bytes; other schemes are taken for hosts.
        {" https://p.q/", false, false, " https"},
        {"ftp://p.q/", false, false, "ftp"},
    };
    for (const HostCase& c : cases) {
        EXPECT_EQ(UrlHost(c.address, c.domainOnly, c.withPort), c.expected)
            << c.address << " domainOnly=" << c.domainOnly << " withPort=" << c.withPort;
    }
}

TEST(UrlPort, ExplicitPortElseScheme) {
    const std::pair<Text, int> cases[] = {
        {"http://p.q/", 80},
        {"HTTPS://p.q", 443},
        {"http://p.q:8080/x", 8080},
        {"p.q", 80},
        {"http://p.q:/", 0},
        {"https://p.q:80/", 80},
        {"", 80},
        {"httpsp.q/", 443},       // "https" in the first 5 bytes is enough
        {"http://p.q/a:99", 80},  // a colon in the path is no port
        {"http://p.q:99999999999/", 2147483647},
    };
    for (const auto& [address, port] : cases) EXPECT_EQ(UrlPort(address), port) << address;
}

TEST(UrlPath, FromFirstSlashAfterHost) {
    const std::pair<Text, Text> cases[] = {
        {"http://p.q", "/"},
        {"http://P.Q/A/B?x=1#top", "/A/B?x=1#top"},  // case, query and fragment kept
        {"p.q/dir/", "/dir/"},
        {"", "/"},
        {"https://p.q:8443/x y/图.jpg", "/x y/图.jpg"},  // nothing escaped
        {"http://p.q:81", "/"},
    };
    for (const auto& [address, path] : cases) EXPECT_EQ(UrlPath(address), path) << address;
}

}  // namespace
