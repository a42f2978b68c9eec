#include "text/regex_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <tuple>

#ifdef _WIN32
#include <objbase.h>
#endif

#include "regex_engines.h"

namespace {

struct RegexCase {
    const char* name;
    Text pattern;
    Text subject;
    bool caseSensitive;
    bool accepted;
    std::vector<TextArray> matches;  // each: the whole match, then its groups
};

void PrintTo(const RegexCase& c, std::ostream* os) {
    *os << c.name;
}

class RegexObjectCases : public testing::TestWithParam<std::tuple<Engine, RegexCase>> {};

TEST_P(RegexObjectCases, MatchesAndGroups) {
    const auto& [engine, c] = GetParam();
    EngineChoice choice(engine);
    RegexObject regex;
    EXPECT_EQ(regex.Create(c.pattern, c.subject, c.caseSensitive), c.accepted);
    EXPECT_EQ(regex.UsesBuiltInEngine(), engine == Engine::kBuiltIn);
    int count = static_cast<int>(c.matches.size());
    ASSERT_EQ(regex.MatchCount(), count);
    for (int n = 1; n <= count; ++n) {
        const TextArray& expected = c.matches[static_cast<size_t>(n - 1)];
        EXPECT_EQ(regex.MatchText(n), expected[0]) << "match " << n;
        for (int g = 1; g < static_cast<int>(expected.size()); ++g) {
            EXPECT_EQ(regex.SubmatchText(n, g), expected[static_cast<size_t>(g)])
                << "match " << n << " group " << g;
        }
        EXPECT_EQ(regex.SubmatchText(n, static_cast<int>(expected.size())), "");
    }
    EXPECT_EQ(regex.SubmatchCount(), count ? static_cast<int>(c.matches[0].size()) - 1 : 0);
    // Numbers outside the matches give the empty text.
    EXPECT_EQ(regex.MatchText(0), "");
    EXPECT_EQ(regex.MatchText(count + 1), "");
    EXPECT_EQ(regex.SubmatchText(count + 4, 1), "");
    EXPECT_EQ(regex.SubmatchText(1, 0), "");
}

// clang-format off
const RegexCase kRegexCases[] = {
    // name, pattern, subject, case sensitive, accepted, matches
    {"CaseIgnoredByDefault", "a(.)", "xAbab", false, true, {{"Ab", "b"}, {"ab", "b"}}},
    {"CaseSensitive", "a(.)", "xAbab", true, true, {{"ab", "b"}}},
    {"LazyGroupNeverSpansLineFeed", "<(.*?)>", "<a\nb><c>", false, true, {{"<c>", "c"}}},
    {"UnbalancedParenthesisRefused", "a(b", "a(b ab", false, false, {}},
    {"AcceptedWithoutMatches", "z", "abc", false, true, {}},
    {"LazyStopsAtFirstRight", "href=\"(.*?)\"", "<a href=\"x\">A</a> <a HREF=\"y\">", false,
     true, {{"href=\"x\"", "x"}, {"HREF=\"y\"", "y"}}},
    {"EmptyGroup", "href=\"(.*?)\"", "href=\"\"", false, true, {{"href=\"\"", ""}}},
    {"GroupOutsideTheMatchIsEmpty", "(a)|(b)", "ba", false, true,
     {{"b", "", "b"}, {"a", "a", ""}}},
    {"MultilineAnchors", "^(\\w+)$", "one\ntwo", false, true,
     {{"one", "one"}, {"two", "two"}}},
    {"DotTakesWholeDoubleByteCharacter", "中(.)", "中文中A", false, true,
     {{"中文", "文"}, {"中A", "A"}}},
    // 0x8141 and 0x8161 differ only in a trail byte that reads as "A" and "a".
    {"DoubleByteCharactersAreNotCaseFolded", "\x81\x41", "\x81\x61", false, true, {}},
    // 0x815D ends in the byte of "]".
    {"TrailByteIsNoDelimiter", "\\[(.*?)\\]", "[\x81\x5D]", false, true,
     {{"[\x81\x5D]", "\x81\x5D"}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(RegexObject, RegexObjectCases,
                         testing::Combine(testing::ValuesIn(AllEngines()),
                                          testing::ValuesIn(kRegexCases)),
                         [](const auto& info) {
                             return EngineName(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

class RegexObjectEngines : public testing::TestWithParam<Engine> {
  protected:
    EngineChoice choice_{GetParam()};
};

TEST_P(RegexObjectEngines, PositionIsByteOffsetOfTheReturnedText) {
    RegexObject regex;
    int position = -1;
    ASSERT_TRUE(regex.Create("ab", "xxab"));
    EXPECT_EQ(regex.MatchText(1, &position), "ab");
    EXPECT_EQ(position, 2);

    // The component counts characters; the position counts bytes.
    ASSERT_TRUE(regex.Create("a(b)", "中中AB"));
    EXPECT_EQ(regex.MatchText(1, &position), "AB");
    EXPECT_EQ(position, 4);
    EXPECT_EQ(regex.SubmatchText(1, 1, &position), "B");
    EXPECT_EQ(position, 5);

    EXPECT_EQ(regex.MatchText(2, &position), "");
    EXPECT_EQ(position, -2);
}

TEST_P(RegexObjectEngines, DotRefusesTheLineFeedOnly) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("<(.*?)>", "<a\fb>"));
    EXPECT_EQ(regex.SubmatchText(1, 1), "a\fb");
    ASSERT_TRUE(regex.Create("<(.*?)>", "<a\rb>"));
    // Windows' component takes a carriage return for "."; Wine's refuses it, as JavaScript does.
    EXPECT_EQ(regex.MatchCount(), GetParam() == Engine::kSystem ? 0 : 1);
}

TEST_P(RegexObjectEngines, ReplaceWorksOnTheStoredSubject) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("a(.)", "xAbab"));
    EXPECT_EQ(regex.Replace("[$1]"), "x[b][b]");
    EXPECT_EQ(regex.Replace("$&$$"), "xAb$ab$");
    EXPECT_EQ(regex.Replace(), "x");
    EXPECT_EQ(regex.PatternText(), "a(.)");

    ASSERT_TRUE(regex.Create("a", "aaa", false, true, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.Replace("b"), "baa");

    EXPECT_FALSE(regex.Create("(", "aaa"));
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.Replace("b"), "");
}

TEST_P(RegexObjectEngines, CreateAgainReplacesEverything) {
    RegexObject regex;
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.PatternText(), "");
    ASSERT_TRUE(regex.Create("b", "abcb"));
    EXPECT_EQ(regex.MatchCount(), 2);
    EXPECT_FALSE(regex.Create("[", "abcb"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubmatchCount(), 0);
}

TEST_P(RegexObjectEngines, CopySharesMatchesAndOutlivesTheOriginal) {
    auto original = std::make_unique<RegexObject>();
    ASSERT_TRUE(original->Create("<(.)>", "<a><b>"));
    RegexObject copy(*original);
    original.reset();
    EXPECT_EQ(copy.MatchCount(), 2);
    EXPECT_EQ(copy.SubmatchText(2, 1), "b");
    EXPECT_EQ(copy.Replace("$1"), "ab");
}

// Boost gives up on this search with an exception; the object must take it as "no match".
TEST(RegexObjectBuiltIn, SearchTooCostlyCountsAsNoMatch) {
    EngineChoice choice(Engine::kBuiltIn);
    RegexObject regex;
    double start = SecondsNow();
    EXPECT_TRUE(regex.Create("(a*)*b", Text(40, 'a')));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_LT(SecondsNow() - start, 5.0);
}

#ifdef _WIN32
// S_FALSE from CoInitialize means COM was still initialised on this thread; S_OK, that it was not.
HRESULT ComStateProbe() {
    HRESULT result = CoInitialize(nullptr);
    CoUninitialize();
    return result;
}

TEST(RegexObjectCom, EveryObjectBalancesItsOwnInitialisation) {
    std::vector<HRESULT> seen;
    std::thread worker([&] {
        seen.push_back(ComStateProbe());
        {
            auto original = std::make_unique<RegexObject>();
            original->Create("a", "a");
            RegexObject copy(*original);
            original.reset();
            seen.push_back(ComStateProbe());  // the copy still needs COM
            EXPECT_EQ(copy.MatchText(1), "a");
        }
        seen.push_back(ComStateProbe());
    });
    worker.join();
    EXPECT_EQ(seen, (std::vector<HRESULT>{S_OK, S_FALSE, S_OK}));
}

// A thread that already runs COM multithreaded refuses CoInitialize; the object must then leave
// that thread's COM alone and still work.
TEST(RegexObjectCom, LeavesMultithreadedComAlone) {
    HRESULT afterwards = E_FAIL;
    std::thread worker([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            RegexObject regex;
            EXPECT_TRUE(regex.Create("b", "abc"));
            EXPECT_EQ(regex.MatchText(1), "b");
        }
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(afterwards, S_FALSE);
}
#endif

INSTANTIATE_TEST_SUITE_P(RegexObject, RegexObjectEngines, testing::ValuesIn(AllEngines()),
                         [](const auto& info) { return EngineName(info.param); });

}  // namespace
