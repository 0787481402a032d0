#pragma once
// A toolkit child window with a rich-edit control made into a text editor
// by hand, and files in a scratch folder, for the editor's file tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/message_box.h"
#include "toolkit/editors/editor_buffers.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/editor_text.h"
#include "window_test_support.h"

namespace tk::test {

class EditorTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        resetEditors();
        win::testing::resetMessageBoxes();
        dir = std::filesystem::temp_directory_path() /
              ("pelk_editor_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        resetEditors();
        win::testing::resetMessageBoxes();
        std::filesystem::remove_all(dir);
        WindowTest::TearDown();
    }
    static void resetEditors() {
        for (int n = 0; n < kWindowSlots; ++n)
            if (EditorWindowRecord* r = editorRecordOfWindow(n)) editorCloseAllFileHandles(*r);
        resetEditorRecords();
        resetEditorBuffers();
        editorFileReader() = {};
    }
    // Window 1 with an edit control of the class, made an editor with the
    // options and the title "Edit".
    EditorWindowRecord& handMadeEditor(int options, const char* cls = win::RICHEDIT_CLASSA) {
        openRoot();
        int n = 0;
        WindowOpenChildArgs a;
        WindowOpenChild(n, a);
        auto record = std::make_unique<EditorWindowRecord>();
        EditorApplyOptions(*record, options);
        record->title = "Edit";
        record->editControl =
            win::CreateWindowExA(0, cls, "", win::WS_CHILD | win::WS_VISIBLE | win::ES_MULTILINE, 0,
                                 0, 200, 100, slot(n).client, nullptr, nullptr, nullptr);
        frame = slot(n).frame;
        return editorAttach(n, std::move(record));
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return path(name);
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir;
    win::HWND frame = nullptr;
};

}  // namespace tk::test
