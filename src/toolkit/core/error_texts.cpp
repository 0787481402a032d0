#include "toolkit/core/error_texts.h"

#include <algorithm>
#include <iterator>

namespace tk {
namespace {

struct ErrorText {
    int code;
    std::string_view text;
};

// Codes without an entry have a blank text.
constexpr ErrorText kErrorTexts[] = {
    {1, "Error opening file or device"},
    {2, "Error reading/writing file or device"},
    {3, "Error closing file or device"},
    {4, "Number too large in string to numeric conversion"},
    {5, "Graphics not supported on requested printer"},
    {10, "No substring found"},
    {11, "More than one decimal point in number"},
    {12, "Invalid character detected"},
    {13, "Operating system error"},
    {16, "Graphics unit range is invalid"},
    {18, "Numeric to string conversion error"},
    {20, "Circle/ellipse radius <=0, height ratio<=0 or arc angle=0"},
    {21, "Length of axis-parallel side of a parallelogram is =<0"},
    {22, "Width/height=0 for a rectangle/triangle/parallelogram"},
    {23, "No program name specified to OsExecute"},
    {25, "Too many bytes in char set during conversion from ASCII"},
    {27, "Image file format not supported"},
    {28, "Borders cross in simple polygon definition"},
    {34, "Requested page size too large for raster image buffer"},
    {40, "Number of files matched by OsDirInfo/List exceeds array size"},
    {42, "Unknown colour name/number specified to GrColour/GrColourN"},
    {43, "Contour heights must increase monotonically"},
    {44, "Invalid X and/or Y range in GrArea/GrViewport/GrReplayArea"},
    {46, "No graphics hardcopy driver currently selected"},
    {49, "Fill too complex in GrPolygonComplex"},
    {51, "A search box contains too many points in PgXYZToGrid"},
    {54, "Mismatched driver/device in hardcopy options file"},
    {55, "Source and target file names same in copy command"},
    {58, "Min value greater than max value in PgHighLow"},
    {63, "Windows printer not available"},
    {64, "Bit image transfer failed in GrPrintImage"},
    {66, "Invalid character code in GrTextWidth"},
    {1001, "Invalid menu item"},
    {1002, "Unable to load menu from resource"},
    {1003, "Invalid window handle"},
    {1004, "General error in common dialog"},
    {1005, "No dialog currently selected"},
    {1006, "Invalid field identifier"},
    {1007, "Dialog not present in resource - unable to load"},
    {1008, "Unable to select specified dialog"},
    {1009, "Attempt to store an out of range dialog field value"},
    {1010, "Field value undefined"},
    {1011, "Option number out of range or invalid item ID"},
    {1012, "Invalid tab number specified"},
    {1013, "Invalid range specified for progress bar"},
    {1014, "Invalid dialog mode requested"},
    {1015, "Invalid bitmap/icon/metafile identifier"},
    {1016, "Unable to display window/dialog. Parent window hidden"},
    {1017, "Cell co-ordinates out of range"},
    {1018, "Too many rows for grid field to hold"},
    {1019, "Invalid target drawing surface"},
    {1020, "Bitmap creation failed"},
    {1021, "Invalid bitmap handle"},
    {1022, "Only child windows can be converted into editors or viewers"},
    {1023, "Variable too small to receive text"},
    {1024, "Invalid editor mode requested"},
    {1025, "Editor can't have menu in InsideParent child window"},
    {1026, "User menu not supported with modal editor or grid window"},
    {1027, "General problem initializing editor"},
    {1028, "Current window is not a text editor"},
    {1029, "Invalid range specified for trackbar"},
    {1030, "General help viewer error"},
    {1031, "Not a valid help file extension"},
    {1032, "Editor does not have a command line"},
    {1033, "Editor can't have command line in InsideParent child window"},
    {1034, "External process timed out before completion"},
    {1035, "Failed to enable OpenGL graphics"},
    {1036, "Cannot destroy bitmap while in use by bitmap viewer"},
    {1037, "Specified bitmap is already in use"},
    {1038, "Window is already converted to a different type"},
    {1039, "Invalid bitmap viewer mode requested"},
    {1040, "General problem initializing bitmap viewer"},
    {1041, "X server modal dialog/window pixmap resources are low"},
    {1042, "X server modal dialog/window pixmap resources are exhausted"},
    {1043, "Invalid bitmap bitwise mode requested"},
    {1044, "Zlib compression/decompression error"},
    {1045, "Specified dialog has wrong style to be combined with a window"},
    {1046, "Parent window is combined with a dialog"},
    {1047, "Current dialog which is combined with a window"},
    {1048, "Item identifier already exists in treeview field"},
    {1049, "Treeview item is not a branch"},
    {1050, "Invalid pre-defined registry key"},
    {1051, "Grid window can't have menu in InsideParent child window"},
    {1052, "Invalid grid window mode requested"},
    {1053, "General problem initializing grid window"},
    {1054, "Data file contains more row or columns than grid field"},
    {1055, "Unable to match value from file with menu cell option"},
    {1056, "Parent window is converted to a special type"},
    {1057, "Cannot convert window when InsideParent windows exist"},
    {1058, "No name specified for user-defined font"},
    {1059, "Metafile creation failed"},
    {1060, "Invalid metafile handle"},
    {1061, "Unsupported metafile format"},
    {1062, "CGM memory metafile full"},
    {1063, "Cannot save image when drawable is a metafile"},
    {1064, "Cannot print image when drawable is a metafile"},
    {1065, "Bitmap operation on memory metafile not allowed"},
    {1066, "Error during bitmap put/get operation"},
    {1067, "Invalid editor buffer"},
    {1068, "No more editor buffers available"},
    {1069, "Cannot hide or unload a sub-dialog"},
    {1070, "Cannot set format in non-RTF editor window"},
    {1071, "Graphical input not allowed in memory bitmap/metafile"},
    {1072, "API error during bit image save"},
    {1073, "3D model vertex limit exceeded. Increase MAXVERTEX."},
    {1074, "3D model facet limit exceeded. Increase MAXFACET."},
    {1075, "3D model material number invalid"},
    {1076, "3D model workspace full. Increase MAXWORK."},
    {1077, "3D model internal error: Workspace empty."},
    {1078, "Unsupported 3D model file format"},
    {1079, "Insufficient space to add data from 3D model file"},
    {1080, "Unable to add one or more materials from a 3D model file"},
    {1081, "RAVURA.DLL not found"},
    {1082, "MAPI32.DLL not found. Unable to send e-mail"},
    {1083, "Error invoking e-mail program"},
    {1084, "Error encoding e-mail attachments"},
    {1085, "At least one e-mail recipient must be specified"},
    {1086, "Unsupported or invalid .wav sound file"},
    {1087, "Too many dialogs"},
    {1088, "Error during dialog creation"},
    {1089, "Facet polygon too large in 3D model"},
    {1090, "Invalid bitmap rotation angle"},
    {1091, "Dialog is already loaded"},
    {1092, "Editor does not have a command history"},
    {1093, "Unable to locate home directory"},
    {1094, "Error accessing the clipboard"},
    {1095, "Clipboard data type mismatch"},
    {1096, "Current window is not a special purpose window"},
    {1097, "Current drawable cannot display a cursor"},
    {1098, "Unable to initialise ODBC database access"},
    {1099, "Specified database record does not exist"},
    {1100, "Invalid database handle"},
    {1101, "Too many parts in 3D model"},
    {1102, "3D model part number invalid"},
    {1103, "3D model vertex number invalid"},
    {1104, "Part definitions not contiguous in 3D DXF file"},
    {1105, "3D model facet number invalid"},
};

}  // namespace

std::string_view errorTableText(int code) {
    auto it = std::lower_bound(std::begin(kErrorTexts), std::end(kErrorTexts), code,
                               [](const ErrorText& e, int c) { return e.code < c; });
    if (it == std::end(kErrorTexts) || it->code != code) return {};
    return it->text;
}

std::string_view zlibErrorText(int code) {
    switch (code) {
        case -6:
            return "incompatible version";
        case -5:
            return "buffer error";
        case -4:
            return "insufficient memory";
        case -3:
            return "data error";
        case -2:
            return "stream error";
        case -1:
            return "file error";
        case 1:
            return "stream end";
        case 2:
            return "need dictionary";
        default:
            return {};
    }
}

}  // namespace tk
