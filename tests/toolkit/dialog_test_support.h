#pragma once
// A clean toolkit with its dialog manager bound and the root window open;
// the dialogs come from dialog_test_resources.rc.

#include <string>

#include "dialog_test_ids.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/robot/finder.h"
#include "platform/robot/robot.h"
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
    // Plays the robot's script to its end, dispatching what it causes.
    static void pumpUntilScriptDone() {
        win::MSG m;
        for (int guard = 0; guard < 100000; ++guard) {
            if (win::PeekMessageA(&m, nullptr, 0, 0, win::PM_REMOVE)) {
                win::HWND active = windowSystem().ActiveModelessDialog;
                if (active && win::IsDialogMessageA(active, &m)) continue;
                win::TranslateMessage(&m);
                win::DispatchMessageA(&m);
            } else if (!win::robot::step()) {
                return;
            }
        }
    }
    static std::string blankTrimmed(std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }
};

}  // namespace tk::test
