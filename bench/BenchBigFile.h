#pragma once
// Opening a project whose default strings file is big, and showing its language file, through the main window.
#include <QString>

namespace Bench {

struct TBigFileResult
{
    double Megabytes = 0; // of the default strings file
    double Open = 0;      // seconds
    double Select = 0;    // seconds
    int Rows = 0;
    bool TimedOut = false;
    bool Failed = false;
};

// Generates a project of one language whose default strings file has about Megabytes megabytes under Scratch and
// runs the big-file child of Program on it, stopping it after LimitSeconds.
TBigFileResult MeasureBigFile(const QString &Program, const QString &Scratch, double Megabytes, int LimitSeconds);

} // namespace Bench
