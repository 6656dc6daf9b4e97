#include "render/render_resources.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "draw/text_drawing.h"

namespace mervox {

namespace {

SpriteSheet& SheetIn(SheetSet& set, SheetId id) {
    return id == SheetId::Number ? set.number : id == SheetId::Title ? set.title : set.rank;
}

SpriteSheet& OriginalSheet(RenderResources& res, SheetId id) {
    return id == SheetId::Number ? res.NumberSheet : id == SheetId::Title ? res.TitleSheet : res.RankSheet;
}

SheetSize LayoutSize(SheetId id) {
    return id == SheetId::Number ? kNumberSheetSize : id == SheetId::Title ? kTitleSheetSize : kRankSheetSize;
}

constexpr SheetId kSheets[] = {SheetId::Number, SheetId::Title, SheetId::Rank};

}  // namespace

void LoadRenderResources(RenderResources& res, const std::string& baseDir) {
    res.baseDir = baseDir.empty() ? std::string(".") : baseDir;
    for (SheetId id : kSheets) {
        std::string why;
        const std::string name = SheetFileName(id);
        // What cannot be loaded is simply not drawn; say so here, once.
        if (!LoadPngImage(res.baseDir + "/" + name, OriginalSheet(res, id), &why))
            std::fprintf(stderr, "mervox: cannot load %s (%s); its pictures are not drawn\n", name.c_str(), why.c_str());
    }
    CreatePalette(res.palette);
    res.EnglishCaptionFont = CreateGameFont(kEnglishFontFile, 18, 400);
}

const Font& WordsFont(const RenderResources& res) {
    if (res.language == TextLanguage::English && res.EnglishCaptionFont.face != nullptr)
        return res.EnglishCaptionFont;
    return res.palette.CaptionFont;
}

void PrepareSheetsAt(RenderResources& res, int scale) {
    if (scale < 2 || scale > kMaxDrawScale) return;
    SheetSet& set = res.larger[scale - 2];
    if (set.ready) return;
    for (SheetId id : kSheets) {
        SpriteSheet& sheet = SheetIn(set, id);
        const SheetSize need = LayoutSize(id);
        LoadPngImage(res.baseDir + "/" + SheetFileName(id, scale), sheet);
        if (sheet.pixels != nullptr && SheetWidth(sheet) >= need.w * scale && SheetHeight(sheet) >= need.h * scale)
            continue;
        // No drawing at this size: the original, every pixel a block.
        EnlargeSheet(OriginalSheet(res, id), scale, sheet);
    }
    set.ready = true;
}

void ReleaseRenderResources(RenderResources& res) {
    FreeSpriteSheet(res.NumberSheet);
    FreeSpriteSheet(res.TitleSheet);
    FreeSpriteSheet(res.RankSheet);
    for (SheetSet& set : res.larger) {
        FreeSpriteSheet(set.number);
        FreeSpriteSheet(set.title);
        FreeSpriteSheet(set.rank);
        set.ready = false;
    }
    ReleasePalette(res.palette);
    ReleaseFont(res.EnglishCaptionFont);
}

const SpriteSheet& SheetOf(const RenderResources& res, SheetId sheet, int scale) {
    if (scale >= 2 && scale <= kMaxDrawScale) {
        const SheetSet& set = res.larger[scale - 2];
        return sheet == SheetId::Number ? set.number : sheet == SheetId::Title ? set.title : set.rank;
    }
    switch (sheet) {
        case SheetId::Number: return res.NumberSheet;
        case SheetId::Title: return res.TitleSheet;
        case SheetId::Rank: return res.RankSheet;
    }
    return res.NumberSheet;
}

void DrawSheetRectAt(const FrameView& frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY) {
    const int n = frame.scale;
    DrawSprite(frame, r.w * n, r.h * n, SheetOf(res, r.sheet, n), dstX, dstY, r.x * n, r.y * n);
}

void DrawSheetRect(const FrameView& frame, const RenderResources& res, const SheetRect& r, int dstX, int dstY) {
    const int64_t n = frame.scale;
    auto fine = [n](int v) { return static_cast<int>(std::max<int64_t>(std::min<int64_t>(v * n, INT32_MAX), INT32_MIN)); };
    DrawSheetRectAt(frame, res, r, fine(dstX), fine(dstY));
}

}  // namespace mervox
