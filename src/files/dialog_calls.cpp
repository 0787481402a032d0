#include "files/dialog_calls.h"

namespace files {

DialogCalls& dialogCalls() {
    static DialogCalls calls;
    return calls;
}

void resetDialogCalls() {
    dialogCalls() = DialogCalls{};
}

void putDialogString(int field, std::string_view text) {
    if (auto& put = dialogCalls().DlgPutString) put(field, text);
}

int showModalDialog(int x, int y) {
    auto& d = dialogCalls();
    if (!d.DlgShow || !d.DialogInfoQuery) return 0;
    d.DlgShow(x, y, 0, kShowModal);
    return d.DialogInfoQuery(1);
}

}  // namespace files
