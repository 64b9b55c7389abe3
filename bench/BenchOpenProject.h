#pragma once
// Measures through the main window (offscreen): opening a project, showing its files, closing it.
#include <QString>

#include "BenchStats.h"

class TGlossmillMainForm;

namespace Bench {

// Interleaved rounds of OpenProject, selecting every language file in turn (the item list is filled for each) and
// CloseProject, beside the model alone and the floor, on a copy of Project under Scratch. Returns the exit code.
int RunOpenProjectBenchmark(const QString &Project, const QString &Scratch, int Rounds);

// Selects every file node of the window's tree in turn, as a click on each does; seconds. Rows: the item list's rows
// summed over the files.
double SelectEveryFile(TGlossmillMainForm &Form, int &Rows);

struct TSweepResult
{
    int SmallLocales = 0, LargeLocales = 0, Strings = 0;
    int SmallFiles = 0, LargeFiles = 0; // file nodes in the tree
    TSamples Small, Large;              // seconds of one sweep over every file
    bool Failed = false;                // the projects could not be written
};

// Generated projects of SmallLocales and of LargeLocales languages with Strings strings each, under Scratch, each
// opened through the main window (shown offscreen and active, its tree expanded) in interleaved rounds, and every
// file selected in turn.
TSweepResult MeasureSelectionSweep(const QString &Scratch, int SmallLocales, int LargeLocales, int Strings,
                                   int Rounds);
// The sweep's times and the ratio large / small beside the ratio of the files.
void PrintSweep(const TSweepResult &Sweep);

// The big-file child: opens Project and selects its first language file; prints "open S select S rows N peak B",
// B the peak of resident memory beyond the program before the open, in bytes.
int RunBigFileChild(const QString &Project);

} // namespace Bench
