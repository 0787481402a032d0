#include "toolkit/dialogs/control_atoms.h"

#include <cctype>
#include <string_view>

#include "platform/controls/common_controls_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_hooks.h"

namespace tk {
namespace {

struct Probe {
    const char* className;
    win::ATOM ControlClassAtoms::*atom;
    win::WNDPROC ControlClassAtoms::*procedure;
};

constexpr Probe kFirst[] = {
    {"BUTTON", &ControlClassAtoms::button, &ControlClassAtoms::buttonProcedure},
    {"STATIC", &ControlClassAtoms::staticText, &ControlClassAtoms::staticProcedure},
    {"msctls_trackbar32", &ControlClassAtoms::trackbar, &ControlClassAtoms::trackbarProcedure},
    {"SysTreeView32", &ControlClassAtoms::treeView, &ControlClassAtoms::treeViewProcedure},
    {"SYSTABCONTROL32", &ControlClassAtoms::tab, &ControlClassAtoms::tabProcedure},
};

constexpr Probe kMore[] = {
    {"#32770", &ControlClassAtoms::dialog, nullptr},
    {"LISTBOX", &ControlClassAtoms::listBox, nullptr},
    {"COMBOBOX", &ControlClassAtoms::comboBox, nullptr},
    {"msctls_progress32", &ControlClassAtoms::progress, nullptr},
    {"MSCTLS_UPDOWN32", &ControlClassAtoms::upDown, nullptr},
    {"SysHeader32", &ControlClassAtoms::header, nullptr},
    {"SCROLLBAR", &ControlClassAtoms::scrollBar, nullptr},
};

void learn(const Probe& p, const char* text) {
    ControlClassAtoms& a = controlClassAtoms();
    win::HWND root = windowSystem().slots[0].frame;
    win::HWND h = win::CreateWindowExA(0, p.className, text, win::WS_CHILD, 0, 0, 0, 0, root,
                                       nullptr, nullptr, nullptr);
    if (!h)
        h = win::CreateWindowExA(0, p.className, text, win::WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 nullptr, nullptr);
    if (!h) return;
    a.*p.atom = static_cast<win::ATOM>(win::GetClassLongA(h, win::GCW_ATOM));
    if (p.procedure)
        a.*p.procedure =
            reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(h, win::GWL_WNDPROC));
    win::DestroyWindow(h);
}

std::string upperClassName(win::HWND h) {
    char name[64] = {};
    win::GetClassNameA(h, name, sizeof name);
    std::string s(name);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

ControlClassAtoms& controlClassAtoms() {
    static ControlClassAtoms atoms;
    return atoms;
}

FieldProcedureState& fieldProcedureState() {
    static FieldProcedureState state;
    return state;
}

void ControlAtomsLearn() {
    for (const Probe& p : kFirst)
        learn(p, " ");
    // The edit class's own procedure, for the edit field procedure.
    learn({"EDIT", &ControlClassAtoms::edit, &ControlClassAtoms::editProcedure}, "");
    controlClassAtoms().learnt = true;
}

void ControlAtomsLearnMore() {
    for (const Probe& p : kMore)
        learn(p, "");
    controlClassAtoms().learntMore = true;
}

void ControlAtomsEnsure() {
    ControlClassAtoms& a = controlClassAtoms();
    if (!a.learnt) {
        if (auto& r = dialogPartHooks().numericEditClassesRegister) r();
        if (auto& r = dialogPartHooks().gridClassRegister) r();
        ControlAtomsLearn();
    }
    if (!a.learntMore) ControlAtomsLearnMore();
}

ControlClass controlClassOf(win::HWND h) {
    if (!h || !win::IsWindow(h)) return ControlClass::Other;
    const ControlClassAtoms& a = controlClassAtoms();
    const auto atom = static_cast<win::ATOM>(win::GetClassLongA(h, win::GCW_ATOM));
    if (atom != 0) {
        if (atom == a.button) return ControlClass::Button;
        if (atom == a.staticText) return ControlClass::Static;
        if (atom == a.trackbar) return ControlClass::Trackbar;
        if (atom == a.treeView) return ControlClass::TreeView;
        if (atom == a.tab) return ControlClass::Tab;
        if (atom == a.dialog) return ControlClass::Dialog;
        if (atom == a.listBox) return ControlClass::ListBox;
        if (atom == a.comboBox) return ControlClass::ComboBox;
        if (atom == a.progress) return ControlClass::Progress;
        if (atom == a.upDown) return ControlClass::UpDown;
        if (atom == a.header) return ControlClass::Header;
        if (atom == a.scrollBar) return ControlClass::ScrollBar;
        if (atom == a.edit) return ControlClass::Edit;
    }
    // The numeric edit classes and the grid are registered by their own
    // parts; they are told by name.
    const std::string name = upperClassName(h);
    if (name == "VORARIZ") return ControlClass::Grid;
    if (numericFieldType(h) != 0) return ControlClass::NumericEdit;
    if (name == "#32770") return ControlClass::Dialog;
    return ControlClass::Other;
}

bool controlClassIs(win::HWND h, ControlClass c) {
    return controlClassOf(h) == c;
}

int numericFieldType(win::HWND h) {
    const std::string name = upperClassName(h);
    if (name == "INTEGEREDIT" || name == "INTEGERSPIN") return 5;
    if (name == "REALEDIT" || name == "REALSPIN") return 6;
    if (name == "DOUBLEEDIT" || name == "DOUBLESPIN") return 7;
    return 0;
}

bool isEditLike(win::HWND h) {
    const ControlClass c = controlClassOf(h);
    return c == ControlClass::Edit || c == ControlClass::NumericEdit;
}

bool isSpinField(win::HWND h) {
    const std::string name = upperClassName(h);
    return name == "INTEGERSPIN" || name == "REALSPIN" || name == "DOUBLESPIN";
}

bool isUpDownPartner(win::HWND h) {
    if (!controlClassIs(h, ControlClass::UpDown)) return false;
    auto buddy = reinterpret_cast<win::HWND>(win::SendMessageA(h, win::UDM_GETBUDDY, 0, 0));
    return buddy && isSpinField(buddy);
}

}  // namespace tk
