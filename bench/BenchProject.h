#pragma once
// What both benchmarks share: the files that opening a project reads, the model's part and the pugixml floor.
#include <QString>
#include <vector>

namespace Bench {

struct TProjectFile
{
    QString Path;
    bool Menu = false;
    int Default = -1; // index of its default file among the files, -1 for a default file
};

bool CopyFolder(const QString &From, const QString &To);

// The files that opening the project reads, default files first, as the main window finds them.
std::vector<TProjectFile> ProjectFiles(const QString &Project);

// Seconds for the model to open every file; the nodes are released outside the measured time.
double RunModel(const std::vector<TProjectFile> &Files, int &Failures);

// Seconds for pugixml alone to parse every file and write it once, each to a new file as the work files are.
double RunFloor(const std::vector<TProjectFile> &Files);

} // namespace Bench
