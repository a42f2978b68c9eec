#include "catalogue/catalogue_file.h"

#include <windows.h>

#include "app/controls.h"
#include "text/files.h"
#include "text/wide.h"

namespace {

constexpr char kSaveQuestion[] = "是否要保存好当前图片记录？";
constexpr char kSaveQuestionTitle[] = "温馨提示";

}  // namespace

Text CatalogueFileText(const TextArray& items) {
    Text text;
    for (const Text& item : items) text += item + "\r\n";
    return text;
}

void OnMainWindowClosing() {
    // No owner and task-modal, like the usage box.
    int answer = MessageBoxW(nullptr, WideFromText(kSaveQuestion).c_str(),
                             WideFromText(kSaveQuestionTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
    if (answer != IDYES) return;
    TextArray items;
    for (int i = 0, count = CatalogueCount(); i < count; ++i) items.push_back(CatalogueItem(i));
    if (items.empty()) return;
    // A failed write is not reported: the window closes all the same.
    WriteBytesToFile(RunDirectory() + "\\" + kCatalogueFileName, ToBytes(CatalogueFileText(items)));
}
