// The tutorial's captions and the round frames at which each is shown.
#include <cstring>

#include "game/simulation.h"

namespace mervox {

namespace {

struct CaptionText {
    const char16_t* line1;
    const char16_t* line2;
    int32_t start;
    int32_t length;
};

constexpr CaptionText kCaptions[kCaptionCount] = {
    {u"同じ色のブロックを３個くっつけると、ブロックを消すことができます。", u"", 300, 1200},
    {u"ブロックが消える前に素早く同じ色をくっつけると、", u"連続してブロックを消すことができます。", 1500, 1500},
    {u"ブロックをキックすると、壁にぶつかるまでブロックを飛ばせます。", u"", 3000, 1500},
    {u"一定数のブロックを消すとレベルアップし、残り時間が増えます。", u"残り時間が0になるとゲームオーバー。", 4500, 900},
    {u"", u"", 0, 0},
};

void CopyLine(char16_t* dst, const char16_t* src) {
    int n = 0;
    while (src[n] != 0 && n < kCaptionChars - 1) {
        dst[n] = src[n];
        ++n;
    }
    for (; n < kCaptionChars; ++n) dst[n] = 0;
}

}  // namespace

void FillTutorialCaptions(GameState& g) {
    for (int k = 0; k < kCaptionCount; ++k) {
        CopyLine(g.TutorialCaptions[k].line1, kCaptions[k].line1);
        CopyLine(g.TutorialCaptions[k].line2, kCaptions[k].line2);
        g.TutorialCaptions[k].start = kCaptions[k].start;
        g.TutorialCaptions[k].length = kCaptions[k].length;
    }
}

}  // namespace mervox
