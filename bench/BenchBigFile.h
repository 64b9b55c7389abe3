#pragma once
// Opening a project whose default strings file is big, and showing its language file, through the main window.
#include <QString>

namespace Bench {

struct TBigFileResult
{
    double Megabytes = 0; // of the default strings file
    qint64 FilesBytes = 0; // of every file that opening reads: the default and the language file
    double Open = 0;      // seconds
    double Select = 0;    // seconds
    int Rows = 0;
    double Peak = 0;      // bytes of resident memory beyond the program before the open, at its highest
    bool TimedOut = false;
    bool Failed = false;
};

// Generates a project of one language whose default strings file has about Megabytes megabytes under Scratch and
// runs the big-file child of Program on it, stopping it after LimitSeconds.
TBigFileResult MeasureBigFile(const QString &Program, const QString &Scratch, double Megabytes, int LimitSeconds);

} // namespace Bench
