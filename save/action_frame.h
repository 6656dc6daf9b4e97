// Every action of controls.txt in one pass of a loop: held when it was
// sampled, or pressed (and perhaps let go again) since the sample before.
// The desktop samples its keys and pads once a pass into this plain value;
// the title, the round, the options screen and the viewer all read the
// same sample, so no reader can take a press from another and a tap
// shorter than a pass counts in exactly one pass.
#pragma once

#include <bitset>
#include <initializer_list>

#include "game/input_frame.h"
#include "save/controls_file.h"

namespace mervox {

struct ActionFrame {
    std::bitset<kControlActionCount> held;
    std::bitset<kControlActionCount> tapped;

    bool down(ControlAction a) const {
        const size_t i = static_cast<size_t>(a);
        return held[i] || tapped[i];
    }
    // Pressed since the last sample: a new press even when the action was
    // down in the pass before (two taps in two passes are two presses).
    bool pressedAgain(ControlAction a) const { return tapped[static_cast<size_t>(a)]; }
    void hold(ControlAction a) { held.set(static_cast<size_t>(a)); }
    void tap(ControlAction a) { tapped.set(static_cast<size_t>(a)); }
};

// A menu's keys in one pass: for each of `actions`, whether it is a press
// (down now and not in the pass before, or tapped again since), with
// `held` carried from pass to pass. Returns whether any of them is down.
template <size_t N>
bool ReadMenuPresses(const ActionFrame& in, const ControlAction (&actions)[N], bool (&held)[N], bool (&pressed)[N]) {
    bool any = false;
    for (size_t k = 0; k < N; ++k) {
        const bool now = in.down(actions[k]);
        pressed[k] = now && (!held[k] || in.pressedAgain(actions[k]));
        held[k] = now;
        any = any || now;
    }
    return any;
}

// The action each key of the round and the title stands for.
ControlAction ActionOfHostKey(HostKey key);

// The round's and the title's keys in the pass.
InputFrame RoundInputOf(const ActionFrame& f);

// A frame in which the actions of the keys of `in` are held or tapped as
// those keys are (a platform whose player is a script of HostKeys).
ActionFrame ActionFrameOf(const InputFrame& in);

}  // namespace mervox
