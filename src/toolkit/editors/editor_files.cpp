#include "toolkit/editors/editor_files.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/message_box.h"
#include "toolkit/core/window_api.h"
#include "toolkit/editors/editor_buffers.h"
#include "toolkit/editors/editor_open.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"
#include "toolkit/editors/editor_view_menu.h"

namespace tk {
namespace {

// The system's description of the last error, at most 300 characters, in a
// warning box owned by the frame.
void errorBox(win::HWND frame, const char* caption) {
    char text[301] = {};
    const win::DWORD code = win::GetLastError();
    if (!win::FormatMessageA(win::FORMAT_MESSAGE_FROM_SYSTEM | win::FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, text, sizeof text, nullptr))
        text[0] = 0;
    win::MessageBoxA(frame, text, caption, win::MB_OK | win::MB_ICONWARNING);
}

win::HANDLE openForReading(const std::string& name) {
    win::HANDLE h = win::CreateFileA(name.c_str(), win::GENERIC_READ, win::FILE_SHARE_READ, nullptr,
                                     win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == win::INVALID_HANDLE_VALUE ? nullptr : h;
}

win::HANDLE openForWriting(const std::string& name) {
    win::HANDLE h = win::CreateFileA(name.c_str(), win::GENERIC_WRITE, 0, nullptr,
                                     win::CREATE_ALWAYS, win::FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == win::INVALID_HANDLE_VALUE ? nullptr : h;
}

win::BOOL readBlock(win::HANDLE file, void* buffer, win::DWORD count, win::DWORD* done) {
    EditorFileReader& reader = editorFileReader();
    return reader ? reader(file, buffer, count, done)
                  : win::ReadFile(file, buffer, count, done, nullptr);
}

win::DWORD streamInBlock(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count,
                         win::LONG* done) {
    win::DWORD got = 0;
    const win::BOOL ok = readBlock(reinterpret_cast<win::HANDLE>(cookie), buffer,
                                   static_cast<win::DWORD>(count), &got);
    *done = static_cast<win::LONG>(got);
    return ok ? 0 : 1;
}

win::DWORD streamOutBlock(win::UINT_PTR cookie, win::BYTE* buffer, win::LONG count,
                          win::LONG* done) {
    win::DWORD put = 0;
    const win::BOOL ok = win::WriteFile(reinterpret_cast<win::HANDLE>(cookie), buffer,
                                        static_cast<win::DWORD>(count), &put, nullptr);
    *done = static_cast<win::LONG>(put);
    return ok && put == static_cast<win::DWORD>(count) ? 0 : 1;
}

void loadedUnmodified(win::HWND frame, EditorWindowRecord& r) {
    editorSetModified(r, false);
    r.changed = 0;
    EditorUpdateTitle(frame);
}

int loadRtf(win::HWND frame, EditorWindowRecord& r, win::HANDLE file) {
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(file);
    es.pfnCallback = streamInBlock;
    win::SendMessageA(r.editControl, win::EM_STREAMIN, win::SF_RTF,
                      reinterpret_cast<win::LPARAM>(&es));
    if (es.dwError) {
        errorBox(frame, "Read Error");
        EditorCloseFileHandle(frame);
        return 0;
    }
    loadedUnmodified(frame, r);
    return 1;
}

// A rich-edit 2 control takes text that begins with "{\r" for RTF, so such a
// text goes in without those three characters first and they follow in front.
void insertPlain(const EditorWindowRecord& r, const std::string& text) {
    const bool looksRtf =
        text.size() >= 5 && text.compare(0, 3, "{\\r") == 0 && editorControlVersion(r) >= 2;
    if (looksRtf) {
        editorInsertText(r, 0, std::string_view(text).substr(3));
        editorInsertText(r, 0, std::string_view(text).substr(0, 3));
    } else {
        editorInsertText(r, 0, text);
    }
}

int loadPlain(win::HWND frame, EditorWindowRecord& r, win::HANDLE file, win::DWORD size) {
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    win::DWORD got = 0;
    if (!readBlock(file, buffer.data(), size, &got) || got != size) {
        errorBox(frame, "Read Error");
        EditorCloseFileHandle(frame);
        return 0;
    }
    std::string text(buffer.data(), size);
    std::replace(text.begin(), text.end(), '\0', ' ');
    if (!text.empty() && static_cast<unsigned char>(text.back()) == 26) text.pop_back();
    editorClearText(r);
    insertPlain(r, text);
    editorCaretToStart(r);
    editorEmptyUndo(r);
    loadedUnmodified(frame, r);
    return 1;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The save dialog on the record's name; 1 when a name was chosen.
int chooseSaveName(win::HWND frame, EditorWindowRecord& r) {
    char name[win::MAX_PATH] = {};
    win::OPENFILENAMEA ofn = editorFileDialogRequest(frame, r, name, sizeof name);
    ofn.Flags = win::OFN_OVERWRITEPROMPT | win::OFN_HIDEREADONLY | win::OFN_NOCHANGEDIR |
                win::OFN_PATHMUSTEXIST;
    if (!win::GetSaveFileNameA(&ofn)) return 0;
    r.filterIndex[static_cast<std::size_t>(r.currentFile)] = static_cast<int>(ofn.nFilterIndex);
    r.fileName = name;
    EditorBufferSetName(r.window, r.currentFile, r.fileName);
    editorViewItemSet(r, r.currentFile, r.fileName);
    EditorUpdateTitle(frame);
    return 1;
}

// Streams the text into a file; false on a short write.
bool streamTo(const EditorWindowRecord& r, win::HANDLE file) {
    win::EDITSTREAM es;
    es.dwCookie = reinterpret_cast<win::UINT_PTR>(file);
    es.pfnCallback = streamOutBlock;
    const win::WPARAM format = editorFileIsRtf(r, r.fileName) ? win::SF_RTF : win::SF_TEXT;
    win::SendMessageA(r.editControl, win::EM_STREAMOUT, format, reinterpret_cast<win::LPARAM>(&es));
    return es.dwError == 0;
}

// The text goes into a new file beside the old one, which it replaces only
// when it was written whole: a failed save leaves the old file as it was.
int writeFile(win::HWND frame, EditorWindowRecord& r) {
    const std::string temporary = r.fileName + ".pelk-saving";
    win::HANDLE file = openForWriting(temporary);
    int result = 0;
    if (!file) {
        errorBox(frame, "Open Error");
    } else {
        const bool written = streamTo(r, file);
        win::CloseHandle(file);
        if (written && win::MoveFileExA(temporary.c_str(), r.fileName.c_str(),
                                        win::MOVEFILE_REPLACE_EXISTING)) {
            result = 1;
            editorSetModified(r, false);
            if (r.modifiedMark) EditorUpdateTitle(frame);
        } else {
            errorBox(frame, "Write Error");
            win::DeleteFileA(temporary.c_str());
        }
    }
    if (!r.readOnly)
        r.keptFile[static_cast<std::size_t>(r.currentFile)] = openForReading(r.fileName);
    return result;
}

}  // namespace

EditorFileReader& editorFileReader() {
    static EditorFileReader reader;
    return reader;
}

bool editorFileIsRtf(const EditorWindowRecord& r, const std::string& name) {
    return r.richText && name.size() >= 4 && lower(name.substr(name.size() - 4)) == ".rtf";
}

void EditorCloseFileHandle(win::HWND frame) {
    EditorWindowRecord* r = editorRecordOf(frame);
    if (!r) return;
    win::HANDLE& h = r->keptFile[static_cast<std::size_t>(r->currentFile)];
    if (h) win::CloseHandle(h);
    h = nullptr;
}

void editorCloseAllFileHandles(EditorWindowRecord& r) {
    for (win::HANDLE& h : r.keptFile) {
        if (h) win::CloseHandle(h);
        h = nullptr;
    }
}

int EditorLoadFile(win::HWND frame, int quiet) {
    EditorWindowRecord* rp = editorRecordOf(frame);
    if (!rp) return 0;
    EditorWindowRecord& r = *rp;
    r.editGuard = 0;
    win::HANDLE& kept = r.keptFile[static_cast<std::size_t>(r.currentFile)];
    if (kept) win::CloseHandle(kept);
    kept = openForReading(r.fileName);
    int result = 0;
    if (!kept) {
        if (!(quiet && r.quietOpenErrors)) errorBox(frame, "Open Error");
    } else {
        const win::DWORD size = win::SetFilePointer(kept, 0, nullptr, win::FILE_END);
        win::SetFilePointer(kept, 0, nullptr, win::FILE_BEGIN);
        result = editorFileIsRtf(r, r.fileName) ? loadRtf(frame, r, kept)
                                                : loadPlain(frame, r, kept, size);
        editorSyncFormatButtons(r);
        r.bookmark[static_cast<std::size_t>(r.currentFile)] = -1;
        if (r.readOnly) EditorCloseFileHandle(frame);
    }
    r.editGuard = 1;
    return result;
}

int EditorSaveFile(win::HWND frame, int saveAs) {
    EditorWindowRecord* rp = editorRecordOf(frame);
    if (!rp) return 0;
    EditorWindowRecord& r = *rp;
    if ((saveAs == 1 || r.fileName.empty()) && !chooseSaveName(frame, r)) return 0;
    EditorCloseFileHandle(frame);
    if (r.backupCopies) {
        const std::string backup = r.fileName + ".bak";
        win::CopyFileA(r.fileName.c_str(), backup.c_str(), win::FALSE);
    }
    return writeFile(frame, r);
}

int EditorSavePrompt(win::HWND frame, EditorWindowRecord& r) {
    if (r.readOnly || !r.allowSave || !editorIsModified(r)) return 1;
    std::string text = "Do you want to save changes?";
    if (!r.fileName.empty() && !r.hideFileName)
        text = "Do you want to save changes to " + r.fileName + "?";
    switch (win::MessageBoxA(frame, text.c_str(), r.title.c_str(),
                             win::MB_YESNOCANCEL | win::MB_ICONWARNING)) {
        case win::IDYES:
            return EditorSaveFile(frame, 0);
        case win::IDNO:
            return 1;
        default:
            return 0;
    }
}

}  // namespace tk
