// The tutorial's captions and the round frames at which each is shown.
#include "game/tutorial_captions.h"

namespace mervox {

const TutorialCaption kTutorialCaptions[kCaptionCount] = {
    {u"同じ色のブロックを３個くっつけると、ブロックを消すことができます。", u"", 300, 1200},
    {u"ブロックが消える前に素早く同じ色をくっつけると、", u"連続してブロックを消すことができます。", 1500, 1500},
    {u"ブロックをキックすると、壁にぶつかるまでブロックを飛ばせます。", u"", 3000, 1500},
    {u"一定数のブロックを消すとレベルアップし、残り時間が増えます。", u"残り時間が0になるとゲームオーバー。", 4500, 900},
    {u"", u"", 0, 0},
};

}  // namespace mervox
