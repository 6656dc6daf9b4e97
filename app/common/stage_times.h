// Per-frame times of the stages of a frame (drawing, upload, showing),
// collected by the timedemos and summed up as median and high percentiles:
// a frame rate is held or lost by its slow frames, not by its average.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mervox {

// One stage's times, in milliseconds, one sample a frame.
struct StageTimes {
    std::string name;
    std::vector<double> ms;
};

struct StageSummary {
    size_t count = 0;
    double median = 0;
    double p95 = 0;
    double p99 = 0;
    double max = 0;
    double mean = 0;
};

// The value below which the fraction `p` (0 to 1) of the samples lie, by
// the nearest rank of the sorted samples; 0 when there are none.
double Percentile(const std::vector<double>& sorted, double p);

StageSummary Summarize(std::vector<double> ms);

// Prints a table: one line per stage with its median, 95th and 99th
// percentile, largest and mean time per frame.
void PrintStageTable(std::FILE* out, const std::vector<StageTimes>& stages);

}  // namespace mervox
