// The page buttons: 上一页 and 下一页 move all six page slots by one page step and load the
// new page on a worker.
#pragma once

// Two neighbouring pages share one entry: box 6 of a page is box 1 of the next.
inline constexpr int kPageStep = 5;

// Click of 按钮2 ("上一页"); does nothing on the first page.
void OnPrevPageClicked();
// Click of 按钮3 ("下一页"); no upper limit, past the end the boxes show what the loader gives.
void OnNextPageClicked();
