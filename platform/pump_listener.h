// What the program hears of the window's events as the message pump takes
// them from the queue.
#pragma once

#include <cstdint>

#include "platform/player_command.h"

namespace mervox {

// What the program hears of the events the pump takes from the queue. The
// base hears nothing.
class PumpListener {
public:
    virtual ~PumpListener() = default;
    // Events the program registered for itself (the music's "buffer done"
    // report), by their registered type and their code.
    virtual void userEvent(uint32_t /*type*/, int32_t /*code*/) {}
    // The pause and screenshot keys and focus loss, as they are taken.
    virtual void command(PlayerCommand /*command*/) {}
};

}  // namespace mervox
