#pragma once
// Identifiers of the View Properties dialogs and their axis pages, shared by
// the view layer's code and the program's resource script (so only
// definitions a resource compiler reads belong here).

#define IDD_MAPPROPERTIES 176
#define IDD_PROFILEPROPERTIES 193
#define IDD_NORTHINGPAGE 177
#define IDD_EASTINGPAGE 178
#define IDD_DISTANCEPAGE 203
#define IDD_DATAPAGE 138
#define IDD_ELEVATIONPAGE 116

#define IDC_MAPTABS 1089
#define IDC_PROFILETABS 1304
#define IDC_APPLY 1090
#define IDC_NAMESIZEINCH 1114
#define IDC_NAMESIZECM 1115
#define IDC_UNITSINCHES 1116
#define IDC_UNITSCM 1118
#define IDC_LINEWIDTH 1256

#define IDC_AXISTITLE 1091
#define IDC_MINORDIVISIONS 1092
#define IDC_MAJORDIVISIONS 1093
#define IDC_AXISSTART 1099
#define IDC_AXISSTEP 1142
#define IDC_TITLEHEIGHTINCH 1382
#define IDC_TITLEHEIGHTCM 1383
#define IDC_TITLEOFFSETCM 1386
#define IDC_TITLEOFFSETINCH 1387
