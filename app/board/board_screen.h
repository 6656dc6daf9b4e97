// The title's score board screen: the best 20 rounds (rank, name, score,
// level) and where the player stands, fetched in the background; choosing
// a round downloads its recording (at most 256 KiB, checked by the game's
// own reader) for the viewer to play, where it can be sought and taken
// over like any recording. The title's updates never wait for the board.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "draw/frame_buffer.h"
#include "draw/text_drawing.h"
#include "game/state/game_state.h"
#include "net/board_api.h"
#include "net/board_sender.h"
#include "render/render_resources.h"
#include "save/action_frame.h"
#include "save/controls_file.h"

namespace mervox {

// The exchanges of the board screen, each on a thread of its own, one at
// a time; the screen reads a copy of where they are.
class BoardFetcher {
public:
    enum class State { Idle, Working, Listed, Downloaded, Failed };
    struct View {
        State state = State::Idle;
        bool downloading = false;
        ScoresPage page;
        PlayerStanding me;
        bool hasMe = false;
        std::string recording;  // Downloaded
        int64_t id = 0;
        std::string message;    // Failed: why, in the board's or libcurl's words
    };

    explicit BoardFetcher(BoardLimits limits = {}) : limits_(limits) {}
    ~BoardFetcher();

    // The best 20 and the player's standing (no player: none).
    void list(const std::string& board, const std::string& player);
    // The recording of round `id`; the list stays as it was.
    void download(const std::string& board, int64_t id);
    // A downloaded recording taken: back to the list.
    void takeDownload();
    View view() const;

private:
    void run(std::function<void()> work);
    BoardLimits limits_;
    mutable std::mutex lock_;
    View view_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

constexpr ControlAction kBoardScreenActions[] = {ControlAction::Board, ControlAction::MenuUp, ControlAction::MenuDown,
                                                 ControlAction::MenuChange, ControlAction::MenuBack};
constexpr int kBoardScreenKeyCount = sizeof kBoardScreenActions / sizeof kBoardScreenActions[0];
constexpr int kBoardRows = 20;

struct BoardScreen {
    bool open = false;
    int row = 0;
    bool held[kBoardScreenKeyCount] = {};
    bool waitRelease = false;
    std::string board;   // the address the screen was opened on (empty: none set)
    std::string player;
    std::unique_ptr<BoardFetcher> fetcher;
    BoardLimits limits;  // the exchanges' (tests shorten them)
};

// One title update while the screen may open or is open. Returns true when
// the title's own update must not run. When a chosen round's recording
// has arrived, the screen closes and `chosen` holds it.
bool UpdateBoardScreen(BoardScreen& s, const BoardSettings& settings, bool titleIdle,
                       const ActionFrame& in, std::string& chosen);

// The screen over the frame; `table` is the small face of its rows.
void DrawBoardScreen(const FrameView& frame, const RenderResources& res, const BoardScreen& s, const Font& table);

// The title's line naming the key that opens the screen.
void DrawBoardKeyLine(const FrameView& frame, const RenderResources& res);

// Starts a played-back game of the recording in the program's state, as
// the title starts its replay (the settings and high scores stay). False,
// and nothing changed, when the text holds no key changes.
bool StartBoardRecording(GameState& g, const std::string& text);

}  // namespace mervox
