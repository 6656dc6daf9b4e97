// A video file with its sound, written through FFmpeg's libraries: the
// container and codecs follow the file's ending. The game hands it pictures
// (60 a second) and the mixer's sound; nothing else of the program is
// known here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mervox {

enum class ClipKind {
    WebM,  // VP9 and Opus
    Mp4,   // H.264 and AAC
    Mkv,   // H.264 and FLAC
};

// The kind a file name's ending asks for (case ignored); false for any
// other ending.
bool ClipKindOf(const std::string& path, ClipKind& kind);

// The endings known, for messages: ".webm, .mp4 or .mkv".
const char* ClipEndings();

struct ClipSettings {
    int width = 640;   // pictures in pixels
    int height = 480;
    int audioRate = 44100;  // the sound handed in: 16-bit stereo at this rate
};

struct ClipEncoder;

// Opens `path` for writing. The file is written under a temporary name
// beside it and takes its own name only when FinishClip succeeds, so a
// file already there is never left half overwritten. Null, with the
// reason in `error`, when the file cannot be written or the codecs cannot
// be opened; nothing is left behind then.
ClipEncoder* OpenClip(const std::string& path, ClipKind kind, const ClipSettings& settings, std::string& error);

// Adds the next picture: width x height words 0x00RRGGBB, row after row.
bool AddClipPicture(ClipEncoder* clip, const uint32_t* picture, std::string& error);

// Adds the next stretch of sound: `frames` interleaved stereo 16-bit pairs.
bool AddClipSound(ClipEncoder* clip, const int16_t* samples, size_t frames, std::string& error);

// Flushes the codecs, closes the file and gives it its name. False, with
// the file removed, when that fails. Frees the encoder either way.
bool FinishClip(ClipEncoder* clip, std::string& error);

// Stops without finishing: the file is removed. Frees the encoder.
void AbandonClip(ClipEncoder* clip);

// The codecs and their settings for a kind, for messages and the README:
// "VP9 (yuv444p, ...) + Opus 48 kHz".
std::string ClipSettingsText(ClipKind kind);

// The sample rate of the sound track written for a kind (Opus has 48 kHz
// only; the others keep the mixer's rate).
int ClipAudioRate(ClipKind kind, int mixerRate);

}  // namespace mervox
