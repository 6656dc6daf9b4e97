// What drawing needs besides the game state: the palette and the three
// sprite sheets, owned by the program (or a headless capture) and passed
// to every drawing call.
#pragma once

#include <string>

#include "render/palette.h"
#include "render/player_words.h"
#include "render/sheet_layout.h"
#include "render/sprite_sheet.h"

namespace mervox {

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
};

// The caption-sized font the words of `res.language` are drawn with.
const Font& WordsFont(const RenderResources& res);

// The loaded sheet a rectangle of the sheet layout lies on.
const SpriteSheet& SheetOf(const RenderResources& res, SheetId sheet);

// Copies the picture `r` to (dstX, dstY) of the frame.
void DrawSheetRect(uint32_t* frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY);

// Loads data/number.png, data/title.png and data/rank.png from `baseDir`
// (sheets that fail stay unloaded and draw nothing; each is named on stderr)
// and creates the palette.
void LoadRenderResources(RenderResources& res, const std::string& baseDir);
// Frees the sheets and releases the palette.
void ReleaseRenderResources(RenderResources& res);

// Calls from the scene drawing into the window that owns the frame: the
// message pump at the start of a scene and the frame copy at its end.
// Either may be null.
struct FrameHooks {
    void* ctx = nullptr;
    void (*pumpMessagesFor)(void* ctx, int milliseconds) = nullptr;
    void (*presentFrame)(void* ctx) = nullptr;
};

}  // namespace mervox
