#include "toolkit/graphics/graphics_services.h"

namespace tk {

DrawingSurface& drawingSurface() {
    static DrawingSurface surface;
    return surface;
}

GraphicsServices& graphicsServices() {
    static GraphicsServices services;
    return services;
}

}  // namespace tk
