#include "toolkit/core/message_box.h"

#include <string>

#include "platform/message_box.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {
namespace {

// The position of the default button in the set as the system orders it.
int mapDefaultButton(int buttons, int defaultButton) {
    switch (buttons) {
        case 1:
        case 2:
        case 3:
            return defaultButton == 1 ? 1 : 2;
        case 4:
            return defaultButton == 1 || defaultButton == 2 ? defaultButton : 3;
        case 5:
            return defaultButton == 1 ? 2 : defaultButton == 2 ? 1 : 3;
        default:
            return 1;
    }
}

win::UINT styleOf(int buttons, int icon, int mappedDefault) {
    win::UINT style = win::MB_OK;
    switch (buttons) {
        case 1:
            style = win::MB_OKCANCEL;
            break;
        case 2:
            style = win::MB_RETRYCANCEL;
            break;
        case 3:
            style = win::MB_YESNO;
            break;
        case 4:
            style = win::MB_YESNOCANCEL;
            break;
        case 5:
            style = win::MB_ABORTRETRYIGNORE;
            break;
        default:
            break;
    }
    switch (icon) {
        case 1:
            style |= win::MB_ICONSTOP;
            break;
        case 2:
            style |= win::MB_ICONQUESTION;
            break;
        case 3:
            style |= win::MB_ICONEXCLAMATION;
            break;
        case 4:
            style |= win::MB_ICONINFORMATION;
            break;
        default:
            break;
    }
    if (mappedDefault == 2) style |= win::MB_DEFBUTTON2;
    if (mappedDefault == 3) style |= win::MB_DEFBUTTON3;
    return style;
}

int resultOf(int answer) {
    switch (answer) {
        case win::IDOK:
        case win::IDRETRY:
        case win::IDYES:
            return 1;
        case win::IDCANCEL:
        case win::IDIGNORE:
            return 0;
        case win::IDABORT:
        case win::IDNO:
            return 2;
        default:
            return -1;  // the box failed
    }
}

ModalFrame& modalFrame() {
    static ModalFrame none;
    return seams().modalFrame ? *seams().modalFrame : none;
}

}  // namespace

void MessageBoxRun(int buttons, int icon, int mappedDefault, int& result, const char* message,
                   const char* caption) {
    ModalFrame& frame = modalFrame();
    win::HWND owner = frame.owner();
    frame.begin(owner);
    int answer = win::MessageBoxA(owner, message, caption, styleOf(buttons, icon, mappedDefault));
    frame.end(owner);
    result = resultOf(answer);
}

void MsgBox(int buttons, int icon, int defaultButton, std::string_view message,
            std::string_view caption) {
    ToolkitState& s = toolkitState();
    int mapped = mapDefaultButton(buttons, defaultButton);
    ModalFrame& frame = modalFrame();
    if (int error = frame.freeze(1, -1); error != 0) ReportLibraryError(error, "MsgBox");
    int result = -1;
    MessageBoxRun(buttons, icon, mapped, result, osText(message).c_str(), osText(caption).c_str());
    frame.freeze(0, -1);
    s.LastDialogChangedField = 0;
    // A box that could not be shown leaves -1, never the previous answer.
    s.MessageBoxResult = result;
    if (result == -1) ReportLibraryError(1004, "MsgBox");
}

void AbnormalExit(std::string_view message, int code) {
    if (!isBlankText(message)) {
        std::string codeText = std::to_string(code);
        if (codeText.size() > 4) codeText = "****";
        std::string text = "Abnormal exit (code " + codeText + ") : " + osText(message);
        Win32ErrorBox("Veraziderad", text.c_str());
    }
    Win32ProcessExit(code);
}

}  // namespace tk
