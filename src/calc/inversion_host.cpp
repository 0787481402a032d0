#include "calc/inversion_host.h"

namespace calc {

InversionHost& inversionHost() {
    static InversionHost host;
    return host;
}

void resetInversionHost() {
    inversionHost() = InversionHost{};
}

}  // namespace calc
