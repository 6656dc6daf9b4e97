// The tutorial's Japanese captions and the round frames at which each is
// shown. A constant table: the state holds only the index of the caption
// due (GameState::CaptionIndex), so a snapshot carries no text.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

struct TutorialCaption {
    const char16_t* line1;  // never null; u"" when the caption has one line
    const char16_t* line2;
    int32_t start;   // RoundFrame at which it appears
    int32_t length;  // updates it stays
};

// The last entry is empty and never shown.
extern const TutorialCaption kTutorialCaptions[kCaptionCount];

}  // namespace mervox
