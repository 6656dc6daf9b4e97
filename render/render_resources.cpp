#include "render/render_resources.h"

namespace mervox {

void LoadRenderResources(RenderResources& res, const std::string& baseDir) {
    const std::string dir = baseDir.empty() ? std::string(".") : baseDir;
    LoadPngImage(dir + "/data/number.png", res.NumberSheet);
    LoadPngImage(dir + "/data/title.png", res.TitleSheet);
    LoadPngImage(dir + "/data/rank.png", res.RankSheet);
    CreatePalette(res.palette);
}

void ReleaseRenderResources(RenderResources& res) {
    FreeSpriteSheet(res.NumberSheet);
    FreeSpriteSheet(res.TitleSheet);
    FreeSpriteSheet(res.RankSheet);
    ReleasePalette(res.palette);
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
