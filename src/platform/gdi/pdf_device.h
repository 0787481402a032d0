#pragma once
// The vector device of printer pages: cairo drawing into a PDF file.

#include <memory>
#include <string>

#include "platform/gdi/drawing.h"

namespace win::gdi {

class PdfDocument {
  public:
    // A document drawn in device pixels at `dpi` on pages of the given size in points.
    static std::unique_ptr<PdfDocument> create(const std::string& path, double widthPt,
                                               double heightPt, int dpi);
    virtual ~PdfDocument() = default;
    virtual void startPage(double widthPt, double heightPt) = 0;
    virtual void endPage() = 0;
    // Finishes the file; false when it could not be written.
    virtual bool finish() = 0;
    virtual VectorDevice& device() = 0;
};

}  // namespace win::gdi
