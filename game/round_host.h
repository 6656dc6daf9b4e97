// What a round asks of the world outside the simulation.
//
// The simulation never touches a keyboard, a sound device or a file. Its
// keys come with each update as an InputFrame (game/input_frame.h); each
// of its other requests is a call on its host. The program, the headless
// runner, the viewer and the tests derive their hosts from this one, which
// does nothing: no sound, no saving, a clock standing at 0.
#pragma once

#include "game/input_frame.h"

namespace mervox {

enum class VoiceClip { Ready, Go };

class RoundHost {
public:
    RoundHost() = default;
    RoundHost(const RoundHost&) = delete;  // hosts are passed by reference, never sliced
    RoundHost& operator=(const RoundHost&) = delete;
    virtual ~RoundHost() = default;

    // An effect passed its cooldown and is written to its device; `restart`
    // asks for the device to be reset first so the effect starts over.
    virtual void writeEffect(int /*effect*/, bool /*restart*/) const {}

    // A voice clip replaces any clip still playing.
    virtual void playVoice(VoiceClip /*clip*/) const {}

    virtual void saveScoresAndConfig() const {}
    virtual void saveReplay() const {}

    virtual void preloadMusic() const {}
    virtual void stopMusic() const {}

    // Reads the millisecond clock (the title seeds its generator from it).
    virtual unsigned clockMs() const { return 0; }
};

// A host that passes every request on to another one: the base of hosts
// that change a few of them (a practice round saves nothing, a slow
// playback is not heard).
class ForwardingHost : public RoundHost {
public:
    explicit ForwardingHost(const RoundHost& real) : real_(real) {}
    void writeEffect(int effect, bool restart) const override { real_.writeEffect(effect, restart); }
    void playVoice(VoiceClip clip) const override { real_.playVoice(clip); }
    void saveScoresAndConfig() const override { real_.saveScoresAndConfig(); }
    void saveReplay() const override { real_.saveReplay(); }
    void preloadMusic() const override { real_.preloadMusic(); }
    void stopMusic() const override { real_.stopMusic(); }
    unsigned clockMs() const override { return real_.clockMs(); }

protected:
    const RoundHost& real_;
};

}  // namespace mervox
