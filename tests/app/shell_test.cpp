// The main window's control operations, in process, from the main thread and from workers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/chores.h"
#include "app/control_ids.h"
#include "app/controls.h"
#include "app/main_window.h"
#include "app/window_under_test.h"
#include "app/workers.h"
#include "e2e/driver.h"
#include "text/wide.h"

namespace {

void PumpUntil(const std::function<bool()>& done) {
    ULONGLONG deadline = GetTickCount64() + 10000;
    while (!done() && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// Runs `job` on another thread while this one serves the window, as the main thread does.
void OnWorker(const std::function<void()>& job) {
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        job();
        finished = true;
    });
    PumpUntil([&] { return finished.load(); });
    worker.join();
}

class ShellTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_NE(CreateMainWindow(EventTable()), nullptr); }
    static void TearDownTestSuite() { DestroyWindow(MainWindowHandle()); }
    void SetUp() override { CatalogueClear(); }
};

// Bytes that are not valid GBK: a lead byte without its trail, and a UTF-8 path.
const Text kOddPaths[] = {"/b.jpg",      "/a.jpg", Text("/\x81", 2), "/\xE4\xB8\xAD.jpg",
                          "/图片/1.jpg", ""};

void ExpectCatalogueKeepsBytes() {
    for (std::size_t i = 0; i < std::size(kOddPaths); ++i)
        EXPECT_EQ(CatalogueAdd(kOddPaths[i]), static_cast<int>(i));
    EXPECT_EQ(CatalogueCount(), static_cast<int>(std::size(kOddPaths)));
    for (std::size_t i = 0; i < std::size(kOddPaths); ++i)
        EXPECT_EQ(CatalogueItem(static_cast<int>(i)), kOddPaths[i]) << i;
    EXPECT_EQ(CatalogueItems(), TextArray(std::begin(kOddPaths), std::end(kOddPaths)));
    EXPECT_EQ(CatalogueItem(-1), "");
    EXPECT_EQ(CatalogueItem(CatalogueCount()), "");
    CatalogueClear();
    EXPECT_EQ(CatalogueCount(), 0);
    EXPECT_EQ(CatalogueItem(0), "");
    EXPECT_TRUE(CatalogueItems().empty());
}

TEST_F(ShellTest, CatalogueKeepsInsertionOrderAndExactBytes) {
    ExpectCatalogueKeepsBytes();
}

TEST_F(ShellTest, CatalogueFromAWorker) {
    OnWorker(ExpectCatalogueKeepsBytes);
}

TEST_F(ShellTest, PictureBoxesGiveBackExactlyTheBytesTheyGot) {
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D};
    const Bytes brokenJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J'};
    const Bytes lyingPcx = {0x0A, 5, 1, 8, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes hugeGif = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0};
    for (int box = kPictureBox1; box <= kContactBadge; ++box) {
        for (const Bytes& bytes : {png, brokenJpeg, lyingPcx, hugeGif, Bytes()}) {
            SetPicture(box, bytes);
            EXPECT_EQ(GetPicture(box), bytes) << box;
        }
    }
    SetPicture(0, png);
    EXPECT_TRUE(GetPicture(0).empty());
    EXPECT_TRUE(GetPicture(8).empty());
}

TEST_F(ShellTest, PicturesFromAWorker) {
    const Bytes bmp = {'B', 'M', 1, 2, 3, 4, 5};
    OnWorker([&] {
        SetPicture(kPictureBox3, bmp);
        EXPECT_EQ(GetPicture(kPictureBox3), bmp);
    });
    EXPECT_EQ(GetPicture(kPictureBox3), bmp);
    SetPicture(kPictureBox3, Bytes());
}

TEST_F(ShellTest, StatusTextAndButtonStateFromAWorker) {
    const Text status = "正在更新····更新过程中请勿按下页按钮否则卡死";
    OnWorker([&] {
        SetStatusText(status);
        SetUpdateButtonDisabled(true);
    });
    HWND bar = FindWindowExW(MainWindowHandle(), nullptr, L"msctls_statusbar32", nullptr);
    wchar_t shown[256] = L"";
    GetWindowTextW(bar, shown, 256);
    EXPECT_EQ(shown, WideFromText(status));
    EXPECT_FALSE(IsWindowEnabled(MainWindowParts().buttons[0]));
    SetUpdateButtonDisabled(false);
    EXPECT_TRUE(IsWindowEnabled(MainWindowParts().buttons[0]));
}

TEST_F(ShellTest, TrimCallsFromAnyThreadKeepOneTimer) {
    HWND window = MainWindowHandle();
    EXPECT_EQ(ScheduleMemoryTrim(window), kTrimTimerId);
    OnWorker([&] {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(ScheduleMemoryTrim(window), kTrimTimerId);
    });
    EXPECT_TRUE(KillTimer(window, kTrimTimerId));
    EXPECT_FALSE(KillTimer(window, kTrimTimerId)) << "a second trim timer existed";
}

// Answers the save dialog from another thread: types `name` (empty: cancels) and confirms.
void AnswerSaveDialog(const std::wstring& name, std::atomic<bool>& answered) {
    HWND dialog = WaitForProgramWindow(GetCurrentProcessId(), kDialogClass, 10000);
    if (!dialog) return;
    if (name.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        // The file name box: combo box cmb13 in the explorer-style dialog.
        HWND box = GetDlgItem(dialog, 0x47C);
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    answered = true;
}

TEST_F(ShellTest, SaveDialogNamesANewBitmapAndKeepsItsNameOnCancel) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring name =
        std::wstring(folder) + L"picora-new-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW((name + L".bmp").c_str());

    Text fileName = "untouched";
    std::atomic<bool> answered = false;
    std::thread answerer(AnswerSaveDialog, name, std::ref(answered));
    bool accepted = OpenSaveDialog(fileName);
    answerer.join();
    ASSERT_TRUE(answered);
    // A name that does not exist yet is accepted, and gets the extension ".bmp".
    EXPECT_TRUE(accepted);
    EXPECT_EQ(fileName, TextFromWide(name + L".bmp"));

    Text afterCancel = "untouched";
    answered = false;
    std::thread canceller(AnswerSaveDialog, std::wstring(), std::ref(answered));
    EXPECT_FALSE(OpenSaveDialog(afterCancel));
    canceller.join();
    EXPECT_EQ(afterCancel, "untouched");
}

// The pixels of `control` as shown on the screen, frame and scroll bar included.
std::vector<uint32_t> ShownPixels(HWND control) {
    RECT frame;
    GetWindowRect(control, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetWindowDC(control);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

void Serve(int ms) {
    ULONGLONG until = GetTickCount64() + ms;
    PumpUntil([&] { return GetTickCount64() >= until; });
}

// A worker's quick run of status texts is painted in fewer strokes, but what stays on the
// screen once it is over is exactly the last text, as a full repaint draws it.
TEST_F(ShellTest, AQuickRunOfStatusTextsEndsFullyPainted) {
    // Wholly on the screen, whose pixels are what is read.
    SetWindowPos(MainWindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(MainWindowHandle(), SW_SHOWNOACTIVATE);
    HWND bar = MainWindowParts().statusBar;
    SetStatusText("");
    Serve(300);
    const std::vector<uint32_t> before = ShownPixels(bar);
    OnWorker([] {
        for (int i = 1; i <= 300; ++i) SetStatusText("已更新" + ToText(i) + "张");
    });
    Serve(300);
    const std::vector<uint32_t> shown = ShownPixels(bar);
    EXPECT_TRUE(IsWindowVisible(bar));
    RedrawWindow(bar, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(shown != before) << "the run was never painted";
    EXPECT_TRUE(shown == ShownPixels(bar)) << "the last text was not painted";
    ShowWindow(MainWindowHandle(), SW_HIDE);
}

std::atomic<int> g_jobsRun = 0;

TEST_F(ShellTest, AWorkerThatThrowsEndsOnlyItsJob) {
    g_jobsRun = 0;
    ASSERT_TRUE(StartWorker([] {
        ++g_jobsRun;
        throw std::runtime_error("lost connection");
    }));
    ASSERT_TRUE(StartWorker([] {
        ++g_jobsRun;
        CatalogueAdd("/from-worker.jpg");
    }));
    PumpUntil([] { return g_jobsRun == 2 && CatalogueCount() == 1; });
    EXPECT_EQ(g_jobsRun, 2);
    EXPECT_EQ(CatalogueItem(0), "/from-worker.jpg");
}

std::atomic<bool> g_releaseFirst = false, g_releaseSecond = false;

// The end of the program releases the shared arrays only when this count is zero, so it must
// never read zero while a job, or the job it hands on to, still runs.
TEST_F(ShellTest, RunningWorkersCountsUntilTheLastHandedOnJobHasReturned) {
    PumpUntil([] { return RunningWorkers() == 0; });  // the jobs of earlier tests
    ASSERT_EQ(RunningWorkers(), 0);
    ASSERT_TRUE(StartWorker([] {
        while (!g_releaseFirst) Sleep(1);
        StartWorker([] {
            while (!g_releaseSecond) Sleep(1);
        });
    }));
    EXPECT_EQ(RunningWorkers(), 1);
    g_releaseFirst = true;
    bool neverZero = true;
    ULONGLONG until = GetTickCount64() + 300;
    while (GetTickCount64() < until) neverZero = neverZero && RunningWorkers() > 0;
    EXPECT_TRUE(neverZero);
    EXPECT_EQ(RunningWorkers(), 1) << "the first job has returned, the second runs";
    g_releaseSecond = true;
    PumpUntil([] { return RunningWorkers() == 0; });
    EXPECT_EQ(RunningWorkers(), 0);
}

}  // namespace

int main(int argc, char** argv) {
    return RunTestsOnOwnDesktop(argc, argv, L"picora-shell");
}
