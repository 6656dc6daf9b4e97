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

struct Arguments {
    std::string out, font;
    int threads = static_cast<int>(std::thread::hardware_concurrency());
};

// 0 when the arguments are understood, else the exit status.
int ReadArguments(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc)
            args.font = argv[++i];
        else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            args.threads = std::atoi(argv[++i]);
        else if (args.out.empty() && argv[i][0] != '-')
            args.out = argv[i];
        else
            return Fail(std::string("unknown argument ") + argv[i]);
    }
    if (args.out.empty()) {
        std::fprintf(stderr, "usage: mervox_assets <game folder> [--font file.ttf] [--threads N]\n");
        return 2;
    }
    args.threads = std::clamp(args.threads, 1, 8);
    return 0;
}

// The sheets at every drawing scale, beside the original ones. Returns the
// exit status so far.
int WriteSheets(const std::string& out, const FontFace& font) {
    int status = 0;
    for (int scale = 1; scale <= 4; ++scale) {
        const auto write = [&](mervox::SheetId id, bool (*draw)(const std::string&, const FontFace&, int)) {
            const std::string name = mervox::SheetFileName(id, scale);
            if (!draw(out + "/" + name, font, scale)) status = Fail("cannot write " + name);
        };
        write(mervox::SheetId::Number, WriteNumberSheet);
        write(mervox::SheetId::Title, WriteTitleSheet);
        write(mervox::SheetId::Rank, WriteRankSheet);
    }
    return status;
}

// The window's icon in data/; every size in the desktop's icon theme
// layout, icons/hicolor/<size>x<size>/apps/mervox.png, to be installed.
int WriteIcons(const std::string& out) {
    int status = 0;
    if (!WriteIcon(out + "/data/icon.png", kWindowIconSize)) status = Fail("cannot write icon.png");
    for (int size : kIconSizes) {
        const std::string px = std::to_string(size), dir = out + "/icons/hicolor/" + px + "x" + px + "/apps";
        if (!MakeDirs(dir) || !WriteIcon(dir + "/mervox.png", size))
            status = Fail("cannot write the " + px + " pixel icon in " + dir);
    }
    return status;
}

// The thirteen effects and the two voice clips.
int WriteEffectsAndVoices(const std::string& snd) {
    int status = 0;
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
    return status;
}

double SecondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (const int bad = ReadArguments(argc, argv, args); bad != 0) return bad;
    const std::string& out = args.out;
    const auto begin = std::chrono::steady_clock::now();

    // The font is needed first: without it nothing is written at all.
    const std::string fontPath = FindGothicFont(args.font);
    FontFace font;
    if (fontPath.empty() || !OpenFont(fontPath, font)) {
        CloseFont(font);
        return Fail("cannot open the IPAGothic font" + (args.font.empty() ? std::string() : " " + args.font) +
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
    std::thread music([&] { musicOk = WriteMusic(snd, args.threads, musicError); });

    const auto sheetsBegin = std::chrono::steady_clock::now();
    int status = WriteSheets(out, font);
    const double sheetSeconds = SecondsSince(sheetsBegin);
    CloseFont(font);
    status = std::max(status, WriteIcons(out));
    status = std::max(status, WriteEffectsAndVoices(snd));

    music.join();
    if (!musicOk) status = Fail(musicError);
    if (status == 0)
        std::printf("mervox_assets: game data written to %s in %.1f s (sheets %.2f s)\n", out.c_str(),
                    SecondsSince(begin), sheetSeconds);
    return status;
}
