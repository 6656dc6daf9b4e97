#include "app/board/board_status_line.h"

#include "app/board/board_words.h"
#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "draw/scaled_drawing.h"
#include "draw/text_drawing.h"

namespace mervox {

namespace {

constexpr int kLineX = 11;
constexpr int kLineY = 9;

}  // namespace

void DrawBoardStatusLine(const FrameView& frame, const RenderResources& res, const BoardStatus& status) {
    const std::u16string words = BoardStatusWords(status, res.language);
    if (words.empty()) return;
    DrawContext dc = MakeDrawContext(frame);
    SelectFont(dc, &WordsFont(res));
    const int n = static_cast<int>(words.size());
    SetTextColour(dc, 0xFAFAFA);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) ScaledText(dc, kLineX + dx, kLineY + dy, words.c_str(), n);
    const uint32_t colour = status.kind == BoardStatusKind::Refused   ? 0xA02020
                            : status.kind == BoardStatusKind::Waiting ? 0x7A4A1E
                                                                      : 0x285028;
    SetTextColour(dc, colour);
    ScaledText(dc, kLineX, kLineY, words.c_str(), n);
}

}  // namespace mervox
