#include "util/graph_package_state.h"

namespace util {

GraphPackageState& graphPackageState() {
    static GraphPackageState state;
    return state;
}

void resetGraphPackageState() {
    graphPackageState() = GraphPackageState{};
}

}  // namespace util
