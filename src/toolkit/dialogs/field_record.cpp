#include "toolkit/dialogs/field_record.h"

namespace tk {

FieldRecord* fieldRecordOf(win::HWND control) {
    if (!control || !win::IsWindow(control)) return nullptr;
    return reinterpret_cast<FieldRecord*>(win::GetWindowLongPtrA(control, win::GWL_USERDATA));
}

FieldRecord* FieldRecordCreate(win::HWND control) {
    FieldRecordFree(control);
    auto* record = new FieldRecord;
    win::SetWindowLongPtrA(control, win::GWL_USERDATA, reinterpret_cast<win::LONG_PTR>(record));
    return record;
}

void FieldRecordFree(win::HWND control) {
    FieldRecord* record = fieldRecordOf(control);
    if (!record) return;
    win::SetWindowLongPtrA(control, win::GWL_USERDATA, 0);
    delete record;
}

}  // namespace tk
