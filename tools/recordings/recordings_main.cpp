// Makes the tutorial and demonstration recordings: data/tuto.dat,
// data/demo1.dat and data/demo2.dat under the given folder.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "demo_bot.h"
#include "save/atomic_file.h"
#include "save/input_log_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mervox_recordings <folder>\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "data");

    struct Job {
        const char* file;
        mervox::BotOptions options;
    };
    Job jobs[3];
    jobs[0] = {"data/tuto.dat", {}};
    jobs[0].options.runMode = 3;
    jobs[0].options.seed = 3;
    jobs[0].options.maxFrames = 5700;
    jobs[0].options.favourKicks = true;
    jobs[1] = {"data/demo1.dat", {}};
    jobs[1].options.runMode = 4;
    jobs[1].options.seed = 11;
    jobs[2] = {"data/demo2.dat", {}};
    jobs[2].options.runMode = 5;
    jobs[2].options.seed = 29;

    for (const Job& job : jobs) {
        // A few differently seeded players; the best-scoring round is kept.
        std::unique_ptr<mervox::GameState> g;
        for (uint32_t attempt = 0; attempt < 3; ++attempt) {
            mervox::BotOptions options = job.options;
            options.seed = job.options.seed + 100 * attempt;
            auto candidate = mervox::PlayBotRound(options);
            if (!g || candidate->Score > g->Score) g = std::move(candidate);
        }
        const std::string text = mervox::FormatInputLog(g->InputLog);
        if (!mervox::WriteFileAtomically((out / job.file).string(), text)) {
            std::fprintf(stderr, "mervox_recordings: cannot write %s\n", job.file);
            return 1;
        }
        std::printf("%s: score %u, level %d, %d key changes\n", job.file, g->Score, g->Level,
                    g->InputLogIndex);
    }
    return 0;
}
