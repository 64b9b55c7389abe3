#pragma once
// Translate Toolkit (Debian's translate-toolkit, Python) reading the same strings files, for comparison.
#include <QString>
#include <vector>

#include "BenchProject.h"

namespace Bench {

// A Python that can import translate.storage.aresource ("python3" on the path, else Debian's own), empty for none.
QString FindToolkitPython();

// Seconds the toolkit takes to read Files in a child Python; its start-up and imports are not counted. -1 when the
// child fails. Scratch is where the list of files goes.
double ReadWithToolkit(const QString &Python, const QString &Scratch, const std::vector<TProjectFile> &Files);

} // namespace Bench
