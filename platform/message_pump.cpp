#include "platform/message_pump.h"

#include <SDL.h>

#include "platform/clock.h"

namespace mervox {

namespace {

bool IsAltEnter(const SDL_KeyboardEvent& k) {
    return (k.keysym.sym == SDLK_RETURN || k.keysym.sym == SDLK_KP_ENTER) && (k.keysym.mod & KMOD_ALT) != 0;
}

void Command(MessagePump& p, PlayerCommand command) {
    if (p.listener != nullptr) p.listener->command(command);
}

void KeyCommands(MessagePump& p, SDL_Scancode code) {
    if (p.input == nullptr) return;
    if (KeyBoundTo(*p.input, ControlAction::Pause, code)) Command(p, PlayerCommand::Pause);
    if (KeyBoundTo(*p.input, ControlAction::Screenshot, code)) Command(p, PlayerCommand::Screenshot);
}

// A pad input just pushed (-1: none).
void PadCommands(MessagePump& p, int pushed) {
    if (pushed < 0) return;
    if (PadInputBoundTo(*p.input, ControlAction::Pause, pushed)) Command(p, PlayerCommand::Pause);
    if (PadInputBoundTo(*p.input, ControlAction::Screenshot, pushed)) Command(p, PlayerCommand::Screenshot);
}

void HandleWindowEvent(MessagePump& p, const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (p.quitRequested) *p.quitRequested = 1;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (p.window) OnWindowFocus(*p.window, true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (p.window) OnWindowFocus(*p.window, false);
            Command(p, PlayerCommand::FocusLost);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (p.window) OnWindowResized(*p.window);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (p.window) RepaintWindow(*p.window);
            break;
        default:
            break;
    }
}

void HandleEvent(MessagePump& p, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            if (p.quitRequested) *p.quitRequested = 1;
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(p, e.window);
            break;
        case SDL_KEYDOWN:
            if (e.key.repeat != 0) break;
            if (IsAltEnter(e.key)) {
                if (p.window) SetFullScreen(*p.window, !p.window->fullScreen);
                break;
            }
            KeyCommands(p, e.key.keysym.scancode);
            if (p.input) NoteKeyTap(*p.input, e.key.keysym.scancode);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (p.pointer) NotePointerPress(*p.pointer, e.button.button, e.button.x, e.button.y);
            break;
        case SDL_CONTROLLERDEVICEADDED:
            if (p.input) OpenPad(*p.input, e.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (p.input) ClosePad(*p.input, e.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (p.input)
                PadCommands(p, NotePadButton(*p.input, e.cbutton.which, e.cbutton.button,
                                             e.type == SDL_CONTROLLERBUTTONDOWN));
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (p.input) PadCommands(p, NotePadAxis(*p.input, e.caxis.which, e.caxis.axis, e.caxis.value));
            break;
        default:
            if (e.type >= SDL_USEREVENT && p.listener != nullptr) p.listener->userEvent(e.type, e.user.code);
            break;
    }
}

}  // namespace

void DispatchPendingMessages(MessagePump& p) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(p, e);
}

void PumpMessagesFor(MessagePump& p, int wait) {
    const uint32_t start = ClockMs();
    do {
        DispatchPendingMessages(p);
        if (wait != 0) SleepOneTick();
    } while (static_cast<int32_t>(ClockMs() - start) < wait);
}

}  // namespace mervox
