#include "app/picture_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Bytes B(std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

Bytes FromString(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct RecogniseCase {
    const char* name;
    Bytes bytes;
    PictureFormat expected;
};

TEST(RecognisePicture, LooksAtTheFirstSixBytesOnly) {
    const RecogniseCase cases[] = {
        {"jpeg", B({0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}), PictureFormat::kJpeg},
        {"bmp", B({'B', 'M', 0x36, 0, 0, 0}), PictureFormat::kBmp},
        {"icon", B({0, 0, 1, 0, 1, 0}), PictureFormat::kIcon},
        {"cursor", B({0, 0, 2, 0, 3, 0}), PictureFormat::kCursor},
        {"icon without images", B({0, 0, 1, 0, 0, 0}), PictureFormat::kNone},
        {"icon with a reserved word", B({1, 0, 1, 0, 1, 0}), PictureFormat::kNone},
        {"icon of type 3", B({0, 0, 3, 0, 1, 0}), PictureFormat::kNone},
        {"gif87a", FromString("GIF87a"), PictureFormat::kGif},
        {"gif89a", FromString("GIF89a..."), PictureFormat::kGif},
        {"gif88a", FromString("GIF88a"), PictureFormat::kNone},
        {"pcx 8 bit version 5", B({0x0A, 5, 1, 8, 0, 0}), PictureFormat::kPcx},
        {"pcx 8 bit version 0", B({0x0A, 0, 1, 8, 0, 0}), PictureFormat::kPcx},
        {"pcx 8 bit version 6", B({0x0A, 6, 1, 8, 0, 0}), PictureFormat::kNone},
        {"pcx 1 bit version 3", B({0x0A, 3, 1, 1, 0, 0}), PictureFormat::kPcx},
        {"pcx 1 bit version 5", B({0x0A, 5, 1, 1, 0, 0}), PictureFormat::kNone},
        {"pcx without encoding", B({0x0A, 5, 0, 8, 0, 0}), PictureFormat::kNone},
        {"pcx 4 bit", B({0x0A, 5, 1, 4, 0, 0}), PictureFormat::kNone},
        {"png", B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), PictureFormat::kNone},
        {"html", FromString("<html><body>"), PictureFormat::kNone},
        {"empty", Bytes(), PictureFormat::kNone},
        {"five bytes of jpeg", B({0xFF, 0xD8, 0xFF, 0xE0, 0}), PictureFormat::kNone},
        {"five bytes of gif", FromString("GIF89"), PictureFormat::kNone},
    };
    for (const RecogniseCase& c : cases) EXPECT_EQ(RecognisePicture(c.bytes), c.expected) << c.name;
}

// A PCX file: header, run-length data, then the palette block when `palette` is given.
struct PcxFields {
    int version = 5;
    int bitsPerPixel = 8;
    int planes = 1;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int bytesPerLine = 0;
};

Bytes PcxHeader(const PcxFields& fields) {
    Bytes header(128, 0);
    header[0] = 0x0A;
    header[1] = std::uint8_t(fields.version);
    header[2] = 1;
    header[3] = std::uint8_t(fields.bitsPerPixel);
    auto word = [&](int at, int value) {
        header[at] = std::uint8_t(value & 0xFF);
        header[at + 1] = std::uint8_t((value >> 8) & 0xFF);
    };
    word(4, fields.xMin);
    word(6, fields.yMin);
    word(8, fields.xMax);
    word(10, fields.yMax);
    header[65] = std::uint8_t(fields.planes);
    word(66, fields.bytesPerLine);
    return header;
}

Bytes Palette256() {
    Bytes palette{0x0C};
    for (int i = 0; i < 256; ++i) {
        palette.push_back(std::uint8_t(i));
        palette.push_back(std::uint8_t(255 - i));
        palette.push_back(std::uint8_t(i / 2));
    }
    return palette;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::uint32_t PaletteColour(int index) {
    return (std::uint32_t(index) << 16) | (std::uint32_t(255 - index) << 8) | (index / 2);
}

// 3 x 2, 8 bits, one plane, lines of 4 bytes (even, as writers pad them). Row 0 is a run of
// three 7s with a padding byte; row 1 is literal 1, an escaped 0xC5, and 2, then padding.
Bytes EightBitPcx() {
    PcxFields fields;
    fields.xMax = 2;
    fields.yMax = 1;
    fields.bytesPerLine = 4;
    return Join({PcxHeader(fields), B({0xC3, 7, 0, 1, 0xC1, 0xC5, 2, 0}), Palette256()});
}

TEST(DecodePcx, EightBitRunsThroughThePalette) {
    DecodedImage image;
    ASSERT_TRUE(DecodePcx(EightBitPcx(), image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    std::vector<std::uint32_t> expected = {PaletteColour(7), PaletteColour(7),    PaletteColour(7),
                                           PaletteColour(1), PaletteColour(0xC5), PaletteColour(2)};
    EXPECT_EQ(image.pixels, expected);
}

TEST(DecodePcx, RunsMayCrossScanLines) {
    PcxFields fields;
    fields.xMax = 1;
    fields.yMax = 1;
    fields.bytesPerLine = 2;
    DecodedImage image;
    ASSERT_TRUE(DecodePcx(Join({PcxHeader(fields), B({0xC4, 9}), Palette256()}), image));
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(4, PaletteColour(9)));
}

TEST(DecodePcx, TwentyFourBitsAsThreePlanes) {
    PcxFields fields;
    fields.planes = 3;
    fields.xMax = 1;
    fields.bytesPerLine = 2;
    DecodedImage image;
    // One line: red plane 10 20, green plane 30 40, blue plane 50 60.
    ASSERT_TRUE(DecodePcx(Join({PcxHeader(fields), B({10, 20, 30, 40, 50, 60})}), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x0A1E32, 0x14283C}));
}

TEST(DecodePcx, OneBitBlackAndWhite) {
    PcxFields fields;
    fields.version = 3;
    fields.bitsPerPixel = 1;
    fields.xMax = 9;  // ten pixels need two bytes
    fields.bytesPerLine = 2;
    DecodedImage image;
    ASSERT_TRUE(DecodePcx(Join({PcxHeader(fields), B({0xA0, 0x40})}), image));
    ASSERT_EQ(image.pixels.size(), 10u);
    const std::uint32_t white = 0xFFFFFF, black = 0;
    std::vector<std::uint32_t> expected = {white, black, white, black, black,
                                           black, black, black, black, white};
    EXPECT_EQ(image.pixels, expected);
}

TEST(DecodePcx, OneBitPlanesIndexTheHeaderPalette) {
    PcxFields fields;
    fields.version = 3;
    fields.bitsPerPixel = 1;
    fields.planes = 4;
    fields.bytesPerLine = 1;
    Bytes header = PcxHeader(fields);
    // Entry 5 (planes 0 and 2 set) of the 16-colour palette.
    header[16 + 15] = 0x11;
    header[16 + 16] = 0x22;
    header[16 + 17] = 0x33;
    DecodedImage image;
    ASSERT_TRUE(DecodePcx(Join({header, B({0x80, 0x00, 0x80, 0x00})}), image));
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>{0x112233});
}

struct BrokenCase {
    const char* name;
    Bytes bytes;
};

TEST(DecodePcx, RefusesTruncatedAndLyingFiles) {
    Bytes good = EightBitPcx();
    auto header = [](auto change) {
        PcxFields fields;
        fields.xMax = 2;
        fields.yMax = 1;
        fields.bytesPerLine = 4;
        change(fields);
        return PcxHeader(fields);
    };
    Bytes withoutMarker = good;
    withoutMarker[good.size() - 769] = 0x0B;
    const BrokenCase cases[] = {
        {"empty", Bytes()},
        {"header only", Bytes(good.begin(), good.begin() + 128)},
        {"half a header", Bytes(good.begin(), good.begin() + 60)},
        {"no palette", Bytes(good.begin(), good.end() - 769)},
        {"palette cut short", Bytes(good.begin(), good.end() - 1)},
        {"palette marker missing", withoutMarker},
        {"data ends inside a run",
         Join({header([](PcxFields&) {}), B({0xC3, 7, 0, 1, 0xC1}), Palette256()})},
        {"data ends early", Join({header([](PcxFields&) {}), B({0xC8}), Palette256()})},
        {"x range reversed",
         Join({header([](PcxFields& s) { s.xMin = 5; }), B({0xFF, 0}), Palette256()})},
        {"y range reversed",
         Join({header([](PcxFields& s) { s.yMin = 2; }), B({0xFF, 0}), Palette256()})},
        {"line shorter than the width",
         Join({header([](PcxFields& s) { s.bytesPerLine = 2; }), B({0xC4, 1}), Palette256()})},
        {"absurd size", Join({header([](PcxFields& s) {
                                  s.xMax = 65535;
                                  s.yMax = 65535;
                                  s.bytesPerLine = 65535;
                              }),
                              B({0xFF, 0}), Palette256()})},
        {"tall, with lines far longer than the data could fill",
         Join({header([](PcxFields& s) {
                   s.planes = 3;
                   s.xMax = 0;
                   s.yMax = 9999;
                   s.bytesPerLine = 65535;
               }),
               B({0xFF, 0, 0xFF, 0}), Palette256()})},
        {"two planes of 8 bits",
         Join({header([](PcxFields& s) { s.planes = 2; }), B({0xFF, 0}), Palette256()})},
        {"no planes", Join({header([](PcxFields& s) { s.planes = 0; }), Palette256()})},
        {"png", B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})},
    };
    for (const BrokenCase& c : cases) {
        DecodedImage image;
        image.width = 99;
        EXPECT_FALSE(DecodePcx(c.bytes, image)) << c.name;
        EXPECT_EQ(image.width, 0) << c.name;
        EXPECT_TRUE(image.pixels.empty()) << c.name;
    }
}

TEST(DecodePcx, RefusesEveryTruncation) {
    Bytes good = EightBitPcx();
    for (std::size_t size = 0; size < good.size(); ++size) {
        DecodedImage image;
        EXPECT_FALSE(DecodePcx(Bytes(good.begin(), good.begin() + size), image)) << size;
    }
}

}  // namespace

namespace {

struct DimensionCase {
    const char* name;
    Bytes bytes;
    bool stated;
    std::int64_t width, height;
    bool withinLimit;
};

// A JPEG start: SOI, an APP0 segment of 16 bytes, then a baseline frame header.
Bytes JpegWithFrame(int width, int height) {
    Bytes jpeg = B({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10});
    jpeg.resize(jpeg.size() + 14, 0);
    Bytes frame =
        B({0xFF, 0xC0, 0x00, 0x11, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 3});
    jpeg.insert(jpeg.end(), frame.begin(), frame.end());
    return jpeg;
}

Bytes Prefix(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + size);
}

Bytes BmpHeader(std::int32_t width, std::int32_t height) {
    Bytes bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    for (int i = 0; i < 4; ++i) {
        bmp[18 + i] = std::uint8_t(std::uint32_t(width) >> (8 * i));
        bmp[22 + i] = std::uint8_t(std::uint32_t(height) >> (8 * i));
    }
    return bmp;
}

TEST(StatedDimensions, ReadsTheHeaderAndTheLimitRefusesAbsurdSizes) {
    Bytes jpegWithTables = JpegWithFrame(0, 0);
    jpegWithTables.insert(jpegWithTables.begin() + 2, {0xFF, 0xC4, 0x00, 0x02, 0xFF, 0xFF});
    const DimensionCase cases[] = {
        {"jpeg", JpegWithFrame(640, 480), true, 640, 480, true},
        {"jpeg huge", JpegWithFrame(65535, 65535), true, 65535, 65535, false},
        {"jpeg with a table before the frame", jpegWithTables, true, 0, 0, true},
        {"jpeg cut in the frame header", Prefix(JpegWithFrame(640, 480), 25), false, 0, 0, true},
        {"jpeg segment length past the end", B({0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF, 0}), false, 0,
         0, true},
        {"jpeg scan before frame", B({0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0}), false, 0, 0, true},
        {"bmp", BmpHeader(300, -200), true, 300, 200, true},
        {"bmp huge", BmpHeader(100000, 100000), true, 100000, 100000, false},
        {"bmp negative width", BmpHeader(-5, 5), true, -5, 5, false},
        {"bmp most negative height", BmpHeader(10, INT32_MIN), true, 10, 2147483648LL, false},
        {"bmp cut short", Prefix(BmpHeader(1, 1), 20), false, 0, 0, true},
        {"gif", FromString("GIF89a\x10\x01\x20\x02"), true, 0x110, 0x220, true},
        {"gif huge", B({'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF}), true, 65535, 65535,
         false},
        {"png", B({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), false, 0, 0, true},
    };
    for (const DimensionCase& c : cases) {
        std::int64_t width = 0, height = 0;
        EXPECT_EQ(StatedDimensions(c.bytes, width, height), c.stated) << c.name;
        if (c.stated) {
            EXPECT_EQ(width, c.width) << c.name;
            EXPECT_EQ(height, c.height) << c.name;
        }
        EXPECT_EQ(WithinPixelLimit(c.bytes), c.withinLimit) << c.name;
    }
}

}  // namespace
