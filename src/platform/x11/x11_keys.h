#pragma once
// The virtual-key code of an X keysym (0 when the key has none).

namespace win::x11 {

int virtualKeyOfKeysym(unsigned long keysym);

}  // namespace win::x11
