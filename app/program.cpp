#include "app/program.h"

#include <cstdio>

namespace mervox {

int RunProgram(const CommandLine&) {
    std::fputs("mervox: the game window is not available in this build yet.\n"
               "Run a recording headless instead:\n"
               "  mervox --headless --replay data/demo1.dat --mode 4\n", stderr);
    return 1;
}

}  // namespace mervox
