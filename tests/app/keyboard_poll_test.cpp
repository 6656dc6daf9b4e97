#include "platform/keyboard.h"

#include <gtest/gtest.h>

namespace mervox {
namespace {

// A key pressed and released between two polls counts as down at the next
// poll of that key, once; other keys keep their own marks.
TEST(KeyboardPoll, PressBetweenPollsCountsOnce) {
    KeyboardState k;
    ResetKeyboard(k);
    EXPECT_FALSE(PollKey(k, SDL_SCANCODE_Z));
    NoteKeyPress(k, SDL_SCANCODE_Z, 100);
    NoteKeyPress(k, SDL_SCANCODE_F, 100);
    EXPECT_TRUE(PollKey(k, SDL_SCANCODE_Z));
    EXPECT_FALSE(PollKey(k, SDL_SCANCODE_Z));
    EXPECT_TRUE(PollKey(k, SDL_SCANCODE_F));
    EXPECT_FALSE(PollKey(k, SDL_SCANCODE_F));
}

TEST(KeyboardPoll, OutOfRangeCodesAreNeverDown) {
    KeyboardState k;
    ResetKeyboard(k);
    NoteKeyPress(k, SDL_SCANCODE_UNKNOWN, 1);
    NoteKeyPress(k, SDL_NUM_SCANCODES + 5, 1);
    EXPECT_FALSE(PollKey(k, SDL_SCANCODE_UNKNOWN));
    EXPECT_FALSE(PollKey(k, -3));
}

}  // namespace
}  // namespace mervox
