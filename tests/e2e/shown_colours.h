// Pictures told apart by colour: the test sites serve pictures of one colour each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "viewer/transcode.h"
#include "web/fetch.h"
#include "web/site.h"

inline constexpr std::uint32_t kNoColour = 0xFF000000;

// The first pixel of the bitmap the program makes of what the site serves for `path`,
// 0x00RRGGBB; kNoColour when it makes none.
inline std::uint32_t PathColour(const Text& path) {
    Bytes bitmap;
    if (!TranscodeImage(FetchUrl(SiteBase() + path), kImageBmp, bitmap) || bitmap.size() < 58)
        return kNoColour;
    std::size_t at = bitmap[10] | bitmap[11] << 8 | bitmap[12] << 16;
    if (at + 3 > bitmap.size()) return kNoColour;
    return bitmap[at] | bitmap[at + 1] << 8 | bitmap[at + 2] << 16;
}

// What a picture box of the program's window shows near its top-left corner, where a picture
// sits (the smallest test pictures are 8 x 8).
inline std::uint32_t BoxColour(HWND window, int box) {
    RECT place;
    GetWindowRect(FindControl(window, kIdPicture1 + box - 1), &place);
    std::vector<std::uint32_t> pixels =
        ScreenPixels({place.left + 5, place.top + 5, place.left + 6, place.top + 6});
    return pixels.empty() ? kNoColour : pixels[0];
}
