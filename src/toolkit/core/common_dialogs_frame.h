#pragma once
// The modal frame every standard dialog runs in: owned by the toolkit's
// dialog owner, the other toolkit windows disabled while it is up, and the
// focus put back afterwards.

#include "platform/window/user_api.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/window_table.h"

namespace tk {

class ModalScope {
  public:
    ModalScope() : frame_(frameOf()), owner_(frame_.owner()), focus_(win::GetFocus()) {
        frame_.begin(owner_);
    }
    ~ModalScope() { finish(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    win::HWND owner() const { return owner_; }

    void finish() {
        if (finished_) return;
        finished_ = true;
        frame_.end(owner_);
        if (owner_ && win::IsWindow(owner_) && hasChildStyle(owner_)) FocusWindowActivate(owner_);
        if (focus_ && win::IsWindow(focus_) &&
            (focus_ == owner_ || (owner_ && win::IsChild(owner_, focus_))))
            win::SetFocus(focus_);
    }

  private:
    static ModalFrame& frameOf() {
        static ModalFrame none;
        return seams().modalFrame ? *seams().modalFrame : none;
    }
    ModalFrame& frame_;
    win::HWND owner_;
    win::HWND focus_;
    bool finished_ = false;
};

}  // namespace tk
