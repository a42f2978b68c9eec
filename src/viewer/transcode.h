// Re-encoding a picture in memory: whatever the system's codecs decode, into one standard format.
#pragma once

#include "text/text.h"

enum ImageType {
    kImageBmp = 1,
    kImageJpeg = 2,
    kImageGif = 3,
    kImageTiff = 4,
    kImagePng = 5,
};

// Decodes `source` and encodes it as `type` (ImageType). On success `result` is replaced by
// the encoded bytes, which also go to `outputFile` when that is not blank, and the answer is
// true. Otherwise (no picture, an unknown type, a picture above kMaxPicturePixels, stated or
// decoded) `result` is left as it was and no file is written. Safe on several threads at once, each
// with its own `result`.
bool TranscodeImage(const Bytes& source, int type, const Text& outputFile, Bytes& result);
inline bool TranscodeImage(const Bytes& source, int type, Bytes& result) {
    return TranscodeImage(source, type, Text(), result);
}

// The text as UTF-16LE with one terminating zero unit; empty for the empty text.
Bytes ToWideText(const Text& text);
