// The WAV reader on crafted files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wave_file.h"

namespace mervox::testing {
namespace {

// Messages collected as "caption|text".
SoundMessages CollectInto(std::vector<std::string>& messages) {
    return SoundMessages{[&messages](const std::string& caption, const std::string& text) {
        messages.push_back(caption + "|" + text);
    }};
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// A canonical file: 44-byte header, then `samples` bytes 1, 2, 3, ...
std::vector<uint8_t> Canonical(uint32_t samples, uint32_t declared, const char* chunk = "data",
                               uint16_t tag = 1) {
    std::vector<uint8_t> b(44 + samples);
    std::memcpy(b.data(), "RIFF", 4);
    std::memcpy(b.data() + 8, "WAVEfmt ", 8);
    Put32(b, 16, 16);
    Put16(b, 20, tag);
    Put16(b, 22, 2);
    Put32(b, 24, 22050);
    Put32(b, 28, 88200);
    Put16(b, 32, 4);
    Put16(b, 34, 16);
    std::memcpy(b.data() + 36, chunk, 4);
    Put32(b, 40, declared);
    for (uint32_t k = 0; k < samples; ++k) b[44 + k] = static_cast<uint8_t>(k + 1);
    return b;
}

class WaveFileTest : public ::testing::Test {
protected:
    std::vector<std::string> messages;
    const SoundMessages to = CollectInto(messages);
    WaveSound sound;
    OutputFormat format;
};

TEST_F(WaveFileTest, CanonicalFileLoadsItsSamplesAndFormat) {
    auto file = Canonical(8, 8);
    EXPECT_EQ(ParseWaveImage(file, "a.wav", sound, format, &to), WaveOk);
    EXPECT_EQ(sound.data, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSec, 22050u);
    EXPECT_EQ(format.blockAlign, 4);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileTest, FactChunkMovesTheSamplesTo56) {
    auto file = Canonical(20, 0, "fact");
    Put32(file, 52, 4);  // data size after the fact body
    EXPECT_EQ(ParseWaveImage(file, "f.wav", sound, format, &to), WaveOk);
    EXPECT_EQ(sound.data, (std::vector<uint8_t>{13, 14, 15, 16}));
}

TEST_F(WaveFileTest, EachFaultHasItsResultAndMessage) {
    auto notWave = Canonical(4, 4);
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_EQ(ParseWaveImage(notWave, "x.wav", sound, format, &to), WaveNotWave);

    auto notPcm = Canonical(4, 4, "data", 3);
    EXPECT_EQ(ParseWaveImage(notPcm, "y.wav", sound, format, &to), WaveNotPcm);
    EXPECT_EQ(format.formatTag, 3) << "the format is taken before the PCM test";
    EXPECT_EQ(format.samplesPerSec, 22050u);

    auto list = Canonical(4, 4, "LIST");
    EXPECT_EQ(ParseWaveImage(list, "z.wav", sound, format, &to), WaveUnknownChunk);

    EXPECT_EQ(LoadWaveFile("/nonexistent/none.wav", sound, format, &to), WaveCannotOpen);
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "x.wav|WAVEファイルを指定してください");
    EXPECT_EQ(messages[1], "y.wav|PCM形式のWAVEファイルを指定してください");
    EXPECT_EQ(messages[2], "z.wav|正体不明のファイルです");
    EXPECT_EQ(messages[3], "/nonexistent/none.wav|ファイルを開けません");
    EXPECT_FALSE(sound.loaded);

    EXPECT_EQ(LoadWaveFile("/nonexistent/none.wav", sound, format, nullptr), WaveCannotOpen);
    EXPECT_EQ(messages.size(), 4u) << "voice clips fail quietly";
}

TEST_F(WaveFileTest, OversizeDataIsCutAndTruncatedFilesAreSafe) {
    auto file = Canonical(6, 1000000);
    EXPECT_EQ(ParseWaveImage(file, "o.wav", sound, format, &to), WaveOk);
    EXPECT_EQ(sound.data.size(), 6u);

    const struct {
        size_t cut;
        int result;
    } cuts[] = {{0, WaveNotWave},  {4, WaveNotWave}, {11, WaveNotWave}, {12, WaveNotPcm},
                {30, WaveNotPcm},  {38, WaveUnknownChunk}, {40, WaveOk}, {42, WaveOk},
                {44, WaveOk}};
    for (const auto& c : cuts) {
        auto whole = Canonical(8, 8);
        std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(c.cut));
        WaveSound s;
        EXPECT_EQ(ParseWaveImage(part, "t.wav", s, format, &to), c.result) << c.cut;
        EXPECT_TRUE(s.data.empty()) << c.cut;
    }
}

TEST_F(WaveFileTest, ReadsARealFileFromDisk) {
    const auto path = std::filesystem::temp_directory_path() / "mervox-wave-test.wav";
    auto bytes = Canonical(16, 16);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(LoadWaveFile(path.string(), sound, format, &to), WaveOk);
    EXPECT_EQ(sound.data.size(), 16u);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace mervox::testing
