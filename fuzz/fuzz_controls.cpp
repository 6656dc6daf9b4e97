// Fuzzes the reading of controls.txt: any bytes either leave the controls as
// they were or give a set whose written file reads back to the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "save/controls_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const mervox::Controls defaults = mervox::DefaultControls();
    mervox::Controls c = defaults;
    if (!mervox::ParseControls(text, c)) {
        if (mervox::FormatControls(c) != mervox::FormatControls(defaults)) std::abort();
        return 0;
    }
    const std::string written = mervox::FormatControls(c);
    mervox::Controls again;
    if (!mervox::ParseControls(written, again)) std::abort();
    if (mervox::FormatControls(again) != written) std::abort();
    return 0;
}
