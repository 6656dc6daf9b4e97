#include "title/startup_question_picture.h"

#include <string>

#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "draw/scaled_drawing.h"
#include "draw/text_drawing.h"
#include "render/player_words.h"

namespace mervox {

namespace {

void CentredText(DrawContext& dc, int x0, int x1, int y, const char16_t* s, uint32_t colour) {
    // The width at the original size: the font at N times the size is
    // about N times as wide.
    const int count = static_cast<int>(std::char_traits<char16_t>::length(s));
    const int w = dc.font != nullptr ? TextWidthW(*dc.font, s, count) : 0;
    ScaledWords(dc, x0 + (x1 - x0 - w) / 2, y, s, colour);
}

}  // namespace

void DrawFullScreenQuestion(const FrameView& frame, const RenderResources& res, int highlighted) {
    const Palette& pal = res.palette;
    const QuestionWords& w = FullScreenQuestionWords(res.language);
    DrawContext dc = MakeDrawContext(frame);
    SelectPen(dc, &pal.FixedPens[paint::kNoPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kLightestGrey]);
    ScaledRectangle(dc, 0, 0, kFrameWidth + 2, kFrameHeight + 2);
    SelectPen(dc, &pal.FixedPens[paint::kGreyPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kBandGrey]);
    ScaledRectangle(dc, 121, 161, 521, 341);
    SelectFont(dc, &WordsFont(res));
    ScaledEdgedWords(dc, 141, 171, u"mervox", 0x7A4A1E, 0xFAFAFA);
    CentredText(dc, 121, 521, 211, w.question, 0x282828);
    const QuestionBox boxes[2] = {kQuestionYes, kQuestionNo};
    const char16_t* answers[2] = {w.yes, w.no};
    for (int k = 0; k < 2; ++k) {
        const QuestionBox& b = boxes[k];
        SelectPen(dc, &pal.FixedPens[k == highlighted ? paint::kOutlinePen : paint::kGreyPen]);
        SelectBrush(dc, k == highlighted ? &pal.ShadeBrushes[paint::kWarmYellow][paint::kHighlightShade] : &pal.WhiteBrush);
        ScaledRectangle(dc, b.x0, b.y0, b.x1, b.y1);
        CentredText(dc, b.x0, b.x1, b.y0 + 11, answers[k], 0x282828);
    }
    CentredText(dc, 121, 521, 311, WithBoundKeys(w.hint, res.language, res.keys).c_str(), 0x787878);
}

}  // namespace mervox
