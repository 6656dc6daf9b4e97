// The game's one window on SDL: a 640x480 picture (on a 720x480 canvas in
// the wide full-screen layout) scaled by the renderer with sharp pixels,
// letterboxed to keep 4:3, shown in a window or on the whole desktop
// without changing the monitor's mode.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "game/state/game_state.h"

namespace mervox {

struct ProgramWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;  // N x 640 by N x 480, the picture last presented
    int textureScale = 1;            // N of the texture
    // Sharp drawing: the picture is drawn at the smallest scale N that
    // covers the area it is shown in, and shrunk to it with a smoothing
    // filter where that area is not exactly N times 640 x 480. Otherwise
    // (classic) the 640 x 480 picture is scaled by whole pixels.
    bool sharp = true;
    ScreenModeValue screenMode = ScreenWindowed;
    bool fullScreen = false;         // currently covering the desktop
    bool cursorHidden = false;
    int windowedWidth = 640;         // size to return to when leaving full screen
    int windowedHeight = 480;
};

// Creates the window titled "mervox": full screen on the desktop for
// ScreenFull640 and ScreenFull720, otherwise a resizable window of `scale` times
// 640x480 at the system's default place. False with a reason on failure.
bool OpenProgramWindow(ProgramWindow& w, ScreenModeValue screenMode, int scale, std::string& error);

// Whether an OpenGL implementation, by the name it gives (GL_RENDERER),
// rasterizes on the processor (Mesa's llvmpipe, softpipe and swrast, and
// the like): the window then uses SDL's software renderer instead.
bool IsSoftwareRasterizer(const std::string& glRenderer);

// Releases the renderer and the window; shows the cursor again.
void CloseProgramWindow(ProgramWindow& w);

// Copies the back buffer from its pixel (1, 1) into the picture and shows
// it; the back buffer's top row and left column are never shown. A back
// buffer drawn at scale N is copied from (N, N), N x 640 by N x 480.
void PresentFrame(ProgramWindow& w, const uint32_t* frame, int scale = 1);
// PresentFrame's two steps, apart so a timing can tell them: the picture
// copied into the renderer's texture, then the texture shown (RepaintWindow).
void UploadFrame(ProgramWindow& w, const uint32_t* frame, int scale);

// The picture's size on the window over 640 x 480 (0 when unknown), and
// the size of the window's drawing area in pixels (0 x 0 when unknown).
double ShownPictureScale(const ProgramWindow& w);
void WindowOutputSize(const ProgramWindow& w, int& width, int& height);

// The renderer's name ("opengl", "software", ...), for timings.
std::string RendererName(const ProgramWindow& w);

// The drawing scale the window wants now (1 unless sharp): the smallest N
// from 1 to 4 whose picture covers the area the picture is shown in.
int WantedDrawScale(const ProgramWindow& w);
// The same for a shown scale (the picture's size on screen over 640 x 480).
int DrawScaleFor(double shownScale);

// Shows the last presented picture again (after the window was uncovered
// or resized), with black margins.
void RepaintWindow(ProgramWindow& w);

// Blackens the whole window.
void BlackenWindow(ProgramWindow& w);

// Chooses sharp or classic drawing; the window's scaling follows at once,
// so a change on the options screen shows on the next frame.
void SetWindowSharp(ProgramWindow& w, bool sharp);

// Switches between a window and the full desktop (Alt+Enter).
void SetFullScreen(ProgramWindow& w, bool on);

// Full screen only: losing the focus minimises the window and shows the
// cursor; gaining it hides the cursor again.
void OnWindowFocus(ProgramWindow& w, bool gained);

// Re-chooses whole-number or smooth scaling after a size change.
void OnWindowResized(ProgramWindow& w);

// Sets the window's icon from 32-bit B, G, R, A pixels.
void SetWindowIcon(ProgramWindow& w, const uint32_t* pixels, int width, int height);

}  // namespace mervox
