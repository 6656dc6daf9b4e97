#include "platform/fullscreen_question.h"

#include <SDL.h>

namespace mervox {

bool AskFullScreen() {
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "\xe3\x81\xaf\xe3\x81\x84"},                  // はい
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "\xe3\x81\x84\xe3\x81\x84\xe3\x81\x88"},      // いいえ
    };
    const SDL_MessageBoxData box{
        SDL_MESSAGEBOX_INFORMATION,
        nullptr,
        "mervox",
        // フルスクリーンモードで起動しますか？
        "\xe3\x83\x95\xe3\x83\xab\xe3\x82\xb9\xe3\x82\xaf\xe3\x83\xaa\xe3\x83\xbc\xe3\x83\xb3"
        "\xe3\x83\xa2\xe3\x83\xbc\xe3\x83\x89\xe3\x81\xa7\xe8\xb5\xb7\xe5\x8b\x95\xe3\x81\x97"
        "\xe3\x81\xbe\xe3\x81\x99\xe3\x81\x8b\xef\xbc\x9f",
        2,
        buttons,
        nullptr,
    };
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return false;
    return pressed == 1;
}

}  // namespace mervox
