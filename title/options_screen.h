// The options screen, opened from the title: each option of options.txt
// with its current value and the keys that change it, drawn over the
// title's board in the game's colours.
#pragma once

#include "draw/frame_buffer.h"

#include <cstdint>

#include "render/render_resources.h"
#include "save/action_frame.h"
#include "save/controls_file.h"
#include "save/options_file.h"

namespace mervox {

// The actions of controls.txt the screen reads: the one that opens and
// closes it, the cursor's four and the change and back keys.
constexpr ControlAction kOptionsScreenActions[] = {
    ControlAction::Options,   ControlAction::MenuUp,     ControlAction::MenuDown, ControlAction::MenuLeft,
    ControlAction::MenuRight, ControlAction::MenuChange, ControlAction::MenuBack,
};
constexpr int kOptionsScreenKeyCount = sizeof kOptionsScreenActions / sizeof kOptionsScreenActions[0];

struct OptionsScreen {
    bool open = false;
    int row = 0;                                // the option the cursor is on
    bool held[kOptionsScreenKeyCount] = {};     // keys down at the last update
    bool waitRelease = false;          // closed; the title waits for the keys to go up
    bool changed = false;              // options changed since the screen opened
};

constexpr int kOptionRows = 4;  // colour marks, language, window drawing, sending to the board

// One title update while the screen may open or is open, with the pass's
// actions. Returns true when the title's own update must not run (the
// screen is open, or its keys are still held after closing). Changes to
// `o` are made at once; `changed` says that the file is to be written.
bool UpdateOptionsScreen(OptionsScreen& s, Options& o, bool titleIdle, const ActionFrame& in);

// The title's line naming the key that opens the screen.
void DrawOptionsKeyLine(const FrameView& frame, const RenderResources& res);

// The screen over the frame.
void DrawOptionsScreen(const FrameView& frame, const RenderResources& res, const OptionsScreen& s, const Options& o);

}  // namespace mervox
