#pragma once
// Measures through the main window (offscreen): opening a project, showing its files, closing it.
#include <QString>

namespace Bench {

// Interleaved rounds of OpenProject, selecting every language file in turn (the item list is filled for each) and
// CloseProject, beside the model alone and the floor, on a copy of Project under Scratch. Returns the exit code.
int RunOpenProjectBenchmark(const QString &Project, const QString &Scratch, int Rounds);

// The big-file child: opens Project and selects its first language file; prints "open S select S rows N".
int RunBigFileChild(const QString &Project);

} // namespace Bench
