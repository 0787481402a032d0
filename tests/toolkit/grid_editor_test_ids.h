#pragma once
// Identifiers of the grid editor tests' resources.

#define IDD_GEHOST 3501
#define IDC_GEGRID 3502
#define IDD_GECOLUMNS 3503
#define IDC_GENAME 3504
#define IDC_GECOUNT 3505
#define IDC_GENOTE 3506
