#pragma once
// Hardcopy driver 10: the graphics layer's device requests drawn on the
// printer, one print job per output.

namespace tk {

void XXWIN(int request);
// The printer query status of the last initialisation (0 = usable).
int PrinterDriverQueryStatus();
void ResetPrinterDriver();

}  // namespace tk
