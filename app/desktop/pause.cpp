#include "app/desktop/pause.h"

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "draw/text_drawing.h"

namespace mervox {

bool RoundCanPause(const GameState& g) { return g.RunMode == RunGame && !PlaysBack(g); }

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

bool EndStalePause(PauseState& s, const GameState& g) {
    if (s.paused && !RoundCanPause(g)) s.paused = false;
    return s.paused;
}

void DrawPauseOverlay(const FrameView& frame, const Font& font) {
    const size_t words = static_cast<size_t>(frame.width) * frame.height;
    for (size_t i = 0; i < words; ++i) frame.pixels[i] = (frame.pixels[i] >> 1) & 0x007F7F7Fu;
    DrawContext dc = MakeDrawContext(frame);
    const int n = frame.scale;
    SelectFont(dc, &font);
    static constexpr char16_t kText[] = u"PAUSE";
    // The caption face's capitals are about half the cell wide.
    const int width = font.cellHeight * 12 / 5;
    SetTextColour(dc, 0x202020);
    const int x = 1 + (kFrameWidth - width) / 2, y = 1 + (kFrameHeight - font.cellHeight) / 2;
    TextOutW(dc, (x + 2) * n, (y + 2) * n, kText, 5);
    SetTextColour(dc, 0xFAFAFA);
    TextOutW(dc, x * n, y * n, kText, 5);
}

}  // namespace mervox
