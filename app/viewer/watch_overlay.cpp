#include "app/viewer/watch_overlay.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "draw/draw_context.h"
#include "draw/scaled_drawing.h"
#include "draw/text_drawing.h"
#include "game/key_bits.h"
#include "render/player_words.h"
#include "render/scene_drawing.h"

namespace mervox {

namespace {

// The overlay's layout in frame-buffer pixels: a darkened band near the
// foot of the picture, a row of text (frame counter, speed, the round's
// keys) and the timeline bar under it. The band ends above the round's
// frame rate and play time in the bottom corners, which stay as the round
// draws them.
constexpr int kTextTop = kWatchBandTop + 3;
constexpr TimelineBar kBar = {13, 445, 629, 453};
constexpr int kSpeedLeft = 350;
constexpr int kKeyLabelInset = 4;
// Marks on the bar: a level-up stands out above and below it, a chain
// link hangs under it; the knob stands out less than a level-up. None
// reaches the key boxes above or the band's foot below.
constexpr int kLevelMarkWidth = 2;
constexpr int kLevelMarkReach = 4;
constexpr int kChainMarkWidth = 1;
constexpr int kChainMarkDepth = 3;
constexpr int kKnobHalfWidth = 1;  // one pixel either side of the frame's x
constexpr int kKnobReach = 3;
// The marked clip: a line over the bar, and its line of text in a band of
// its own above the overlay's, there only while it has something to say.
constexpr int kClipLineHeight = 2;
constexpr int kClipBandHeight = 16;
constexpr uint32_t kClipColour = 0x0040E0A0;
// The timeline takes the mouse this far above, below and beside the bar.
constexpr int kBarReach = 8;

constexpr uint32_t kBarPlayed = 0x0060C0FF;   // frame-buffer words: 0x00RRGGBB
constexpr uint32_t kBarRest = 0x00505860;
constexpr uint32_t kKnob = 0x00FFFFFF;
constexpr uint32_t kLevelMark = 0x00FFE040;
constexpr uint32_t kChainMark = 0x00FF7040;
constexpr uint32_t kKeyLit = 0x00FFD040;
constexpr uint32_t kKeyDark = 0x00303438;
constexpr uint32_t kKeyLabelLit = 0x00000000;
constexpr uint32_t kKeyLabelDark = 0x00A0A0A0;
constexpr uint32_t kTextColour = 0x00FFFFFF;
constexpr uint32_t kPausedColour = 0x0040E0FF;
// A practice round's band: its branch and frame above, its keys below.
constexpr int kPracticeFrameLeft = 300;
constexpr int kPracticeHelpTop = 442;

static_assert(kBar.top - kLevelMarkReach >= kKeyBoxes.bottom && kBar.bottom + kLevelMarkReach <= kWatchBandBottom,
              "the marks stay between the key boxes and the band's foot");

// Darkens the band under the overlay to a quarter of its brightness.
// Rows and columns of the original picture, at the frame's scale.
void DarkenRows(const FrameView& fb, int top, int bottom) {
    const int n = fb.scale;
    for (int y = std::max(top, 0) * n; y < std::min(bottom, kFrameHeight) * n; ++y)
        for (int x = 0; x < fb.width; ++x) {
            uint32_t& p = fb.pixels[static_cast<size_t>(y) * fb.width + x];
            p = (p >> 2) & 0x003F3F3Fu;
        }
}

// The overlay is laid out in pixels of the original picture and drawn at
// the frame's scale.
void Text(DrawContext& dc, int x, int y, const std::string& ascii, uint32_t colour) {
    std::u16string t(ascii.begin(), ascii.end());
    SetTextColour(dc, colour);
    ScaledText(dc, x, y, t.data(), static_cast<int>(t.size()));
}

std::string Clock(int frame) {
    char buf[32];
    const int centi = frame * 100 / 60;
    std::snprintf(buf, sizeof buf, "%d:%02d.%02d", centi / 6000, centi / 100 % 60, centi % 100);
    return buf;
}

const char* SpeedLabel(const WatchSession& s) {
    static const char* const labels[] = {"x1/4", "x1/2", "x1", "x2", "x4", "x8", "max"};
    return labels[s.speed];
}

// The eight round keys as small boxes, lit while held in this update,
// each labelled with its action's key as the player bound it (the start of
// a name too long for the box).
void DrawKeys(DrawContext& dc, const RenderResources& res, int32_t keys) {
    static const struct {
        int32_t bit;
        ControlAction action;
    } boxes[] = {{KeyLeft, ControlAction::Left},     {KeyUp, ControlAction::Up},
                 {KeyRight, ControlAction::Right},   {KeyDown, ControlAction::Down},
                 {KeyKick, ControlAction::Kick},     {KeyJump, ControlAction::Jump},
                 {KeyTurnQ, ControlAction::TurnLeft}, {KeyTurnE, ControlAction::TurnRight}};
    static_assert(kKeyBoxes.top == kTextTop, "the boxes stand on the overlay's row of text");
    int x = kKeyBoxes.left;
    for (const auto& b : boxes) {
        const bool lit = (keys & b.bit) != 0;
        ScaledFill(dc, x, kKeyBoxes.top, x + kKeyBoxes.width, kKeyBoxes.bottom, lit ? kKeyLit : kKeyDark);
        SetTextColour(dc, lit ? kKeyLabelLit : kKeyLabelDark);
        const std::u16string label = KeyBoxLabel(res.keys, b.action);
        int count = static_cast<int>(label.size());
        while (count > 1 &&
               TextWidthW(res.palette.SmallFont, label.data(), count) > kKeyBoxes.width - kKeyLabelInset)
            --count;
        ScaledText(dc, x + kKeyLabelInset, kKeyBoxes.top, label.data(), count);
        x += kKeyBoxes.pitch;
    }
}

}  // namespace

std::u16string KeyBoxLabel(const Controls& c, ControlAction a) {
    // The Japanese screens' way of naming keys: the arrow keys as arrows.
    const char* word = ControlActionWord(a);
    const std::u16string placeholder = u"{" + std::u16string(word, word + std::strlen(word)) + u"}";
    return WithBoundKeys(placeholder.c_str(), TextLanguage::Japanese, c);
}

std::string PracticeHelpLine(const Controls& c) {
    return BoundKeyName(c, ControlAction::PracticeBack5s) + ": back 5 s   " +
           BoundKeyName(c, ControlAction::PracticeToTakeOver) + ": back to the takeover   " +
           BoundKeyName(c, ControlAction::Escape) + ": leave and save";
}

namespace {

// A practice round: where it branched, where it is, and its keys.
void DrawPracticeOverlay(const WatchSession& s, const RenderResources& res, DrawContext& dc) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "practice: %s from frame %d", s.practice.recording.c_str(),
                  s.practice.branchFrame);
    Text(dc, kBar.left, kTextTop, buf, kPausedColour);
    std::snprintf(buf, sizeof buf, "%d  %s", WatchFrame(s), Clock(WatchFrame(s)).c_str());
    Text(dc, kPracticeFrameLeft, kTextTop, buf, kTextColour);
    Text(dc, kBar.left, kPracticeHelpTop, PracticeHelpLine(res.keys), kKeyLabelDark);
    DrawKeys(dc, res, s.g->KeysNow);
}

void DrawOverlay(const WatchSession& s, const RenderResources& res, const FrameView& fb) {
    DarkenRows(fb, kWatchBandTop, kWatchBandBottom);
    DrawContext dc = MakeDrawContext(fb);
    SelectFont(dc, &res.palette.SmallFont);
    if (s.mode == ViewerMode::Practising) {
        DrawPracticeOverlay(s, res, dc);
        return;
    }

    const TimelineBar b = kBar;
    const int last = std::max(WatchLastFrame(s), 1);
    auto xOf = [&](int frame) {
        return b.left + static_cast<int>(static_cast<long long>(frame) * (b.right - 1 - b.left) / last);
    };
    const int knob = xOf(WatchFrame(s));
    ScaledFill(dc, b.left, b.top, knob, b.bottom, kBarPlayed);
    ScaledFill(dc, knob, b.top, b.right, b.bottom, kBarRest);
    for (const TimelineMark& m : s.timeline.marks) {
        const int x = xOf(m.frame);
        if (m.kind == MarkKind::LevelUp)
            ScaledFill(dc, x, b.top - kLevelMarkReach, x + kLevelMarkWidth, b.bottom + kLevelMarkReach,
                          kLevelMark);
        else ScaledFill(dc, x, b.bottom, x + kChainMarkWidth, b.bottom + kChainMarkDepth, kChainMark);
    }
    if (s.clip.start >= 0 || s.clip.end >= 0 || s.clip.job) {
        const ClipRange r = ClipRangeOf(s.clip, WatchLastFrame(s));
        ScaledFill(dc, xOf(r.from), b.top - kClipLineHeight, xOf(r.to) + 1, b.top, kClipColour);
    }
    const std::string clip = ClipStatusLine(s.clip, WatchLastFrame(s));
    if (!clip.empty()) {
        DarkenRows(fb, kWatchBandTop - kClipBandHeight, kWatchBandTop);
        Text(dc, b.left, kWatchBandTop - kClipBandHeight + 2, clip, kClipColour);
    }
    ScaledFill(dc, knob - kKnobHalfWidth, b.top - kKnobReach, knob + kKnobHalfWidth + 1, b.bottom + kKnobReach,
                  kKnob);

    char buf[96];
    std::snprintf(buf, sizeof buf, "%d / %d   %s / %s", WatchFrame(s), WatchLastFrame(s),
                  Clock(WatchFrame(s)).c_str(), Clock(WatchLastFrame(s)).c_str());
    Text(dc, b.left, kTextTop, buf, kTextColour);
    Text(dc, kSpeedLeft, kTextTop, s.paused ? "paused" : SpeedLabel(s), s.paused ? kPausedColour : kTextColour);
    DrawKeys(dc, res, s.g->KeysNow);
}

}  // namespace

int FrameAtBarX(const WatchSession& s, int x) {
    const TimelineBar b = kBar;
    const int span = b.right - 1 - b.left;
    const int px = std::clamp(x, b.left, b.right - 1) - b.left;
    return static_cast<int>((static_cast<long long>(px) * WatchLastFrame(s) + span / 2) / span);
}

bool NearTimelineBar(const WatchSession& s, int x, int y) {
    const TimelineBar b = kBar;
    return s.overlay && y >= b.top - kBarReach && y < b.bottom + kBarReach && x >= b.left - kBarReach &&
           x < b.right + kBarReach;
}

void DrawWatch(const WatchSession& s, const RenderResources& res, FrameView fb) {
    DrawScene(*s.g, res, fb);
    DrawWatchOverlay(s, res, fb);
}

void DrawWatchOverlay(const WatchSession& s, const RenderResources& res, FrameView fb) {
    if (s.overlay && s.g != nullptr) DrawOverlay(s, res, fb);
}

}  // namespace mervox
