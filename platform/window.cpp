#include "platform/window.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "draw/frame_buffer.h"
#include "platform/screen_mode.h"

namespace mervox {

namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

void ShowCursorIf(ProgramWindow& w, bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    w.cursorHidden = !show;
}

// Whole-number scaling keeps every game pixel the same size; it is used
// whenever the output holds at least one whole copy of the canvas.
// The picture's size on the output over 640 x 480 (0 when unknown).
double ShownScale(const ProgramWindow& w) {
    int outW = 0, outH = 0;
    if (w.renderer == nullptr || SDL_GetRendererOutputSize(w.renderer, &outW, &outH) != 0) return 0;
    return std::min(static_cast<double>(outW) / CanvasWidth(w.screenMode), static_cast<double>(outH) / kPictureHeight);
}

// Makes the texture N times 640 x 480, black, filtered when it is shown at
// another size than its own.
bool MakeTexture(ProgramWindow& w, int scale) {
    if (w.texture) SDL_DestroyTexture(w.texture);
    w.texture = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  kPictureWidth * scale, kPictureHeight * scale);
    if (w.texture == nullptr) return false;
    w.textureScale = scale;
    // The picture's right columns and bottom rows have no source pixels in
    // the back buffer; they stay black.
    std::vector<uint32_t> black(static_cast<size_t>(kPictureWidth) * kPictureHeight * scale * scale, 0);
    SDL_UpdateTexture(w.texture, nullptr, black.data(), kPictureWidth * scale * 4);
    return true;
}

void ChooseFilter(ProgramWindow& w) {
    if (w.texture == nullptr) return;
    const double shown = ShownScale(w);
    const bool exact = !w.sharp || std::fabs(shown - w.textureScale) < 1e-6;
    SDL_SetTextureScaleMode(w.texture, exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

void ChooseScaling(ProgramWindow& w) {
    if (w.sharp) {
        // The picture fills the area; its scale follows the area's size.
        SDL_RenderSetIntegerScale(w.renderer, SDL_FALSE);
        ChooseFilter(w);
        return;
    }
    int outW = 0, outH = 0;
    if (SDL_GetRendererOutputSize(w.renderer, &outW, &outH) != 0) return;
    const bool whole = outW >= CanvasWidth(w.screenMode) && outH >= kPictureHeight;
    SDL_RenderSetIntegerScale(w.renderer, whole ? SDL_TRUE : SDL_FALSE);
}

// The name of the OpenGL implementation behind the current context (empty
// when there is none).
std::string CurrentGlRenderer() {
    if (SDL_GL_GetCurrentContext() == nullptr) return "";
    using GetString = const GLubyte*(APIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return "";
    const GLubyte* name = getString(GL_RENDERER);
    return name != nullptr ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

// The renderer for the window. SDL's first choice is an OpenGL renderer,
// which on a machine without a graphics processor (a virtual X server
// such as Xvfb, a remote desktop) runs on Mesa's software rasterizer: each
// frame then goes through a 3D pipeline on the processor, the texture
// upload, a filtered quad and a copy of the whole screen on swapping,
// several times what SDL's own software renderer pays to scale the same
// picture straight into the window's shared-memory image. There the
// software renderer is taken, its window image written directly rather
// than through yet another OpenGL texture. A renderer named in
// SDL_RENDER_DRIVER is left as asked.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    const bool driverNamed = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (r != nullptr && !driverNamed && IsSoftwareRasterizer(CurrentGlRenderer())) {
        SDL_DestroyRenderer(r);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (r == nullptr) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    }
    if (r == nullptr) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return r;
}

}  // namespace

bool IsSoftwareRasterizer(const std::string& glRenderer) {
    std::string name = glRenderer;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* known : {"llvmpipe", "softpipe", "software", "swrast", "gdi generic"}) {
        if (name.find(known) != std::string::npos) return true;
    }
    return false;
}

bool OpenProgramWindow(ProgramWindow& w, ScreenModeValue screenMode, int scale, std::string& error) {
    w.screenMode = screenMode;
    w.fullScreen = screenMode != ScreenWindowed;
    if (scale < 1) scale = 1;
    const int canvas = CanvasWidth(screenMode);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (w.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    w.windowedWidth = canvas * scale;
    w.windowedHeight = kPictureHeight * scale;
    // A full-screen window starts with the desktop's size, so that it covers
    // the screen even where no window manager enlarges it.
    int width = w.windowedWidth, height = w.windowedHeight;
    int x = SDL_WINDOWPOS_UNDEFINED, y = SDL_WINDOWPOS_UNDEFINED;
    SDL_Rect desktop{};
    if (w.fullScreen && SDL_GetDisplayBounds(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
        x = desktop.x;
        y = desktop.y;
    }
    w.window = SDL_CreateWindow("mervox", x, y, width, height, flags);
    if (w.window == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(w.window, canvas / 2, kPictureHeight / 2);
    w.renderer = CreateRenderer(w.window);
    if (w.renderer == nullptr) {
        error = SDL_GetError();
        CloseProgramWindow(w);
        return false;
    }
    SDL_RenderSetLogicalSize(w.renderer, canvas, kPictureHeight);
    ChooseScaling(w);
    if (!MakeTexture(w, 1)) {
        error = SDL_GetError();
        CloseProgramWindow(w);
        return false;
    }
    ChooseScaling(w);
    if (w.fullScreen) ShowCursorIf(w, false);
    return true;
}

void CloseProgramWindow(ProgramWindow& w) {
    ShowCursorIf(w, true);
    if (w.texture) SDL_DestroyTexture(w.texture);
    if (w.renderer) SDL_DestroyRenderer(w.renderer);
    if (w.window) SDL_DestroyWindow(w.window);
    w.texture = nullptr;
    w.renderer = nullptr;
    w.window = nullptr;
}

void RepaintWindow(ProgramWindow& w) {
    if (w.renderer == nullptr) return;
    SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
    SDL_RenderClear(w.renderer);
    const SDL_Rect dst{PictureLeft(w.screenMode), 0, kPictureWidth, kPictureHeight};
    SDL_RenderCopy(w.renderer, w.texture, nullptr, &dst);
    SDL_RenderPresent(w.renderer);
}

void UploadFrame(ProgramWindow& w, const uint32_t* frame, int scale) {
    if (w.texture == nullptr || frame == nullptr || scale < 1) return;
    if (scale != w.textureScale) {
        if (!MakeTexture(w, scale)) return;
        ChooseFilter(w);
    }
    const int width = kPictureWidth * scale;
    const int origin = kPictureOrigin * scale;
    const SDL_Rect src{0, 0, width - origin, kPictureHeight * scale - origin};
    SDL_UpdateTexture(w.texture, &src, frame + static_cast<size_t>(width) * origin + origin, width * 4);
}

void PresentFrame(ProgramWindow& w, const uint32_t* frame, int scale) {
    if (w.texture == nullptr || frame == nullptr || scale < 1) return;
    UploadFrame(w, frame, scale);
    RepaintWindow(w);
}

double ShownPictureScale(const ProgramWindow& w) { return ShownScale(w); }

void WindowOutputSize(const ProgramWindow& w, int& width, int& height) {
    width = height = 0;
    if (w.renderer == nullptr || SDL_GetRendererOutputSize(w.renderer, &width, &height) != 0) width = height = 0;
}

std::string RendererName(const ProgramWindow& w) {
    SDL_RendererInfo info{};
    if (w.renderer == nullptr || SDL_GetRendererInfo(w.renderer, &info) != 0 || info.name == nullptr) return "none";
    return info.name;
}

int DrawScaleFor(double shownScale) {
    const int n = static_cast<int>(std::ceil(shownScale - 1e-6));
    return std::clamp(n, 1, 4);
}

int WantedDrawScale(const ProgramWindow& w) { return w.sharp ? DrawScaleFor(ShownScale(w)) : 1; }

void SetWindowSharp(ProgramWindow& w, bool sharp) {
    if (w.sharp == sharp) return;
    w.sharp = sharp;
    if (w.renderer != nullptr) ChooseScaling(w);
}

void BlackenWindow(ProgramWindow& w) {
    if (w.renderer == nullptr) return;
    SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
    SDL_RenderClear(w.renderer);
    SDL_RenderPresent(w.renderer);
}

void SetFullScreen(ProgramWindow& w, bool on) {
    if (w.window == nullptr || on == w.fullScreen) return;
    if (SDL_SetWindowFullscreen(w.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    w.fullScreen = on;
    if (!on) {
        SDL_SetWindowSize(w.window, w.windowedWidth, w.windowedHeight);
        SDL_SetWindowPosition(w.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    ShowCursorIf(w, !on);
    OnWindowResized(w);
}

void OnWindowFocus(ProgramWindow& w, bool gained) {
    if (!w.fullScreen) return;
    if (gained) {
        ShowCursorIf(w, false);
    } else {
        SDL_MinimizeWindow(w.window);
        ShowCursorIf(w, true);
    }
}

void OnWindowResized(ProgramWindow& w) {
    if (w.renderer == nullptr) return;
    ChooseScaling(w);
    RepaintWindow(w);
}

void SetWindowIcon(ProgramWindow& w, const uint32_t* pixels, int width, int height) {
    if (w.window == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                        width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (s == nullptr) return;
    SDL_SetWindowIcon(w.window, s);
    SDL_FreeSurface(s);
}

}  // namespace mervox
