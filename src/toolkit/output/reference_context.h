#pragma once
// The device a picture recorded in memory is measured against: an
// information context of the default printer once that printer is known,
// else the screen.

#include "platform/win_types.h"

namespace tk {

class ReferenceContext {
  public:
    ReferenceContext();
    ~ReferenceContext();
    ReferenceContext(const ReferenceContext&) = delete;
    ReferenceContext& operator=(const ReferenceContext&) = delete;
    win::HDC get() const { return dc_; }
    bool printer() const { return printer_; }

  private:
    win::HDC dc_ = nullptr;
    bool printer_ = false;
};

}  // namespace tk
