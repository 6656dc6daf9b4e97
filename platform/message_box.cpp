#include "platform/message_box.h"

#include <SDL.h>

namespace mervox {

bool ShowErrorMessageBox(const std::string& caption, const std::string& text) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) == 0;
}

}  // namespace mervox
