#include "render/render_resources.h"

#include <cstdio>

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
}

void ReleaseRenderResources(RenderResources& res) {
    FreeSpriteSheet(res.NumberSheet);
    FreeSpriteSheet(res.TitleSheet);
    FreeSpriteSheet(res.RankSheet);
    ReleasePalette(res.palette);
}

}  // namespace mervox
