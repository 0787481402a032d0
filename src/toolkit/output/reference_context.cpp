#include "toolkit/output/reference_context.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/window/user_api.h"
#include "toolkit/output/printer_device_context.h"

namespace tk {

ReferenceContext::ReferenceContext() {
    const PrinterTarget& t = printerTarget();
    if (t.defaultRead == 1) {
        dc_ = win::CreateICA(t.driver.c_str(), t.device.c_str(), nullptr, nullptr);
        printer_ = dc_ != nullptr;
    }
    if (!dc_) dc_ = win::GetDC(nullptr);
}

ReferenceContext::~ReferenceContext() {
    if (printer_)
        win::DeleteDC(dc_);
    else
        win::ReleaseDC(nullptr, dc_);
}

}  // namespace tk
