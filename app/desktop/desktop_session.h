// The desktop the game and the viewer run on: video started on a display
// that shows windows, the game's window with room left for its frame, the
// SDL keyboard and the pads bound by controls.txt, the message pump and
// the millisecond clock, handed to a loop as a ProgramPlatform.
#pragma once

#include <cstdint>
#include <string>

#include "app/services/program_platform.h"
#include "platform/message_pump.h"
#include "platform/player_input.h"
#include "platform/window.h"

namespace mervox {

struct DesktopSession {
    ProgramWindow window;
    int drawScale = 1;  // the scale last asked for
    PlayerInput input;  // the keyboard and the pads, by controls.txt
    MessagePump pump;
    bool videoStarted = false;
};

// Starts video on a display that can show a window and reads the keys of
// baseDir/controls.txt (written back only when `writeControls`). False
// with why, and video stopped again, when there is no such display. The
// drawing style comes with each frame's scale (ProgramPlatform::drawScale).
bool StartDesktop(DesktopSession& d, const std::string& baseDir, bool writeControls, std::string& why);

// Opens the game's window in `screenMode`, at the scale asked (0: the
// largest that fits the desktop with room for the window's frame). False
// with why when it cannot.
bool OpenDesktopWindow(DesktopSession& d, ScreenModeValue screenMode, int askedScale, std::string& why);

// Closes the pads and the window and stops video, whatever was opened.
void CloseDesktop(DesktopSession& d);

// The session as a loop's platform: its clock, its pump, its window with
// the drawing scale it wants, and the keys as controls.txt binds them.
class DesktopPlatform : public ProgramPlatform {
public:
    explicit DesktopPlatform(DesktopSession& d) : d_(d) {}
    void connect(const PlatformEvents& events) const override;
    uint32_t clockMs() const override;
    void pumpMessagesFor(int milliseconds) const override;
    // Takes the events waiting (a pass that did not wait, as while a
    // playback is fast-forwarded, still sees keys go down and up), then
    // samples every action.
    ActionFrame sampleInput() const override;
    bool readsPlayerActions() const override { return true; }
    void presentFrame(const uint32_t* frame) const override;
    int drawScale(DrawingStyle drawing) const override;
    // Keys held while the program started must not choose anything on the
    // title: waits until Z, R and Escape are up, then forgets the presses
    // queued meanwhile.
    void beforeTitle(ScreenModeValue screenMode) const override;

private:
    DesktopSession& d_;
};

}  // namespace mervox
