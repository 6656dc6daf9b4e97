#include <cstdio>

#include "app/program.h"

namespace mervox {

int RunTimedemo(const CommandLine&) {
    std::fputs("mervox: --timedemo is not available in this build yet\n", stderr);
    return 1;
}

}  // namespace mervox
