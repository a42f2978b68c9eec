#include "text/random.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(Random, StaysInRangeAndReachesBothEnds) {
    RandomSeed();
    bool sawLower = false, sawUpper = false;
    for (int i = 0; i < 20000; ++i) {
        int r = RandomNumber(1, 200);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 200);
        sawLower |= r == 1;
        sawUpper |= r == 200;
    }
    EXPECT_TRUE(sawLower);
    EXPECT_TRUE(sawUpper);
}

TEST(Random, BoundsAreNormalised) {
    EXPECT_EQ(RandomNumber(7, 7), 7);
    EXPECT_EQ(RandomNumber(-5, 0), 0);
    for (int i = 0; i < 100; ++i) {
        int r = RandomNumber(9, 3);  // swapped
        EXPECT_GE(r, 3);
        EXPECT_LE(r, 9);
    }
}

TEST(Random, UnseededThreadFollowsTheCLibrarySequence) {
    // rand() from state 1: 41, 18467, 6334; with [0, 32767] the draw is r itself.
    std::thread([] {
        EXPECT_EQ(RandomNumber(0, 32767), 41);
        EXPECT_EQ(RandomNumber(0, 32767), 18467);
        EXPECT_EQ(RandomNumber(0, 32767), 6334);
    }).join();
}

TEST(Random, TwoSeedsInOneMillisecondDiffer) {
    RandomSeed();
    int first[4];
    for (int& r : first) r = RandomNumber(0, 32767);
    RandomSeed();
    int second[4];
    for (int& r : second) r = RandomNumber(0, 32767);
    EXPECT_NE(std::vector<int>(first, first + 4), std::vector<int>(second, second + 4));
}

}  // namespace
