// The title's and the round's services: the sound system, the saved files
// and the clock (the title's drawing is in program_drawing.cpp).
#include <cstdio>
#include <string>

#include "app/desktop/program_services.h"
#include "platform/message_box.h"
#include "save/input_log_file.h"
#include "save/saved_data.h"

namespace mervox {

void ProgramHost::writeEffect(int effect, bool restart) const {
    if (p_.audio) ProgramWriteEffect(*p_.audio, effect, restart);
}
void ProgramHost::playVoice(VoiceClip clip) const {
    if (p_.audio) ProgramPlayVoice(*p_.audio, clip);
}
void ProgramHost::preloadMusic() const {
    if (p_.audio) ProgramPreloadMusic(*p_.audio);
}
void ProgramHost::stopMusic() const {
    if (p_.audio) ProgramStopMusic(*p_.audio);
}
void ProgramHost::startMusic() const {
    if (p_.audio) ProgramStartMusic(*p_.audio);
}
void ProgramHost::saveScoresAndConfig() const { SaveScoresAndConfig(*p_.g, p_.baseDir); }
void ProgramHost::saveReplay() const { SaveReplay(*p_.g, p_.baseDir); }
unsigned ProgramHost::clockMs() const { return p_.platform.clockMs(); }

void ShowSoundMessageBox(const std::string& caption, const std::string& text) {
    if (!ShowErrorMessageBox(caption, text))
        std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace mervox
