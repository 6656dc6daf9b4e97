// The game's link to the score board: a sender made from the options,
// every game played from the keyboard to its end kept in the outbox and
// sent, and the status line the title shows. Playbacks, practice rounds,
// the tutorial and the demonstrations are never sent; nor is a game the
// window closed on before its end.
#pragma once

#include <memory>
#include <string>

#include "game/state/game_state.h"
#include "net/board_sender.h"
#include "save/options_file.h"

namespace mervox {

struct ProgramBoard {
    std::unique_ptr<BoardSender> sender;
    bool gameUnderWay = false;  // the last update began in a game of the player's
};

// Makes the sender and starts its thread (which sends what the outbox
// holds from earlier runs). `timing` null: the game's own waits.
void StartProgramBoard(ProgramBoard& b, const Options& o, const std::string& baseDir,
                       const SendTiming* timing = nullptr);

// Called around every round update (not for a practice round or a
// playback): a game that has just ended is kept in the outbox, sent in the
// background. `practice` says the round is the viewer's practice.
void BeforeRoundUpdate(ProgramBoard& b, const GameState& g, bool practice);
void AfterRoundUpdate(ProgramBoard& b, const GameState& g);

// New options from the options screen.
void ChangeProgramBoard(ProgramBoard& b, const Options& o, const std::string& baseDir);

// The status for the title's line (Off without a sender).
BoardStatus ProgramBoardStatus(const ProgramBoard& b);

// Ends the thread; a send under way is cut short, its game kept.
void StopProgramBoard(ProgramBoard& b);

}  // namespace mervox
