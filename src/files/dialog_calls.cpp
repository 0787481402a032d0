#include "files/dialog_calls.h"

#include <algorithm>

namespace files {

DialogCalls& dialogCalls() {
    static DialogCalls calls;
    return calls;
}

void resetDialogCalls() {
    dialogCalls() = DialogCalls{};
}

void PUTDLGSTRING(int field, std::string_view text, int n) {
    auto& d = dialogCalls();
    if (!d.DlgPutString) return;
    if (n < 1) {
        d.DlgPutString(field, " ");
        return;
    }
    d.DlgPutString(field, text.substr(0, std::min<std::size_t>(text.size(), n)));
}

int showModalDialog(int x, int y) {
    auto& d = dialogCalls();
    if (!d.DlgShow || !d.DialogInfoQuery) return 0;
    d.DlgShow(x, y, 0, kShowModal);
    return d.DialogInfoQuery(1);
}

}  // namespace files
