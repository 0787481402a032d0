// Enhanced-metafile slots are measured against the default printer once it
// is known, and against the screen before.

#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/window/user_api.h"
#include "toolkit/output/metafile_slots.h"
#include "toolkit/output/printer_device_context.h"

namespace tk {
namespace {

TEST(MetafileSlotReference, ThePrinterOnceTheDefaultPrinterIsKnown) {
    ResetPrinterDeviceContext();
    int hres = 0, vres = 0, hsize = 0, vsize = 0;
    MetafileSlotCreate(0, 756, 540, hres, vres, hsize, vsize);
    win::HDC screen = win::GetDC(nullptr);
    EXPECT_EQ(hres, win::GetDeviceCaps(screen, win::HORZRES));
    EXPECT_EQ(MetafileSlotReferenceResolution(), win::GetDeviceCaps(screen, win::LOGPIXELSX));
    win::ReleaseDC(nullptr, screen);

    ASSERT_EQ(PrinterGetDefault(), 1);
    ASSERT_EQ(printerTarget().defaultRead, 1);
    MetafileSlotCreate(1, 756, 540, hres, vres, hsize, vsize);
    win::HDC printer = win::CreateICA(printerTarget().driver.c_str(), printerTarget().device.c_str(),
                                      nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(hres, win::GetDeviceCaps(printer, win::HORZRES));
    EXPECT_EQ(hsize, win::GetDeviceCaps(printer, win::HORZSIZE));
    EXPECT_EQ(MetafileSlotReferenceResolution(), win::GetDeviceCaps(printer, win::LOGPIXELSX));
    EXPECT_NE(MetafileSlotReferenceResolution(), 96);
    win::DeleteDC(printer);
    MetafileSlotDelete(0);
    MetafileSlotDelete(1);
    ResetPrinterDeviceContext();
}

}  // namespace
}  // namespace tk
