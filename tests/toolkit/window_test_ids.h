#pragma once
// Identifiers shared by the window tests' resource script and the tests.

#define IDM_TKMAIN 31001
#define IDM_TKOPEN 41001
#define IDM_TKSAVE 41002
#define IDI_TKMISSING 31999
