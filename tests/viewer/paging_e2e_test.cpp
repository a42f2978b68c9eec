// The page buttons and the picture saving in the real window: the test build of the program
// under Wine, on a display of its own, against a test server serving one-colour pictures
// (make_page_site.py). Boxes are told apart by the colour of their pixels.
#include <gtest/gtest.h>

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

const wchar_t kMenuClass[] = L"#32768";

std::wstring g_picoraPath;

// Entry 0 is no picture (the test server records the request and answers with text), entry 3
// does not exist (an HTML 404 page); the others are pictures of their own colours.
const TextArray kCatalogue = {
    "/t/record/entry0", "/pic/1.bmp",  "/pic/2.bmp",  "/pic/missing.bmp", "/pic/4.bmp",
    "/pic/5.bmp",       "/pic/6.bmp",  "/pic/7.bmp",  "/pic/8.bmp",       "/pic/9.bmp",
    "/pic/10.bmp",      "/pic/11.bmp", "/pic/12.bmp",
};
constexpr int kCleared = -1;
using Page = std::array<int, 6>;  // the catalogue entry each box shows, or kCleared

// Slots 0..5: box 1 has no good picture before it; box 4 repeats box 3.
const Page kPage0 = {kCleared, 1, 2, 2, 4, 5};
const Page kPage1 = {5, 6, 7, 8, 9, 10};
// Slots 10..15: entries 13 to 15 are past the end and repeat entry 12.
const Page kPage2 = {10, 11, 12, 12, 12, 12};
const Page kPage3 = {kCleared, kCleared, kCleared, kCleared, kCleared, kCleared};

// The bitmap a box gets for a catalogue path: what the program makes of what the site serves.
Bytes BitmapOf(const Text& path) {
    Bytes bitmap;
    TranscodeImage(FetchUrl(SiteBase() + path), kImageBmp, bitmap);
    return bitmap;
}

bool WasRequested(const Text& recordName) {
    return FindText(ToText(FetchUrl(SiteBase() + "/t/recorded/" + recordName)), "GET ") == 1;
}

Bytes ReadWholeFile(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BOOL CALLBACK KeepFirstEdit(HWND child, LPARAM result) {
    if (WindowClass(child) != L"Edit") return TRUE;
    *reinterpret_cast<HWND*>(result) = child;
    return FALSE;
}

// The save dialog's file name box: its only edit field, wherever the dialog's layout puts it.
HWND FileNameField(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, KeepFirstEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool FileExists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PagingTest : public testing::Test {
  protected:
    // Starts the program with this catalogue and passes the usage box.
    void Start(const TextArray& catalogue) {
        Text paths;
        for (const Text& path : catalogue) paths += (paths.empty() ? "" : "|") + path;
        SetEnvironmentVariableW(L"PICORA_TEST_CATALOGUE", Wide(paths).c_str());
        program_ = StartProgram(g_picoraPath);
        ASSERT_NE(program_.process, nullptr) << "cannot start the program";
        window_ = PassUsageBox(program_);
        ASSERT_NE(window_, nullptr);
        HWND list = FindControl(window_, kIdListBox);
        ASSERT_TRUE(WaitUntil([&] {
            return SendMessageW(list, LB_GETCOUNT, 0, 0) == LRESULT(catalogue.size());
        })) << "the catalogue was not filled";
        for (const Text& path : catalogue) {
            // The test server's own endpoints are left alone: whether and when the program
            // asks for them is what the tests look at.
            colours_.push_back(FindText(path, "/t/") == 1 ? kNoColour : PathColour(path));
        }
        // Nothing is loaded yet: every box shows its empty face.
        emptyColour_ = BoxColour(window_, 1);
    }
    void TearDown() override {
        StopProgram(program_);
        // Only now: the save dialog made the folder the program's current one.
        if (!scratch_.empty()) {
            for (const auto& name : FileNamesIn(scratch_))
                DeleteFileW((scratch_ + L"\\" + name).c_str());
            RemoveDirectoryW(scratch_.c_str());
        }
    }

    // An empty folder of this test, removed with its files at the end.
    std::wstring ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        scratch_ = std::wstring(temp) + L"picora-save-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(scratch_.c_str(), nullptr);
        return scratch_;
    }

    std::uint32_t ExpectedColour(int entry) {
        if (entry == kCleared) return emptyColour_;
        return entry >= 0 ? colours_[entry] : kNoColour;
    }
    bool Shows(const Page& page) {
        for (int box = 1; box <= 6; ++box) {
            if (BoxColour(window_, box) != ExpectedColour(page[box - 1])) return false;
        }
        return true;
    }
    // Waits until the boxes show the page; on a timeout, says what each box shows.
    testing::AssertionResult WaitForPage(const Page& page) {
        if (WaitUntil([&] { return Shows(page); })) return testing::AssertionSuccess();
        testing::AssertionResult failure = testing::AssertionFailure();
        for (int box = 1; box <= 6; ++box) {
            char line[96];
            std::snprintf(line, sizeof line, "box %d: %06x, expected entry %d = %06x\n", box,
                          BoxColour(window_, box), page[box - 1], ExpectedColour(page[box - 1]));
            failure << line;
        }
        return failure;
    }
    void Click(int buttonId) { ClickButton(FindControl(window_, buttonId)); }
    void PrevPage() { Click(kIdButton2); }
    void NextPage() { Click(kIdButton3); }

    // Right click on a box, then "保存图片" from the popup with the keyboard.
    HWND ChooseSaveOnBox(int box) {
        RightClick(FindControl(window_, kIdPicture1 + box - 1), 30, 30);
        if (!WaitForProgramWindow(program_.processId, kMenuClass)) return nullptr;
        PressKey(window_, VK_DOWN);
        PressKey(window_, VK_RETURN);
        return WaitForProgramWindow(program_.processId, kDialogClass);
    }

    RunningProgram program_;
    HWND window_ = nullptr;
    std::vector<std::uint32_t> colours_;
    std::uint32_t emptyColour_ = kNoColour;
    std::wstring scratch_;
};

TEST_F(PagingTest, PagesWalkForwardPastTheEndAndBackToTheFirst) {
    ASSERT_NO_FATAL_FAILURE(Start(kCatalogue));
    for (int entry : {1, 2, 4, 5, 6, 12}) ASSERT_NE(colours_[entry], kNoColour) << entry;
    ASSERT_EQ(colours_[0], kNoColour);
    ASSERT_EQ(colours_[3], kNoColour);

    // On the first page "上一页" does nothing; had it moved the slots, the next press would
    // bring back the first page, and had it loaded, entry 0 would have been asked for.
    PrevPage();
    NextPage();
    ASSERT_TRUE(WaitForPage(kPage1));
    EXPECT_FALSE(WasRequested("entry0"));

    NextPage();
    ASSERT_TRUE(WaitForPage(kPage2));
    NextPage();
    ASSERT_TRUE(WaitForPage(kPage3));
    PrevPage();
    ASSERT_TRUE(WaitForPage(kPage2));
    PrevPage();
    ASSERT_TRUE(WaitForPage(kPage1));
    PrevPage();
    ASSERT_TRUE(WaitForPage(kPage0)) << "box 1 cleared, box 4 repeats box 3";
    EXPECT_TRUE(WasRequested("entry0"));

    PrevPage();
    NextPage();
    ASSERT_TRUE(WaitForPage(kPage1));
}

// Entry 5 answers late, with no picture, so a run on slots 5..10 is still busy when a later
// press moves the slots.
TEST_F(PagingTest, TwoQuickPressesEndOnTheSecondPage) {
    TextArray catalogue = kCatalogue;
    catalogue[5] = "/t/slow?ms=3000";
    ASSERT_NO_FATAL_FAILURE(Start(catalogue));
    NextPage();
    NextPage();
    // The first run read slot 5 (a late answer) before the second press moved it: its stale
    // picture never reaches box 1, which shows entry 10 of the second run.
    ASSERT_TRUE(WaitForPage({10, 11, 12, 12, 12, 12}));
    // This run writes boxes 2 to 6 only after the late answer, so it writes them last.
    PrevPage();
    ASSERT_TRUE(WaitForPage({kCleared, 6, 7, 8, 9, 10})) << "the slots stood at 10..15";
}

TEST_F(PagingTest, SavePictureWritesTheRightClickedBoxAsBmpAndCancelWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(Start(kCatalogue));
    NextPage();
    ASSERT_TRUE(WaitForPage(kPage1));
    std::wstring folder = ScratchFolder();
    std::wstring typed = folder + L"\\照片", saved = typed + L".bmp";

    // A menu closed without a choice saves nothing and leaves no trace.
    RightClick(FindControl(window_, kIdPicture1 + 1), 30, 30);
    ASSERT_NE(WaitForProgramWindow(program_.processId, kMenuClass), nullptr);
    PressKey(window_, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !FindProgramWindow(program_.processId, kMenuClass); }));

    HWND dialog = ChooseSaveOnBox(3);
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    HWND nameField = FileNameField(dialog);
    ASSERT_NE(nameField, nullptr);
    SendMessageW(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    Bytes expected = BitmapOf(kCatalogue[kPage1[2]]);
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(saved) == expected; }))
        << "the file is the typed name with .bmp, holding box 3's bitmap";
    EXPECT_FALSE(FileExists(typed));

    dialog = ChooseSaveOnBox(5);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    // The window serves messages again, so the command has run to its end.
    DWORD_PTR ignored;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_EQ(ReadWholeFile(saved), expected);

    EXPECT_EQ(FileNamesIn(folder), std::vector<std::wstring>{L"照片.bmp"}) << "no other file";
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_picoraPath = Wide(ArgumentValue(argc, argv, "picora"));
    if (g_picoraPath.empty()) {
        std::fprintf(stderr, "usage: paging_e2e_test --picora=PATH-TO-THE-PROGRAM\n");
        return 2;
    }
    if (!UseDisplayDesktop(L"picora-paging")) {
        std::fprintf(stderr, "cannot make the desktop\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
