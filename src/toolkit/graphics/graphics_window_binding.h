#pragma once
// Ties the graphics to the toolkit's windows: the window half's graphics
// hooks reach the drawing state, and the graphics select output windows
// through the window table.

namespace tk {

// Binds the hooks on both sides that are still unbound.
void GraphicsWindowBind();

}  // namespace tk
