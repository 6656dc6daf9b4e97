// The viewer's overlay over the drawn round: the timeline with its marks,
// the frame and the time, the speed and the round keys held.
#pragma once

#include <string>

#include "app/viewer/watch_session.h"
#include "draw/frame_buffer.h"
#include "render/render_resources.h"
#include "save/key_names.h"

namespace mervox {

// The rows of the picture the overlay darkens and draws on, [top, bottom):
// above the round's frame rate and play time, which keep their rows.
constexpr int kWatchBandTop = 421;
constexpr int kWatchBandBottom = 458;

// The timeline bar in frame-buffer pixels, for drawing and for the mouse.
struct TimelineBar {
    int left, top, right, bottom;  // right and bottom exclusive
};
// The frame under a frame-buffer x on the bar (any y), clamped to the round.
int FrameAtBarX(const WatchSession& s, int x);
// Whether a frame-buffer point is near enough the shown bar to take the
// mouse.
bool NearTimelineBar(const WatchSession& s, int x, int y);

// The boxes of the eight round keys (arrows, kick, jump, the two turns), in
// a row on the overlay's line of text: `width` wide every `pitch` pixels,
// bottom exclusive.
struct KeyBoxRow {
    int left, top, width, bottom, pitch;
};
constexpr KeyBoxRow kKeyBoxes = {452, kWatchBandTop + 3, 19, 441, 22};

// The label of a round key's box in the overlay: the key bound to `a` in
// `c` as the Japanese screens name it (the arrow keys as arrows, "Z").
std::u16string KeyBoxLabel(const Controls& c, ControlAction a);

// The practice round's help line: its keys as `c` binds them ("Backspace:
// back 5 s   Home: back to the takeover   Esc: leave and save").
std::string PracticeHelpLine(const Controls& c);

// Draws the overlay over a drawn scene when it is shown.
void DrawWatchOverlay(const WatchSession& s, const RenderResources& res, FrameView fb);

// Draws the round at its frame and, when shown, the overlay.
void DrawWatch(const WatchSession& s, const RenderResources& res, FrameView fb);

}  // namespace mervox
