#include "app/viewer/practice_pass.h"

#include "app/viewer/viewer_keys.h"
#include "game/key_bits.h"
#include "game/round_end.h"
#include "game/simulation.h"
#include "save/controls_file.h"

namespace mervox {

namespace {

void LeaveForTitle(GameState& g, const RoundHost& host) {
    g.RunMode = RunTitle;
    g.FadeLevel = kFadeWhite;
    if (g.BGMMODE == SoundOn) host.stopMusic();
    g.KeysToRelease = HostKeyBit(HostKey::Escape);
}

}  // namespace

bool PracticePass(WatchSession& s, const RoundHost& host, const ActionFrame& in, bool keysRead) {
    GameState& g = *s.g;
    if (!keysRead) ReadPracticeKeys(s, in);
    if (in.down(ControlAction::Escape)) LeaveForTitle(g, host);
    else PracticeUpdate(s.practice, g, host, RoundInputOf(in));
    return g.RunMode == RunTitle;
}

}  // namespace mervox
