#include "toolkit/core/seams.h"

namespace tk {

ToolkitSeams& seams() {
    static ToolkitSeams s;
    return s;
}

}  // namespace tk
