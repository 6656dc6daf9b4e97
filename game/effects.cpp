#include "game/effects.h"

namespace mervox {

void AgeEffectCooldowns(GameState& g) {
    for (int& c : g.EffectCooldown) {
        if (c != 0) c = (c + 1) % 3;
    }
}

void PlayEffect(GameState& g, const RoundHost& host, int k) {
    if (g.EffectCooldown[k] != 0 || g.SEMODE != SoundOn) return;
    g.EffectCooldown[k] = 1;
    host.writeEffect(k, false);
}

void RestartEffect(GameState& g, const RoundHost& host, int k) {
    if (g.SEMODE != SoundOn) return;
    if (k != EffectExtend) {
        if (g.EffectCooldown[k] != 0) return;
        g.EffectCooldown[k] = 1;
    }
    host.writeEffect(k, true);
}

void WriteArrivalEffect(GameState& g, const RoundHost& host) {
    if (g.EffectCooldown[EffectAdm] != 0 || g.SEMODE != SoundOn) return;
    host.writeEffect(EffectAdm, false);
}

void PlayVoiceClip(GameState& g, const RoundHost& host, VoiceClip clip) {
    if (g.SEMODE != SoundOn) return;
    host.playVoice(clip);
}

}  // namespace mervox
