// The millisecond clock and the short sleep the frame pacing is built on.
#pragma once

#include <cstdint>

namespace mervox {

// Milliseconds since the first call, as a wrapping 32-bit count.
uint32_t ClockMs();

// Sleeps until just past the next tick of ClockMs (at most about 1 ms), so
// that a waiting loop sees every millisecond of the clock.
void SleepOneTick();

// A finer clock for measuring the pacing: seconds since the first call.
double ClockSeconds();

// The processor time all threads of the process have used, in
// milliseconds: what a stage costs on a machine busy with other work,
// where its wall-clock time mostly measures the wait for a processor.
double ProcessCpuMs();

}  // namespace mervox
