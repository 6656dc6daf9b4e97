// Saving a file so that a crash or a full disk never leaves half of it:
// the new contents go to a temporary file beside it, which then replaces the
// old one in a single rename.
#pragma once

#include <string>

namespace mervox {

// Returns false (and leaves any old file untouched) when it cannot write;
// errno then says why.
bool WriteFileAtomically(const std::string& path, const std::string& contents);

// The same, the new file readable and writable by its owner alone (a
// secret), whatever the old one allowed.
bool WritePrivateFileAtomically(const std::string& path, const std::string& contents);

// Says on stderr that the file at `path` could not be saved and why: once
// for each file and reason over the whole run, however often the game
// tries again.
void ReportSaveFailure(const std::string& path, int error);

}  // namespace mervox
