// controls.txt, beside config.txt: the keys and pad buttons of every
// action, one line per action, by readable names:
//
//   kick = Z, pad a
//
// Key names are SDL's key names ("Left", "Left Ctrl", "Z", "F12"), and
// "Comma" for the comma key, whose own name separates names; a pad button
// is "pad " and SDL's game-controller name of the button or trigger
// ("pad a", "pad leftshoulder", "pad righttrigger"). Names are checked by
// the platform that uses them, not here.
#pragma once

#include <string>
#include <vector>

namespace mervox {

// Every action the program reads a key for, once: its name here, its word
// in the file and its default keys and pad buttons. The round's and the
// title's come first, then the program's own, then the viewer's (read only
// while a recording is watched, so they may share keys with the round's),
// then the options screen's.
// Adding an action is adding its line; a file written before it existed
// gets its defaults.
#define MERVOX_CONTROL_ACTIONS(X)                                          \
    X(Left, "left", "Left", "pad dpleft")                                  \
    X(Up, "up", "Up", "pad dpup")                                          \
    X(Right, "right", "Right", "pad dpright")                              \
    X(Down, "down", "Down", "pad dpdown")                                  \
    X(Kick, "kick", "Z", "pad a")                                          \
    X(Jump, "jump", "X", "pad b")                                          \
    X(TurnLeft, "turn_left", "Q", "pad x", "pad leftshoulder")             \
    X(TurnRight, "turn_right", "E", "pad y", "pad rightshoulder")          \
    /* The title polls no arrows and no turns: the pad's shoulders and y  \
       change its settings there. */                                       \
    X(Replay, "replay", "R", "pad x")                                      \
    X(FrameRate, "framerate", "F", "pad leftshoulder")                     \
    X(Music, "music", "B", "pad rightshoulder")                            \
    X(Effects, "effects", "S", "pad y")                                    \
    X(FastForward, "fast_forward", "Left Ctrl", "Right Ctrl", "pad righttrigger") \
    X(Escape, "escape", "Escape", "pad back")                              \
    X(Pause, "pause", "P", "pad start")                                    \
    X(Screenshot, "screenshot", "F12")                                     \
    X(WatchPlayPause, "watch_play_pause", "Space")                         \
    X(WatchStepForward, "watch_step_forward", ".")                         \
    X(WatchStepBack, "watch_step_back", "Comma")                           \
    X(WatchSlower, "watch_slower", "-")                                    \
    X(WatchFaster, "watch_faster", "=")                                    \
    X(WatchBack5s, "watch_back_5s", "Left", "pad dpleft")                  \
    X(WatchForward5s, "watch_forward_5s", "Right", "pad dpright")          \
    X(WatchBack30s, "watch_back_30s", "Down", "pad dpdown")                \
    X(WatchForward30s, "watch_forward_30s", "Up", "pad dpup")              \
    X(WatchToStart, "watch_to_start", "Home")                              \
    X(WatchToEnd, "watch_to_end", "End")                                   \
    X(WatchPreviousMark, "watch_previous_mark", "PageUp")                  \
    X(WatchNextMark, "watch_next_mark", "PageDown")                        \
    X(WatchOverlay, "watch_overlay", "H")                                  \
    /* A clip of the watched round to a video file: its first and last    \
       frame, then the export. */                                          \
    X(WatchClipStart, "watch_clip_start", "[")                             \
    X(WatchClipEnd, "watch_clip_end", "]")                                 \
    X(WatchClipExport, "watch_clip_export", "F9")                          \
    X(WatchLeave, "watch_leave", "Escape", "pad back")                     \
    /* Practising from the watched round: taking it over while watching, \
       the rewinds while practising (when the seek keys are not read). */ \
    X(PracticeTakeOver, "practice_take_over", "Return", "pad leftstick")  \
    X(PracticeBack5s, "practice_back_5s", "Backspace", "pad lefttrigger") \
    X(PracticeToTakeOver, "practice_to_take_over", "Home", "pad rightstick") \
    /* The title's options screen: opened from the title only, its other  \
       keys read only while it is open. */                                 \
    X(Options, "options", "O", "pad start")                                \
    X(MenuUp, "menu_up", "Up", "pad dpup")                                 \
    X(MenuDown, "menu_down", "Down", "pad dpdown")                         \
    X(MenuLeft, "menu_left", "Left", "pad dpleft")                         \
    X(MenuRight, "menu_right", "Right", "pad dpright")                     \
    X(MenuChange, "menu_change", "Z", "Return", "Space", "Keypad Enter", "pad a") \
    X(MenuBack, "menu_back", "Escape", "pad b", "pad back")              \
    /* The title's score board screen: opened from the title only, read   \
       with the options screen's cursor, change and back keys. */         \
    X(Board, "board", "L", "pad guide")

#define MERVOX_CONTROL_ACTION_NAME(name, ...) name,
enum class ControlAction { MERVOX_CONTROL_ACTIONS(MERVOX_CONTROL_ACTION_NAME) };
#undef MERVOX_CONTROL_ACTION_NAME

#define MERVOX_CONTROL_ACTION_ONE(...) +1
constexpr int kControlActionCount = 0 MERVOX_CONTROL_ACTIONS(MERVOX_CONTROL_ACTION_ONE);
#undef MERVOX_CONTROL_ACTION_ONE

// Every action, in the table's order.
extern const ControlAction kControlActions[kControlActionCount];

struct Controls {
    std::vector<std::string> names[kControlActionCount];
};

// The action's word in the file ("turn_left").
const char* ControlActionWord(ControlAction a);

Controls DefaultControls();

// The file's bytes: a comment block, then "word = name, name" lines.
std::string FormatControls(const Controls& c);

// The file read by the settings-line reader (save/settings_lines.h): each
// line that is not "word = names", names no action or gives an action a
// second time is a complaint and ignored; every other line counts. An
// action may be given no names ("pause ="); an action not given at all (a
// file older than it, or its line ignored) gets its defaults and is listed
// in `missing`.
struct ControlsRead {
    Controls controls;
    std::vector<ControlAction> missing;
    std::vector<std::string> complaints;  // "line N: ..."
};
ControlsRead ParseControls(const std::string& text);

// Reads baseDir/controls.txt: a missing file gives the defaults and is
// written; each complaint is one line on stderr. The player's file is
// never rewritten: the lines of the actions it lacks are added at its end,
// its own lines, comments and order kept. With `writeBack` false nothing is
// written.
Controls ReadControlsFile(const std::string& baseDir, bool writeBack = true);

}  // namespace mervox
