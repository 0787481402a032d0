#pragma once
// Identifiers of the dialog-layer tests' resource script.

#define IDD_ALL 300
#define IDC_EDIT 3001
#define IDC_CHOICE 3002
#define IDC_RED 3003
#define IDC_GREEN 3004
#define IDC_BLUE 3005
#define IDC_CHECK 3006
#define IDC_COMBO 3007
#define IDC_LIST 3008
#define IDC_NUMBER 3009
#define IDC_SPIN 3010
#define IDC_TABS 3011
#define IDC_PROGRESS 3012
#define IDC_TRACK 3013
#define IDC_LABEL 3014
#define IDC_APPLY 3015
#define IDC_LINE 3016
