#pragma once
// The vector device of printer pages: cairo drawing into a PDF file.

#include <memory>
#include <string>

#include "platform/gdi/drawing.h"

namespace win::gdi {

class PdfDocument {
  public:
    // A document whose pages are `widthPx` x `heightPx` device pixels at `dpi`.
    static std::unique_ptr<PdfDocument> create(const std::string& path, int widthPx, int heightPx,
                                               int dpi);
    virtual ~PdfDocument() = default;
    virtual void startPage(int widthPx, int heightPx) = 0;
    virtual void endPage() = 0;
    // Finishes the file; false when it could not be written.
    virtual bool finish() = 0;
    virtual VectorDevice& device() = 0;
};

}  // namespace win::gdi
