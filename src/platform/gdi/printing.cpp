// The print system: default printer, printer settings, printer contexts and
// documents drawn into PDF and handed to `lp` or kept in the print folder.

#include "platform/gdi/printing.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/gdi/drawing.h"
#include "platform/gdi/pdf_device.h"

extern char** environ;

namespace win {
namespace gdi {

struct PrintJob {
    PrinterDescription printer;
    DEVMODEA settings;
    bool infoOnly = false;
    std::unique_ptr<PdfDocument> document;
    bool pageOpen = false;
    std::string path;     // where the PDF is written
    bool submit = false;  // hand the file to lp at the end
    std::string title;
};

namespace {

constexpr int kPrinterDpi = 600;

// The sheet in points, turned for landscape.
std::pair<double, double> sheetPoints(const DEVMODEA& dm) {
    const double w = dm.dmPaperWidth * 72.0 / 254.0, h = dm.dmPaperLength * 72.0 / 254.0;
    return dm.dmOrientation == DMORIENT_LANDSCAPE ? std::make_pair(h, w) : std::make_pair(w, h);
}
const char* const kPdfPrinter = "PDF file";

const std::vector<PaperSize>& papers() {
    static const std::vector<PaperSize> all = {{DMPAPER_A4, "A4", 2100, 2970},
                                               {DMPAPER_LETTER, "Letter", 2159, 2794},
                                               {DMPAPER_LEGAL, "Legal", 2159, 3556},
                                               {DMPAPER_A3, "A3", 2970, 4200},
                                               {DMPAPER_A5, "A5", 1480, 2100}};
    return all;
}

const PaperSize* paperOf(short code) {
    for (const PaperSize& p : papers())
        if (p.code == code) return &p;
    return nullptr;
}

// Runs a program with an argument vector; its standard output is returned
// when it exits with status 0 within the time limit.
std::optional<std::string> runProgram(const std::vector<std::string>& args, int seconds) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return std::nullopt;
    }
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    bool open = true;
    while (open && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buf[512];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0)
                open = false;
            else
                out.append(buf, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

PrinterDescription pdfPrinter() {
    return {kPdfPrinter, "pelk-pdf", "FILE:", true};
}

// The CUPS default destination, asked once per run.
std::optional<std::string> cupsDefault() {
    static const std::optional<std::string> name = []() -> std::optional<std::string> {
        auto out = runProgram({"lpstat", "-d"}, 5);
        if (!out) return std::nullopt;
        const std::string key = "system default destination:";
        const std::size_t at = out->find(key);
        if (at != std::string::npos) {
            std::string name = out->substr(at + key.size());
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t\r\n") + 1);
            if (!name.empty()) return name;
        }
        return std::nullopt;
    }();
    return name;
}

PrinterDescription findDefaultPrinter() {
    const char* forced = std::getenv("PELK_PRINTER");
    if (forced && *forced) {
        if (std::string(forced) == "pdf") return pdfPrinter();
        return {forced, "pelk-cups", "CUPS:", false};
    }
    if (auto name = cupsDefault()) return {*name, "pelk-cups", "CUPS:", false};
    return pdfPrinter();
}

short defaultPaper() {
    std::ifstream f("/etc/papersize");
    std::string name;
    if (f >> name) {
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "letter") return DMPAPER_LETTER;
    }
    return DMPAPER_A4;
}

// The papers a CUPS destination offers (its PageSize choices) that are
// known here, its default first; empty when it cannot be asked.
std::vector<short> cupsPapers(const std::string& device) {
    static std::map<std::string, std::vector<short>> asked;
    if (auto it = asked.find(device); it != asked.end()) return it->second;
    std::vector<short> out;
    if (auto text = runProgram({"lpoptions", "-p", device, "-l"}, 5)) {
        std::istringstream lines(*text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("PageSize", 0) != 0) continue;
            std::istringstream words(line.substr(line.find(':') + 1));
            for (std::string w; words >> w;) {
                const bool isDefault = !w.empty() && w[0] == '*';
                if (isDefault) w.erase(0, 1);
                for (char& c : w)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                for (const PaperSize& p : papers()) {
                    std::string name = p.name;
                    for (char& c : name)
                        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    if (w != name || std::find(out.begin(), out.end(), p.code) != out.end())
                        continue;
                    if (isDefault)
                        out.insert(out.begin(), p.code);
                    else
                        out.push_back(p.code);
                }
            }
        }
    }
    asked[device] = out;
    return out;
}

// A4 and Letter, the local default first.
std::vector<short> plainPapers() {
    const short def = defaultPaper();
    return {def, def == DMPAPER_A4 ? DMPAPER_LETTER : DMPAPER_A4};
}

std::vector<short> papersOf(const std::string& device) {
    if (device != kPdfPrinter) {
        std::vector<short> offered = cupsPapers(device);
        if (!offered.empty()) return offered;
    }
    return plainPapers();
}

constexpr DWORD kSupported = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH |
                             DM_SCALE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX |
                             DM_YRESOLUTION | DM_COLLATE;

DEVMODEA defaultSettings(const std::string& device) {
    DEVMODEA dm;
    std::strncpy(reinterpret_cast<char*>(dm.dmDeviceName), device.c_str(), CCHDEVICENAME - 1);
    dm.dmSize = sizeof(DEVMODEA);
    dm.dmFields = kSupported;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = papersOf(device).front();
    const PaperSize* p = paperOf(dm.dmPaperSize);
    dm.dmPaperWidth = static_cast<short>(p->widthTenthsMm);
    dm.dmPaperLength = static_cast<short>(p->heightTenthsMm);
    dm.dmScale = 100;
    dm.dmCopies = 1;
    dm.dmPrintQuality = kPrinterDpi;
    dm.dmYResolution = kPrinterDpi;
    dm.dmColor = DMCOLOR_COLOR;
    dm.dmDuplex = 1;
    dm.dmCollate = 0;
    return dm;
}

// Members of `in` that it marks and the printer supports replace those of `dm`.
void merge(DEVMODEA& dm, const DEVMODEA& in) {
    const DWORD f = in.dmFields & kSupported;
    if ((f & DM_ORIENTATION) &&
        (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
        dm.dmOrientation = in.dmOrientation;
    if ((f & DM_PAPERSIZE) && paperOf(in.dmPaperSize)) {
        dm.dmPaperSize = in.dmPaperSize;
        dm.dmPaperWidth = static_cast<short>(paperOf(in.dmPaperSize)->widthTenthsMm);
        dm.dmPaperLength = static_cast<short>(paperOf(in.dmPaperSize)->heightTenthsMm);
    } else {
        // An explicit sheet size applies when no known paper was named.
        if ((f & DM_PAPERWIDTH) && in.dmPaperWidth > 0) dm.dmPaperWidth = in.dmPaperWidth;
        if ((f & DM_PAPERLENGTH) && in.dmPaperLength > 0) dm.dmPaperLength = in.dmPaperLength;
    }
    if ((f & DM_SCALE) && in.dmScale > 0) dm.dmScale = in.dmScale;
    if ((f & DM_COPIES) && in.dmCopies > 0) dm.dmCopies = in.dmCopies;
    if ((f & DM_COLOR) && (in.dmColor == DMCOLOR_COLOR || in.dmColor == DMCOLOR_MONOCHROME))
        dm.dmColor = in.dmColor;
    if ((f & DM_DUPLEX) && in.dmDuplex >= 1 && in.dmDuplex <= 3) dm.dmDuplex = in.dmDuplex;
    if (f & DM_COLLATE) dm.dmCollate = in.dmCollate ? 1 : 0;
}

std::map<HANDLE, std::string>& openPrinters() {
    static std::map<HANDLE, std::string> m;
    return m;
}

std::map<std::string, DEVMODEA>& printerSettings() {
    static std::map<std::string, DEVMODEA> m;
    return m;
}

DEVMODEA& settingsOf(const std::string& device) {
    auto it = printerSettings().find(device);
    if (it == printerSettings().end())
        it = printerSettings().emplace(device, defaultSettings(device)).first;
    return it->second;
}

std::optional<PrinterDescription> knownPrinter(const std::string& device) {
    const PrinterDescription def = defaultPrinter();
    if (device == def.device) return def;
    if (device == kPdfPrinter) return pdfPrinter();
    return std::nullopt;
}

std::string& lastOutput() {
    static std::string s;
    return s;
}

DeviceInfo printerInfo(const DEVMODEA& dm) {
    DeviceInfo i;
    i.technology = DT_RASPRINTER;
    i.dpiX = i.dpiY = kPrinterDpi;
    int w = static_cast<int>(std::lround(dm.dmPaperWidth / 254.0 * kPrinterDpi));
    int h = static_cast<int>(std::lround(dm.dmPaperLength / 254.0 * kPrinterDpi));
    if (dm.dmOrientation == DMORIENT_LANDSCAPE) std::swap(w, h);
    i.physicalWidth = i.horzRes = w;
    i.physicalHeight = i.vertRes = h;
    i.horzSizeMm = static_cast<int>(std::lround(w * 25.4 / kPrinterDpi));
    i.vertSizeMm = static_cast<int>(std::lround(h * 25.4 / kPrinterDpi));
    i.bitsPixel = dm.dmColor == DMCOLOR_MONOCHROME ? 1 : 24;
    i.numColors = dm.dmColor == DMCOLOR_MONOCHROME ? 2 : 256;
    return i;
}

std::string sanitised(const std::string& title) {
    std::string out;
    for (char c : title)
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    if (out.empty()) out = "document";
    return out.substr(0, 60);
}

HDC createPrinterDc(LPCSTR driver, LPCSTR device, const DEVMODEA* settings, bool infoOnly) {
    if (!device && driver && std::strcmp(driver, "DISPLAY") != 0) device = driver;
    if ((driver && std::strcmp(driver, "DISPLAY") == 0) ||
        (device && std::strcmp(device, "DISPLAY") == 0)) {
        return registerDc(newContext(DcKind::Info, screenInfo()));
    }
    if (!device) return nullptr;
    const std::optional<PrinterDescription> printer = knownPrinter(device);
    if (!printer) return nullptr;
    auto job = std::make_shared<PrintJob>();
    job->printer = *printer;
    job->settings = settingsOf(printer->device);
    if (settings) merge(job->settings, *settings);
    job->infoOnly = infoOnly;
    auto dc = newContext(DcKind::Printer, printerInfo(job->settings));
    dc->job = job;
    return registerDc(std::move(dc));
}

PrintJob* jobOf(HDC hdc) {
    DeviceContext* dc = findDc(hdc);
    return dc && dc->job && !dc->job->infoOnly ? dc->job.get() : nullptr;
}

bool submit(PrintJob& job) {
    std::vector<std::string> args = {"lp",
                                     "-d",
                                     job.printer.device,
                                     "-n",
                                     std::to_string(std::max<short>(1, job.settings.dmCopies)),
                                     "-o",
                                     job.settings.dmOrientation == DMORIENT_LANDSCAPE
                                         ? "orientation-requested=4"
                                         : "orientation-requested=3"};
    if (job.settings.dmColor == DMCOLOR_MONOCHROME) {
        args.push_back("-o");
        args.push_back("print-color-mode=monochrome");
    }
    if (const PaperSize* p = paperOf(job.settings.dmPaperSize)) {
        args.push_back("-o");
        args.push_back(std::string("media=") + p->name);
    }
    if (!job.title.empty()) {
        args.push_back("-t");
        args.push_back(job.title);
    }
    args.push_back(job.path);
    const bool ok = runProgram(args, 60).has_value();
    std::error_code ec;
    std::filesystem::remove(job.path, ec);
    return ok;
}

}  // namespace

VectorDevice* vectorOf(DeviceContext& dc) {
    if (!dc.job || !dc.job->document || !dc.job->pageOpen) return nullptr;
    return &dc.job->document->device();
}

void abortPrinterOnDelete(DeviceContext& dc) {
    if (!dc.job || !dc.job->document) return;
    dc.job->document.reset();
    std::error_code ec;
    std::filesystem::remove(dc.job->path, ec);
}

}  // namespace gdi

using namespace gdi;

PrinterDescription defaultPrinter() {
    return findDefaultPrinter();
}

std::string defaultPrinterProfileString() {
    const PrinterDescription p = defaultPrinter();
    return p.device + "," + p.driver + "," + p.port;
}

std::vector<PaperSize> printerPaperSizes(const std::string& device) {
    std::vector<PaperSize> out;
    for (short code : papersOf(device))
        if (const PaperSize* p = paperOf(code)) out.push_back(*p);
    return out;
}

std::string printFolder() {
    if (const char* dir = std::getenv("PELK_PRINT_DIR"); dir && *dir) return dir;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/pelk-gm/prints";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "/tmp") + "/.local/share/pelk-gm/prints";
}

std::string lastPrintedFile() {
    return lastOutput();
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const DEVMODEA* settings) {
    return createPrinterDc(driver, device, settings, false);
}

HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR, const DEVMODEA* settings) {
    return createPrinterDc(driver, device, settings, true);
}

BOOL OpenPrinterA(LPSTR name, HANDLE* printer, void*) {
    if (!name || !printer || !knownPrinter(name)) return FALSE;
    auto* token = new char;
    *printer = token;
    openPrinters()[token] = name;
    return TRUE;
}

BOOL ClosePrinter(HANDLE printer) {
    auto it = openPrinters().find(printer);
    if (it == openPrinters().end()) return FALSE;
    delete static_cast<char*>(printer);
    openPrinters().erase(it);
    return TRUE;
}

LONG DocumentPropertiesA(HWND, HANDLE printer, LPSTR deviceName, DEVMODEA* out, DEVMODEA* in,
                         DWORD mode) {
    std::string device;
    if (auto it = openPrinters().find(printer); it != openPrinters().end())
        device = it->second;
    else if (deviceName && knownPrinter(deviceName))
        device = deviceName;
    else
        return -1;
    if (mode == 0) return static_cast<LONG>(sizeof(DEVMODEA));
    DEVMODEA dm = settingsOf(device);
    if ((mode & DM_IN_BUFFER) && in) merge(dm, *in);
    if ((mode & DM_OUT_BUFFER) && out) std::memcpy(static_cast<void*>(out), &dm, sizeof dm);
    return IDOK_DOCUMENT_PROPERTIES;
}

int StartDocA(HDC hdc, const DOCINFOA* info) {
    PrintJob* job = jobOf(hdc);
    if (!job || job->document) return 0;
    DeviceContext* dc = findDc(hdc);
    job->title = info && info->lpszDocName ? info->lpszDocName : "";
    std::error_code ec;
    if (info && info->lpszOutput && *info->lpszOutput) {
        job->path = info->lpszOutput;
        job->submit = false;
    } else if (job->printer.pdfFile) {
        const std::string folder = printFolder();
        std::filesystem::create_directories(folder, ec);
        const std::time_t now = std::time(nullptr);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
        std::string base = folder + "/" + sanitised(job->title) + "-" + stamp;
        job->path = base + ".pdf";
        for (int k = 2; std::filesystem::exists(job->path, ec); ++k)
            job->path = base + "-" + std::to_string(k) + ".pdf";
        job->submit = false;
    } else {
        char tmpl[] = "/tmp/pelk-print-XXXXXX";
        const int fd = mkstemp(tmpl);
        if (fd < 0) return 0;
        close(fd);
        job->path = std::string(tmpl);
        job->submit = true;
    }
    job->document = PdfDocument::create(job->path, dc->info.physicalWidth, dc->info.physicalHeight,
                                        dc->info.dpiX);
    if (!job->document) return 0;
    static int nextJob = 1;
    return nextJob++;
}

int StartPage(HDC hdc) {
    PrintJob* job = jobOf(hdc);
    if (!job || !job->document || job->pageOpen) return 0;
    const auto [wPt, hPt] = sheetPoints(job->settings);
    job->document->startPage(wPt, hPt);
    job->pageOpen = true;
    return 1;
}

int EndPage(HDC hdc) {
    PrintJob* job = jobOf(hdc);
    if (!job || !job->document || !job->pageOpen) return 0;
    job->document->endPage();
    job->pageOpen = false;
    return 1;
}

int EndDoc(HDC hdc) {
    PrintJob* job = jobOf(hdc);
    if (!job || !job->document) return 0;
    if (job->pageOpen) EndPage(hdc);
    const bool written = job->document->finish();
    job->document.reset();
    if (!written) return 0;
    if (job->submit) {
        lastOutput().clear();
        return submit(*job) ? 1 : 0;
    }
    lastOutput() = job->path;
    return 1;
}

int AbortDoc(HDC hdc) {
    PrintJob* job = jobOf(hdc);
    if (!job || !job->document) return 0;
    DeviceContext* dc = findDc(hdc);
    abortPrinterOnDelete(*dc);
    job->pageOpen = false;
    return 1;
}

}  // namespace win
