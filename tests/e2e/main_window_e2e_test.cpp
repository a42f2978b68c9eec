// The real picora.exe, started in a Wine virtual desktop of 1024x768 and driven from outside.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "app/control_ids.h"
#include "e2e/driver.h"

namespace {

const wchar_t kMenuClass[] = L"#32768";

std::wstring g_picoraPath;

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        program_ = StartProgram(g_picoraPath);
        ASSERT_NE(program_.process, nullptr) << "cannot start picora.exe";
    }
    void TearDown() override { StopProgram(program_); }

    HWND MessageBoxOfProgram() { return WaitForProgramWindow(program_.processId, kDialogClass); }

    // Answers the usage box and returns the main window once it is visible.
    HWND PassUsageBox() { return ::PassUsageBox(program_); }

    RunningProgram program_;
};

std::uint32_t ScreenColour(int systemColour) {
    COLORREF colour = GetSysColor(systemColour);
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The label's text colour as the screen shows it: the most frequent colour in its area that
// is none of the frame and background colours nor the white of the engraving. Zero when no
// colour stands out (caught in the middle of a redraw).
std::uint32_t LabelTextColour(const RECT& area) {
    const std::set<std::uint32_t> notText = {
        ScreenColour(COLOR_BTNFACE),      ScreenColour(COLOR_BTNSHADOW),
        ScreenColour(COLOR_BTNHIGHLIGHT), ScreenColour(COLOR_3DDKSHADOW),
        ScreenColour(COLOR_3DLIGHT),      0xFFFFFF};
    std::map<std::uint32_t, int> counts;
    for (std::uint32_t pixel : ScreenPixels(area))
        if (!notText.count(pixel)) ++counts[pixel];
    std::uint32_t best = 0;
    int bestCount = 20;  // glyphs of 14 pixels have many more solid pixels than this
    for (const auto& [colour, count] : counts)
        if (count > bestCount) best = colour, bestCount = count;
    return best;
}

constexpr DWORD kColourSampleMs = 3000;

// How many times the label's text colour changes in kColourSampleMs.
int LabelColourChanges(HWND window) {
    RECT area;
    GetWindowRect(FindControl(window, kIdLabel), &area);
    // Only the part inside the client area shows.
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    if (area.top < clientTop.y) area.top = clientTop.y;
    std::uint32_t last = LabelTextColour(area);
    int changes = 0;
    ULONGLONG end = GetTickCount64() + kColourSampleMs;
    WaitUntil(
        [&] {
            std::uint32_t now = LabelTextColour(area);
            if (now != 0 && now != last) {
                ++changes;
                last = now;
            }
            return GetTickCount64() >= end;
        },
        kColourSampleMs + 1000);
    return changes;
}

TEST_F(MainWindowTest, UsageBoxComesFirstThenTheCentredWindow) {
    HWND box = MessageBoxOfProgram();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(FindProgramWindow(program_.processId, kMainWindowClass), nullptr)
        << "the main window shows only after the usage box";
    EXPECT_EQ(WindowText(box), Wide("温馨提示   本版本是1.1"));
    EXPECT_EQ(MessageBoxText(box),
              Wide("使用方法：首次打开本软件可打开 更新按钮 进行更新Picora "
                   "如有更新过的朋友想在更新也可以点击更新按钮，保存图片方法： "
                   "右键到图片焦点可保存图片到桌面"));
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "one OK button only";
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));

    HWND window = WaitForProgramWindow(program_.processId, kMainWindowClass);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), Wide("Vogara-QQPicoraV1.1\r\n"));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, kMainWindowWidth);
    EXPECT_EQ(outer.bottom - outer.top, kMainWindowHeight);
    EXPECT_EQ(outer.left, (kDesktopWidth - kMainWindowWidth) / 2);
    EXPECT_EQ(outer.top, (kDesktopHeight - kMainWindowHeight) / 2);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed frame";
}

struct ControlCase {
    int id;
    int parentId;  // 0: the main window
    const wchar_t* className;
    const char* caption;
    RECT inClient;  // left, top, right, bottom in the main window's client area
};

TEST_F(MainWindowTest, EveryControlSitsWhereTheTableSaysWithItsCaption) {
    HWND window = PassUsageBox();
    ASSERT_NE(window, nullptr);
    const ControlCase cases[] = {
        {kIdLabel,
         0,
         L"PicoraEngravedLabel",
         "更新中打开图片会发生多张图片重复，请多试试就不会重复！",
         {40, -8, 464, 32}},
        {kIdContactBadge, 0, L"PicoraPictureBox", "", {424, 536, 498, 558}},
        {kIdListBox, kIdGroup3, L"ListBox", "", {520, 16, 800, 576}},
        {kIdGroup3, 0, L"Button", "", {512, 8, 824, 584}},
        {kIdPicture1 + 5, kIdGroup1, L"PicoraPictureBox", "", {352, 272, 502, 502}},
        {kIdPicture1 + 4, kIdGroup1, L"PicoraPictureBox", "", {184, 272, 334, 502}},
        {kIdPicture1 + 3, kIdGroup1, L"PicoraPictureBox", "", {16, 272, 166, 502}},
        {kIdPicture1 + 2, kIdGroup1, L"PicoraPictureBox", "", {352, 32, 502, 262}},
        {kIdPicture1 + 1, kIdGroup1, L"PicoraPictureBox", "", {184, 32, 334, 262}},
        {kIdPicture1, kIdGroup1, L"PicoraPictureBox", "", {16, 32, 166, 262}},
        {kIdButton3, kIdGroup2, L"Button", "下一页", {312, 536, 392, 568}},
        {kIdButton2, kIdGroup2, L"Button", "上一页", {144, 536, 224, 568}},
        {kIdButton1, kIdGroup2, L"Button", "更新", {24, 536, 104, 568}},
        {kIdGroup2, 0, L"Button", "", {8, 520, 504, 584}},
        {kIdGroup1, 0, L"Button", "", {8, 8, 512, 512}},
    };
    for (const ControlCase& expected : cases) {
        SCOPED_TRACE(expected.id);
        HWND control = FindControl(window, expected.id);
        ASSERT_NE(control, nullptr);
        HWND parent = expected.parentId ? FindControl(window, expected.parentId) : window;
        EXPECT_EQ(GetParent(control), parent);
        EXPECT_EQ(WindowClass(control), expected.className);
        EXPECT_EQ(WindowText(control), Wide(expected.caption));
        RECT place = PlaceInClient(window, control);
        EXPECT_EQ(place.left, expected.inClient.left);
        EXPECT_EQ(place.top, expected.inClient.top);
        EXPECT_EQ(place.right, expected.inClient.right);
        EXPECT_EQ(place.bottom, expected.inClient.bottom);
    }
    for (int id : {kIdButton1, kIdButton2, kIdButton3}) {
        LONG style = GetWindowLongW(FindControl(window, id), GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button";
    }

    HWND statusBar = FindControl(window, kIdStatusBar);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(WindowClass(statusBar), L"msctls_statusbar32");
    EXPECT_EQ(WindowText(statusBar), L"");
    RECT client, bar = PlaceInClient(window, statusBar);
    GetClientRect(window, &client);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 20);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

TEST_F(MainWindowTest, TabWalksTheButtonsAndTheListBoxEnterDoesNothing) {
    HWND window = PassUsageBox();
    ASSERT_NE(window, nullptr);
    HWND button1 = FindControl(window, kIdButton1);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == button1; }));
    PressKey(button1, VK_RETURN);
    for (int id : {kIdButton2, kIdButton3, kIdListBox, kIdButton1}) {
        HWND expected = FindControl(window, id);
        PressKey(FocusOf(window), VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == expected; }, 5000)) << id;
    }
    EXPECT_EQ(FindProgramWindow(program_.processId, kDialogClass), nullptr);
    EXPECT_EQ(GetWindowLongW(button1, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON)
        << "Enter and Tab make no default button";
}

class CloseTest : public MainWindowTest, public testing::WithParamInterface<int> {};

TEST_P(CloseTest, EscAsksTheSaveQuestionAndTheWindowClosesWithExitCodeZero) {
    HWND window = PassUsageBox();
    ASSERT_NE(window, nullptr);
    HWND button = FindControl(window, kIdButton1);
    PressKey(button, VK_ESCAPE);
    HWND question = MessageBoxOfProgram();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(WindowText(question), Wide("温馨提示"));
    EXPECT_EQ(MessageBoxText(question), Wide("是否要保存好当前图片记录？"));
    EXPECT_NE(GetDlgItem(question, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(question, IDNO), nullptr);
    ASSERT_TRUE(AnswerMessageBox(question, GetParam()));
    EXPECT_EQ(WaitForExit(program_), 0);
}

INSTANTIATE_TEST_SUITE_P(EitherAnswer, CloseTest, testing::Values(IDYES, IDNO));

TEST_F(MainWindowTest, LabelChangesColourAboutThreeTimesASecondAlsoUnderAMessageBox) {
    HWND window = PassUsageBox();
    ASSERT_NE(window, nullptr);
    // A tick every 300 ms makes 10 changes in 3 s; a busy machine may delay a few.
    int free = LabelColourChanges(window);
    EXPECT_GE(free, 6);
    EXPECT_LE(free, 12);

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = MessageBoxOfProgram();
    ASSERT_NE(question, nullptr);
    int underBox = LabelColourChanges(window);
    std::printf("label colour changes in %lu ms: %d free, %d under a message box\n",
                kColourSampleMs, free, underBox);
    EXPECT_GE(underBox, 6);
    EXPECT_LE(underBox, 12);
    AnswerMessageBox(question, IDNO);
    EXPECT_EQ(WaitForExit(program_), 0);
}

TEST_F(MainWindowTest, RightClickOnAnEmptyPictureBoxOpensThePopup) {
    HWND window = PassUsageBox();
    ASSERT_NE(window, nullptr);
    HWND box = FindControl(window, kIdPicture1 + 4);
    ASSERT_NE(box, nullptr);
    RightClick(box, 20, 20);
    HWND menu = WaitForProgramWindow(program_.processId, kMenuClass);
    ASSERT_NE(menu, nullptr);
    POINT cursor;
    GetCursorPos(&cursor);
    RECT place;
    GetWindowRect(menu, &place);
    EXPECT_EQ(place.left, cursor.x + 3);
    EXPECT_EQ(place.top, cursor.y + 3);

    // Esc closes the menu; the window goes on working and closes normally.
    PressKey(window, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !FindProgramWindow(program_.processId, kMenuClass); }));
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = MessageBoxOfProgram();
    ASSERT_NE(question, nullptr);
    AnswerMessageBox(question, IDNO);
    EXPECT_EQ(WaitForExit(program_), 0);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_picoraPath = Wide(ArgumentValue(argc, argv, "picora"));
    if (g_picoraPath.empty()) {
        fprintf(stderr, "usage: picora_e2e_test --picora=PATH-TO-picora.exe\n");
        return 2;
    }
    if (!UseDisplayDesktop(L"picora-e2e")) {
        fprintf(stderr, "cannot make the desktop\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
