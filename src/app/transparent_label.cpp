#include "app/transparent_label.h"

#include "text/wide.h"

namespace {

constexpr wchar_t kClassName[] = L"PicoraEngravedLabel";

struct Label {
    HFONT font = nullptr;
    COLORREF colour = RGB(0, 0, 0);
};

Label* StateOf(HWND label) {
    return reinterpret_cast<Label*>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

void DrawLine(HDC dc, const wchar_t* text, int length, RECT place, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text, length, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Paint(HWND label, const Label& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    wchar_t text[256];
    int length = GetWindowTextW(label, text, 256);
    RECT place;
    GetClientRect(label, &place);
    HGDIOBJ oldFont = SelectObject(dc, state.font);
    SetBkMode(dc, TRANSPARENT);
    RECT shadow = place;
    OffsetRect(&shadow, 1, 1);
    DrawLine(dc, text, length, shadow, RGB(255, 255, 255));
    DrawLine(dc, text, length, place, state.colour);
    SelectObject(dc, oldFont);
    EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    Label* state = StateOf(label);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // transparent: the parent has drawn what lies behind
        case WM_PAINT:
            if (!state) break;
            Paint(label, *state);
            return 0;
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // clicks go to what lies behind
        case WM_NCDESTROY:
            if (state) {
                DeleteObject(state->font);
                delete state;
                SetWindowLongPtrW(label, GWLP_USERDATA, 0);
            }
            break;
    }
    return DefWindowProcW(label, message, wParam, lParam);
}

void RegisterLabelClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = LabelProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExW(&windowClass) != 0;
}

}  // namespace

HWND CreateEngravedLabel(HWND parent, int controlId, const Text& caption, HFONT font, int left,
                         int top, int width, int height) {
    RegisterLabelClass();
    HWND label = CreateWindowExW(WS_EX_TRANSPARENT, kClassName, WideFromText(caption).c_str(),
                                 WS_CHILD | WS_VISIBLE, left, top, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!label) {
        DeleteObject(font);
        return nullptr;
    }
    auto* state = new Label;
    state->font = font;
    SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return label;
}

void SetEngravedLabelColour(HWND label, int colour) {
    Label* state = StateOf(label);
    if (!state) return;
    state->colour = static_cast<COLORREF>(colour);
    // Redraw the parent's area under the label first, so the old text does not show through.
    HWND parent = GetParent(label);
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    RedrawWindow(parent, &place, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
