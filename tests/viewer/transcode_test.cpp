#include "viewer/transcode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "e2e/driver.h"
#include "text/wide.h"
#include "viewer/picture_fixtures.h"

namespace {

template <size_t N>
Bytes Fixture(const std::uint8_t (&data)[N]) {
    return Bytes(data, data + N);
}

void PutLe(Bytes& bytes, size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLe(const Bytes& bytes, size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

// A 24-bit bottom-up bitmap file. `claimedWidth`/`claimedHeight` go into the header as given,
// so a test can forge one whose header promises far more pixels than it holds.
Bytes SolidBmp(int width, int height, std::uint32_t bgr, std::uint32_t claimedWidth = 0,
               std::uint32_t claimedHeight = 0) {
    size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    size_t pixels = stride * height;
    Bytes bmp(54 + pixels, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, static_cast<std::uint32_t>(bmp.size()), 4);
    PutLe(bmp, 10, 54, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, claimedWidth ? claimedWidth : width, 4);
    PutLe(bmp, 22, claimedHeight ? claimedHeight : height, 4);
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, 24, 2);
    PutLe(bmp, 34, static_cast<std::uint32_t>(pixels), 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) PutLe(bmp, 54 + y * stride + x * 3, bgr, 3);
    }
    return bmp;
}

bool StartsWith(const Bytes& bytes, const std::string& magic) {
    return bytes.size() >= magic.size() &&
           std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

// The folder of one test, empty at first and removed with what it holds.
struct ScratchFolder {
    std::wstring path;
    ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"picora-transcode-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const auto& name : Names()) DeleteFileW((path + L"\\" + name).c_str());
        RemoveDirectoryW(path.c_str());
    }
    Text File(const char* name) const { return TextFromWide(path) + "\\" + name; }
    std::vector<std::wstring> Names() const { return FileNamesIn(path); }
};

Bytes ReadFile(const Text& name) {
    std::ifstream in(WideFromText(name).c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Bytes kUntouched = {'k', 'e', 'e', 'p'};

TEST(TranscodeImage, EveryDecodableSourceBecomesTheSameBitmap) {
    struct Case {
        const char* name;
        Bytes source;
    } cases[] = {
        {"jpeg", Fixture(kGreenJpeg)},
        {"gif", Fixture(kGreenGif)},
        {"bmp", SolidBmp(4, 3, 0x40a020)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes result = kUntouched;
        ASSERT_TRUE(TranscodeImage(c.source, kImageBmp, result));
        ASSERT_TRUE(StartsWith(result, "BM"));
        ASSERT_GE(result.size(), 54u);
        EXPECT_EQ(GetLe(result, 18, 4), 4u);
        EXPECT_EQ(GetLe(result, 22, 4), 3u);
        // Nothing beyond the last pixel row: the stream's length, not its block's.
        std::uint32_t stride = (4 * GetLe(result, 28, 2) + 31) / 32 * 4;
        EXPECT_EQ(GetLe(result, 10, 4) + 3 * stride, result.size());
    }
}

TEST(TranscodeImage, EachTypeGivesItsFormat) {
    struct Case {
        int type;
        std::string magic;
    } cases[] = {
        {kImageBmp, "BM"},
        {kImageJpeg, "\xff\xd8\xff"},
        {kImageGif, "GIF8"},
        {kImageTiff, std::string("II*\0", 4)},
        {kImagePng, "\x89PNG\r\n\x1a\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Bytes result;
        ASSERT_TRUE(TranscodeImage(Fixture(kGreenJpeg), c.type, result));
        bool tiffBigEndian = c.type == kImageTiff && StartsWith(result, std::string("MM\0*", 4));
        EXPECT_TRUE(StartsWith(result, c.magic) || tiffBigEndian);
    }
}

TEST(TranscodeImage, FailureLeavesTheResultAlone) {
    Bytes jpeg = Fixture(kGreenJpeg);
    Bytes corrupt = jpeg;
    for (size_t i = 2; i < corrupt.size(); ++i) corrupt[i] = static_cast<std::uint8_t>(i * 7);
    struct Case {
        const char* name;
        Bytes source;
        int type;
    } cases[] = {
        {"empty", Bytes(), kImageBmp},
        {"html page", ToBytes("<html><body>404 Not Found</body></html>"), kImageBmp},
        {"truncated jpeg", BytesLeft(jpeg, 20), kImageBmp},
        {"corrupt jpeg", corrupt, kImageBmp},
        {"bitmap header only", BytesLeft(SolidBmp(4, 3, 0), 54), kImageBmp},
        {"type 0", jpeg, 0},
        {"type 6", jpeg, 6},
        {"negative type", jpeg, -1},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes result = kUntouched;
        EXPECT_FALSE(TranscodeImage(c.source, c.type, folder.File("out.bmp"), result));
        EXPECT_EQ(result, kUntouched);
    }
    EXPECT_TRUE(folder.Names().empty()) << "a failed conversion writes no file";
}

// An 8-bit run-length bitmap of `width` x `height` whose runs end at once: a few bytes that
// decode to a picture of any size.
Bytes EmptyRunLengthBmp(std::uint32_t width, std::uint32_t height) {
    Bytes bmp(54 + 8 + 4, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, static_cast<std::uint32_t>(bmp.size()), 4);
    PutLe(bmp, 10, 62, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, width, 4);
    PutLe(bmp, 22, height, 4);
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, 8, 2);
    PutLe(bmp, 30, 1, 4);  // BI_RLE8
    PutLe(bmp, 34, 4, 4);
    PutLe(bmp, 46, 2, 4);  // two palette entries: black, white
    PutLe(bmp, 58, 0xffffff, 4);
    const std::uint8_t runs[] = {2, 1, 0, 1};  // two white pixels, end of bitmap
    std::memcpy(&bmp[62], runs, sizeof runs);
    return bmp;
}

// A few bytes must not turn into hundreds of megabytes of bitmap, nor crash the program.
TEST(TranscodeImage, RefusesAbsurdDimensions) {
    Bytes small;
    ASSERT_TRUE(TranscodeImage(EmptyRunLengthBmp(40, 30), kImageBmp, small));
    EXPECT_EQ(GetLe(small, 18, 4), 40u);

    struct Case {
        std::uint32_t width, height;
    } cases[] = {{9000, 9000}, {60000, 60000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Bytes result = kUntouched;
        EXPECT_FALSE(TranscodeImage(EmptyRunLengthBmp(c.width, c.height), kImageBmp, result));
        EXPECT_EQ(result, kUntouched);
    }
    Bytes result = kUntouched;
    EXPECT_FALSE(TranscodeImage(SolidBmp(4, 3, 0x0000ff, 60000, 60000), kImageBmp, result));
    EXPECT_EQ(result, kUntouched);
}

TEST(TranscodeImage, WritesTheResultToANamedFileOnly) {
    ScratchFolder folder;
    Bytes result;
    ASSERT_TRUE(TranscodeImage(Fixture(kGreenGif), kImageBmp, "  \xa1\xa1 ", result));
    EXPECT_TRUE(StartsWith(result, "BM"));
    EXPECT_TRUE(folder.Names().empty());

    Text name = folder.File("图片.bmp");
    Bytes written;
    ASSERT_TRUE(TranscodeImage(Fixture(kGreenJpeg), kImagePng, name, written));
    EXPECT_EQ(ReadFile(name), written);
}

TEST(TranscodeImage, ConcurrentCallsAgree) {
    const Bytes sources[] = {Fixture(kGreenJpeg), Fixture(kGreenGif)};
    Bytes expected[2];
    for (int s = 0; s < 2; ++s) ASSERT_TRUE(TranscodeImage(sources[s], kImageBmp, expected[s]));
    constexpr int kThreads = 6, kRounds = 15;
    std::vector<int> good(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                Bytes result;
                if (TranscodeImage(sources[t % 2], kImageBmp, result) &&
                    result == expected[t % 2]) {
                    ++good[t];
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(good[t], kRounds) << "thread " << t;
}

TEST(ToWideText, ConvertsGbkWithOneTerminator) {
    struct Case {
        Text text;
        Bytes wide;
    } cases[] = {
        {"", {}},
        {"ab", {0x61, 0, 0x62, 0, 0, 0}},
        {"更新", {0xf4, 0x66, 0xb0, 0x65, 0, 0}},
        {"{557CF400}",
         {'{', 0, '5', 0, '5', 0, '7', 0, 'C', 0, 'F', 0, '4', 0, '0', 0, '0', 0, '}', 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ToWideText(c.text), c.wide) << c.text;
}

}  // namespace
