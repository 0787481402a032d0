#pragma once
// Hardcopy driver 10: the graphics layer's device requests drawn on the
// printer, one print job per output unless a PrinterDocument holds the job
// open across several outputs.

namespace tk {

void XXWIN(int request);
// The printer query status of the last initialisation (0 = usable).
int PrinterDriverQueryStatus();
void ResetPrinterDriver();

// One printer document for every output started while it lives: the end
// of an output ends its page only, the next output's pages follow in the
// same document, and the document is ended (printed) with this object. A
// user who prints gets one job however many outputs the printing makes.
class PrinterDocument {
  public:
    PrinterDocument();
    ~PrinterDocument();
    PrinterDocument(const PrinterDocument&) = delete;
    PrinterDocument& operator=(const PrinterDocument&) = delete;
};

}  // namespace tk
