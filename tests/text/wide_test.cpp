#include "text/wide.h"

#include <gtest/gtest.h>

namespace {

Text RoundTrip(const Text& text) {
    std::wstring wide = WideFromTextKeepingBytes(text);
    return TextFromWideKeepingBytes(wide.data(), static_cast<int>(wide.size()));
}

TEST(Wide, GbkCrossesAsItsCharacters) {
    EXPECT_EQ(WideFromTextKeepingBytes("更新a"), L"\u66F4\u65B0a");
    EXPECT_EQ(WideFromText("更新a"), L"\u66F4\u65B0a");
    EXPECT_EQ(TextFromWide(L"\u66F4\u65B0a"), "更新a");
}

TEST(Wide, EveryByteSurvivesTheRoundTrip) {
    // Every pair of a byte 0x80 or above with any following byte, and a lone last byte.
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        Text text;
        for (int trail = 1; trail <= 0xFF; ++trail) {
            text += static_cast<char>(lead);
            text += static_cast<char>(trail);
        }
        text += static_cast<char>(lead);
        ASSERT_EQ(RoundTrip(text), text) << "lead byte " << lead;
    }
    EXPECT_EQ(RoundTrip("/p/\xE2\x82\xAC.jpg"), "/p/\xE2\x82\xAC.jpg");  // UTF-8
}

TEST(Wide, TwoByteCharacterThatIsNotGbkStaysOneUnit) {
    // 0xAC 0x2E is no GBK character: its "." must not turn into a character of its own.
    std::wstring wide = WideFromTextKeepingBytes("\xAC\x2E");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_NE(wide[1], L'.');
}

}  // namespace
