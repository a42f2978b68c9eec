#include "app/controls.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "app/control_ids.h"
#include "app/main_thread.h"
#include "app/main_window.h"
#include "app/paint_pacing.h"
#include "app/picture_box.h"
#include "app/transparent_label.h"
#include "text/wide.h"

namespace {

constexpr char kSaveFilterLabel[] = "位图（*.bmp)";
constexpr char kSaveFilterPattern[] = "*.bmp";
// Without a leading "*.": the dialog appends this text as it stands to a name typed without
// an extension.
constexpr wchar_t kSaveDefaultExtension[] = L"bmp";
constexpr int kPopupOffset = 3;

void OnMainThread(const std::function<void()>& job) {
    RunOnWindowThread(MainWindowHandle(), job);
}

HWND PictureBoxWindow(int box) {
    const MainWindowControls& parts = MainWindowParts();
    if (box >= kPictureBox1 && box <= kPictureBox6) return parts.pictures[box - kPictureBox1];
    if (box == kContactBadge) return parts.contactBadge;
    return nullptr;
}

const Text* ItemBytes(HWND list, int index) {
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || data == 0) return nullptr;
    return reinterpret_cast<const Text*>(data);
}

// Under Wine every painted change of the list box or the status bar costs a few milliseconds,
// so a long update spent most of its time painting paths and counts nobody could read.
constexpr UINT kListPaintIntervalMs = 100;
// About one frame of the display: a text shown less than this long is never seen anyway.
constexpr UINT kStatusPaintIntervalMs = 16;

// The dialog's own file name, kept between openings like any other setting of the control.
Text g_saveDialogFileName;

}  // namespace

HWND MainWindowHandle() {
    return MainWindowParts().window;
}

int CatalogueCount() {
    int count = 0;
    OnMainThread([&] {
        LRESULT result = SendMessageW(MainWindowParts().listBox, LB_GETCOUNT, 0, 0);
        count = result == LB_ERR ? 0 : static_cast<int>(result);
    });
    return count;
}

Text CatalogueItem(int index) {
    Text item;
    OnMainThread([&] {
        HWND list = MainWindowParts().listBox;
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        if (index < 0 || index >= count) return;
        if (const Text* bytes = ItemBytes(list, index)) item = *bytes;
    });
    return item;
}

TextArray CatalogueItems() {
    TextArray items;
    OnMainThread([&] {
        HWND list = MainWindowParts().listBox;
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const Text* bytes = ItemBytes(list, static_cast<int>(i));
            items.push_back(bytes ? *bytes : Text());
        }
    });
    return items;
}

int CatalogueAdd(const Text& path) {
    int index = -1;
    OnMainThread([&] {
        HWND list = MainWindowParts().listBox;
        ChangePaced(list, kListPaintIntervalMs, [&] {
            LRESULT added = SendMessageW(list, LB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(WideFromText(path).c_str()));
            if (added == LB_ERR || added == LB_ERRSPACE) return;
            auto* bytes = new Text(path);
            if (SendMessageW(list, LB_SETITEMDATA, added, reinterpret_cast<LPARAM>(bytes)) ==
                LB_ERR) {
                delete bytes;
                SendMessageW(list, LB_DELETESTRING, added, 0);
                return;
            }
            index = static_cast<int>(added);
        });
    });
    return index;
}

void CatalogueClear() {
    OnMainThread([&] {
        HWND list = MainWindowParts().listBox;
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) delete ItemBytes(list, static_cast<int>(i));
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
    });
}

void SetStatusText(const Text& text) {
    OnMainThread([&] {
        HWND bar = MainWindowParts().statusBar;
        ChangePaced(bar, kStatusPaintIntervalMs, [&] {
            SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WideFromText(text).c_str()));
        });
    });
}

void SetPicture(int box, const Bytes& bytes) {
    OnMainThread([&] {
        if (HWND window = PictureBoxWindow(box)) SetBoxPicture(window, bytes);
    });
}

Bytes GetPicture(int box) {
    Bytes bytes;
    OnMainThread([&] {
        if (HWND window = PictureBoxWindow(box)) bytes = GetBoxPicture(window);
    });
    return bytes;
}

void SetUpdateButtonDisabled(bool disabled) {
    OnMainThread([&] { EnableWindow(MainWindowParts().buttons[0], !disabled); });
}

void SetLabelColour(int colour) {
    OnMainThread([&] { SetEngravedLabelColour(MainWindowParts().label, colour); });
}

bool ShowPictureMenu() {
    bool chosen = false;
    OnMainThread([&] {
        const MainWindowControls& parts = MainWindowParts();
        POINT cursor;
        GetCursorPos(&cursor);
        UINT command = TrackPopupMenu(
            parts.pictureMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
            cursor.x + kPopupOffset, cursor.y + kPopupOffset, 0, parts.window, nullptr);
        if (command != kIdSavePicture) return;
        chosen = true;
        PostMessageW(parts.window, WM_COMMAND, kIdSavePicture, 0);
    });
    return chosen;
}

bool OpenSaveDialog(Text& fileName) {
    bool accepted = false;
    OnMainThread([&] {
        std::wstring filter = WideFromText(kSaveFilterLabel);
        filter.push_back(L'\0');
        filter += WideFromText(kSaveFilterPattern);
        filter.push_back(L'\0');
        std::vector<wchar_t> name(MAX_PATH * 4, L'\0');
        std::wstring current = WideFromText(g_saveDialogFileName);
        current.copy(name.data(), name.size() - 1);

        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof(dialog);
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = static_cast<DWORD>(name.size());
        dialog.lpstrDefExt = kSaveDefaultExtension;
        // Not OFN_FILEMUSTEXIST: a save names a file that does not exist yet.
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameW(&dialog)) return;
        g_saveDialogFileName = TextFromWide(name.data(), static_cast<int>(wcslen(name.data())));
        fileName = g_saveDialogFileName;
        accepted = true;
    });
    return accepted;
}
