#include "app/common/stage_times.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace mervox {

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const double clamped = std::clamp(p, 0.0, 1.0);
    // Nearest rank: the smallest sample with at least p of them at or below it.
    const size_t rank = static_cast<size_t>(std::ceil(clamped * static_cast<double>(sorted.size())));
    return sorted[rank == 0 ? 0 : rank - 1];
}

StageSummary Summarize(std::vector<double> ms) {
    StageSummary s;
    if (ms.empty()) return s;
    std::sort(ms.begin(), ms.end());
    s.count = ms.size();
    s.median = Percentile(ms, 0.5);
    s.p95 = Percentile(ms, 0.95);
    s.p99 = Percentile(ms, 0.99);
    s.max = ms.back();
    s.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
    return s;
}

void PrintStageTable(std::FILE* out, const std::vector<StageTimes>& stages) {
    std::fprintf(out, "  %-9s %8s %8s %8s %8s %8s   (ms per frame)\n", "stage", "median", "p95", "p99", "max", "mean");
    for (const StageTimes& stage : stages) {
        const StageSummary s = Summarize(stage.ms);
        std::fprintf(out, "  %-9s %8.3f %8.3f %8.3f %8.3f %8.3f\n", stage.name.c_str(), s.median, s.p95, s.p99, s.max,
                     s.mean);
    }
}

}  // namespace mervox
