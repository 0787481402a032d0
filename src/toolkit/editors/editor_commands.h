#pragma once
// The editor's command identifiers (menu items, accelerators and toolbar
// buttons share them) and the identifiers of its popup menus.

namespace tk {

inline constexpr int kCmdNew = 32101, kCmdOpen = 32102, kCmdSave = 32103, kCmdSaveAs = 32104,
                     kCmdPrint = 32105, kCmdPrintSelection = 32106, kCmdClose = 32107,
                     kCmdExit = 32108;
inline constexpr int kCmdUndo = 32121, kCmdCut = 32122, kCmdCopy = 32123, kCmdPaste = 32124,
                     kCmdDelete = 32125, kCmdSelectAll = 32126, kCmdRedo = 32127;
inline constexpr int kCmdFind = 32141, kCmdFindNext = 32142, kCmdReplace = 32143,
                     kCmdSetBookmark = 32147, kCmdGotoBookmark = 32148;
inline constexpr int kCmdFont = 32161, kCmdBullet = 32162, kCmdAlignLeft = 32163,
                     kCmdAlignCentre = 32164, kCmdAlignRight = 32165, kCmdBold = 32166,
                     kCmdItalic = 32167, kCmdUnderline = 32168;
inline constexpr int kCmdViewBase = 32180;  // file n is kCmdViewBase + n
inline constexpr int kCmdInsertPicture = 40019, kCmdInsertLink = 40020;

inline constexpr int kPopupFile = 32100, kPopupEdit = 32120, kPopupSearch = 32140,
                     kPopupFormat = 32160, kPopupView = 32180;

}  // namespace tk
