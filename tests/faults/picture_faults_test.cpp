// Pictures a server may send that cannot be shown: truncated, lying about their size, or not a
// picture at all. The box shows nothing, keeps the bytes, and the window keeps answering.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/window_under_test.h"
#include "e2e/driver.h"
#include "text/wide.h"

namespace {

// 16 x 16, all rgb(200, 30, 30) (ImageMagick, quality 90).
const Bytes kRedJpeg = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02, 0x03, 0x02, 0x02, 0x03,
    0x03, 0x03, 0x03, 0x04, 0x03, 0x03, 0x04, 0x05, 0x08, 0x05, 0x05, 0x04, 0x04, 0x05, 0x0a, 0x07,
    0x07, 0x06, 0x08, 0x0c, 0x0a, 0x0c, 0x0c, 0x0b, 0x0a, 0x0b, 0x0b, 0x0d, 0x0e, 0x12, 0x10, 0x0d,
    0x0e, 0x11, 0x0e, 0x0b, 0x0b, 0x10, 0x16, 0x10, 0x11, 0x13, 0x14, 0x15, 0x15, 0x15, 0x0c, 0x0f,
    0x17, 0x18, 0x16, 0x14, 0x18, 0x12, 0x14, 0x15, 0x14, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x03, 0x04,
    0x04, 0x05, 0x04, 0x05, 0x09, 0x05, 0x05, 0x09, 0x14, 0x0d, 0x0b, 0x0d, 0x14, 0x14, 0x14, 0x14,
    0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
    0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
    0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x15, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4,
    0x00, 0x16, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x07, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c,
    0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x81, 0x26, 0x4d, 0xc6, 0x00, 0x00,
    0x3f, 0xff, 0xd9};

void Put16(Bytes& bytes, std::size_t at, unsigned value, bool bigEndian = false) {
    bytes[at + (bigEndian ? 1 : 0)] = std::uint8_t(value);
    bytes[at + (bigEndian ? 0 : 1)] = std::uint8_t(value >> 8);
}

// Its header states 60000 x 60000, 24 bits; 64 bytes of pixels follow.
Bytes HugeBmp() {
    Bytes bmp(54 + 64, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put16(bmp, 10, 54);
    Put16(bmp, 14, 40);
    Put16(bmp, 18, 60000);
    Put16(bmp, 22, 60000);
    Put16(bmp, 26, 1);
    Put16(bmp, 28, 24);
    return bmp;
}

Bytes HugeGif() {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x00, 0, 0,    0x2C, 0,
                 0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0,    2, 0x44, 0x01, 0x3B};
    Put16(gif, 6, 60000);
    Put16(gif, 8, 60000);
    Put16(gif, 18, 60000);
    Put16(gif, 20, 60000);
    return gif;
}

// The red picture with its frame header claiming 60000 x 60000.
Bytes HugeJpeg() {
    Bytes jpeg = kRedJpeg;
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            Put16(jpeg, i + 5, 60000, true);
            Put16(jpeg, i + 7, 60000, true);
            break;
        }
    }
    return jpeg;
}

// 8 bits, 60000 x 60000, one short run of data and the palette.
Bytes HugePcx() {
    Bytes pcx(128 + 2 + 769, 0);
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[65] = 1;
    Put16(pcx, 8, 59999);
    Put16(pcx, 10, 59999);
    Put16(pcx, 66, 60000);
    pcx[128] = 0xFF;
    pcx[130] = 0x0C;
    return pcx;
}

// Asks the main window for WM_NULL every 10 ms from another thread, as an outside program
// would, and counts the asks not answered within 100 ms.
class Responsiveness {
  public:
    Responsiveness() : window_(MainWindowHandle()), watcher_([this] { Watch(); }) {}
    ~Responsiveness() { Stop(); }
    // Serves the window while the last ask finishes: waiting without serving would leave it
    // unanswered.
    void Stop() {
        stop_ = true;
        while (!finished_) {
            Pump();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        if (watcher_.joinable()) watcher_.join();
    }
    int asked() const { return asked_; }
    int unanswered() const { return unanswered_; }
    ULONGLONG worst() const { return worst_; }

  private:
    void Watch() {
        while (!stop_) {
            DWORD_PTR result = 0;
            ULONGLONG before = GetTickCount64();
            if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result))
                ++unanswered_;
            ULONGLONG took = GetTickCount64() - before;
            if (took > worst_) worst_ = took;
            ++asked_;
            Sleep(10);
        }
        finished_ = true;
    }

    HWND window_;
    std::atomic<bool> stop_ = false, finished_ = false;
    std::atomic<int> asked_ = 0, unanswered_ = 0;
    std::atomic<ULONGLONG> worst_ = 0;
    std::thread watcher_;
};

class PictureFaultsTest : public WindowUnderTest {};

TEST_F(PictureFaultsTest, UndecodablePicturesShowNothingAndTheWindowKeepsAnswering) {
    const COLORREF red = RGB(200, 30, 30), face = GetSysColor(COLOR_BTNFACE);
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"jpeg cut in half", Bytes(kRedJpeg.begin(), kRedJpeg.begin() + kRedJpeg.size() / 2)},
        {"jpeg claiming 60000 x 60000", HugeJpeg()},
        {"bmp claiming 60000 x 60000", HugeBmp()},
        {"gif claiming 60000 x 60000", HugeGif()},
        {"pcx claiming 60000 x 60000", HugePcx()},
        {"an error page instead of a picture", ToBytes("<html><body>404 Not Found</body></html>")},
        {"garbage", Bytes(5000, 0xC3)},
    };
    // Once shown before watching: the first decoding loads the image library, a one-off cost.
    SetPicture(kPictureBox1, kRedJpeg);
    ASSERT_TRUE(PixelBecomes(1, 3, 3, red));

    Responsiveness watch;
    for (const auto& c : cases) {
        // The good picture first shows that the box draws; the bad one must then clear it.
        SetPicture(kPictureBox1, kRedJpeg);
        EXPECT_TRUE(PixelBecomes(1, 3, 3, red)) << c.name;
        SetPicture(kPictureBox1, c.bytes);
        EXPECT_TRUE(PixelBecomes(1, 3, 3, face)) << c.name;
        EXPECT_EQ(GetPicture(kPictureBox1), c.bytes) << c.name;
    }
    // Serve a little longer, so that the watcher has asked often enough to judge.
    ULONGLONG until = GetTickCount64() + 300;
    while (GetTickCount64() < until || watch.asked() < 20) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    watch.Stop();
    EXPECT_EQ(watch.unanswered(), 0)
        << "of " << watch.asked() << " asks; slowest answer " << watch.worst() << " ms";
}

}  // namespace

int main(int argc, char** argv) {
    return RunTestsOnOwnDesktop(argc, argv, L"picora-faults");
}
