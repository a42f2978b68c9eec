#include "text/unique.h"

#include <gtest/gtest.h>

// <chrono> does not compile with the GBK execution character set.
#include <ctime>

namespace {

TEST(Unique, JoinUniqueKeepsFirstOccurrencesInOrder) {
    struct Case {
        Text list, separator, expected;
    };
    const Case cases[] = {
        {"a; b; a; c", "; ", "a; b; c"},
        {"abc", "; ", "abc"},
        {"", "; ", ""},
        {"a; b; ", "; ", "a; b"},
        {"a###b", "#", "a##b"},
        {"a##b", "#", "a##b"},
        {"A; a", "; ", "A; a"},
        {"a; a ;a", "; ", "a; a ;a"},
        {"x#分割符#y#分割符#x#分割符#图", "#分割符#", "x#分割符#y#分割符#图"},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinUnique(c.list, c.separator), c.expected) << c.list;
}

TEST(Unique, FindInArrayGivesFirstOneBasedIndex) {
    EXPECT_EQ(FindInArray({}, "a"), -1);
    EXPECT_EQ(FindInArray({"b", "a", "a"}, "a"), 2);
    EXPECT_EQ(FindInArray({"A"}, "a"), -1);
    EXPECT_EQ(FindInArray({"x", ""}, ""), 2);
}

TEST(Unique, JoinUniqueHandlesAHundredThousandItemsQuickly) {
    Text list;
    Text expected;
    for (int i = 0; i < 100000; ++i) {
        Text item = "/uploads/allimg/" + std::to_string(i % 60000) + ".jpg";
        list += item + "#分割符#";
        if (i < 60000) expected += (i ? "#分割符#" : "") + item;
    }
    std::clock_t begin = std::clock();
    Text unique = JoinUnique(list, "#分割符#");
    double seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
    EXPECT_EQ(unique, expected);
    EXPECT_LT(seconds, 2.0);
}

}  // namespace
