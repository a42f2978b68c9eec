// The catalogue end to end: the test build of picora.exe against a test site (the server's
// address comes from PICORA_TEST_SERVER), driven from outside. Each test runs its own copy of
// the program in a folder of its own with a Chinese name, so "cfogd.ini" lands there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "e2e/shown_colours.h"
#include "text/wide.h"
#include "viewer/transcode.h"
#include "web/fetch.h"
#include "web/site.h"

namespace {

const char kAccount[] = "10000";

std::wstring g_picoraPath;
Text g_site;  // which site the server serves: update, duplicates, stuck

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Text ProgressText(int count) {
    return "正在更新----已更新" + std::to_string(count) + "张。 QQ" + kAccount;
}
Text FinalText(int count) {
    return "更新已完成----共更新了" + std::to_string(count) + "张。  QQ" + kAccount;
}
const Text kStartText = "正在更新····更新过程中请勿按下页按钮否则卡死";

class CatalogueTest : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"picora-" + Wide("图片目录") + L"-" +
                  std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        program_path_ = folder_ + L"\\picora.exe";
        catalogue_file_ = folder_ + L"\\cfogd.ini";
        DeleteFileW(catalogue_file_.c_str());
        ASSERT_TRUE(CopyFileW(g_picoraPath.c_str(), program_path_.c_str(), FALSE));
        program_ = StartProgram(program_path_);
        ASSERT_NE(program_.process, nullptr) << "cannot start picora.exe";
        window_ = PassUsageBox(program_);
        ASSERT_NE(window_, nullptr);
        status_bar_ = FindControl(window_, kIdStatusBar);
    }
    void TearDown() override {
        // A busy machine delays an answer by some milliseconds; a wait on the network by seconds.
        EXPECT_LT(slowest_answer_ms_, kSlowestAnswerMs) << "the window stopped answering";
        StopProgram(program_);
        DeleteFileW(catalogue_file_.c_str());
        DeleteFileW(program_path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // Also asks the window for an answer at every look: its main thread must never wait on
    // the network, whatever the server does.
    bool StatusBecomes(const Text& expected, DWORD timeoutMs = kDefaultWaitMs) {
        return WaitUntil(
            [&] {
                AskWindow();
                return StatusBarText(status_bar_) == expected;
            },
            timeoutMs);
    }

    void AskWindow() {
        DWORD_PTR result = 0;
        ULONGLONG before = GetTickCount64();
        SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kSlowestAnswerMs, &result);
        slowest_answer_ms_ = std::max(slowest_answer_ms_, GetTickCount64() - before);
    }

    void StartUpdate() {
        HWND button = FindControl(window_, kIdButton1);
        ClickButton(button);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(button); }))
            << "the update button stays disabled for good";
    }

    // Closes the window, gives the answer and waits for the program's end.
    void CloseAnswering(int answer) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        HWND question = WaitForProgramWindow(program_.processId, kDialogClass);
        ASSERT_NE(question, nullptr);
        ASSERT_EQ(MessageBoxText(question), Wide("是否要保存好当前图片记录？"));
        ASSERT_TRUE(AnswerMessageBox(question, answer));
        EXPECT_EQ(WaitForExit(program_, 10000), 0);
    }

    std::wstring folder_, program_path_, catalogue_file_;
    RunningProgram program_;
    HWND window_ = nullptr;
    HWND status_bar_ = nullptr;
    static constexpr ULONGLONG kSlowestAnswerMs = 1000;
    ULONGLONG slowest_answer_ms_ = 0;
};

struct UpdateCase {
    const char* site;
    std::vector<Text> statusTexts;  // shown in this order during the update (slow links hold them)
    int finalCount;
    Text catalogueFile;
};

const UpdateCase kUpdateCases[] = {
    // Page order; ".php" skipped, ".PHP" followed; links outside the link region and list page
    // 2 (no start marker) give nothing; a detail page without its end marker gives every path
    // to its end, one without its start marker nothing.
    {"update",
     {kStartText, ProgressText(4)},
     6,
     "/p/1.jpg\r\n/p/2.jpg\r\n/p/3.jpg\r\n/图片/四.jpg\r\n/p/5.jpg\r\n/p/6.jpg\r\n"},
    // Ten paths with repeats across pages and within one; first places kept, "/B.jpg" kept.
    {"duplicates", {ProgressText(10)}, 5, "/a.jpg\r\n/b.jpg\r\n/c.jpg\r\n/B.jpg\r\n/d.jpg\r\n"},
    // Detail and list pages that break off, stall, answer garbage or never end give nothing;
    // the one good detail page gives its seven paths.
    {"faults",
     {kStartText, ProgressText(7)},
     7,
     "/p/cut.jpg\r\n/p/huge.gif\r\n/pic/2.bmp\r\n/p/huge.jpg\r\n/t/garbage\r\n"
     "/t/cut?n=50000&send=300\r\n/t/hangup\r\n"},
};

TEST_F(CatalogueTest, UpdateFillsTheCatalogueAndYesWritesItsExactBytes) {
    const UpdateCase* found = nullptr;
    for (const UpdateCase& c : kUpdateCases)
        if (g_site == c.site) found = &c;
    ASSERT_NE(found, nullptr) << "no case for the site " << g_site;
    StartUpdate();
    for (const Text& text : found->statusTexts)
        EXPECT_TRUE(StatusBecomes(text))
            << "never showed " << text << "; last " << StatusBarText(status_bar_);
    ASSERT_TRUE(StatusBecomes(FinalText(found->finalCount), 60000))
        << "last status: " << StatusBarText(status_bar_);
    CloseAnswering(IDYES);
    EXPECT_EQ(ReadFileBytes(catalogue_file_), found->catalogueFile);
}

TEST_F(CatalogueTest, NoWritesNothingAndKeepsAnOldFile) {
    ASSERT_TRUE(g_site == "duplicates");
    {
        std::ofstream old(catalogue_file_.c_str(), std::ios::binary);
        old << "old\r\n";
    }
    StartUpdate();
    ASSERT_TRUE(StatusBecomes(FinalText(5), 60000));
    CloseAnswering(IDNO);
    EXPECT_EQ(ReadFileBytes(catalogue_file_), "old\r\n");
}

TEST_F(CatalogueTest, YesWithAnEmptyCatalogueWritesNothing) {
    CloseAnswering(IDYES);
    EXPECT_FALSE(FileExists(catalogue_file_));
}

TEST_F(CatalogueTest, ClosingDuringAnUpdateEndsTheProgramAtOnce) {
    ASSERT_TRUE(g_site == "stuck");
    StartUpdate();
    ASSERT_TRUE(StatusBecomes(kStartText));
    // The update waits a minute for its first detail page; the close does not wait for it.
    CloseAnswering(IDYES);
    EXPECT_FALSE(FileExists(catalogue_file_));
}

TEST_F(CatalogueTest, BadgeShowsTheServedPicture) {
    ASSERT_TRUE(g_site == "update");
    RECT badge;
    GetWindowRect(FindControl(window_, kIdContactBadge), &badge);
    // The 8 x 4 badge of the site, drawn from the top-left corner, in 0x2040C0.
    RECT inside = {badge.left + 1, badge.top + 1, badge.left + 7, badge.top + 3};
    EXPECT_TRUE(WaitUntil([&] {
        for (std::uint32_t pixel : ScreenPixels(inside))
            if (pixel != 0x2040C0) return false;
        return true;
    }));
    CloseAnswering(IDNO);
}

// The browser's path holds a recording program (tests/catalogue/with-browser-recorder), and
// so does "C:\Program.exe", which an unquoted browser path would start instead.
TEST_F(CatalogueTest, BadgeClickStartsTheBrowserWithTheQuotedChatLink) {
    const char* record = std::getenv("PICORA_RECORD_FILE");
    ASSERT_NE(record, nullptr) << "run under with-browser-recorder";
    std::wstring recordFile = Wide(record);
    DeleteFileW(recordFile.c_str());
    LeftClick(FindControl(window_, kIdContactBadge), 3, 3);
    ASSERT_TRUE(WaitUntil([&] { return !ReadFileBytes(recordFile).empty(); }));
    std::string bytes = ReadFileBytes(recordFile);
    std::wstring lines(reinterpret_cast<const wchar_t*>(bytes.data()),
                       bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(lines,
              L"\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" "
              L"tencent://message/?uin=10000\n")
        << "one start, of the browser, with the program path quoted";
    CloseAnswering(IDNO);
}

// The first fill of the six boxes (sites of make_box_sites.py). Boxes are told apart by the
// colour of the one-colour picture each shows.
struct FillCase {
    const char* site;
    int countAfterFirstPage;
    std::array<int, 6> afterFirstPage;  // the entry each box shows; -1: cleared
    int finalCount;
    std::array<int, 6> atTheEnd;
};

const FillCase kFillCases[] = {
    // Entries 0 to 5 after the first list page; the second page does not fetch them again.
    {"six", 7, {0, 1, 2, 3, 4, 5}, 9, {0, 1, 2, 3, 4, 5}},
    // Boxes 4 to 6 repeat entry 2 and stay so: box 1 shows a picture, so entries 3 to 5 of the
    // second page never reach the boxes.
    {"three", 3, {0, 1, 2, 2, 2, 2}, 6, {0, 1, 2, 2, 2, 2}},
    // Nothing after an empty first page; the fill is tried again after the second.
    {"late", 0, {-1, -1, -1, -1, -1, -1}, 6, {0, 1, 2, 3, 4, 5}},
    // Of entries 0 to 5 only entry 2 is a picture that can be shown: boxes 1 and 2 are cleared,
    // boxes 4 to 6 repeat it. Box 1 stays empty, so the next list page fills the boxes again,
    // and the picture the update kept from entry 2 now fills boxes 1 and 2 as well.
    {"faults", 7, {-1, -1, 2, 2, 2, 2}, 7, {2, 2, 2, 2, 2, 2}},
};

TEST_F(CatalogueTest, UpdateFillsTheSixBoxesOnceFromTheFirstPictures) {
    const FillCase* found = nullptr;
    for (const FillCase& c : kFillCases)
        if (g_site == c.site) found = &c;
    ASSERT_NE(found, nullptr) << "no case for the site " << g_site;
    std::uint32_t cleared = BoxColour(window_, 1);
    auto shows = [&](const std::array<int, 6>& entries) {
        for (int box = 1; box <= 6; ++box) {
            int entry = entries[box - 1];
            std::uint32_t expected =
                entry < 0 ? cleared : PathColour("/pic/" + std::to_string(entry) + ".bmp");
            if (BoxColour(window_, box) != expected) return false;
        }
        return true;
    };
    StartUpdate();
    // The second list page's first link answers after 4 s: the boxes are looked at meanwhile.
    Text firstPageDone =
        found->countAfterFirstPage ? ProgressText(found->countAfterFirstPage) : kStartText;
    ASSERT_TRUE(StatusBecomes(firstPageDone));
    EXPECT_TRUE(WaitUntil([&] { return shows(found->afterFirstPage); }, 3000));
    ASSERT_EQ(StatusBarText(status_bar_), firstPageDone) << "the second page came too early";

    ASSERT_TRUE(StatusBecomes(FinalText(found->finalCount), 60000));
    EXPECT_TRUE(WaitUntil([&] { return shows(found->atTheEnd); }, 3000));
    CloseAnswering(IDNO);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_picoraPath = Wide(ArgumentValue(argc, argv, "picora"));
    g_site = ArgumentValue(argc, argv, "site");
    if (g_picoraPath.empty()) {
        std::fprintf(stderr, "usage: catalogue_e2e_test --picora=PATH --site=NAME\n");
        return 2;
    }
    if (!UseDisplayDesktop(L"picora-catalogue")) {
        std::fprintf(stderr, "cannot make the desktop\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
