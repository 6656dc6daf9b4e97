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

}  // namespace mervox
