// A page of six pictures in the real window: the seeded test build of the program (tests/viewer)
// under Wine, against a test server serving pic/1.jpg .. pic/6.jpg (bench/make_page_jpegs.py),
// each with a block of its own colour at its top-left. Timed from the click on "下一页" until
// the sixth box shows its picture on the screen: the pixel at (24, 24) of box 6, polled about
// every 2 ms. Baseline, in this same program and interleaved with the runs: six FetchUrl and six
// TranscodeImage calls, one after the other, on the same addresses.
//   page_load_bench --picora=PATH [--runs=N]
// Prints "page_best_ms=.. page_median_ms=.. baseline_best_ms=.. baseline_median_ms=.. runs=..
// picture_bytes=.."; exits 1 when a picture cannot be had or the boxes do not show the page.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "viewer/transcode.h"
#include "web/fetch.h"
#include "web/site.h"

namespace {

constexpr int kPictures = 6;
constexpr DWORD kPageDeadlineMs = 30000;

// Slots 0..5 show pictures 2..6 and 1, slots 5..10 pictures 1..6: every box changes on
// "下一页" after "上一页", and box 6 gets picture 6 last.
const TextArray kCatalogue = {"/pic/2.jpg", "/pic/3.jpg", "/pic/4.jpg", "/pic/5.jpg",
                              "/pic/6.jpg", "/pic/1.jpg", "/pic/2.jpg", "/pic/3.jpg",
                              "/pic/4.jpg", "/pic/5.jpg", "/pic/6.jpg"};

Text PicturePath(int picture) {
    return "/pic/" + std::to_string(picture) + ".jpg";
}

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The pixel at (x, y) of a 24- or 32-bit bitmap file, 0x00RRGGBB; 0xFF000000 when there is none.
std::uint32_t BitmapPixel(const Bytes& bitmap, int x, int y) {
    constexpr std::uint32_t kNone = 0xFF000000;
    auto number = [&](size_t at, int size) {
        std::int64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | bitmap[at + i];
        return value;
    };
    if (bitmap.size() < 54) return kNone;
    std::int64_t offset = number(10, 4), width = number(18, 4), bits = number(28, 2);
    std::int64_t height = std::int32_t(number(22, 4));
    if ((bits != 24 && bits != 32) || x >= width || y >= std::abs(height)) return kNone;
    std::int64_t stride = (width * bits + 31) / 32 * 4;
    std::int64_t row = height > 0 ? height - 1 - y : y;
    size_t at = size_t(offset + row * stride + x * bits / 8);
    if (at + 3 > bitmap.size()) return kNone;
    return bitmap[at] | bitmap[at + 1] << 8 | bitmap[at + 2] << 16;
}

// Six fetches and six transcodings, one after the other; -1 when one fails.
double BaselineMs(std::size_t* pictureBytes) {
    double start = NowMs();
    std::size_t bytes = 0;
    for (int picture = 1; picture <= kPictures; ++picture) {
        Bytes body = FetchUrl(SiteBase() + PicturePath(picture));
        Bytes bitmap;
        if (!TranscodeImage(body, kImageBmp, bitmap)) return -1;
        bytes += body.size();
    }
    if (pictureBytes) *pictureBytes = bytes;
    return NowMs() - start;
}

struct Window {
    HWND main = nullptr;
    std::uint32_t colours[kPictures] = {};  // what box n shows of picture n
};

std::uint32_t BoxPixel(const Window& window, int box) {
    RECT place;
    GetWindowRect(FindControl(window.main, kIdPicture1 + box - 1), &place);
    RECT pixel = {place.left + 24, place.top + 24, place.left + 25, place.top + 25};
    std::vector<std::uint32_t> pixels = ScreenPixels(pixel);
    return pixels.empty() ? 0xFF000000 : pixels[0];
}

// Waits until box `box` shows picture `picture`, polling about every 2 ms.
bool WaitForBox(const Window& window, int box, int picture) {
    ULONGLONG deadline = GetTickCount64() + kPageDeadlineMs;
    while (BoxPixel(window, box) != window.colours[picture - 1]) {
        if (GetTickCount64() > deadline) return false;
        Sleep(2);
    }
    return true;
}

bool ShowsPicturesOneToSix(const Window& window) {
    for (int box = 1; box <= kPictures; ++box)
        if (BoxPixel(window, box) != window.colours[box - 1]) return false;
    return true;
}

void Click(const Window& window, int buttonId) {
    ClickButton(FindControl(window.main, buttonId));
}

int Fail(const char* what) {
    std::fprintf(stderr, "page_load_bench: %s\n", what);
    return 1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Measure(RunningProgram& program, Window& window, int runs) {
    window.main = PassUsageBox(program);
    if (!window.main) return Fail("the main window did not come");
    HWND list = FindControl(window.main, kIdListBox);
    if (!WaitUntil(
            [&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == LRESULT(kCatalogue.size()); }))
        return Fail("the catalogue was not filled");

    // Once, untimed: the first fetch and the first picture start what later ones reuse.
    std::size_t pictureBytes = 0;
    if (BaselineMs(&pictureBytes) < 0) return Fail("the site does not give six pictures");
    Click(window, kIdButton3);
    if (!WaitForBox(window, kPictures, kPictures)) return Fail("the first page did not load");

    std::vector<double> page, baseline;
    for (int run = 0; run < runs; ++run) {
        Click(window, kIdButton2);
        if (!WaitForBox(window, kPictures, 1)) return Fail("\"上一页\" did not load its page");
        baseline.push_back(BaselineMs(nullptr));
        double start = NowMs();
        Click(window, kIdButton3);
        if (!WaitForBox(window, kPictures, kPictures)) return Fail("the page did not load");
        page.push_back(NowMs() - start);
        if (!ShowsPicturesOneToSix(window)) return Fail("the boxes do not show pictures 1 to 6");
    }
    std::printf(
        "page_best_ms=%.0f page_median_ms=%.0f baseline_best_ms=%.0f baseline_median_ms=%.0f "
        "runs=%d picture_bytes=%zu\n",
        *std::min_element(page.begin(), page.end()), Median(page),
        *std::min_element(baseline.begin(), baseline.end()), Median(baseline), runs, pictureBytes);
    return 0;
}

int Run(const std::wstring& picora, int runs) {
    Window window;
    for (int picture = 1; picture <= kPictures; ++picture) {
        Bytes bitmap;
        TranscodeImage(FetchUrl(SiteBase() + PicturePath(picture)), kImageBmp, bitmap);
        window.colours[picture - 1] = BitmapPixel(bitmap, 24, 24);
        if (window.colours[picture - 1] == 0xFF000000) return Fail("a picture cannot be had");
    }
    Text paths;
    for (const Text& path : kCatalogue) paths += (paths.empty() ? "" : "|") + path;
    SetEnvironmentVariableW(L"PICORA_TEST_CATALOGUE", Wide(paths).c_str());
    RunningProgram program = StartProgram(picora);
    if (!program.process) return Fail("cannot start the program");
    int status = Measure(program, window, runs);
    StopProgram(program);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring picora = Wide(ArgumentValue(argc, argv, "picora"));
    Text runs = ArgumentValue(argc, argv, "runs");
    if (picora.empty()) {
        std::fprintf(stderr, "usage: page_load_bench --picora=PATH [--runs=N]\n");
        return 2;
    }
    if (!UseDisplayDesktop(L"picora-page-bench")) {
        std::fprintf(stderr, "page_load_bench: cannot make the desktop\n");
        return 2;
    }
    return Run(picora, runs.empty() ? 9 : std::max(1, std::atoi(runs.c_str())));
}
