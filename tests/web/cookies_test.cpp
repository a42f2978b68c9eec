#include "web/cookies.h"

#include <gtest/gtest.h>

namespace {

TEST(CookieName, TextBeforeFirstEqualsTrimmed) {
    EXPECT_EQ(CookieName(" sid =a=b"), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_EQ(CookieName("=v"), "");
    EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieNamed, ExactNameWithLetterCase) {
    TextArray list = {"a=1", " B=2", "c"};
    EXPECT_TRUE(HasCookieNamed(list, "a"));
    EXPECT_TRUE(HasCookieNamed(list, "B"));
    EXPECT_TRUE(HasCookieNamed(list, "c"));
    EXPECT_FALSE(HasCookieNamed(list, "b"));
    EXPECT_FALSE(HasCookieNamed({}, ""));
    EXPECT_TRUE(HasCookieNamed({"a=1", ""}, ""));
}

struct MergeCase {
    Text cookies, response;
    Text merged, responseAfter;
};

TEST(MergeCookies, ResponseFirstThenRequestNamesItLacks) {
    const MergeCase cases[] = {
        {"a=1; b=2", "b=3; ", "b=3; a=1", "b=3;"},
        {"a=1", "a=deleted; ", "", "a=deleted;"},
        {"a=1;a=2", "", "a=1", ""},
        {"", "x=1; x=1; ", "x=1", "x=1;x=1;"},
        {"", "x=1; x=2; ", "x=1; x=2", "x=1;x=2;"},
        {"", "", "", ""},
        {"a=hello world", "", "a=helloworld", ""},
        {"a=1;;b=2", "", "a=1; ; b=2", ""},
        {"", "; ", "", ";"},
        {"A=1", "a=2; ", "a=2; A=1", "a=2;"},
        {"a=1", "sid=9; u=2; ", "sid=9; u=2; a=1", "sid=9;u=2;"},
        {"del", "", "del", ""},             // shorter than "=deleted": compared whole
        {"k=v　w", "", "k=vw", ""},         // the full-width blank goes too
        {"x=deleted; y=1", "", "y=1", ""},  // the request's own deleted items go as well
    };
    for (const MergeCase& c : cases) {
        Text cookies = c.cookies, response = c.response;
        Text returned = MergeCookies(cookies, response);
        EXPECT_EQ(cookies, c.merged) << c.cookies << " + " << c.response;
        EXPECT_EQ(returned, c.merged) << c.cookies << " + " << c.response;
        EXPECT_EQ(response, c.responseAfter) << c.cookies << " + " << c.response;
    }
}

}  // namespace
