#include "app/board/program_board.h"

#include "app/board/board_settings.h"
#include "save/input_log_file.h"

namespace mervox {

void StartProgramBoard(ProgramBoard& b, const Options& o, const std::string& baseDir, const SendTiming* timing) {
    b.sender = std::make_unique<BoardSender>(BoardSettingsOf(o, baseDir), timing != nullptr ? *timing : SendTiming{});
    b.sender->start();
}

void BeforeRoundUpdate(ProgramBoard& b, const GameState& g, bool practice) {
    b.gameUnderWay = g.RunMode == RunGame && !PlaysBack(g) && !practice;
}

void AfterRoundUpdate(ProgramBoard& b, const GameState& g) {
    const bool ended = b.gameUnderWay && g.RunMode == RunTitle && g.QuitRequested == 0;
    b.gameUnderWay = false;
    if (!ended || !b.sender) return;
    const std::string recording = FormatInputLog(g.InputLog);
    if (recording.empty()) return;
    b.sender->keep(recording);  // a folder that cannot take it is said on stderr
}

void ChangeProgramBoard(ProgramBoard& b, const Options& o, const std::string& baseDir) {
    if (b.sender) b.sender->change(BoardSettingsOf(o, baseDir));
}

BoardStatus ProgramBoardStatus(const ProgramBoard& b) {
    return b.sender ? b.sender->status() : BoardStatus{};
}

void StopProgramBoard(ProgramBoard& b) {
    if (b.sender) b.sender->stop();
}

}  // namespace mervox
