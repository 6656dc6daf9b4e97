#include "app/viewer/watch_services.h"

#include <cstdio>

namespace mervox {

void PrintSoundMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace mervox
