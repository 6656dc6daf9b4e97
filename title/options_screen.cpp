#include "title/options_screen.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "draw/gdi_calls.h"
#include "draw/scaled_drawing.h"
#include "draw/text_drawing.h"

namespace mervox {

namespace {

constexpr const char* kLanguageVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

constexpr LanguageChoice kLanguageCycle[] = {LanguageChoice::Desktop, LanguageChoice::Japanese,
                                             LanguageChoice::English};

int Length(const char16_t* s) {
    int n = 0;
    while (s[n] != 0) ++n;
    return n;
}

// The screens are laid out in pixels of the original picture: at drawing
// scale N each coordinate is N times that, and the fonts N times the size.
DrawContext ContextFor(const FrameView& frame) {
    return MakeDrawContext(frame.pixels, frame.width, frame.height, frame.scale);
}

void Text(DrawContext& dc, int x, int y, const char16_t* s, uint32_t colour) {
    SetTextColour(dc, colour);
    ScaledText(dc, x, y, s, Length(s));
}

// The text drawn with a light edge, as the title's own lines are.
void EdgedText(DrawContext& dc, int x, int y, const char16_t* s, uint32_t colour, uint32_t edge) {
    SetTextColour(dc, edge);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) ScaledText(dc, x + dx, y + dy, s, Length(s));
    Text(dc, x, y, s, colour);
}

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

TextLanguage DesktopLanguage(const char* (*getEnv)(const char* name)) {
    for (const char* name : kLanguageVariables) {
        const char* v = getEnv != nullptr ? getEnv(name) : nullptr;
        if (v == nullptr || *v == '\0') continue;
        return std::strncmp(v, "ja", 2) == 0 ? TextLanguage::Japanese : TextLanguage::English;
    }
    return TextLanguage::English;
}

TextLanguage ShownLanguage(LanguageChoice choice, bool inWindow) {
    switch (choice) {
        case LanguageChoice::Japanese: return TextLanguage::Japanese;
        case LanguageChoice::English: return TextLanguage::English;
        case LanguageChoice::Desktop: break;
    }
    if (!inWindow) return TextLanguage::Japanese;
    return DesktopLanguage([](const char* name) -> const char* { return std::getenv(name); });
}

void ApplyOptions(RenderResources& res, const Options& o, bool inWindow) {
    res.colourMarks = o.colourMarks;
    res.language = ShownLanguage(o.language, inWindow);
}

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
    DrawContext dc = ContextFor(frame);
    SelectFont(dc, &WordsFont(res));
    const std::u16string line = WithBoundKeys(OptionsScreenWords(res.language).titleLine, res.language, res.keys);
    EdgedText(dc, 401, 311, line.c_str(), 0x7A4A1E, 0xFAFAFA);
}

void DrawOptionsScreen(const FrameView& frame, const RenderResources& res, const OptionsScreen& s, const Options& o) {
    const Palette& pal = res.palette;
    const OptionsWords& w = OptionsScreenWords(res.language);
    DrawContext dc = ContextFor(frame);
    SelectPen(dc, &pal.FixedPens[paint::kGreyPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kBandGrey]);
    ScaledRectangle(dc, 81, 131, 561, 371);
    SelectPen(dc, &pal.FixedPens[paint::kLightGreyPen]);
    SelectBrush(dc, &pal.WhiteBrush);
    ScaledRectangle(dc, 91, 171, 551, 321);
    SelectFont(dc, &WordsFont(res));
    EdgedText(dc, 101, 141, w.heading, 0x7A4A1E, 0xFAFAFA);

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
        Text(dc, 111, y, names[r], 0x505050);
        Text(dc, 381, y, u"\u25C0", r == s.row ? 0x7A4A1E : 0xB4B4B4);
        Text(dc, 403, y, values[r], 0x282828);
        Text(dc, 527, y, u"\u25B6", r == s.row ? 0x7A4A1E : 0xB4B4B4);
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
    Text(dc, 101, 327, board.c_str(), 0x505050);
    Text(dc, 101, 348, WithBoundKeys(w.keys, res.language, res.keys).c_str(), 0x505050);
}

namespace {

void CentredText(DrawContext& dc, int x0, int x1, int y, const char16_t* s, uint32_t colour) {
    // The width at the original size: the font at N times the size is
    // about N times as wide.
    const int w = dc.font != nullptr ? TextWidthW(*dc.font, s, Length(s)) : 0;
    Text(dc, x0 + (x1 - x0 - w) / 2, y, s, colour);
}

}  // namespace

void DrawFullScreenQuestion(const FrameView& frame, const RenderResources& res, int highlighted) {
    const Palette& pal = res.palette;
    const QuestionWords& w = FullScreenQuestionWords(res.language);
    DrawContext dc = ContextFor(frame);
    SelectPen(dc, &pal.FixedPens[paint::kNoPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kLightestGrey]);
    ScaledRectangle(dc, 0, 0, kFrameWidth + 2, kFrameHeight + 2);
    SelectPen(dc, &pal.FixedPens[paint::kGreyPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kBandGrey]);
    ScaledRectangle(dc, 121, 161, 521, 341);
    SelectFont(dc, &WordsFont(res));
    EdgedText(dc, 141, 171, u"mervox", 0x7A4A1E, 0xFAFAFA);
    CentredText(dc, 121, 521, 211, w.question, 0x282828);
    const ScreenBox boxes[2] = {kQuestionYes, kQuestionNo};
    const char16_t* answers[2] = {w.yes, w.no};
    for (int k = 0; k < 2; ++k) {
        const ScreenBox& b = boxes[k];
        SelectPen(dc, &pal.FixedPens[k == highlighted ? paint::kOutlinePen : paint::kGreyPen]);
        SelectBrush(dc, k == highlighted ? &pal.ShadeBrushes[paint::kWarmYellow][paint::kHighlightShade] : &pal.WhiteBrush);
        ScaledRectangle(dc, b.x0, b.y0, b.x1, b.y1);
        CentredText(dc, b.x0, b.x1, b.y0 + 11, answers[k], 0x282828);
    }
    CentredText(dc, 121, 521, 311, WithBoundKeys(w.hint, res.language, res.keys).c_str(), 0x787878);
}

}  // namespace mervox
