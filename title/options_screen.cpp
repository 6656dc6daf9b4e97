#include "title/options_screen.h"

#include <string>

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "draw/gdi_calls.h"
#include "draw/scaled_drawing.h"
#include "draw/text_drawing.h"

namespace mervox {

namespace {

constexpr LanguageChoice kLanguageCycle[] = {LanguageChoice::Desktop, LanguageChoice::Japanese,
                                             LanguageChoice::English};

void NextLanguage(Options& o, int step) {
    int k = 0;
    for (int i = 0; i < 3; ++i)
        if (kLanguageCycle[i] == o.language) k = i;
    o.language = kLanguageCycle[(k + step + 3) % 3];
}

void ChangeRow(Options& o, int row, int step) {
    switch (row) {
        case 0: o.colourMarks = !o.colourMarks; break;
        case 1: NextLanguage(o, step); break;
        case 3: o.boardSending = !o.boardSending; break;
        default:
            o.drawing = o.drawing == DrawingStyle::Sharp ? DrawingStyle::Classic : DrawingStyle::Sharp;
            break;
    }
}

}  // namespace

bool UpdateOptionsScreen(OptionsScreen& s, Options& o, bool titleIdle, const ActionFrame& in) {
    bool pressed[kOptionsScreenKeyCount] = {};
    const bool any = ReadMenuPresses(in, kOptionsScreenActions, s.held, pressed);
    auto press = [&](ControlAction a) {
        for (int k = 0; k < kOptionsScreenKeyCount; ++k)
            if (kOptionsScreenActions[k] == a) return pressed[k];
        return false;
    };
    if (s.waitRelease) {
        s.waitRelease = any;
        return true;
    }
    if (!s.open) {
        if (!titleIdle || !press(ControlAction::Options)) return false;
        s.open = true;
        s.row = 0;
        s.changed = false;
        return true;
    }
    if (press(ControlAction::MenuBack) || press(ControlAction::Options)) {
        s.open = false;
        s.waitRelease = true;
        return true;
    }
    if (press(ControlAction::MenuUp)) s.row = (s.row + kOptionRows - 1) % kOptionRows;
    if (press(ControlAction::MenuDown)) s.row = (s.row + 1) % kOptionRows;
    const int step = press(ControlAction::MenuLeft)                                          ? -1
                     : (press(ControlAction::MenuRight) || press(ControlAction::MenuChange)) ? 1
                                                                                              : 0;
    if (step != 0) {
        ChangeRow(o, s.row, step);
        s.changed = true;
    }
    return true;
}

void DrawOptionsKeyLine(const FrameView& frame, const RenderResources& res) {
    DrawContext dc = MakeDrawContext(frame);
    SelectFont(dc, &WordsFont(res));
    const std::u16string line = WithBoundKeys(OptionsScreenWords(res.language).titleLine, res.language, res.keys);
    ScaledEdgedWords(dc, 401, 311, line.c_str(), 0x7A4A1E, 0xFAFAFA);
}

void DrawOptionsScreen(const FrameView& frame, const RenderResources& res, const OptionsScreen& s, const Options& o) {
    const Palette& pal = res.palette;
    const OptionsWords& w = OptionsScreenWords(res.language);
    DrawContext dc = MakeDrawContext(frame);
    SelectPen(dc, &pal.FixedPens[paint::kGreyPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kBandGrey]);
    ScaledRectangle(dc, 81, 131, 561, 371);
    SelectPen(dc, &pal.FixedPens[paint::kLightGreyPen]);
    SelectBrush(dc, &pal.WhiteBrush);
    ScaledRectangle(dc, 91, 171, 551, 321);
    SelectFont(dc, &WordsFont(res));
    ScaledEdgedWords(dc, 101, 141, w.heading, 0x7A4A1E, 0xFAFAFA);

    const char16_t* language = o.language == LanguageChoice::Japanese  ? w.japanese
                               : o.language == LanguageChoice::English ? w.english
                                                                       : w.desktop;
    const char16_t* names[kOptionRows] = {w.marks, w.language, w.drawing, w.sending};
    const char16_t* values[kOptionRows] = {o.colourMarks ? w.on : w.off, language,
                                           o.drawing == DrawingStyle::Sharp ? w.sharp : w.classic,
                                           o.boardSending ? w.on : w.off};
    for (int r = 0; r < kOptionRows; ++r) {
        const int y = 181 + 34 * r;
        if (r == s.row) {
            SelectPen(dc, &pal.FixedPens[paint::kNoPen]);
            SelectBrush(dc, &pal.ShadeBrushes[paint::kWarmYellow][paint::kHighlightShade]);
            ScaledRectangle(dc, 96, y - 6, 547, y + 30);
        }
        ScaledWords(dc, 111, y, names[r], 0x505050);
        ScaledWords(dc, 381, y, u"\u25C0", r == s.row ? 0x7A4A1E : 0xB4B4B4);
        ScaledWords(dc, 403, y, values[r], 0x282828);
        ScaledWords(dc, 527, y, u"\u25B6", r == s.row ? 0x7A4A1E : 0xB4B4B4);
    }
    // The board and the name, as options.txt gives them (ASCII only).
    std::u16string board;
    if (o.board.empty() || o.player.empty()) {
        board = w.noBoard;
    } else {
        board = w.boardAt;
        board.append(o.board.begin(), o.board.end());
        board += w.playerAs;
        board.append(o.player.begin(), o.player.end());
    }
    ScaledWords(dc, 101, 327, board.c_str(), 0x505050);
    ScaledWords(dc, 101, 348, WithBoundKeys(w.keys, res.language, res.keys).c_str(), 0x505050);
}

}  // namespace mervox
