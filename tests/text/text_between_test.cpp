#include "text/text_between.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBetween, FindsFirstPieceBetweenDelimiters) {
    EXPECT_EQ(TextBetween("Host: a\r\nUser-Agent: X\r\n", "user-agent:", "\r\n"), " X");
    EXPECT_EQ(TextBetween("say \"hi\" now", "#引号", "#引号"), "hi");
    EXPECT_EQ(TextBetween("b] [a", "[", "]"), "");     // right only before left
    EXPECT_EQ(TextBetween("x[]y", "[", "]"), "");      // directly adjacent
    EXPECT_EQ(TextBetween("[a][b]", "[", "]", 3), "b");  // start skips the first
    EXPECT_EQ(TextBetween("AxB", "a", "b", 0, true), "");
    EXPECT_EQ(TextBetween("AxB", "a", "b"), "x");
    EXPECT_EQ(TextBetween("", "a", "b"), "");
    EXPECT_EQ(TextBetween("http://host/path", "http://", "/"), "host");
}

struct CutCase {
    const char* name;
    Text text;
    int positionIn;
    Text start, second;
    bool useSecond;
    Text end;
    bool caseInsensitive, keepStart;
    Text expected;
    int positionOut;
    Text secondOut;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class CutSectionCases : public testing::TestWithParam<CutCase> {};

TEST_P(CutSectionCases, CutsAndReportsPosition) {
    const CutCase& c = GetParam();
    int position = c.positionIn;
    Text second = c.second;
    EXPECT_EQ(CutSection(c.text, position, c.start, second, c.useSecond, c.end, c.caseInsensitive,
                         c.keepStart),
              c.expected);
    EXPECT_EQ(position, c.positionOut);
    EXPECT_EQ(second, c.secondOut);
}

INSTANTIATE_TEST_SUITE_P(
    CutSection, CutSectionCases,
    testing::Values(
        CutCase{"KeepStart", "xx<a>1</a><b>", 0, "<a>", "old", false, "<b>", true, true,
                "<a>1</a>", 3, "<a>"},
        CutCase{"DropStart", "xx<a>1</a><b>", 0, "<a>", "old", false, "<b>", true, false,
                "1</a>", 6, "<a>"},
        CutCase{"EndMissingRunsToEnd", "xx<a>1", 0, "<a>", "", false, "<b>", true, true, "<a>1",
                3, "<a>"},
        CutCase{"EndMissingDropStart", "xx<a>1", 0, "<a>", "", false, "<b>", true, false, "1", 6,
                "<a>"},
        CutCase{"StartMissingLeavesSecond", "xx", 0, "<a>", "keep", false, "<b>", true, true, "",
                -1, "keep"},
        CutCase{"CaseIgnoredByDefault", "<A>x<B>", 0, "<a>", "", false, "<b>", true, true,
                "<A>x", 1, "<a>"},
        CutCase{"CaseRespected", "<A>x<a>y<b>", 0, "<a>", "", false, "<b>", false, true, "<a>y",
                5, "<a>"},
        CutCase{"SecondMarker", "<a>head<m>body<b>", 0, "<a>", "<m>", true, "<b>", true, false,
                "body", 11, "<m>"},
        CutCase{"SecondMarkerKeepStart", "<a>head<m>body<b>", 0, "<a>", "<m>", true, "<b>", true,
                true, "<a>head<m>body", 1, "<m>"},
        CutCase{"SecondMarkerMissing", "<a>head<b>", 0, "<a>", "<m>", true, "<b>", true, true, "",
                -1, "<m>"},
        CutCase{"PositionSkipsEarlierSection", "<a>1<b><a>2<b>", 4, "<a>", "", false, "<b>", true,
                false, "2", 11, "<a>"},
        // Only the region before the end marker is cut, even with six tabs in the marker.
        CutCase{"DetailRegion", "<div style=\"text-align: center\">img\t\t\t\t\t\t</div>", 0,
                "<div style=\"text-align: center\">", "", false, "\t\t\t\t\t\t</div>", true,
                false, "img", 33, "<div style=\"text-align: center\">"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
