#pragma once
// A clean toolkit with its dialog manager bound and the root window open;
// the dialogs come from dialog_test_resources.rc.

#include <string>

#include "dialog_test_ids.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/robot/finder.h"
#include "toolkit/core/error_report.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_bind.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "window_test_support.h"

namespace tk::test {

class DialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        resetDialogTable();
        controlClassAtoms() = ControlClassAtoms{};
        fieldProcedureState() = FieldProcedureState{};
        DialogManagerBind();
        openRoot(600, 400);
    }
    void TearDown() override {
        if (windowDialogHooks().destroyAll) windowDialogHooks().destroyAll();
        WindowTest::TearDown();
    }

    // The last error reported, then cleared.
    static int takeError() {
        int e = toolkitState().LastErrorNumber;
        toolkitState().LastErrorNumber = 0;
        return e;
    }
    static win::HWND field(int id) { return currentField(id); }
    static std::string text(int id) { return win::robot::windowText(field(id)); }
    static std::string blankTrimmed(std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }
};

}  // namespace tk::test
