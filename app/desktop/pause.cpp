#include "app/desktop/pause.h"

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "draw/text_drawing.h"

namespace mervox {

bool RoundCanPause(const GameState& g) { return g.RunMode == RunGame && g.Playback == 0; }

bool ApplyPauseCommand(PauseState& s, const GameState& g, PlayerCommand command) {
    if (!RoundCanPause(g)) return false;
    switch (command) {
        case PlayerCommand::Pause:
            s.paused = !s.paused;
            return true;
        case PlayerCommand::FocusLost:
            if (s.paused) return false;
            s.paused = true;
            return true;
        case PlayerCommand::Screenshot:
            break;
    }
    return false;
}

bool PauseHoldsRound(PauseState& s, const GameState& g) {
    if (s.paused && !RoundCanPause(g)) s.paused = false;
    return s.paused;
}

void DrawPauseOverlay(uint32_t* frame, const Font& font) {
    for (int i = 0; i < kFrameWidth * kFrameHeight; ++i) frame[i] = (frame[i] >> 1) & 0x007F7F7Fu;
    DrawContext dc = MakeDrawContext(frame, kFrameWidth, kFrameHeight);
    SelectFont(dc, &font);
    static constexpr char16_t kText[] = u"PAUSE";
    // The caption face's capitals are about half the cell wide.
    const int width = font.cellHeight * 12 / 5;
    SetTextColour(dc, 0x202020);
    TextOutW(dc, 1 + (kFrameWidth - width) / 2 + 2, 1 + (kFrameHeight - font.cellHeight) / 2 + 2, kText, 5);
    SetTextColour(dc, 0xFAFAFA);
    TextOutW(dc, 1 + (kFrameWidth - width) / 2, 1 + (kFrameHeight - font.cellHeight) / 2, kText, 5);
}

}  // namespace mervox
