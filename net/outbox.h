// The outbox: finished rounds waiting for the board's verdict, one
// recording a file in a folder beside the player's files. A round is
// written there whole (atomically) before anything is sent, and leaves only
// when the board has answered for it, so a board away, a network down or
// the program killed mid-send loses nothing.
#pragma once

#include <string>
#include <vector>

namespace mervox {

class Outbox {
public:
    explicit Outbox(std::string folder) : folder_(std::move(folder)) {}

    const std::string& folder() const { return folder_; }

    // Writes the recording as a new file (making the folder first); its
    // name in `name`. False, with errno's reason said once on stderr, when
    // it cannot.
    bool put(const std::string& recording, std::string* name = nullptr) const;

    // The rounds kept, oldest first (file names within the folder). Half
    // written temporary files are not rounds.
    std::vector<std::string> rounds() const;

    // The recording kept under `name`; false when it cannot be read.
    bool read(const std::string& name, std::string& recording) const;

    // Removes a round the board answered for.
    bool remove(const std::string& name) const;

    // Moves a round the board will never take (a recording it cannot read)
    // to the folder "refused" inside the outbox, out of the rounds to send
    // but still there for the player.
    bool setAside(const std::string& name) const;

private:
    std::string folder_;
};

// Where a player's outbox is: the folder "outbox" in the game folder.
std::string OutboxFolder(const std::string& baseDir);

}  // namespace mervox
