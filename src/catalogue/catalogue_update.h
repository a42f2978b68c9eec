// The catalogue update: the site's seven list pages, their detail pages, every picture path
// appended to the catalogue.
#pragma once

#include "text/text.h"

// The status texts of the update; `account` ends the progress text after one blank and "QQ".
inline constexpr char kUpdateStartText[] = "正在更新····更新过程中请勿按下页按钮否则卡死";
inline constexpr char kUpdateDoneText[] = "更新完成,正在处理重复";
Text UpdateProgressText(int count, const Text& account);

// The click handler of 按钮1: starts the update on a worker, disables the button for good and
// restarts the trim timer.
void OnUpdateClicked();

// A worker's job: the whole update, then the duplicate removal on a second worker.
void UpdateCatalogue();
