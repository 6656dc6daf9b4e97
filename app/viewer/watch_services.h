// What --watch hands the sound system and the window: the watched round's
// sound as a round host, and a listener for the window's events.
#pragma once

#include <cstdint>
#include <string>

#include "app/services/drawn_frame.h"
#include "app/services/program_audio.h"
#include "game/round_host.h"
#include "platform/pump_listener.h"

namespace mervox {

// The watched round's sound: effects, voices and the music's level. The
// music is never stopped: it plays on to the viewer's end.
class WatchSoundHost final : public RoundHost {
public:
    explicit WatchSoundHost(ProgramAudio& audio) : audio_(audio) {}
    void writeEffect(int effect, bool restart) const override { ProgramWriteEffect(audio_, effect, restart); }
    void playVoice(VoiceClip clip) const override { ProgramPlayVoice(audio_, clip); }
    void preloadMusic() const override { ProgramPreloadMusic(audio_); }

private:
    ProgramAudio& audio_;
};

// What the window's events reach while --watch runs: the music's finished
// buffers and the screenshot key.
class WatchEvents final : public PumpListener {
public:
    WatchEvents(ProgramAudio* audio, DrawnFrame& drawn) : audio_(audio), drawn_(drawn) {}
    void userEvent(uint32_t type, int32_t code) override {
        if (audio_ != nullptr) ProgramAudioEvent(*audio_, type, code);
    }
    void command(PlayerCommand command) override {
        if (command == PlayerCommand::Screenshot) drawn_.screenshotWanted = true;
    }

private:
    ProgramAudio* audio_;
    DrawnFrame& drawn_;
};

// A sound file --watch cannot use, said on stderr (it shows no message box).
void PrintSoundMessage(const std::string& caption, const std::string& text);

}  // namespace mervox
