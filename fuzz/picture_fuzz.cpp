// What a picture's first bytes say, and the PCX decoder, over any bytes.
#include <cstddef>
#include <cstdint>

#include "app/picture_format.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    Bytes picture(bytes, bytes + size);
    PictureFormat format = RecognisePicture(picture);
    if (size < 6) FUZZ_CHECK(format == PictureFormat::kNone);

    std::int64_t width = 0, height = 0;
    if (StatedDimensions(picture, width, height) &&
        (width < 0 || height < 0 || width * height > kMaxPicturePixels)) {
        FUZZ_CHECK(!WithinPixelLimit(picture));
    }

    DecodedImage image;
    if (DecodePcx(picture, image)) {
        FUZZ_CHECK(image.width > 0 && image.height > 0);
        FUZZ_CHECK(std::int64_t{image.width} * image.height <= kMaxPicturePixels);
        FUZZ_CHECK(image.pixels.size() == static_cast<size_t>(image.width) * image.height);
        for (std::uint32_t pixel : image.pixels) FUZZ_CHECK(pixel <= 0xFFFFFF);
    } else {
        FUZZ_CHECK(image.width == 0 && image.height == 0 && image.pixels.empty());
    }
    return 0;
}
