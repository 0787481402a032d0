#pragma once
// Identifiers shared by the test resource script and the tests.

#define IDM_DEMO 30001
#define IDM_OPEN 40002
#define IDM_SAVE 40003
#define IDM_EXIT 40004
#define IDM_COPY 40010
#define IDM_DEEP 40011
#define IDS_HELLO 12
#define IDS_OTHER 33
#define IDS_TOOL_LABELS 100
#define IDD_SMALL 200
#define IDC_NAME 1001
#if IDM_DEMO > 30000
#define IDR_TABLE 30107
#else
#define IDR_TABLE 1
#endif

#ifndef RC_INVOKED
// C++ only: the resource compiler reads only the preprocessor lines of headers.
constexpr int kNotForTheScript = 1;
#endif

#define IDB_TOOL 30200
