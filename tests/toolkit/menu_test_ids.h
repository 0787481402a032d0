#pragma once
// Identifiers shared by the menu and toolbar tests' resource script and the
// tests.

#define IDM_MENUMAIN 32001
#define IDM_MENUOTHER 32002
#define IDM_MENUPOPUP 32003
#define IDB_MENUTOOLS 32010
#define IDB_MENUEMPTY 32011
#define IDB_MENUNOBITMAP 32012
#define IDB_MENUSIDE 32013
#define IDC_MFILE 42001
#define IDC_MOPEN 42002
#define IDC_MSAVE 42003
#define IDC_MPRINT 42004
#define IDC_MGRID 42005
#define IDC_MZOOM 42006
#define IDC_MZOOMIN 42007
#define IDC_MTOOLONLY 42008
#define IDC_MCANCEL 42009
#define IDC_MOTHER 42010
