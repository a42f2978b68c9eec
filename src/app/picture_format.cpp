#include "app/picture_format.h"

#include <cstddef>
#include <utility>

namespace {

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::size_t kPcxPaletteSize = 768;
constexpr std::uint8_t kPcxPaletteMarker = 0x0C;

unsigned Word(const Bytes& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

unsigned BigEndianWord(const Bytes& bytes, std::size_t at) {
    return (bytes[at] << 8) | bytes[at + 1];
}

std::int64_t SignedLong(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = Word(bytes, at) | (std::uint32_t(Word(bytes, at + 2)) << 16);
    return static_cast<std::int32_t>(value);
}

bool BmpDimensions(const Bytes& bytes, std::int64_t& width, std::int64_t& height) {
    if (bytes.size() < 26) return false;
    if (SignedLong(bytes, 14) == 12) {  // the old core header holds 16-bit sizes
        width = Word(bytes, 18);
        height = Word(bytes, 20);
        return true;
    }
    width = SignedLong(bytes, 18);
    height = SignedLong(bytes, 22);
    if (height < 0) height = -height;  // top-down rows
    return true;
}

// Walks the markers up to the first frame header (SOF0..SOF15, which are C0..CF but for C4,
// C8 and CC).
bool JpegDimensions(const Bytes& bytes, std::int64_t& width, std::int64_t& height) {
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) return false;
        std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;  // markers without a length
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return false;  // scan data before any frame
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size()) return false;
            height = BigEndianWord(bytes, at + 5);
            width = BigEndianWord(bytes, at + 7);
            return true;
        }
        at += 2 + BigEndianWord(bytes, at + 2);
    }
    return false;
}

bool IsIconDirectory(const Bytes& bytes, unsigned type) {
    return Word(bytes, 0) == 0 && Word(bytes, 2) == type && Word(bytes, 4) > 0;
}

bool IsPcx(const Bytes& bytes) {
    if (bytes[0] != 0x0A || bytes[2] != 1) return false;
    return (bytes[1] <= 5 && bytes[3] == 8) || (bytes[1] == 3 && bytes[3] == 1);
}

std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
}

// Expands the run-length data in [begin, end) into exactly `size` bytes; false when the data
// ends first. Runs may cross scan lines, as some writers make them.
bool ExpandRuns(const Bytes& bytes, std::size_t begin, std::size_t end, std::size_t size,
                std::vector<std::uint8_t>& out) {
    out.clear();
    // A run of two bytes gives at most 63: a header that claims more than the data can hold is
    // refused before its claim is allocated (a few hundred bytes could ask for gigabytes).
    if (size / 32 > end - begin) return false;
    out.reserve(size);
    std::size_t at = begin;
    while (out.size() < size) {
        if (at >= end) return false;
        std::uint8_t value = bytes[at++];
        std::size_t count = 1;
        if ((value & 0xC0) == 0xC0) {
            if (at >= end) return false;
            count = value & 0x3F;
            value = bytes[at++];
        }
        if (count > size - out.size()) count = size - out.size();
        out.insert(out.end(), count, value);
    }
    return true;
}

struct PcxLayout {
    int width;
    int height;
    unsigned bitsPerPixel;
    unsigned planes;
    std::size_t bytesPerLine;
};

bool ReadLayout(const Bytes& bytes, PcxLayout& layout) {
    if (bytes.size() < kPcxHeaderSize || RecognisePicture(bytes) != PictureFormat::kPcx)
        return false;
    unsigned xMin = Word(bytes, 4), yMin = Word(bytes, 6);
    unsigned xMax = Word(bytes, 8), yMax = Word(bytes, 10);
    if (xMax < xMin || yMax < yMin) return false;
    layout.width = int(xMax - xMin + 1);
    layout.height = int(yMax - yMin + 1);
    layout.bitsPerPixel = bytes[3];
    layout.planes = bytes[65];
    layout.bytesPerLine = Word(bytes, 66);
    bool planesFit = layout.bitsPerPixel == 8 ? (layout.planes == 1 || layout.planes == 3)
                                              : (layout.planes >= 1 && layout.planes <= 4);
    if (!planesFit) return false;
    if (std::int64_t(layout.width) * layout.height > kMaxPicturePixels) return false;
    std::size_t needed = (std::size_t(layout.width) * layout.bitsPerPixel + 7) / 8;
    // Padding beyond all reason: the scan lines may not outweigh the largest picture's pixels.
    std::int64_t lineBytes = std::int64_t(layout.bytesPerLine) * layout.planes * layout.height;
    return layout.bytesPerLine >= needed && lineBytes <= 4 * kMaxPicturePixels;
}

std::uint32_t MonochromeOrEga(const Bytes& bytes, unsigned planes, unsigned index) {
    if (planes == 1) return index ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    std::size_t at = 16 + 3 * std::size_t(index);
    return Rgb(bytes[at], bytes[at + 1], bytes[at + 2]);
}

}  // namespace

PictureFormat RecognisePicture(const Bytes& bytes) {
    if (bytes.size() < 6) return PictureFormat::kNone;
    if (bytes[0] == 0xFF && bytes[1] == 0xD8) return PictureFormat::kJpeg;
    if (bytes[0] == 'B' && bytes[1] == 'M') return PictureFormat::kBmp;
    if (IsIconDirectory(bytes, 1)) return PictureFormat::kIcon;
    if (IsIconDirectory(bytes, 2)) return PictureFormat::kCursor;
    static const char kGif87[] = {'G', 'I', 'F', '8', '7', 'a'};
    static const char kGif89[] = {'G', 'I', 'F', '8', '9', 'a'};
    bool gif87 = true, gif89 = true;
    for (int i = 0; i < 6; ++i) {
        gif87 = gif87 && bytes[i] == std::uint8_t(kGif87[i]);
        gif89 = gif89 && bytes[i] == std::uint8_t(kGif89[i]);
    }
    if (gif87 || gif89) return PictureFormat::kGif;
    if (IsPcx(bytes)) return PictureFormat::kPcx;
    return PictureFormat::kNone;
}

bool StatedDimensions(const Bytes& bytes, std::int64_t& width, std::int64_t& height) {
    switch (RecognisePicture(bytes)) {
        case PictureFormat::kBmp:
            return BmpDimensions(bytes, width, height);
        case PictureFormat::kGif:
            if (bytes.size() < 10) return false;
            width = Word(bytes, 6);
            height = Word(bytes, 8);
            return true;
        case PictureFormat::kJpeg:
            return JpegDimensions(bytes, width, height);
        default:
            return false;
    }
}

bool WithinPixelLimit(const Bytes& bytes) {
    std::int64_t width = 0, height = 0;
    if (!StatedDimensions(bytes, width, height)) return true;
    return width >= 0 && height >= 0 && width * height <= kMaxPicturePixels;
}

bool DecodePcx(const Bytes& bytes, DecodedImage& image) {
    image = DecodedImage();
    PcxLayout layout;
    if (!ReadLayout(bytes, layout)) return false;

    std::size_t dataEnd = bytes.size();
    bool paletted = layout.bitsPerPixel == 8 && layout.planes == 1;
    if (paletted) {
        if (bytes.size() < kPcxHeaderSize + 1 + kPcxPaletteSize) return false;
        dataEnd = bytes.size() - kPcxPaletteSize - 1;
        if (bytes[dataEnd] != kPcxPaletteMarker) return false;
    }
    std::size_t lineSize = layout.bytesPerLine * layout.planes;
    std::vector<std::uint8_t> lines;
    if (!ExpandRuns(bytes, kPcxHeaderSize, dataEnd, lineSize * layout.height, lines)) return false;

    std::vector<std::uint32_t> pixels(std::size_t(layout.width) * layout.height);
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t* line = lines.data() + lineSize * y;
        std::uint32_t* row = pixels.data() + std::size_t(layout.width) * y;
        for (int x = 0; x < layout.width; ++x) {
            if (paletted) {
                std::size_t at = dataEnd + 1 + 3 * std::size_t(line[x]);
                row[x] = Rgb(bytes[at], bytes[at + 1], bytes[at + 2]);
            } else if (layout.bitsPerPixel == 8) {
                const std::uint8_t* plane = line + x;
                row[x] = Rgb(plane[0], plane[layout.bytesPerLine], plane[2 * layout.bytesPerLine]);
            } else {
                unsigned index = 0;
                for (unsigned p = 0; p < layout.planes; ++p) {
                    unsigned bit = (line[p * layout.bytesPerLine + x / 8] >> (7 - x % 8)) & 1;
                    index |= bit << p;
                }
                row[x] = MonochromeOrEga(bytes, layout.planes, index);
            }
        }
    }
    image.width = layout.width;
    image.height = layout.height;
    image.pixels = std::move(pixels);
    return true;
}
