// The program's entry: chooses the screen (an X11 window, or the headless
// screen of the tests) and runs the main program.

#include <cstdio>

#include "platform/window/presenter.h"
#include "platform/x11/backend.h"
#include "shell/program.h"
#include "util/memory_reuse.h"

int main() {
    util::keepFreedMemoryForReuse();
    win::startBackend();
    int code = 0;
    try {
        code = shell::PELK();
    } catch (const win::IdleWithoutInput&) {
        // The headless screen has no user: nothing can ever happen.
        std::fputs("pelk-gm: no display to show the program on (set DISPLAY)\n", stderr);
        code = 2;
    }
    win::stopBackend();
    return code;
}
