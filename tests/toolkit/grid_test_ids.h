#pragma once
// Identifiers of the grid tests' resources.

#define IDD_GRIDCOLUMNS 3401
#define IDC_GRIDNAME 3402
#define IDC_GRIDFREE 3403
#define IDC_GRIDCOLOUR 3404
#define IDC_GRIDNOTE 3405
