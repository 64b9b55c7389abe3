#pragma once
// Peak memory of an open beyond the program before it. Each measurement runs in a child process of its own (this
// benchmark started again), which resets its resident-memory high-water mark right before the open and reports the
// peak above what was resident then.
#include <QString>

#include "BenchStats.h"

namespace Bench {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when it cannot be read.
qint64 StatusBytes(const char *Field);
// Starts the high-water mark again at what is resident now; false where the kernel does not allow it.
bool ResetPeak();

// Bytes beyond the program before the open, one sample per child, each on a fresh copy of Project under Scratch.
// Side is "model" or "floor". A child that fails adds no sample.
TSamples PeakBeyondOpen(const QString &Program, const QString &Project, const QString &Scratch, const char *Side,
                        int Runs);

// The child: opens the files of Project on Side and prints "peak BYTES". Returns the exit code.
int RunPeakChild(const QString &Side, const QString &Project);

} // namespace Bench
