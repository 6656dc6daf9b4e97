#include "save/action_frame.h"

namespace mervox {

namespace {

struct HostKeyAction {
    HostKey key;
    ControlAction action;
};
constexpr HostKeyAction kHostKeyActions[] = {
    {HostKey::Left, ControlAction::Left},          {HostKey::Up, ControlAction::Up},
    {HostKey::Right, ControlAction::Right},        {HostKey::Down, ControlAction::Down},
    {HostKey::Kick, ControlAction::Kick},          {HostKey::Jump, ControlAction::Jump},
    {HostKey::TurnLeft, ControlAction::TurnLeft},  {HostKey::TurnRight, ControlAction::TurnRight},
    {HostKey::Replay, ControlAction::Replay},      {HostKey::FrameRate, ControlAction::FrameRate},
    {HostKey::Music, ControlAction::Music},        {HostKey::Effects, ControlAction::Effects},
    {HostKey::Ctrl, ControlAction::FastForward},   {HostKey::Escape, ControlAction::Escape},
};
static_assert(sizeof kHostKeyActions / sizeof kHostKeyActions[0] == kHostKeyCount, "an action for every key");

}  // namespace

ControlAction ActionOfHostKey(HostKey key) {
    for (const HostKeyAction& k : kHostKeyActions)
        if (k.key == key) return k.action;
    return ControlAction::Escape;  // not reached: every key has its line
}

InputFrame RoundInputOf(const ActionFrame& f) {
    InputFrame in;
    for (const HostKeyAction& k : kHostKeyActions) {
        const size_t a = static_cast<size_t>(k.action);
        if (f.held[a]) in.held = static_cast<uint16_t>(in.held | HostKeyBit(k.key));
        if (f.tapped[a]) in.tapped = static_cast<uint16_t>(in.tapped | HostKeyBit(k.key));
    }
    return in;
}

ActionFrame ActionFrameOf(const InputFrame& in) {
    ActionFrame f;
    for (const HostKeyAction& k : kHostKeyActions) {
        if (in.held & HostKeyBit(k.key)) f.hold(k.action);
        if (in.tapped & HostKeyBit(k.key)) f.tap(k.action);
    }
    return f;
}

}  // namespace mervox
