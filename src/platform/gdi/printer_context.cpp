// Printer contexts draw through a vector device; no printer context exists
// until the print system creates one.

#include "platform/gdi/drawing.h"

namespace win::gdi {

VectorDevice* vectorOf(DeviceContext&) {
    return nullptr;
}
void abortPrinterOnDelete(DeviceContext&) {}

}  // namespace win::gdi
