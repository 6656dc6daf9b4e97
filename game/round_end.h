// The closing steps of a round, counted by TimeLeft once the clock has run
// out (or jumped there with an early end): the score enters the table, the
// end banner fills in line by line, the frame fades to white and the round
// hands over to the title.
#pragma once

#include <cstdint>

namespace mervox {

// TimeLeft at which a round played from the keyboard enters its score.
constexpr int32_t kHighScoreEntryTime = -60;
// The banner's lines show from TimeLeft below these: the score label, the
// score's figure, the place and new-record marks.
constexpr int32_t kScoreLabelShowsBelow = -120;
constexpr int32_t kScoreFigureShowsBelow = -180;
constexpr int32_t kRecordMarksShowBelow = -240;
// Below this the frame fades to white; an early end jumps straight here.
constexpr int32_t kFadeOutBelow = -360;
// Below this the round is over and the title takes the frame.
constexpr int32_t kRoundOverBelow = -420;
// The lowest TimeLeft a round ever holds: the update that ends it.
constexpr int32_t kLastTimeLeft = kRoundOverBelow - 1;

// Updates Escape is held to end a round early; an early end holds EscHold
// here, which also hides the end banner.
constexpr int kEscHoldToEnd = 60;

// FadeLevel of a fully white frame, where a round both starts and ends; the
// fade moves it 2 an update.
constexpr int32_t kFadeWhite = 80;
constexpr int32_t kFadeStep = 2;

}  // namespace mervox
