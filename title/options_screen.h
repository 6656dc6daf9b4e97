// The options screen, opened from the title: each option of options.txt
// with its current value and the keys that change it, drawn over the
// title's board in the game's colours. And how the options reach the
// drawing: the colour marks and the language of the words.
#pragma once

#include "draw/frame_buffer.h"

#include <cstdint>

#include "render/render_resources.h"
#include "save/action_frame.h"
#include "save/controls_file.h"
#include "save/options_file.h"

namespace mervox {


// The desktop's language from LANGUAGE, LC_ALL, LC_MESSAGES and LANG, the
// first one set: Japanese when it starts with "ja", English otherwise.
TextLanguage DesktopLanguage(const char* (*getEnv)(const char* name));

// The language shown for the choice: the desktop's in the window, Japanese
// headless (traces and pinned pictures) unless the file says English.
TextLanguage ShownLanguage(LanguageChoice choice, bool inWindow);

// Puts the options into the drawing's resources.
void ApplyOptions(RenderResources& res, const Options& o, bool inWindow);

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

// The start-up question, full screen or a window, over a plain frame of
// the title's grey, with the two answers as buttons; `highlighted` 0 is
// yes, 1 no.
struct ScreenBox {
    int x0, y0, x1, y1;
};
constexpr ScreenBox kQuestionYes{171, 261, 311, 301};
constexpr ScreenBox kQuestionNo{331, 261, 471, 301};
void DrawFullScreenQuestion(const FrameView& frame, const RenderResources& res, int highlighted);

}  // namespace mervox
