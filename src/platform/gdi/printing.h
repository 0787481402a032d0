#pragma once
// Printing: the default printer, its settings (DEVMODE), printer contexts
// and documents. Pages are drawn as vectors into a PDF; at the end of the
// document the PDF goes to the CUPS destination with `lp`, or is kept in
// the print folder when the printer is the "PDF file" printer.
//
// The default printer is the environment variable PELK_PRINTER when set
// ("pdf" forces the "PDF file" printer, any other value names a CUPS
// destination), else the CUPS default destination (`lpstat -d`), else the
// "PDF file" printer. The print folder is PELK_PRINT_DIR when set, else
// $XDG_DATA_HOME/pelk-gm/prints, else ~/.local/share/pelk-gm/prints.

#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace win {

constexpr int CCHDEVICENAME = 32, CCHFORMNAME = 32;
constexpr DWORD DM_ORIENTATION = 0x1, DM_PAPERSIZE = 0x2, DM_PAPERLENGTH = 0x4, DM_PAPERWIDTH = 0x8,
                DM_SCALE = 0x10, DM_COPIES = 0x100, DM_DEFAULTSOURCE = 0x200,
                DM_PRINTQUALITY = 0x400, DM_COLOR = 0x800, DM_DUPLEX = 0x1000,
                DM_YRESOLUTION = 0x2000, DM_TTOPTION = 0x4000, DM_COLLATE = 0x8000,
                DM_FORMNAME = 0x10000, DM_MEDIATYPE = 0x2000000, DM_DITHERTYPE = 0x4000000;
constexpr short DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2;
constexpr short DMPAPER_LETTER = 1, DMPAPER_LEGAL = 5, DMPAPER_A3 = 8, DMPAPER_A4 = 9,
                DMPAPER_A5 = 11;
constexpr short DMCOLOR_MONOCHROME = 1, DMCOLOR_COLOR = 2;
constexpr DWORD DM_OUT_BUFFER = 2, DM_IN_PROMPT = 4, DM_IN_BUFFER = 8;
constexpr LONG IDOK_DOCUMENT_PROPERTIES = 1;

struct DEVMODEA {
    BYTE dmDeviceName[CCHDEVICENAME] = {};
    WORD dmSpecVersion = 0x401;
    WORD dmDriverVersion = 0;
    WORD dmSize = 0;
    WORD dmDriverExtra = 0;
    DWORD dmFields = 0;
    short dmOrientation = 0;
    short dmPaperSize = 0;
    short dmPaperLength = 0;  // tenths of a millimetre
    short dmPaperWidth = 0;
    short dmScale = 0;
    short dmCopies = 0;
    short dmDefaultSource = 0;
    short dmPrintQuality = 0;
    short dmColor = 0;
    short dmDuplex = 0;
    short dmYResolution = 0;
    short dmTTOption = 0;
    short dmCollate = 0;
    BYTE dmFormName[CCHFORMNAME] = {};
    WORD dmLogPixels = 0;
    DWORD dmBitsPerPel = 0;
    DWORD dmPelsWidth = 0;
    DWORD dmPelsHeight = 0;
    DWORD dmDisplayFlags = 0;
    DWORD dmDisplayFrequency = 0;
    DWORD dmICMMethod = 0;
    DWORD dmICMIntent = 0;
    DWORD dmMediaType = 0;
    DWORD dmDitherType = 0;
    DWORD dmReserved1 = 0;
    DWORD dmReserved2 = 0;
    DWORD dmPanningWidth = 0;
    DWORD dmPanningHeight = 0;
};

struct DOCINFOA {
    int cbSize = 20;
    LPCSTR lpszDocName = nullptr;
    LPCSTR lpszOutput = nullptr;  // a file to print to instead of the printer
    LPCSTR lpszDatatype = nullptr;
    DWORD fwType = 0;
};

// "DISPLAY" gives a screen context; a printer's device name gives a printer
// context (CreateICA: one that answers questions but prints nothing).
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* settings);
HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* settings);
BOOL OpenPrinterA(LPSTR name, HANDLE* printer, void* defaults);
BOOL ClosePrinter(HANDLE printer);
// Mode 0 answers the size of DEVMODEA; DM_OUT_BUFFER writes the printer's
// settings, DM_IN_BUFFER merges the supported members that `in` marks first.
LONG DocumentPropertiesA(HWND owner, HANDLE printer, LPSTR deviceName, DEVMODEA* out, DEVMODEA* in,
                         DWORD mode);
int StartDocA(HDC dc, const DOCINFOA* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);

struct PrinterDescription {
    std::string device;  // the name
    std::string driver;
    std::string port;
    bool pdfFile = false;  // the "PDF file" printer
};
PrinterDescription defaultPrinter();
// The value of the profile entry windows/Device: "device,driver,port".
std::string defaultPrinterProfileString();

struct PaperSize {
    short code;
    const char* name;
    int widthTenthsMm;
    int heightTenthsMm;
};
// The paper sizes offered for a printer, its default first: those of a CUPS
// destination's PageSize choices that are known here, else A4 and Letter
// (Letter first where /etc/papersize says so).
std::vector<PaperSize> printerPaperSizes(const std::string& device);

std::string printFolder();
// The PDF of the last finished document (kept in the print folder or given
// as the document's output file); empty when none.
std::string lastPrintedFile();

}  // namespace win
