#include "app/board/board_settings.h"

#include "net/board_api.h"

namespace mervox {

BoardSettings BoardSettingsOf(const Options& o, const std::string& baseDir) {
    BoardSettings s;
    if (!o.board.empty() && !ParseBoardAddress(o.board, s.board)) s.board.clear();
    s.player = o.player;
    s.sending = o.boardSending;
    s.baseDir = baseDir;
    return s;
}

}  // namespace mervox
