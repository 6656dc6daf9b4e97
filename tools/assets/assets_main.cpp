// mervox_assets: makes every data file of the game that is not a recording
// into a game folder: the three sprite sheets and the window icon in data/,
// the icons of every size in icons/,
// the effects, voice clips and music in snd/.
//
//   mervox_assets <game folder> [--font <IPAGothic .ttf>] [--threads N]
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "render/sheet_layout.h"
#include "tools/assets/font_face.h"
#include "tools/assets/sheets.h"
#include "tools/assets/sounds.h"
#include "tools/assets/wav_writer.h"

using namespace mervox_assets;

namespace {

bool MakeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0) return true;
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// MakeDir for each folder of the path in turn.
bool MakeDirs(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (!MakeDir(path.substr(0, slash))) return false;
    return MakeDir(path);
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "mervox_assets: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out, fontArg;
    int threads = static_cast<int>(std::thread::hardware_concurrency());
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc)
            fontArg = argv[++i];
        else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::atoi(argv[++i]);
        else if (out.empty() && argv[i][0] != '-')
            out = argv[i];
        else
            return Fail(std::string("unknown argument ") + argv[i]);
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: mervox_assets <game folder> [--font file.ttf] [--threads N]\n");
        return 2;
    }
    threads = std::clamp(threads, 1, 8);
    const auto begin = std::chrono::steady_clock::now();

    // The font is needed first: without it nothing is written at all.
    const std::string fontPath = FindGothicFont(fontArg);
    FontFace font;
    if (fontPath.empty() || !OpenFont(fontPath, font)) {
        CloseFont(font);
        return Fail("cannot open the IPAGothic font" + (fontArg.empty() ? std::string() : " " + fontArg) +
                    " (install fonts-ipafont-gothic or pass --font)");
    }
    const std::string data = out + "/data", snd = out + "/snd";
    if (!MakeDir(out) || !MakeDir(data) || !MakeDir(snd)) {
        CloseFont(font);
        return Fail("cannot create " + out + "/data and " + out + "/snd");
    }

    // Music takes the longest: it runs on worker threads while the rest is
    // made on this one.
    std::string musicError;
    bool musicOk = false;
    std::thread music([&] { musicOk = WriteMusic(snd, threads, musicError); });

    int status = 0;
    // The sheets at every drawing scale, beside the original ones.
    const auto sheetsBegin = std::chrono::steady_clock::now();
    for (int scale = 1; scale <= 4; ++scale) {
        const auto write = [&](mervox::SheetId id, bool (*draw)(const std::string&, const FontFace&, int)) {
            const std::string name = mervox::SheetFileName(id, scale);
            if (!draw(out + "/" + name, font, scale)) status = Fail("cannot write " + name);
        };
        write(mervox::SheetId::Number, WriteNumberSheet);
        write(mervox::SheetId::Title, WriteTitleSheet);
        write(mervox::SheetId::Rank, WriteRankSheet);
    }
    const double sheetSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - sheetsBegin).count();
    CloseFont(font);
    // The window's icon in data/; every size in the desktop's icon theme
    // layout, icons/hicolor/<size>x<size>/apps/mervox.png, to be installed.
    if (!WriteIcon(data + "/icon.png", kWindowIconSize)) status = Fail("cannot write icon.png");
    for (int size : kIconSizes) {
        const std::string px = std::to_string(size), dir = out + "/icons/hicolor/" + px + "x" + px + "/apps";
        if (!MakeDirs(dir) || !WriteIcon(dir + "/mervox.png", size))
            status = Fail("cannot write the " + px + " pixel icon in " + dir);
    }

    for (int k = 0; k < kEffectCount; ++k)
        if (!WriteWav(snd + "/" + EffectFileName(k), MakeEffect(k)))
            status = Fail(std::string("cannot write ") + EffectFileName(k));

    struct Clip {
        const char* file;
        const char* text;
        const char* voice;
    };
    const Clip clips[2] = {{"ready.wav", "Ready?", "-v en-us+m3 -s 135 -p 58 -a 180"},
                           {"go.wav", "Go!", "-v en-us+m3 -s 150 -p 64 -a 190"}};
    for (const Clip& c : clips) {
        Mono voice;
        std::string error;
        if (!MakeVoice(c.text, c.voice, snd + "/." + c.file + ".espeak", voice, error))
            status = Fail(error);
        else if (!WriteWav(snd + "/" + c.file, voice))
            status = Fail(std::string("cannot write ") + c.file);
    }

    music.join();
    if (!musicOk) status = Fail(musicError);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (status == 0)
        std::printf("mervox_assets: game data written to %s in %.1f s (sheets %.2f s)\n", out.c_str(), seconds,
                    sheetSeconds);
    return status;
}
