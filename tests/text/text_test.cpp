#include "text/text.h"

#include <gtest/gtest.h>

namespace {

// Literals in this file are compiled to GBK: "更" is B8 FC, the full-width space A1 A1.
const Text kFullWidthSpace = "　";

struct FindCase {
    const char* name;
    Text text, sought;
    int start;
    bool ignoreCase;
    int expected;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class FindTextCases : public testing::TestWithParam<FindCase> {};

TEST_P(FindTextCases, GivesPosition) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, FindTextCases,
    testing::Values(FindCase{"FromStartPastMatch", "abc", "b", 3, false, -1},
                    FindCase{"FromStartAtMatch", "abc", "c", 3, false, 3},
                    FindCase{"StartZeroIsBeginning", "abc", "a", 0, false, 1},
                    FindCase{"StartBeyondEnd", "abc", "a", 9, false, -1},
                    FindCase{"IgnoreCase", "abc", "B", 0, true, 2},
                    FindCase{"CaseCounts", "abc", "B", 0, false, -1},
                    FindCase{"EmptySought", "abc", "", 0, false, 1},
                    FindCase{"EmptySoughtLaterStart", "abc", "", 2, false, 1},
                    FindCase{"EmptySoughtEmptyText", "", "", 0, false, -1},
                    FindCase{"EmptySoughtStartPastEnd", "abc", "", 4, false, -1},
                    // 0xB8 0x41 is one character: the "A" in it is no match.
                    FindCase{"SecondByteIsNoStart", "\xB8" "A", "A", 0, false, -1},
                    FindCase{"AfterTwoByteChar", "更A", "A", 0, false, 3},
                    FindCase{"ChineseInChinese", "图片更新", "更新", 0, false, 5},
                    FindCase{"LeadByteAtEndEndsWalk", "a\xB8", "\xB8", 0, false, -1},
                    FindCase{"FoldsOnlyAscii", "\xC1" "b", "\xE1" "b", 0, true, -1},
                    FindCase{"LongerThanText", "ab", "abc", 0, false, -1}),
    [](const auto& info) { return info.param.name; });

TEST(Text, FindTextReverseGivesLastMatch) {
    EXPECT_EQ(FindTextReverse("a/b/c", "/"), 4);
    EXPECT_EQ(FindTextReverse("a/b/c", "x"), -1);
    EXPECT_EQ(FindTextReverse("aXa", "x", true), 2);
    EXPECT_EQ(FindTextReverse("\xB8/", "/"), -1);
    EXPECT_EQ(FindTextReverse("", ""), -1);
}

struct ReplaceCase {
    const char* name;
    Text text, sought, replacement;
    int start, count;
    bool caseSensitive;
    Text expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceTextCases : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextCases, Replaces) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, ReplaceTextCases,
    testing::Values(
        ReplaceCase{"CaseSensitive", "aAa", "a", "b", 0, kAllOccurrences, true, "bAb"},
        ReplaceCase{"IgnoringCase", "aAa", "a", "b", 0, kAllOccurrences, false, "bbb"},
        ReplaceCase{"CountOne", "aAa", "a", "b", 0, 1, true, "bAa"},
        ReplaceCase{"CountZeroCopies", "aAa", "a", "b", 0, 0, true, "aAa"},
        ReplaceCase{"FromStartTwo", "aAa", "a", "b", 2, kAllOccurrences, true, "aAb"},
        ReplaceCase{"StartPastEnd", "aaa", "a", "b", 4, kAllOccurrences, true, "aaa"},
        ReplaceCase{"EmptySought", "abc", "", "x", 0, kAllOccurrences, true, "abc"},
        ReplaceCase{"OmittedReplacementDeletes", "a-b-c", "-", "", 0, kAllOccurrences, true,
                    "abc"},
        ReplaceCase{"NoOverlap", "aaaa", "aa", "b", 0, kAllOccurrences, true, "bb"},
        ReplaceCase{"ReplacementNotSearchedAgain", "ab", "a", "aa", 0, kAllOccurrences, true,
                    "aab"},
        ReplaceCase{"SecondByteUntouched", "\xB8" "a" "a", "a", "X", 0, kAllOccurrences, true,
                    "\xB8" "aX"},
        ReplaceCase{"PlaceholderToQuote", "#引号x#引号", "#引号", "\"", 0, kAllOccurrences, true,
                    "\"x\""},
        ReplaceCase{"LoneLeadByteAtEndKept", "a\xB8", "\xB8", "x", 0, kAllOccurrences, true,
                    "a\xB8"}),
    [](const auto& info) { return info.param.name; });

TEST(Text, SplitTextKeepsInnerEmptyPiecesButNoEmptyLast) {
    const std::vector<std::pair<Text, TextArray>> cases = {
        {"a,,b", {"a", "", "b"}}, {",a", {"", "a"}},   {"a,b,", {"a", "b"}},
        {"abc", {"abc"}},         {"", {}},            {",", {""}},
        {"\xB8,a,b", {"\xB8,a", "b"}},  // the first comma is the second byte of a character
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(SplitText(text, ","), expected) << text;
    EXPECT_EQ(SplitText("a,b", ""), TextArray{"a,b"});
    EXPECT_EQ(SplitText("a#分割符#b#分割符#", "#分割符#"), (TextArray{"a", "b"}));
}

TEST(Text, BlanksAreSpaceAndFullWidthSpaceOnly) {
    EXPECT_EQ(TrimBlanks("  " + kFullWidthSpace + "x y" + kFullWidthSpace), "x y");
    EXPECT_EQ(TrimBlanks("\tx "), "\tx");
    EXPECT_EQ(TrimBlanks(" \r\n"), "\r\n");
    EXPECT_EQ(TrimBlanks(" " + kFullWidthSpace + " "), "");
    // A0 A1 A1 is the character A0A1 then a lone A1: no full-width space to trim.
    EXPECT_EQ(TrimBlanks("x\xA0\xA1\xA1"), "x\xA0\xA1\xA1");
    EXPECT_EQ(RemoveBlanks(" a b" + kFullWidthSpace + "c "), "abc");
    EXPECT_EQ(RemoveBlanks("a\tb\r\n"), "a\tb\r\n");
    EXPECT_EQ(RemoveBlanks("\xB8 x"), "\xB8 x");  // 0x20 as a second byte stays
}

TEST(Text, ToLowerCaseFoldsOnlyAsciiOutsideTwoByteCharacters) {
    EXPECT_EQ(ToLowerCase("AbC-Z"), "abc-z");
    EXPECT_EQ(ToLowerCase("\xB8" "A" "B"), "\xB8" "Ab");
    EXPECT_EQ(ToLowerCase("A\xC1"), "a\xC1");
}

TEST(Text, TextToInt) {
    const std::vector<std::pair<Text, int>> cases = {
        {"８０", 80},        {"12ab", 12},        {"ab", 0},       {" -5", -5},
        {"－７", -7},        {"　＋３", 3},       {"+", 0},        {"\t\n42", 42},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}, {"", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(TextToInt(text), expected) << text;
}

TEST(Text, PositionalCutsStayInsideTheText) {
    EXPECT_EQ(TextMid("abc", 0, 2), "");
    EXPECT_EQ(TextMid("abc", 2, 5), "bc");
    EXPECT_EQ(TextMid("abc", 4, 1), "");
    EXPECT_EQ(TextMid("abc", 1, 0), "");
    EXPECT_EQ(TextLeft("abc", 0), "");
    EXPECT_EQ(TextLeft("abc", 5), "abc");
    EXPECT_EQ(TextLeft("abc", -1), "");
    EXPECT_EQ(TextRight("abc", 2), "bc");
    EXPECT_EQ(TextRight("abc", 9), "abc");
    EXPECT_EQ(TextRight("abc", 0), "");
    EXPECT_EQ(TextLength("更新"), 4);
}

TEST(Text, ConversionsBetweenTextAndBytes) {
    EXPECT_EQ(ToText(Bytes{'a', 'b', 0, 'c', 'd'}), "ab");
    EXPECT_EQ(ToText(Bytes{}), "");
    EXPECT_EQ(ToText(-42), "-42");
    EXPECT_EQ(ToText(Text("x")), "x");
    EXPECT_EQ(ToBytes("ab"), (Bytes{'a', 'b'}));
    EXPECT_TRUE(ToBytes("").empty());
    EXPECT_EQ(BlankText(3), "   ");
    EXPECT_EQ(BlankText(0), "");
    EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
    EXPECT_TRUE(BlankBytes(-1).empty());
    EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 2), (Bytes{1, 2}));
    EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 9), (Bytes{1, 2, 3}));
    EXPECT_TRUE(BytesLeft(Bytes{1, 2, 3}, -1).empty());
    EXPECT_EQ(BytesLength(Bytes{0, 0}), 2);
    EXPECT_EQ(JoinBytes(Bytes{1, 0}, Bytes{0, 2}), (Bytes{1, 0, 0, 2}));
    EXPECT_EQ(CharFromCode(0), "");
    EXPECT_EQ(CharFromCode(0x141), "A");
}

TEST(Text, ChineseLiteralsAreGbk) { EXPECT_EQ(Text("更新"), "\xB8\xFC\xD0\xC2"); }

TEST(Text, RgbColourIsWindowsLayout) {
    EXPECT_EQ(RgbColour(1, 2, 3), 0x030201);
    EXPECT_EQ(RgbColour(200, 200, 200), 200 + 200 * 256 + 200 * 65536);
}

}  // namespace
