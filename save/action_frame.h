// Every action of controls.txt in one pass of a loop: held when it was
// sampled, or pressed (and perhaps let go again) since the sample before,
// and how many times it was pressed since then.
// The desktop samples its keys and pads once a pass into this plain value;
// the title, the round, the options screen and the viewer all read the
// same sample, so no reader can take a press from another and a tap
// shorter than a pass counts in exactly one pass.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <initializer_list>

#include "game/input_frame.h"
#include "save/controls_file.h"

namespace mervox {

// The most presses of one action a sample counts; more within one pass
// count as this many.
constexpr int kMaxTapsCounted = 15;

struct ActionFrame {
    std::bitset<kControlActionCount> held;
    std::bitset<kControlActionCount> tapped;  // pressed at least once since the last sample
    // How many times, up to kMaxTapsCounted (0 exactly where `tapped` is
    // not set, when the frame is built through tap()). The round and the
    // title take one update a pass and read only `tapped`; the viewer's
    // steps and seeks answer every press.
    std::array<uint8_t, kControlActionCount> taps{};

    bool down(ControlAction a) const {
        const size_t i = static_cast<size_t>(a);
        return held[i] || tapped[i];
    }
    // Pressed since the last sample: a new press even when the action was
    // down in the pass before (two taps in two passes are two presses).
    bool pressedAgain(ControlAction a) const { return tapped[static_cast<size_t>(a)]; }
    // The presses counted (at least one where `tapped` is set).
    int tapCount(ControlAction a) const {
        const size_t i = static_cast<size_t>(a);
        return tapped[i] && taps[i] == 0 ? 1 : taps[i];
    }
    void hold(ControlAction a) { held.set(static_cast<size_t>(a)); }
    // `times` more presses of `a` (none when it is not positive).
    void tap(ControlAction a, int times = 1) {
        if (times <= 0) return;
        const size_t i = static_cast<size_t>(a);
        tapped.set(i);
        taps[i] = static_cast<uint8_t>(times >= kMaxTapsCounted - taps[i] ? kMaxTapsCounted : taps[i] + times);
    }
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
