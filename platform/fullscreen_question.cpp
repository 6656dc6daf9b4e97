#include "platform/fullscreen_question.h"

#include <SDL.h>

#include <vector>

#include "platform/clock.h"
#include "platform/screen_mode.h"

namespace mervox {

namespace {

bool Inside(const QuestionButton& b, int x, int y) { return x >= b.x0 && x < b.x1 && y >= b.y0 && y < b.y1; }

constexpr int kHighlighted = -2;  // the answer highlighted

// What each action of the question does: answer (0 yes, 1 no, or the one
// highlighted), or move the highlight (0 yes, 1 no).
struct QuestionKey {
    ControlAction action;
    int answer;     // -1: none
    int highlight;  // -1: none
};
constexpr QuestionKey kQuestionKeys[] = {
    {ControlAction::MenuChange, kHighlighted, -1}, {ControlAction::MenuBack, 1, -1},
    {ControlAction::MenuLeft, -1, 0},              {ControlAction::MenuUp, -1, 0},
    {ControlAction::MenuRight, -1, 1},             {ControlAction::MenuDown, -1, 1},
};

// The answer a key or pad button gives, or -1; moves the highlight. The
// first action bound to it counts.
int Answer(const PlayerInput& keys, bool pad, int code, int& highlighted) {
    for (const QuestionKey& k : kQuestionKeys) {
        if (!(pad ? PadInputBoundTo(keys, k.action, code) : KeyBoundTo(keys, k.action, code))) continue;
        if (k.highlight >= 0) highlighted = k.highlight;
        return k.answer == kHighlighted ? highlighted : k.answer;
    }
    return -1;
}

}  // namespace

QuestionAnswer AskFullScreenInWindow(ProgramWindow& w, const PlayerInput& keys, const QuestionPainter& painter) {
    std::vector<SDL_GameController*> pads;
    std::vector<int> padDevices;
    int highlighted = 0, drawn = -1, answer = -1;
    bool quit = false;
    uint32_t lastDraw = 0;
    while (answer < 0 && !quit) {
        SDL_Event e;
        while (answer < 0 && !quit && SDL_PollEvent(&e)) {
            switch (e.type) {
                case SDL_QUIT: quit = true; break;
                case SDL_WINDOWEVENT:
                    if (e.window.event == SDL_WINDOWEVENT_CLOSE) quit = true;
                    if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                        drawn = -1;
                    break;
                case SDL_KEYDOWN:
                    if (e.key.repeat == 0) answer = Answer(keys, false, e.key.keysym.scancode, highlighted);
                    break;
                case SDL_CONTROLLERDEVICEADDED:
                    if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) {
                        pads.push_back(c);
                        padDevices.push_back(e.cdevice.which);
                    }
                    break;
                case SDL_CONTROLLERBUTTONDOWN: answer = Answer(keys, true, e.cbutton.button, highlighted); break;
                case SDL_MOUSEMOTION: {
                    // Window positions are in the picture's pixels (the
                    // renderer's logical size); the frame starts one pixel in.
                    const int x = e.motion.x - PictureLeft(w.screenMode) + 1, y = e.motion.y + 1;
                    if (Inside(painter.yes, x, y)) highlighted = 0;
                    if (Inside(painter.no, x, y)) highlighted = 1;
                    break;
                }
                case SDL_MOUSEBUTTONUP: {
                    if (e.button.button != SDL_BUTTON_LEFT) break;
                    const int x = e.button.x - PictureLeft(w.screenMode) + 1, y = e.button.y + 1;
                    if (Inside(painter.yes, x, y)) answer = 0;
                    if (Inside(painter.no, x, y)) answer = 1;
                    break;
                }
                default: break;
            }
        }
        // Drawn again when the highlight moves, and twice a second, as a
        // window manager may have dropped the first pictures.
        if (drawn != highlighted || ClockMs() - lastDraw > 500) {
            if (painter.draw) PresentFrame(w, painter.draw(highlighted));
            drawn = highlighted;
            lastDraw = ClockMs();
        }
        SleepOneTick();
    }
    for (size_t k = 0; k < pads.size(); ++k) {
        SDL_GameControllerClose(pads[k]);
        SDL_Event again{};
        again.type = SDL_CONTROLLERDEVICEADDED;
        again.cdevice.which = padDevices[k];
        SDL_PushEvent(&again);
    }
    if (quit) return QuestionAnswer::Quit;
    return answer == 0 ? QuestionAnswer::FullScreen : QuestionAnswer::Window;
}

}  // namespace mervox
