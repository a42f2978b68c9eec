#include "app/main_window.h"

#include <commctrl.h>

#include <atomic>

#include "app/control_ids.h"
#include "app/controls.h"
#include "app/main_thread.h"
#include "app/picture_box.h"
#include "app/transparent_label.h"
#include "text/wide.h"

namespace {

constexpr wchar_t kClassName[] = L"PicoraMainWindow";
constexpr char kTitle[] = "Vogara-QQPicoraV1.1\r\n";
constexpr char kLabelCaption[] = "更新中打开图片会发生多张图片重复，请多试试就不会重复！";
constexpr char kButtonCaptions[3][8] = {"更新", "上一页", "下一页"};
constexpr char kSavePictureItem[] = "保存图片";
constexpr UINT_PTR kColourTimerId = 1;  // 时钟1
constexpr UINT kColourIntervalMs = 300;
constexpr int kStatusBarHeight = 20;
constexpr int kStatusPartRightEdge = 636;
constexpr COLORREF kListTextColour = RGB(0, 0, 255);
constexpr COLORREF kListBackground = RGB(192, 192, 192);

// Places within the parent's client area.
struct Place {
    int left, top, width, height;
};
constexpr Place kLabelPlace = {40, -8, 424, 40};
constexpr Place kBadgePlace = {424, 536, 74, 22};
constexpr Place kListPlace = {8, 8, 280, 560};
constexpr Place kGroup3Place = {512, 8, 312, 576};
constexpr Place kGroup2Place = {8, 520, 496, 64};
constexpr Place kGroup1Place = {8, 8, 504, 504};
constexpr Place kButtonPlaces[3] = {{16, 16, 80, 32}, {136, 16, 80, 32}, {304, 16, 80, 32}};
constexpr Place kPicturePlaces[6] = {{8, 24, 150, 230},    {176, 24, 150, 230},
                                     {344, 24, 150, 230},  {8, 264, 150, 230},
                                     {176, 264, 150, 230}, {344, 264, 150, 230}};

EventTable g_events;
// Main thread only, apart from the window handle, which workers read.
MainWindowControls g_controls;
std::atomic<HWND> g_window = nullptr;
HBRUSH g_listBrush = nullptr;

HMENU IdAsMenu(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateChild(const wchar_t* className, const Text& caption, DWORD style, DWORD exStyle,
                 HWND parent, int id, const Place& place) {
    HWND child =
        CreateWindowExW(exStyle, className, WideFromText(caption).c_str(),
                        WS_CHILD | WS_VISIBLE | style, place.left, place.top, place.width,
                        place.height, parent, IdAsMenu(id), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return child;
}

HFONT FontNamed(const Text& face, int height) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, WideFromText(face).c_str());
}

// A group box's children talk to their parent; the handlers live with the main window.
LRESULT CALLBACK GroupBoxProc(HWND group, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(group, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return SendMessageW(g_controls.window, message, wParam, lParam);
    }
    return CallWindowProcW(original, group, message, wParam, lParam);
}

HWND CreateGroupBox(HWND window, int id, const Place& place) {
    // Control parent: Tab walks into the group's children.
    HWND group = CreateChild(L"Button", "", BS_GROUPBOX, WS_EX_CONTROLPARENT, window, id, place);
    LONG_PTR original =
        SetWindowLongPtrW(group, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupBoxProc));
    SetWindowLongPtrW(group, GWLP_USERDATA, original);
    return group;
}

void OnPictureMouseDown(int controlId, bool rightButton) {
    if (controlId == kIdContactBadge) {
        if (!rightButton && g_events.OnContactBadgeClick) g_events.OnContactBadgeClick();
        return;
    }
    if (rightButton && g_events.OnPictureRightClick)
        g_events.OnPictureRightClick(controlId - kIdPicture1 + 1);
}

// Docked along the bottom edge over the client area's full width.
void PlaceStatusBar(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(g_controls.statusBar, 0, client.bottom - kStatusBarHeight, client.right,
               kStatusBarHeight, TRUE);
}

void CreateStatusBar(HWND window) {
    // Placed by the window itself (PlaceStatusBar): the bar's own docking would size it to
    // its font.
    DWORD style = WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN;
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", style, 0, 0, 0, 0, window,
                               IdAsMenu(kIdStatusBar), GetModuleHandleW(nullptr), nullptr);
    // The bar keeps no font of its own: the font lives as long as the window.
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(FontNamed("宋体", -12)), FALSE);
    int rightEdges[1] = {kStatusPartRightEdge};
    SendMessageW(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(rightEdges));
    g_controls.statusBar = bar;
    PlaceStatusBar(window);
}

// Top-level children in the order of the window's stacking: a later one lies below. Tab
// visits the buttons from left to right, then the list box that lies out of sight.
void CreateControls(HWND window) {
    g_controls.window = window;
    g_window = window;
    SetTimer(window, kColourTimerId, kColourIntervalMs, nullptr);
    g_controls.label = CreateEngravedLabel(window, kIdLabel, kLabelCaption, FontNamed("黑体", -14),
                                           kLabelPlace.left, kLabelPlace.top, kLabelPlace.width,
                                           kLabelPlace.height);
    g_controls.contactBadge =
        CreatePictureBox(window, kIdContactBadge, kBadgePlace.left, kBadgePlace.top,
                         kBadgePlace.width, kBadgePlace.height, false, OnPictureMouseDown);

    g_controls.pictureMenu = CreatePopupMenu();
    AppendMenuW(g_controls.pictureMenu, MF_STRING, kIdSavePicture,
                WideFromText(kSavePictureItem).c_str());

    HWND group2 = CreateGroupBox(window, kIdGroup2, kGroup2Place);
    const int buttonIds[3] = {kIdButton1, kIdButton2, kIdButton3};
    for (int i = 0; i < 3; ++i)
        g_controls.buttons[i] =
            CreateChild(L"Button", kButtonCaptions[i], BS_PUSHBUTTON | WS_TABSTOP, 0, group2,
                        buttonIds[i], kButtonPlaces[i]);

    HWND group3 = CreateGroupBox(window, kIdGroup3, kGroup3Place);
    g_controls.listBox = CreateChild(L"ListBox", "", WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                                     WS_EX_CLIENTEDGE, group3, kIdListBox, kListPlace);
    LRESULT itemHeight = SendMessageW(g_controls.listBox, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0) SendMessageW(g_controls.listBox, LB_SETITEMHEIGHT, 0, itemHeight + 1);
    g_listBrush = CreateSolidBrush(kListBackground);

    CreateStatusBar(window);

    HWND group1 = CreateGroupBox(window, kIdGroup1, kGroup1Place);
    for (int i = 0; i < 6; ++i) {
        const Place& place = kPicturePlaces[i];
        g_controls.pictures[i] =
            CreatePictureBox(group1, kIdPicture1 + i, place.left, place.top, place.width,
                             place.height, true, OnPictureMouseDown);
    }
}

void OnCommand(WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    if (id == kIdSavePicture && lParam == 0) {
        if (g_events.OnSavePictureSelected) g_events.OnSavePictureSelected();
        return;
    }
    if (HIWORD(wParam) != BN_CLICKED) return;
    void (*handler)() = nullptr;
    if (id == kIdButton1) handler = g_events.OnUpdateClicked;
    if (id == kIdButton2) handler = g_events.OnPrevPageClicked;
    if (id == kIdButton3) handler = g_events.OnNextPageClicked;
    if (handler) handler();
}

void OnDestroy(HWND window) {
    KillTimer(window, kColourTimerId);
    CatalogueClear();  // releases the bytes kept beside each item
    DestroyMenu(g_controls.pictureMenu);
    HFONT statusFont =
        reinterpret_cast<HFONT>(SendMessageW(g_controls.statusBar, WM_GETFONT, 0, 0));
    DestroyWindow(g_controls.statusBar);
    DeleteObject(statusFont);
    DeleteObject(g_listBrush);
    g_window = nullptr;
    g_controls = MainWindowControls();
    g_listBrush = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls(window);
            return 0;
        case kRunJobMessage:
            return RunPostedJob(lParam);
        case WM_TIMER:
            if (wParam == kColourTimerId && g_events.OnColourTick) g_events.OnColourTick();
            return 0;
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_CTLCOLORLISTBOX: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kListTextColour);
            SetBkColor(dc, kListBackground);
            return reinterpret_cast<LRESULT>(g_listBrush);
        }
        case WM_SIZE:
            if (g_controls.statusBar) PlaceStatusBar(window);
            return 0;
        case WM_CLOSE:
            // The query-close handler gives no verdict: the close always goes ahead.
            if (g_events.OnMainWindowClosing) g_events.OnMainWindowClosing();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The dialog keys of the window: Esc asks to close, Tab and Shift+Tab move the focus, Enter
// does nothing. Handled here rather than by IsDialogMessage, which would make the focused
// button the default one and let Enter click it.
bool HandleDialogKey(HWND window, const MSG& message) {
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    if (message.message == WM_CHAR)
        return message.wParam == VK_ESCAPE || message.wParam == VK_TAB ||
               message.wParam == VK_RETURN;
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
        case VK_ESCAPE:
            PostMessageW(window, WM_CLOSE, 0, 0);
            return true;
        case VK_TAB: {
            bool backward = GetKeyState(VK_SHIFT) < 0;
            HWND next = GetNextDlgTabItem(window, GetFocus(), backward);
            if (next) SetFocus(next);
            return true;
        }
        case VK_RETURN:
            return true;
    }
    return false;
}

}  // namespace

HWND CreateMainWindow(const EventTable& events) {
    INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);
    if (!RegisterMainWindowClass()) return nullptr;
    g_events = events;
    return CreateWindowExW(0, kClassName, WideFromText(kTitle).c_str(),
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 50, 50,
                           kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void ShowMainWindowCentred(HWND window) {
    int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (g_controls.buttons[0]) SetFocus(g_controls.buttons[0]);
}

int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (HandleDialogKey(window, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

const MainWindowControls& MainWindowParts() {
    return g_controls;
}
