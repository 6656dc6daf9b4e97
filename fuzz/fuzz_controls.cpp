// Fuzzes the reading of controls.txt: any bytes give a set of controls
// whose written file reads back, with nothing to complain about, to the
// same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "save/controls_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const mervox::ControlsRead read = mervox::ParseControls(text);
    const std::string written = mervox::FormatControls(read.controls);
    const mervox::ControlsRead again = mervox::ParseControls(written);
    if (!again.complaints.empty() || !again.missing.empty()) std::abort();
    if (mervox::FormatControls(again.controls) != written) std::abort();
    return 0;
}
