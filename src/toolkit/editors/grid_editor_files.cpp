#include "toolkit/editors/grid_editor_files.h"

#include <vector>

#include "platform/kernel/files.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/file_services.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/file_select.h"
#include "toolkit/dialogs/grid_csv.h"
#include "toolkit/dialogs/grid_html.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/modal_state.h"
#include "toolkit/editors/grid_editor_command_frame.h"
#include "toolkit/editors/grid_editor_commands.h"

namespace tk {
namespace {

constexpr const char* kCsvFilter = "CSV Files|*.csv|All Files|*.*|";
constexpr const char* kHtmlFilter = "HTML Files|*.htm;*.html|All Files|*.*|";
constexpr int kSaveDialogFlags = 35, kOpenDialogFlags = 160;

bool fileExists(const std::string& name) {
    return win::GetFileAttributesA(name.c_str()) != win::INVALID_FILE_ATTRIBUTES;
}

// The file dialog on a proposed name; empty when not confirmed.
std::string chooseFile(const std::string& filter, int flags, const std::string& proposed,
                       int* filterIndex) {
    std::vector<char> name(260, ' ');
    putText(name, proposed);
    SelectFileFront(filter, flags, name, std::string_view(""), filterIndex);
    if (DialogInfoQuery(4) != 1) return {};
    return std::string(trimRight(std::string_view(name.data(), name.size())));
}

// Writes a file through `write` into a new file beside the target, which
// then takes the target's place: a failed write leaves the old file.
template <typename Write>
void writeReplacing(GridCommandFrame& frame, const std::string& target, Write write) {
    const std::string temporary = target + ".pelk-saving";
    frame.clearError();
    write(temporary);
    if (frame.lastError() != 0) {
        win::DeleteFileA(temporary.c_str());
        return;
    }
    if (!win::MoveFileExA(temporary.c_str(), target.c_str(), win::MOVEFILE_REPLACE_EXISTING)) {
        win::DeleteFileA(temporary.c_str());
        toolkitState().LastErrorNumber = 2;
    }
}

void backupCopy(int backup, const std::string& name) {
    if (backup == 1 && fileExists(name)) OsCopyFile(name, name + ".bak");
}

// The outcome of a save: 1 done, 0 after the error box.
int saveOutcome(GridCommandFrame& frame) {
    switch (frame.lastError()) {
        case 1:
            gridCommandBox(0, 3, "Error opening file", "File Error");
            return 0;
        case 2:
            gridCommandBox(0, 3, "Error writing file", "File Error");
            return 0;
        default:
            return 1;
    }
}

std::string folderOf(const std::string& name) {
    const auto cut = name.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
}

std::string htmlProposal(const std::string& fileName) {
    if (fileName.empty()) return {};
    const auto dot = fileName.find_last_of('.');
    const auto slash = fileName.find_last_of("\\/");
    const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasDot ? fileName.substr(0, dot) : fileName) + ".htm";
}

}  // namespace

void GridEditorSaveCsv(int window, int saveAs, int& status, int& filterIndex, int backup,
                       int labelsInFiles, int firstRow, int lastRow, int firstColumn,
                       int lastColumn, std::string& fileName, const std::string& filter) {
    status = 0;
    GridCommandFrame frame(window);
    const bool block = firstRow != -1;
    std::string target = fileName;
    if (fileName.empty() || saveAs) {
        target = chooseFile(filter.empty() ? kCsvFilter : filter, kSaveDialogFlags,
                            block ? folderOf(fileName) : fileName, &filterIndex);
        if (target.empty()) return;
    }
    backupCopy(backup, target);
    writeReplacing(frame, target, [&](const std::string& name) {
        if (block)
            GrdSave(0, name, firstColumn + 1, lastColumn + 1, firstRow + 1, lastRow + 1,
                    2 * labelsInFiles);
        else
            GrdSave(0, name, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                    2 * labelsInFiles);
    });
    status = saveOutcome(frame);
    if (status == 1 && !block) fileName = target;
}

void GridEditorLoadCsv(int window, int ask, int rowsFollow, int& status, int& filterIndex,
                       int labelsInFiles, std::string& fileName, const std::string& filter) {
    status = 0;
    GridCommandFrame frame(window);
    std::string name = fileName.substr(0, 259);
    if (ask == 1) {
        name = chooseFile(filter.empty() ? kCsvFilter : filter, kOpenDialogFlags, name,
                          &filterIndex);
        if (name.empty()) return;
    }
    frame.clearError();
    GrdLoad(0, name, rowsFollow, 2 * labelsInFiles);
    switch (frame.lastError()) {
        case 1:
            gridCommandBox(0, 3, "Error opening file", "File Error");
            break;
        case 2:
            gridCommandBox(0, 3, "Error reading file", "File Error");
            break;
        case 4:
        case 1009:
            gridCommandBox(0, 3, "Out of range value found for numeric cell", "Data Error");
            status = 1;
            break;
        case 11:
        case 12:
            gridCommandBox(0, 3, "Non-numeric data found for numeric cell", "Data Error");
            status = 1;
            break;
        case 1054:
            gridCommandBox(0, 3, "File contains too many rows/columns", "Data Error");
            status = 1;
            break;
        case 1055:
            gridCommandBox(0, 3, "Non-matching data found for menu cell", "Data Error");
            status = 1;
            break;
        default:
            status = 1;
            break;
    }
    GrdSetCell(0, 1, 1);
    if (status == 1) fileName = std::string(trimBoth(name)).substr(0, 259);
}

namespace {

struct HtmlChoice {
    std::string name;
    bool selected = false;
};

// The HTML dialog's fields from the remembered settings.
void htmlFields(const std::string& proposal, bool block) {
    const GridEditorRemembered& m = gridEditorRemembered();
    DlgPutString(1002, proposal);
    DlgPutRadioButton(m.htmlTableOnly ? 1006 : 1005);
    DlgPutRadioButton(m.htmlYesNo ? 1009 : 1008);
    DlgPutCheckBox(1010, m.htmlCentred);
    DlgPutCheckBox(1011, m.htmlColours);
    DlgPutString(1013, m.htmlTitle);
    DlgPutInteger(1015, m.htmlBorder);
    DlgPutRadioButton(block ? 1018 : 1017);
    DlgFieldState(1018, block ? 1 : 0);
}

std::string fieldText(int field, std::size_t size) {
    std::vector<char> buffer(size, ' ');
    DlgGetString(field, buffer);
    return std::string(trimBoth(std::string_view(buffer.data(), buffer.size())));
}

int checked(int field) {
    int state = 0;
    DlgGetCheckBox(field, state);
    return state;
}

void rememberHtml() {
    GridEditorRemembered& m = gridEditorRemembered();
    m.htmlTableOnly = checked(1006);
    m.htmlYesNo = checked(1009);
    m.htmlCentred = checked(1010);
    m.htmlColours = checked(1011);
    m.htmlTitle = fieldText(1013, 1024);
    DlgGetInteger(1015, m.htmlBorder);
}

// Runs the HTML dialog until OK with a name or Cancel.
bool askHtml(int window, HtmlChoice& choice) {
    int freeze = 0;
    FreezeWindowContents(1, -1, freeze);
    DialogShowNearWindow(1002, 3, window);
    std::string browsed;
    bool ok = false;
    for (;;) {
        int type = 0;
        EventRecord e{};
        EventWait(type, e);
        if (type != PushButton) continue;
        const int button = e[1];
        if (button == 2) break;
        if (button == 1003) {
            const std::string chosen = chooseFile(kHtmlFilter, kSaveDialogFlags, fieldText(1002, 260), nullptr);
            if (!chosen.empty()) DlgPutString(1002, browsed = chosen);
            continue;
        }
        if (button != 1) continue;
        choice.name = fieldText(1002, 260);
        if (choice.name.empty()) {
            gridCommandBox(0, 3, "You must enter a filename", "Select File");
            DlgSetField(1002);
            continue;
        }
        if (choice.name != browsed && fileExists(choice.name)) {
            gridCommandBox(3, 3, choice.name + " already exists\rDo you want to replace it?",
                           "Select File", 2);
            if (toolkitState().MessageBoxResult != 1) {
                DlgSetField(1002);
                continue;
            }
        }
        choice.selected = checked(1018) == 1;
        rememberHtml();
        ok = true;
        break;
    }
    DlgHide();
    FreezeWindowContents(0, -1, freeze);
    return ok;
}

}  // namespace

void GridEditorSaveHtml(int window, int firstRow, int lastRow, int firstColumn, int lastColumn,
                        int& status, int backup, const std::string& fileName) {
    status = 0;
    GridCommandFrame frame(window);
    if (!frame.loadDialog(kGridHtmlDialog)) return;
    htmlFields(htmlProposal(fileName), firstRow != -1);
    HtmlChoice choice;
    const bool ok = askHtml(window, choice);
    frame.unloadDialog();
    if (!ok) return;
    backupCopy(backup, choice.name);
    const GridEditorRemembered& m = gridEditorRemembered();
    const int flags = (m.htmlTableOnly ? 1 : 0) + (m.htmlCentred ? 2 : 0) + (m.htmlYesNo ? 4 : 0) +
                      (m.htmlColours ? 0 : 8);
    writeReplacing(frame, choice.name, [&](const std::string& name) {
        if (choice.selected)
            GrdSaveHTML(0, name, firstColumn + 1, lastColumn + 1, firstRow + 1, lastRow + 1, flags,
                        m.htmlTitle, m.htmlBorder);
        else
            GrdSaveHTML(0, name, std::nullopt, std::nullopt, std::nullopt, std::nullopt, flags,
                        m.htmlTitle, m.htmlBorder);
    });
    status = saveOutcome(frame);
}

}  // namespace tk
