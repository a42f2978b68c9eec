#include "text/extract_all.h"

#include <gtest/gtest.h>

#include <tuple>

#include "regex_engines.h"
#include "text/text_between.h"

namespace {

struct ExtractCase {
    const char* name;
    Text text, left, right;
    int maximumLength;
    Text prefix, suffix;
    bool includeLeft, includeRight;
    TextArray expected;
};

void PrintTo(const ExtractCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtractAllCases : public testing::TestWithParam<std::tuple<Engine, ExtractCase>> {};

TEST_P(ExtractAllCases, CollectsPiecesInOrder) {
    const auto& [engine, c] = GetParam();
    EngineChoice choice(engine);
    TextArray result = {"left over", "from before"};
    EXPECT_EQ(ExtractAllBetween(c.text, c.left, c.right, result, c.maximumLength, c.prefix,
                                c.suffix, c.includeLeft, c.includeRight),
              static_cast<int>(c.expected.size()));
    EXPECT_EQ(result, c.expected);
}

// clang-format off
const ExtractCase kExtractCases[] = {
    // name, text, left, right, maximum length, prefix, suffix, include left, include right
    {"CaseIgnored", "<a href=\"x\">A</a> <a HREF=\"y\">", "href=\"", "\"", 0, "", "",
     false, false, {"x", "y"}},
    {"ResumesAfterClosingDelimiter", "href=\"a\"href=\"b\"", "href=\"", "\"", 0, "", "",
     false, false, {"a", "b"}},
    {"EmptyPiece", "href=\"\"", "href=\"", "\"", 0, "", "", false, false, {""}},
    {"NoLeftDelimiterEmptiesResult", "nothing here", "href=\"", "\"", 0, "", "", false, false,
     {}},
    {"NeverAcrossLineFeed", "href=\"a\nb\" href=\"c\"", "href=\"", "\"", 0, "", "", false,
     false, {"c"}},
    {"BracketsEscaped", "a[1]b[22]", "[", "]", 0, "", "", false, false, {"1", "22"}},
    {"BracesEscaped", "x{ab}y", "{", "}", 0, "", "", false, false, {"ab"}},
    {"QuantifierCharactersEscaped", "(?*+)x(?*+)", "(?*+)", "(?*+)", 0, "", "", false, false,
     {"x"}},
    {"DotIsNotEscaped", "xy1;", "x.", ";", 0, "", "", false, false, {"1"}},
    {"BarSplitsTheExpression", "a1bxc2b", "a|c", "b", 0, "", "", false, false, {"", "2"}},
    {"MaximumLengthSkipsLongerPieces", "(x)(yy)(zzz)", "(", ")", 2, "", "", false, false,
     {"x", "yy"}},
    {"MaximumLengthIncludeLeftWins", "(x)", "(", ")", 1, "<", "", true, true, {"(<x"}},
    {"MaximumLengthIncludeRightAlone", "(x)", "(", ")", 1, "<", ">", false, true, {"<x>)"}},
    {"NoMaximumIncludesBoth", "(x)", "(", ")", 0, "<", "", true, true, {"(<x)"}},
    {"PrefixAndSuffix", "[a][b]", "[", "]", 0, "/img/", ".jpg", false, false,
     {"/img/a.jpg", "/img/b.jpg"}},
    {"DelimitersAddedAsGiven", "[a]", "[", "]", 0, "", "", true, true, {"[a]"}},
    {"GbkAroundDelimiters", "<p>图片：<img src=\"/上传/美女01.jpg\" alt=\"中文\">说明</p>",
     "src=\"", "\"", 0, "", "", false, false, {"/上传/美女01.jpg"}},
    // A site may serve UTF-8: bytes that are not GBK characters come back as they were.
    {"BytesThatAreNotGbkKept",
     "<img src=\"/p/\xE2\x82\xAC.jpg\"><img src=\"/\xAC\x2E\x80\x80.jpg\">", "src=\"", "\"",
     0, "", "", false, false, {"/p/\xE2\x82\xAC.jpg", "/\xAC\x2E\x80\x80.jpg"}},
    {"GbkDelimiters", "开始甲结束开始乙结束", "开始", "结束", 0, "", "", false, false,
     {"甲", "乙"}},
    // 0x815D ends in the byte of "]"; it is one character, not a delimiter.
    {"TrailByteIsNoDelimiter", "[\x81\x5D][b]", "[", "]", 0, "", "", false, false,
     {"\x81\x5D", "b"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(ExtractAllBetween, ExtractAllCases,
                         testing::Combine(testing::ValuesIn(AllEngines()),
                                          testing::ValuesIn(kExtractCases)),
                         [](const auto& info) {
                             return EngineName(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

class ExtractAllPages : public testing::TestWithParam<Engine> {
  protected:
    EngineChoice choice_{GetParam()};
};

// The shape of a list page of the photo site, cut to its link region by the catalogue update.
TEST_P(ExtractAllPages, ThousandsOfLinksInPageOrder) {
    Text page = "<div class=\"nav\"><a href=\"/index.html\">首页</a></div>\r\n<ul>\r\n";
    TextArray expected;
    for (int i = 1; i <= 5000; ++i) {
        Text link = "/nvshengzhenrenxiu/" + ToText(i) + ".html";
        expected.push_back(link);
        page += "<li><a class=\"img\" href=\"" + link + "\" title=\"美女" + ToText(i) +
                "\"><img src=\"/s/" + ToText(i) + ".jpg\"></a></li>";
        if (i % 100 == 0) page += "\r\n";
    }
    page += "</ul><div class=\"pagination\"><a>首页</a><a href=\"list_60_2.html\">2</a></div>";
    int position = 0;
    Text second;
    Text region = CutSection(page, position, "<a class=\"img\" href=\"", second, false,
                             "<div class=\"pagination\"><a>首页</a>");
    TextArray links;
    double start = SecondsNow();
    EXPECT_EQ(ExtractAllBetween(region, "href=\"", "\"", links), 5000);
    EXPECT_LT(SecondsNow() - start, 5.0);
    EXPECT_EQ(links, expected);
}

TEST_P(ExtractAllPages, MegabyteLineWithUnterminatedDelimiterReturnsQuickly) {
    Text page = "<a href=\"first.html\">" + Text(1 << 20, 'x') + "<a href=\"never closed " +
                Text(1 << 20, 'y');
    TextArray links;
    double start = SecondsNow();
    EXPECT_EQ(ExtractAllBetween(page, "href=\"", "\"", links), 1);
    EXPECT_LT(SecondsNow() - start, 1.0);
    EXPECT_EQ(links, TextArray{"first.html"});
}

// Costly for a backtracking engine: each opening runs on to the end of the line.
TEST_P(ExtractAllPages, ManyUnterminatedDelimitersOnOneLineDoNotHang) {
    Text page;
    for (int i = 0; i < 2000; ++i) page += "href=ab ";
    TextArray links = {"old"};
    double start = SecondsNow();
    EXPECT_EQ(ExtractAllBetween(page, "href=", ";", links), 0);
    EXPECT_LT(SecondsNow() - start, 30.0);  // seconds under the sanitizers, not hours
    EXPECT_TRUE(links.empty());
}

INSTANTIATE_TEST_SUITE_P(ExtractAllBetween, ExtractAllPages, testing::ValuesIn(AllEngines()),
                         [](const auto& info) { return EngineName(info.param); });

TEST(EscapePattern, EscapesQuantifiersBracketsAndBracesOnly) {
    EXPECT_EQ(EscapePattern("a?b*c+[d](e){f}"), "a\\?b\\*c\\+\\[d\\]\\(e\\)\\{f\\}");
    EXPECT_EQ(EscapePattern(".\\^$|"), ".\\^$|");
    EXPECT_EQ(EscapePattern("中[文]"), "中\\[文\\]");
    EXPECT_EQ(EscapePattern(""), "");
}

TEST(ReplacePairs, AppliesPairsInTurnWithSharedSettings) {
    EXPECT_EQ(ReplacePairs("abc", {{"a", "b"}, {"b", "c"}}), "ccc");  // each sees the last
    EXPECT_EQ(ReplacePairs("aAa", {{"a", "x"}}), "xxx");
    EXPECT_EQ(ReplacePairs("aAa", {{"a", "x"}}, kAllOccurrences, 1, true), "xAx");
    EXPECT_EQ(ReplacePairs("aaaa", {{"a", "x"}}, 2), "xxaa");
    EXPECT_EQ(ReplacePairs("aaaa", {{"a", "x"}}, kAllOccurrences, 3), "aaxx");
    EXPECT_EQ(ReplacePairs("aaaa", {{"a", "x"}}, kAllOccurrences, 0), "xxxx");
    EXPECT_EQ(ReplacePairs("abc", {{"", "x"}, {"c", ""}}), "ab");
}

}  // namespace
