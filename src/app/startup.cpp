#include "app/startup.h"

#include <windows.h>

#include "app/globals.h"
#include "text/random.h"
#include "text/wide.h"
#include "viewer/contact_badge.h"

namespace {

constexpr char kUsageText[] =
    "使用方法：首次打开本软件可打开 更新按钮 进行更新Picora 如有更新过的朋友想在更新也可以点击"
    "更新按钮，保存图片方法： 右键到图片焦点可保存图片到桌面";
constexpr char kUsageTitle[] = "温馨提示   本版本是1.1";

}  // namespace

void OnMainWindowCreated() {
    // Synchronous: the window appears only after the badge has arrived or failed.
    SetUpContactBadge();
    // No owner: the main window is not visible yet. Task-modal, so it holds the whole program.
    MessageBoxW(nullptr, WideFromText(kUsageText).c_str(), WideFromText(kUsageTitle).c_str(),
                MB_OK | MB_TASKMODAL);
    for (int slot = 0; slot < 6; ++slot) PageSlots[slot] = slot;
    RandomSeed();
}
