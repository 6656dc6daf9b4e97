// Saving a file so that a crash or a full disk never leaves half of it:
// the new contents go to a temporary file beside it, which then replaces the
// old one in a single rename.
#pragma once

#include <string>

namespace mervox {

// Returns false (and leaves any old file untouched) when it cannot write.
bool WriteFileAtomically(const std::string& path, const std::string& contents);

}  // namespace mervox
