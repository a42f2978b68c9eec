#include "app/paint_pacing.h"

namespace {

constexpr UINT_PTR kPaceTimerId = 0x7061;

// The control's user data marks an interval whose painting is held back; neither the list box
// nor the status bar uses it.
bool Held(HWND control) {
    return GetWindowLongPtrW(control, GWLP_USERDATA) != 0;
}

void CALLBACK EndInterval(HWND control, UINT, UINT_PTR id, DWORD) {
    KillTimer(control, id);
    SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

void ChangePaced(HWND control, UINT intervalMs, const std::function<void()>& change) {
    const bool held = Held(control);
    change();
    if (held) return;
    UpdateWindow(control);
    if (!SetTimer(control, kPaceTimerId, intervalMs, EndInterval)) return;
    SetWindowLongPtrW(control, GWLP_USERDATA, 1);
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
}
