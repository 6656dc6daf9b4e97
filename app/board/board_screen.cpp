#include "app/board/board_screen.h"

#include <cstdio>
#include <functional>

#include "app/board/board_words.h"
#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "draw/scaled_drawing.h"
#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

// ---- the fetcher --------------------------------------------------------------

BoardFetcher::~BoardFetcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void BoardFetcher::run(std::function<void()> work) {
    if (thread_.joinable()) thread_.join();
    thread_ = std::thread(std::move(work));
}

void BoardFetcher::list(const std::string& board, const std::string& player) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        // One exchange at a time: the title never waits for one to end.
        if (view_.state == State::Working || view_.downloading) return;
        view_ = View{};
        view_.state = State::Working;
    }
    run([this, board, player] {
        const BoardApi api(board, limits_, &stop_);
        ScoresPage page = api.scores(kBoardRows, 0);
        PlayerStanding me;
        const bool ask = page.error.fault == BoardFault::None && !player.empty();
        if (ask) me = api.player(player);
        std::lock_guard<std::mutex> hold(lock_);
        view_.page = std::move(page);
        view_.hasMe = ask && (me.error.fault == BoardFault::None || me.error.status == 404);
        view_.me = std::move(me);
        view_.state = view_.page.error.fault == BoardFault::None ? State::Listed : State::Failed;
        view_.message = view_.page.error.message;
    });
}

void BoardFetcher::download(const std::string& board, int64_t id) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (view_.state == State::Working || view_.downloading) return;
        view_.downloading = true;
        view_.message.clear();
    }
    run([this, board, id] {
        const RecordingDownload d = BoardApi(board, limits_, &stop_).recording(id);
        std::lock_guard<std::mutex> hold(lock_);
        view_.downloading = false;
        if (d.error.fault != BoardFault::None) {
            view_.message = d.error.message;
            return;
        }
        view_.state = State::Downloaded;
        view_.recording = d.text;
        view_.id = id;
    });
}

void BoardFetcher::takeDownload() {
    std::lock_guard<std::mutex> hold(lock_);
    if (view_.state != State::Downloaded) return;
    view_.state = State::Listed;
    view_.recording.clear();
}

BoardFetcher::View BoardFetcher::view() const {
    std::lock_guard<std::mutex> hold(lock_);
    return view_;
}

// ---- the screen's keys ----------------------------------------------------------

bool UpdateBoardScreen(BoardScreen& s, const BoardSettings& settings, bool titleIdle,
                       const ActionFrame& in, std::string& chosen) {
    bool pressed[kBoardScreenKeyCount] = {};
    const bool any = ReadMenuPresses(in, kBoardScreenActions, s.held, pressed);
    auto press = [&](ControlAction a) {
        for (int k = 0; k < kBoardScreenKeyCount; ++k)
            if (kBoardScreenActions[k] == a) return pressed[k];
        return false;
    };
    if (s.waitRelease) {
        s.waitRelease = any;
        return true;
    }
    if (!s.open) {
        if (!titleIdle || !press(ControlAction::Board)) return false;
        s.open = true;
        s.row = 0;
        s.board = settings.board;
        s.player = settings.player;
        if (!s.fetcher) s.fetcher = std::make_unique<BoardFetcher>(s.limits);
        if (!s.board.empty()) s.fetcher->list(s.board, s.player);
        return true;
    }
    if (press(ControlAction::MenuBack) || press(ControlAction::Board)) {
        s.open = false;
        s.waitRelease = true;
        return true;
    }
    if (!s.fetcher) return true;
    const BoardFetcher::View v = s.fetcher->view();
    if (v.state == BoardFetcher::State::Downloaded) {
        chosen = v.recording;
        s.fetcher->takeDownload();
        s.open = false;
        s.waitRelease = true;
        return true;
    }
    const int rows = static_cast<int>(v.page.scores.size());
    if (v.state != BoardFetcher::State::Listed || rows == 0) return true;
    if (s.row >= rows) s.row = rows - 1;
    if (press(ControlAction::MenuUp)) s.row = (s.row + rows - 1) % rows;
    if (press(ControlAction::MenuDown)) s.row = (s.row + 1) % rows;
    if (press(ControlAction::MenuChange)) s.fetcher->download(s.board, v.page.scores[static_cast<size_t>(s.row)].id);
    return true;
}

bool StartBoardRecording(GameState& g, const std::string& text) {
    auto log = std::make_unique<InputRecord[]>(kInputLogLength);
    if (ParseInputLog(text, log.get()) == 0) return false;
    g.Playback = PlaybackOn;
    g.RunMode = RunGame;
    ResetScene(g);
    g.StartRequested = 0;
    g.KeyLatch = 0;
    g.FadeLevel = 0;
    for (int k = 0; k < kInputLogLength; ++k) g.InputLog[k] = log[static_cast<size_t>(k)];
    return true;
}

// ---- drawing -----------------------------------------------------------------

namespace {

void Text(DrawContext& dc, int x, int y, const std::u16string& s, uint32_t colour) {
    SetTextColour(dc, colour);
    ScaledText(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}

std::u16string Digits(long long n) {
    const std::string d = std::to_string(n);
    return std::u16string(d.begin(), d.end());
}

// Numbers right-aligned on `right`, at the table face's width.
void RightText(DrawContext& dc, const Font& face, int right, int y, const std::u16string& s, uint32_t colour) {
    const int w = TextWidthW(face, s.c_str(), static_cast<int>(s.size()));
    Text(dc, right - w, y, s, colour);
}

constexpr int kRowTop = 94;
constexpr int kRowHeight = 15;

}  // namespace

void DrawBoardKeyLine(const FrameView& frame, const RenderResources& res) {
    DrawContext dc = MakeDrawContext(frame);
    SelectFont(dc, &WordsFont(res));
    const std::u16string line = WithBoundKeys(BoardWords(res.language).titleLine, res.language, res.keys);
    ScaledEdgedWords(dc, 401, 331, line.c_str(), 0x7A4A1E, 0xFAFAFA);
}

void DrawBoardScreen(const FrameView& frame, const RenderResources& res, const BoardScreen& s, const Font& table) {
    const Palette& pal = res.palette;
    const BoardScreenWords& w = BoardWords(res.language);
    DrawContext dc = MakeDrawContext(frame);
    SelectPen(dc, &pal.FixedPens[paint::kGreyPen]);
    SelectBrush(dc, &pal.GreyBrushes[paint::kBandGrey]);
    ScaledRectangle(dc, 31, 21, 609, 461);
    SelectPen(dc, &pal.FixedPens[paint::kLightGreyPen]);
    SelectBrush(dc, &pal.WhiteBrush);
    ScaledRectangle(dc, 41, 61, 599, 401);
    SelectFont(dc, &WordsFont(res));
    ScaledEdgedWords(dc, 51, 31, w.heading, 0x7A4A1E, 0xFAFAFA);
    Text(dc, 151, 31, s.board.empty() ? std::u16string(OptionsScreenWords(res.language).noBoard)
                                      : WordsFromUtf8(s.board), 0x505050);
    Text(dc, 51, 432, WithBoundKeys(w.keys, res.language, res.keys), 0x505050);
    if (s.board.empty() || !s.fetcher) return;

    const BoardFetcher::View v = s.fetcher->view();
    if (v.state == BoardFetcher::State::Working || v.state == BoardFetcher::State::Idle) {
        Text(dc, 61, kRowTop, w.loading, 0x505050);
        return;
    }
    if (v.state == BoardFetcher::State::Failed) {
        Text(dc, 61, kRowTop, WordsFromUtf8(v.message, 60), 0xA02020);
        return;
    }
    // The headings in the words' face (it has the Japanese ones), the rows
    // (digits and names of the board's letters) in the smaller table face.
    const Font& words = WordsFont(res);
    Text(dc, 61, 68, w.columns[0], 0x787878);
    Text(dc, 131, 68, w.columns[1], 0x787878);
    RightText(dc, words, 491, 68, w.columns[2], 0x787878);
    RightText(dc, words, 581, 68, w.columns[3], 0x787878);
    if (v.page.scores.empty()) Text(dc, 61, kRowTop, w.empty, 0x505050);
    SelectFont(dc, &table);
    for (size_t i = 0; i < v.page.scores.size() && i < static_cast<size_t>(kBoardRows); ++i) {
        const BoardEntry& e = v.page.scores[i];
        const int y = kRowTop + kRowHeight * static_cast<int>(i);
        if (static_cast<int>(i) == s.row) {
            SelectPen(dc, &pal.FixedPens[paint::kNoPen]);
            SelectBrush(dc, &pal.ShadeBrushes[paint::kWarmYellow][paint::kHighlightShade]);
            ScaledRectangle(dc, 46, y - 1, 594, y + kRowHeight - 1);
        }
        const uint32_t ink = e.name == s.player ? 0x7A4A1E : 0x282828;
        RightText(dc, table, 91, y, Digits(e.rank), ink);
        Text(dc, 131, y, WordsFromUtf8(e.name, 24), ink);
        RightText(dc, table, 491, y, Digits(e.score), ink);
        RightText(dc, table, 581, y, Digits(e.level), ink);
    }
    SelectFont(dc, &WordsFont(res));
    if (v.downloading) {
        Text(dc, 51, 408, w.downloading, 0x505050);
    } else if (!v.message.empty()) {
        Text(dc, 51, 408, WordsFromUtf8(v.message, 60), 0xA02020);
    } else if (v.hasMe) {
        std::u16string me = w.you + WordsFromUtf8(s.player) + u"  ";
        if (v.me.hasBest) me += StandingWords(v.me.rank, v.me.total, v.me.best.score, v.me.best.level, res.language);
        else me += w.noRound;
        Text(dc, 51, 408, me, 0x285028);
    }
}

}  // namespace mervox
