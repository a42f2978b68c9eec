// The operations on the main window's controls. Each may be called from any thread: called
// from a worker, it is carried out on the main thread through a synchronous message and has
// taken effect when it returns. With no main window they do nothing and read as empty.
#pragma once

#include <windows.h>

#include "text/text.h"

// 列表框1, the catalogue. Items keep their exact bytes, also bytes that are not valid GBK;
// the list shows a converted copy.
int CatalogueCount();
// 0-based; an index outside the list gives the empty text.
Text CatalogueItem(int index);
// Every item in list order, read in one call to the main thread: a worker reading thousands of
// items one call each spent most of its time on the calls.
TextArray CatalogueItems();
// Appends at the end and returns the item's index (-1 when the list is full).
int CatalogueAdd(const Text& path);
void CatalogueClear();

// 状态条1, part 0.
void SetStatusText(const Text& text);

enum PictureBoxId {
    kPictureBox1 = 1,
    kPictureBox2,
    kPictureBox3,
    kPictureBox4,
    kPictureBox5,
    kPictureBox6,
    kContactBadge = 7,  // qq客服1
};
// Stores a copy of the bytes and shows what it recognises; empty bytes clear the box.
void SetPicture(int box, const Bytes& bytes);
// Exactly the stored bytes.
Bytes GetPicture(int box);

// 按钮1.
void SetUpdateButtonDisabled(bool disabled);
// 透明标签1: red + green * 256 + blue * 65536; redrawn before the call returns.
void SetLabelColour(int colour);

// The menu "play" as a popup at the cursor, 3 pixels right and down, tracking the right
// button. Returns whether "保存图片" was chosen; its handler is then run by a posted command,
// after the handler that showed the popup has returned.
bool ShowPictureMenu();

// 通用对话框1: the save dialog. It starts from its own file name (empty at first); on OK it
// keeps the chosen full path, copies it to `fileName` and returns true; on Cancel it returns
// false and changes neither.
bool OpenSaveDialog(Text& fileName);

HWND MainWindowHandle();
