// What drawing needs besides the game state: the palette and the three
// sprite sheets, owned by the program (or a headless capture) and passed
// to every drawing call.
#pragma once

#include <string>

#include "draw/frame_buffer.h"
#include "render/palette.h"
#include "render/player_words.h"
#include "render/sheet_layout.h"
#include "render/sprite_sheet.h"

namespace mervox {

// The three sheets drawn at one scale.
struct SheetSet {
    SpriteSheet number, title, rank;
    bool ready = false;
};

struct RenderResources {
    Palette palette;
    SpriteSheet NumberSheet;
    SpriteSheet TitleSheet;
    SpriteSheet RankSheet;
    // The player's choices of how things are shown (options.txt): off,
    // the picture is the original one.
    bool colourMarks = false;  // a shape of its own on each block colour
    TextLanguage language = TextLanguage::Japanese;  // of the captions and the game's own screens
    Font EnglishCaptionFont;   // the captions' size in the English face
    // The keys the words name ("Kick with Z"), as the desktop bound them
    // from controls.txt (BoundNames); the defaults wherever no player's
    // keys are read (headless runs, exports, tests).
    Controls keys = DefaultControls();
    // The sheets at drawing scales 2 to kMaxDrawScale, made ready by
    // PrepareSheetsAt; a scale not made ready draws no sprites.
    SheetSet larger[kMaxDrawScale - 1];
    std::string baseDir = ".";  // where the sheets were loaded from
};

// The caption-sized font the words of `res.language` are drawn with.
const Font& WordsFont(const RenderResources& res);

// The loaded sheet a rectangle of the sheet layout lies on, at a drawing
// scale (1: the sheets of the original picture).
const SpriteSheet& SheetOf(const RenderResources& res, SheetId sheet, int scale = 1);

// Copies the picture `r` to (dstX, dstY) of the frame, in pixels of the
// original picture (N times that at the frame's drawing scale N).
void DrawSheetRect(const FrameView& frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY);
// The same with (dstX, dstY) in the frame's own pixels.
void DrawSheetRectAt(const FrameView& frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY);

// Loads data/number.png, data/title.png and data/rank.png from `baseDir`
// (sheets that fail stay unloaded and draw nothing; each is named on stderr)
// and creates the palette.
void LoadRenderResources(RenderResources& res, const std::string& baseDir);
// Makes the sheets of drawing scale N ready: data/number@Nx.png and the
// others from the same folder, or, where such a file is missing or too
// small, the original sheet enlarged by whole pixels. Once per scale.
void PrepareSheetsAt(RenderResources& res, int scale);
// Frees the sheets and releases the palette.
void ReleaseRenderResources(RenderResources& res);

// Calls from the scene drawing into the window that owns the frame: the
// message pump at the start of a scene and the frame copy at its end. The
// base has no window: neither does anything.
class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    virtual void pumpMessagesFor(int /*milliseconds*/) const {}
    virtual void presentFrame() const {}
};

}  // namespace mervox
