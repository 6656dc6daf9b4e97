// Noting what an update does in GameState::Events, at the step where it
// happens. The lists are as long as an update can fill them; a note past
// the end is dropped.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

inline void ClearUpdateEvents(GameState& g) { g.Events = UpdateEvents{}; }

inline void NoteLinkPaid(GameState& g, const ChainSlot& link) {
    UpdateEvents& e = g.Events;
    if (e.linkCount < 0 || e.linkCount >= kChainSlotCount) return;
    e.links[e.linkCount++] = LinkMade{link.chain, link.count};
}

inline void NoteKick(GameState& g, const BlockMove& kick) {
    UpdateEvents& e = g.Events;
    if (e.kickCount < 0 || e.kickCount >= kKicksPerUpdate) return;
    e.kicks[e.kickCount++] = kick;
}

inline void NotePush(GameState& g, const BlockMove& push) {
    g.Events.push = push;
    g.Events.pushed = 1;
}

}  // namespace mervox
