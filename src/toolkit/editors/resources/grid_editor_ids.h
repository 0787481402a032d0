// Identifiers of the grid editor's dialog templates.
#define IDD_GRIDFIND 32106
#define IDD_GRIDGOTOCELL 32107
#define IDD_GRIDGOTOLINE 32108
#define IDD_GRIDSORT 32109
#define IDD_GRIDPRINT 32112
#define IDD_GRIDHTML 32114
