// Recognising a picture from its first bytes, and decoding the one format the system's image
// library does not know (PCX). Portable: no window header here.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text.h"

enum class PictureFormat { kNone, kJpeg, kBmp, kIcon, kCursor, kGif, kPcx };

// Looks at the first six bytes only; fewer than six bytes are never a picture.
PictureFormat RecognisePicture(const Bytes& bytes);

// Pixels top-down, row after row, each 0x00RRGGBB (a 32-bit top-down DIB's layout).
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// A picture bigger than this is refused: a lying header must not make us allocate gigabytes.
inline constexpr std::int64_t kMaxPicturePixels = 64 * 1024 * 1024;

// Width and height as the header states them, for the formats whose first header says so
// (BMP, GIF's logical screen, JPEG's frame header); false when the header is missing or cut
// short, or the format is another.
bool StatedDimensions(const Bytes& bytes, std::int64_t& width, std::int64_t& height);

// False when the header states a picture of more than kMaxPicturePixels (or a negative size);
// true when it states a sane size or states none, leaving the decoder to judge.
bool WithinPixelLimit(const Bytes& bytes);

// 8 bits per pixel (one plane with the 256-colour palette at the end, or three planes of RGB)
// and 1 bit per pixel (one plane black and white, or up to four planes through the header's
// 16-colour palette), run-length encoded. False, with `image` left empty, for anything
// truncated, inconsistent or too big.
bool DecodePcx(const Bytes& bytes, DecodedImage& image);
