#include "catalogue/catalogue_file.h"

#include <windows.h>

#include "text/text.h"
#include "text/wide.h"

namespace {

constexpr char kSaveQuestion[] = "是否要保存好当前图片记录？";
constexpr char kSaveQuestionTitle[] = "温馨提示";

}  // namespace

void OnMainWindowClosing() {
    // No owner and task-modal, like the usage box. Writing "cfogd.ini" on Yes comes with the
    // catalogue update.
    MessageBoxW(nullptr, WideFromText(kSaveQuestion).c_str(),
                WideFromText(kSaveQuestionTitle).c_str(),
                MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
}
