// Makes the tutorial and demonstration recordings: data/tuto.dat,
// data/demo1.dat and data/demo2.dat under the given folder, and prints
// what each round shows.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "demo_bot.h"
#include "save/atomic_file.h"
#include "save/input_log_file.h"

namespace {

using mervox::BotGoal;
using mervox::BotOptions;

// The tutorial: each caption's point while the caption is on screen.
// Caption windows: 300-1499 groups, 1500-2999 chains, 3000-4499 kicks,
// 4500-5399 levels and the end of the round. The clock (60 s after the
// ready countdown) runs out at 3780 plus 600 for each level-up, so the
// round is still running at 4500 only after two level-ups before 4380; the
// third comes while the last caption is shown.
BotOptions Tutorial() {
    BotOptions o;
    o.runMode = mervox::RunTutorial;
    o.maxFrames = 5000;
    o.jumps = false;
    o.turns = false;
    o.maxPush = 2;
    o.goals = {
        // Groups of three first; chain links wait for their own caption.
        {BotGoal::Group, 300, 1499, 1, 2, 800},
        {BotGoal::Chain, 0, 1499, 2, 99, -1500},
        {BotGoal::Chain, 1500, 2999, 2, 2, 1500},
        {BotGoal::KickToWall, 3000, 4499, 4, 1, 1500},
        {BotGoal::KickToBlock, 3000, 4499, 2, 1, 1500},
        // Clearing spread over the captions: the first level-up under the
        // chains caption, the second under the kicks caption.
        {BotGoal::NoLevelUp, 0, 1499, 0, 0, 6000},
        {BotGoal::NoLevelUp, 0, 2999, 0, 1, 6000},
        {BotGoal::LevelUp, 0, 4379, 0, 2, 3000},
        {BotGoal::NoLevelUp, 0, 4499, 0, 2, 6000},
        {BotGoal::LevelUp, 4500, 4979, 0, 1, 3000},
        {BotGoal::NoLevelUp, 4500, 99999, 0, 1, 6000},
    };
    return o;
}

// Demonstration 1: long chains, built with pushes, and a little of all
// the rest.
BotOptions Demo1() {
    BotOptions o;
    o.runMode = mervox::RunDemo1;
    o.chainBonus = 60;
    o.maxTurns = 3;
    o.goals = {
        {BotGoal::Chain, 0, 5400, 4, 2, 1500},
        {BotGoal::KickToWall, 0, 5400, 2, 1, 500},
        {BotGoal::KickToBlock, 0, 5400, 2, 1, 500},
        {BotGoal::JumpOnto, 0, 5400, 0, 2, 400},
        {BotGoal::UpperPlay, 0, 5400, 0, 1, 600},
        {BotGoal::LevelUp, 0, 5400, 0, 6, 500},
        {BotGoal::Turn, 0, 5400, 0, 3, 400},
    };
    return o;
}

// Demonstration 2: quick play with kicks, jumps and play from on top.
BotOptions Demo2() {
    BotOptions o;
    o.runMode = mervox::RunDemo2;
    o.chainBonus = 60;
    o.kickBonus = 40;
    o.maxTurns = 2;
    o.maxPush = 2;
    o.goals = {
        {BotGoal::Chain, 0, 5400, 4, 1, 3000},
        {BotGoal::KickToWall, 0, 5400, 4, 4, 500},
        {BotGoal::KickToBlock, 0, 5400, 3, 4, 400},
        {BotGoal::JumpOnto, 0, 5400, 0, 4, 400},
        {BotGoal::UpperPlay, 0, 5400, 0, 4, 600},
        {BotGoal::LevelUp, 0, 5400, 0, 6, 500},
        {BotGoal::Turn, 0, 5400, 0, 2, 400},
    };
    return o;
}

struct Job {
    const char* file = "";
    BotOptions options;
};

// The search budget of one recording: the bot plays the round once with
// each of these settings and the round that best meets the goals is kept.
std::vector<BotOptions> Variants(const BotOptions& base) {
    std::vector<BotOptions> v(6, base);
    v[1].beam = 6;
    v[2].lookahead = 60;
    v[2].chainBonus *= 1.5;
    v[3].beam = 6;
    v[3].lookahead = 60;
    v[3].pairValue = 40;
    v[4].beam = 8;
    v[5].pairValue = 15;
    v[5].timeCost = 1.5;
    return v;
}

struct Trial {
    size_t job;
    BotOptions options;
    mervox::BotResult result;
    double value = 0;
    double seconds = 0;
};

// The three recordings, or only those named on the command line (false
// when a name is none of them).
bool ChooseJobs(int argc, char** argv, std::vector<Job>& jobs) {
    jobs.assign(3, Job{});
    jobs[0].file = "data/tuto.dat";
    jobs[0].options = Tutorial();
    jobs[1].file = "data/demo1.dat";
    jobs[1].options = Demo1();
    jobs[2].file = "data/demo2.dat";
    jobs[2].options = Demo2();
    if (argc <= 2) return true;
    std::vector<Job> named;
    for (int a = 2; a < argc; ++a) {
        const std::string want = std::string("data/") + argv[a] + ".dat";
        bool found = false;
        for (Job& job : jobs)
            if (want == job.file) {
                named.push_back(std::move(job));
                found = true;
            }
        if (!found) {
            std::fprintf(stderr, "mervox_recordings: no recording named %s\n", argv[a]);
            return false;
        }
    }
    jobs = std::move(named);
    return true;
}

double SecondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// Plays every trial: the rounds are independent, two at a time on two cores.
void PlayTrials(std::vector<Trial>& trials) {
    const unsigned workers = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    std::atomic<size_t> nextTrial{0};
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w)
        threads.emplace_back([&] {
            for (size_t k; (k = nextTrial++) < trials.size();) {
                const auto t0 = std::chrono::steady_clock::now();
                trials[k].result = mervox::PlayBotRound(trials[k].options);
                trials[k].value = mervox::RecordingValue(trials[k].result, trials[k].options);
                trials[k].seconds = SecondsSince(t0);
            }
        });
    for (std::thread& t : threads) t.join();
}

// Writes the best of job k's trials as its recording and says what it
// shows; false when it cannot be written.
bool WriteBestTrial(const std::filesystem::path& out, const std::vector<Job>& jobs, size_t k,
                    const std::vector<Trial>& trials) {
    const Trial* best = nullptr;
    long moves = 0;
    double seconds = 0;
    for (const Trial& t : trials) {
        if (t.job != k) continue;
        moves += t.result.movesTried;
        seconds += t.seconds;
        if (best == nullptr || t.value > best->value) best = &t;
    }
    const mervox::GameState& g = *best->result.state;
    const std::string text = mervox::FormatInputLog(g.InputLog);
    if (!mervox::WriteFileAtomically((out / jobs[k].file).string(), text)) {
        std::fprintf(stderr, "mervox_recordings: cannot write %s\n", jobs[k].file);
        return false;
    }
    std::printf("%s: score %u, level %d, %d key changes; best of %zu rounds (value %.0f), %ld moves tried, %.1f s\n%s",
                jobs[k].file, g.Score, g.Level, g.InputLogIndex, Variants(jobs[k].options).size(), best->value,
                moves, seconds, best->result.events.Summary().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mervox_recordings <folder> [tuto|demo1|demo2 ...]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out / "data", ec);
    if (ec) {
        std::fprintf(stderr, "mervox_recordings: cannot make %s: %s\n", (out / "data").c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::vector<Job> jobs;
    if (!ChooseJobs(argc, argv, jobs)) return 2;
    std::vector<Trial> trials;
    for (size_t k = 0; k < jobs.size(); ++k)
        for (const BotOptions& o : Variants(jobs[k].options)) trials.push_back({k, o, {}, 0, 0});

    const auto start = std::chrono::steady_clock::now();
    PlayTrials(trials);
    for (size_t k = 0; k < jobs.size(); ++k)
        if (!WriteBestTrial(out, jobs, k, trials)) return 1;
    std::printf("all: %.1f s\n", SecondsSince(start));
    return 0;
}
