#include "render/render_resources.h"

#include <cstdio>

#include "draw/text_drawing.h"

namespace mervox {

void LoadRenderResources(RenderResources& res, const std::string& baseDir) {
    const std::string dir = baseDir.empty() ? std::string(".") : baseDir;
    const struct {
        const char* name;
        SpriteSheet* sheet;
    } sheets[] = {{"data/number.png", &res.NumberSheet},
                  {"data/title.png", &res.TitleSheet},
                  {"data/rank.png", &res.RankSheet}};
    for (const auto& s : sheets) {
        std::string why;
        // What cannot be loaded is simply not drawn; say so here, once.
        if (!LoadPngImage(dir + "/" + s.name, *s.sheet, &why))
            std::fprintf(stderr, "mervox: cannot load %s (%s); its pictures are not drawn\n", s.name, why.c_str());
    }
    CreatePalette(res.palette);
    res.EnglishCaptionFont = CreateGameFont(kEnglishFontFile, 18, 400);
}

const Font& WordsFont(const RenderResources& res) {
    if (res.language == TextLanguage::English && res.EnglishCaptionFont.face != nullptr)
        return res.EnglishCaptionFont;
    return res.palette.CaptionFont;
}

void ReleaseRenderResources(RenderResources& res) {
    FreeSpriteSheet(res.NumberSheet);
    FreeSpriteSheet(res.TitleSheet);
    FreeSpriteSheet(res.RankSheet);
    ReleasePalette(res.palette);
    ReleaseFont(res.EnglishCaptionFont);
}

const SpriteSheet& SheetOf(const RenderResources& res, SheetId sheet) {
    switch (sheet) {
        case SheetId::Number: return res.NumberSheet;
        case SheetId::Title: return res.TitleSheet;
        case SheetId::Rank: return res.RankSheet;
    }
    return res.NumberSheet;
}

void DrawSheetRect(uint32_t* frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY) {
    DrawSprite(frame, r.w, r.h, SheetOf(res, r.sheet), dstX, dstY, r.x, r.y);
}

}  // namespace mervox
