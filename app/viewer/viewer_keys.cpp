#include "app/viewer/viewer_keys.h"

#include "save/controls_file.h"

namespace mervox {

namespace {

// How a key answers: `repeats` while held; `perPress` once for every press
// counted in the pass (two quick taps of a step key are two steps), where
// the others answer a pass's presses once.
struct KeyBinding {
    ControlAction action;
    WatchCommand command;
    bool repeats;
    bool perPress;
};

constexpr KeyBinding kBindings[] = {
    {ControlAction::WatchPlayPause, WatchCommand::PlayPause, false, false},
    {ControlAction::WatchStepForward, WatchCommand::StepForward, true, true},
    {ControlAction::WatchStepBack, WatchCommand::StepBack, true, true},
    {ControlAction::WatchSlower, WatchCommand::Slower, false, false},
    {ControlAction::WatchFaster, WatchCommand::Faster, false, false},
    {ControlAction::WatchBack5s, WatchCommand::Back5s, true, true},
    {ControlAction::WatchForward5s, WatchCommand::Forward5s, true, true},
    {ControlAction::WatchBack30s, WatchCommand::Back30s, true, true},
    {ControlAction::WatchForward30s, WatchCommand::Forward30s, true, true},
    {ControlAction::WatchToStart, WatchCommand::ToStart, false, false},
    {ControlAction::WatchToEnd, WatchCommand::ToEnd, false, false},
    {ControlAction::WatchPreviousMark, WatchCommand::PreviousMark, false, true},
    {ControlAction::WatchNextMark, WatchCommand::NextMark, false, true},
    {ControlAction::WatchOverlay, WatchCommand::ToggleOverlay, false, false},
    {ControlAction::WatchClipStart, WatchCommand::ClipStart, false, false},
    {ControlAction::WatchClipEnd, WatchCommand::ClipEnd, false, false},
    {ControlAction::WatchClipExport, WatchCommand::ClipExport, false, false},
};
constexpr int kBindingCount = sizeof kBindings / sizeof kBindings[0];

static_assert(kBindingCount == kWatchKeyCount, "one held-pass count per viewer key");

// The practice keys: the rewinds count their passes only while practising.
struct PracticeBinding {
    ControlAction action;
    PracticeCommand command;
    int held;  // index into practiceHeld
    bool repeats;
    bool perPress;  // as KeyBinding's
};
constexpr PracticeBinding kRewindBindings[] = {
    {ControlAction::PracticeBack5s, PracticeCommand::Back5s, 0, true, true},
    {ControlAction::PracticeToTakeOver, PracticeCommand::BackToTakeOver, 1, false, false},
};

}  // namespace

bool HeldKeyFires(int& heldPasses, bool down, bool pressedAgain, int repeatEvery) {
    heldPasses = !down ? 0 : pressedAgain ? 1 : heldPasses + 1;
    const int n = heldPasses;
    return n == 1 || (repeatEvery > 0 && n > kRepeatDelay && (n - kRepeatDelay) % repeatEvery == 0);
}

void ReadWatchKeys(WatchSession& s, const ActionFrame& in) {
    CollectClipExport(s.clip);
    for (int k = 0; k < kBindingCount; ++k) {
        const KeyBinding& b = kBindings[k];
        if (!HeldKeyFires(s.heldPasses[k], in.down(b.action), in.pressedAgain(b.action),
                          b.repeats ? kWatchRepeatEvery : 0))
            continue;
        ApplyWatchCommand(s, b.command);
        // The pass's press has answered; the presses after it in the pass too.
        if (b.perPress)
            for (int more = in.tapCount(b.action) - 1; more > 0; --more) ApplyWatchCommand(s, b.command);
    }
}

void ReadPracticeKeys(WatchSession& s, const ActionFrame& in) {
    // The take-over key while watching (first: the rewinds then count
    // from the pass that took the round over).
    const ControlAction takeOver = ControlAction::PracticeTakeOver;
    const bool fires = HeldKeyFires(s.takeOverHeld, in.down(takeOver), in.pressedAgain(takeOver), 0);
    if (fires && !s.practice.on) ApplyPracticeCommand(s, PracticeCommand::TakeOver);
    for (const PracticeBinding& b : kRewindBindings) {
        if (!HeldKeyFires(s.practiceHeld[b.held], in.down(b.action) && s.practice.on, in.pressedAgain(b.action),
                          b.repeats ? kRewindRepeatEvery : 0))
            continue;
        ApplyPracticeCommand(s, b.command);
        if (b.perPress)
            for (int more = in.tapCount(b.action) - 1; more > 0; --more) ApplyPracticeCommand(s, b.command);
    }
}

}  // namespace mervox
