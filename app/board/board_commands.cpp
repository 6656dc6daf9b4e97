#include "app/board/board_commands.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

#include "app/board/board_settings.h"
#include "app/common/game_folder.h"
#include "net/board_token.h"
#include "save/input_log_file.h"

namespace mervox {

namespace {

// The board and name, or false having said what to set.
bool BoardAndName(const BoardCommandRun& run, bool needName, BoardSettings& s) {
    s = BoardSettingsOf(run.options, run.baseDir);
    const std::string file = run.baseDir + "/options.txt";
    if (s.board.empty()) {
        std::fprintf(run.err, "mervox: no board is set: add a line \"board = http://HOST:PORT\" to %s\n", file.c_str());
        return false;
    }
    if (needName && s.player.empty()) {
        std::fprintf(run.err, "mervox: no player name is set: add a line \"player = NAME\" to %s\n", file.c_str());
        return false;
    }
    return true;
}

void SayFault(const BoardCommandRun& run, const std::string& board, const BoardError& e) {
    switch (e.fault) {
        case BoardFault::None: return;
        case BoardFault::Unreachable:
            std::fprintf(run.err, "mervox: the board at %s cannot be reached: %s\n", board.c_str(), e.message.c_str());
            return;
        case BoardFault::Busy:
            if (e.retryAfter >= 0)
                std::fprintf(run.err, "mervox: %s: %s; try again in %ld s\n", board.c_str(), e.message.c_str(),
                             e.retryAfter);
            else std::fprintf(run.err, "mervox: %s: %s; try again later\n", board.c_str(), e.message.c_str());
            return;
        case BoardFault::NotUnderstood:
            std::fprintf(run.err, "mervox: %s: %s\n", board.c_str(), e.message.c_str());
            return;
        case BoardFault::Refused:
            std::fprintf(run.err, "mervox: the board refused it: %s\n", e.message.c_str());
            return;
    }
}

bool ReadRecordingText(const std::string& path, std::string& text, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot open " + path;
        return false;
    }
    text.assign(kBoardRecordingLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kBoardRecordingLimit) {
        why = path + " is longer than a recording can be (256 KiB)";
        return false;
    }
    auto log = std::make_unique<InputRecord[]>(kInputLogLength);
    if (ParseInputLog(text, log.get()) == 0) {
        why = path + " holds no key changes: it is not a recording";
        return false;
    }
    return true;
}

bool ChooseFolder(BoardCommandRun& run) {
    GameFolder folder;
    std::string why;
    if (!ChooseOwnGameFolder(folder, why)) {
        std::fprintf(stderr, "mervox: %s\n", why.c_str());
        return false;
    }
    run.baseDir = folder.dir;
    run.options = ReadOptionsFile(folder.dir);
    return true;
}

}  // namespace

int SubmitRecording(const BoardCommandRun& run, const std::string& path) {
    BoardSettings s;
    if (!BoardAndName(run, true, s)) return 1;
    std::string text, why;
    if (!ReadRecordingText(path, text, why)) {
        std::fprintf(run.err, "mervox: %s\n", why.c_str());
        return 1;
    }
    const BoardApi api(s.board, run.limits);
    const SubmitResult sent = api.submit(s.player, ReadBoardToken(s.baseDir, s.board, s.player), text);
    if (sent.error.fault != BoardFault::None) {
        SayFault(run, s.board, sent.error);
        return 1;
    }
    if (!sent.token.empty()) KeepBoardToken(s.baseDir, s.board, s.player, sent.token);
    if (sent.alreadySent) std::fprintf(run.out, "sent before as submission %lld\n", static_cast<long long>(sent.id));

    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(run.verdictWaitMs);
    int pollMs = 100;
    for (;;) {
        const Submission v = api.submission(sent.id);
        if (v.error.fault != BoardFault::None) {
            SayFault(run, s.board, v.error);
            return 1;
        }
        if (v.state == "verified") {
            std::fprintf(run.out, "verified: score %lld, level %d", static_cast<long long>(v.score), v.level);
            if (v.rank > 0) std::fprintf(run.out, ", %s of %d", Ordinal(v.rank).c_str(), v.total);
            if (!v.copiedFrom.empty())
                std::fprintf(run.out, ", not ranked: its opening is copied from %s", v.copiedFrom.c_str());
            std::fprintf(run.out, " (submission %lld)\n", static_cast<long long>(v.id));
            return 0;
        }
        if (v.finished()) {
            std::fprintf(run.err, "mervox: the board did not verify the round (%s): %s\n", v.state.c_str(),
                         v.reason.empty() ? "no reason given" : v.reason.c_str());
            return 1;
        }
        if (std::chrono::steady_clock::now() >= until) {
            std::fprintf(run.err,
                         "mervox: submission %lld is still %s at %s; see its verdict there later\n",
                         static_cast<long long>(sent.id), v.state.c_str(), s.board.c_str());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
        pollMs = std::min(pollMs * 2, 2000);
    }
}

int ListBoard(const BoardCommandRun& run) {
    BoardSettings s;
    if (!BoardAndName(run, false, s)) return 1;
    const BoardApi api(s.board, run.limits);
    const ScoresPage page = api.scores(20, 0);
    if (page.error.fault != BoardFault::None) {
        SayFault(run, s.board, page.error);
        return 1;
    }
    std::fprintf(run.out, "%s: %d ranked\n", s.board.c_str(), page.total);
    std::fprintf(run.out, "%5s  %-32s %10s %6s\n", "rank", "name", "score", "level");
    for (const BoardEntry& e : page.scores)
        std::fprintf(run.out, "%5d  %-32s %10lld %6d\n", e.rank, e.name.c_str(), static_cast<long long>(e.score),
                     e.level);
    if (!s.player.empty()) {
        const PlayerStanding me = api.player(s.player);
        if (me.error.fault == BoardFault::None && me.hasBest)
            std::fprintf(run.out, "%s: best %lld, level %d, %s of %d\n", s.player.c_str(),
                         static_cast<long long>(me.best.score), me.best.level, Ordinal(me.rank).c_str(), me.total);
        else if (me.error.fault == BoardFault::None || me.error.status == 404)
            std::fprintf(run.out, "%s: no verified round yet\n", s.player.c_str());
    }
    return 0;
}

int RunSubmit(const CommandLine& cmd) {
    BoardCommandRun run;
    if (!ChooseFolder(run)) return 1;
    GameFolder folder;
    folder.dir = run.baseDir;
    return SubmitRecording(run, FindRecording(cmd.submitPath, folder));
}

int RunBoardList(const CommandLine&) {
    BoardCommandRun run;
    if (!ChooseFolder(run)) return 1;
    return ListBoard(run);
}

}  // namespace mervox
