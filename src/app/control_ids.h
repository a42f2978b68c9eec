// Identifiers of the main window's controls, shared with the automation tests that find them.
// None is IDOK or IDCANCEL, so the dialog keys never pass for a button's click.
#pragma once

inline constexpr int kIdLabel = 102;
inline constexpr int kIdContactBadge = 103;
inline constexpr int kIdListBox = 107;
inline constexpr int kIdGroup3 = 108;
inline constexpr int kIdPicture1 = 201;  // 图片框1; 图片框n is kIdPicture1 + n - 1
inline constexpr int kIdStatusBar = 115;
inline constexpr int kIdButton3 = 116;
inline constexpr int kIdButton2 = 117;
inline constexpr int kIdButton1 = 118;
inline constexpr int kIdGroup2 = 119;
inline constexpr int kIdGroup1 = 120;
inline constexpr int kIdSavePicture = 106;  // the item "保存图片" of the menu "play"

inline constexpr int kMainWindowWidth = 517;
inline constexpr int kMainWindowHeight = 637;
