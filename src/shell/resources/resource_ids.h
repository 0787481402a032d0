#pragma once
// Identifiers of the program's resources, shared by the resource script and
// the code: menus, toolbar, dialogs with their fields, and the commands.

// Menus and the toolbar.
#define IDM_MAIN 30004
#define IDM_PROFILE 30008
#define IDM_MAPPROFILE 30017
#define IDB_TOOLBAR 30107

// Dialogs.
#define IDD_NUMBER 118
#define IDD_SAVECHANGES 127
#define IDD_HINT 155
#define IDD_PROFILELIST 186
#define IDD_PROCEED 192
#define IDD_STRING 201
#define IDD_SPLASH 212
#define ID_HINTDIALOG 101

// Fields.
#define IDC_SAVENAME 1002
#define IDC_NUMBERVALUE 1062
#define IDC_PROMPT 1117
#define IDC_STRINGVALUE 1136
#define IDC_PROFILELIST 1289
#define IDC_SPLASHTEXT 1300
#define IDC_HINTTEXT 1301
#define IDYESBUTTON 6
#define IDNOBUTTON 7

// Commands that the shell tests by number.
#define CMD_PIVOT 2002
#define CMD_IMPORTDATA 30101
#define CMD_UNZOOMDATA 30102
#define CMD_UNZOOMMODEL 30103
#define CMD_FILE 40002
#define CMD_NEW 40003
#define CMD_VIEWVERTICES 40004
#define CMD_FORWARD 40005
#define CMD_INVERSE 40007
#define CMD_CALCULATE 40008
#define CMD_EXIT 40009
#define CMD_SINGLEITER 40010
#define CMD_MULTIITER 40011
#define CMD_TRANSFER 40012
#define CMD_SAVE 40020
#define CMD_SAVEAS 40021
#define CMD_PRINT 40022
#define CMD_VIEW 40023
#define CMD_ZOOM 40024
#define CMD_UNZOOM 40025
#define CMD_OPEN 40028
#define CMD_ASCIIDATA 40033
#define CMD_IMPORT 40035
#define CMD_EDIT 40043
#define CMD_EDITDATA 40044
#define CMD_GRID 40052
#define CMD_HELP 40057
#define CMD_RENAME 40058
#define CMD_PROPERTIES 40060
#define CMD_LASTZOOM 40091
#define CMD_CLEARDATA 40095
#define CMD_COLORS 40097
#define CMD_DELETEPROFILE 40107
#define CMD_NEWPROFILE 40113
#define CMD_XYZDATA 40117
#define CMD_PASTETOALL 40123
#define CMD_SELECTPROFILE 40139
#define CMD_HELPMENU 40147
