#include "BenchSynthetic.h"

#include <numeric>

#include "Glossmill_LocaleConst.h"
#include "SyntheticProject.h"

namespace Bench {

bool MakeSynthetic(const QString &Folder, int Locales, int Strings)
{
    QStringList folders;
    for (int l = 0; l < Locales && l < LocaleTableCount; ++l) {
        // Every twelfth row, so that the languages differ; past one lap, shifted so that each row comes once.
        const int lap = LocaleTableCount / std::gcd(12, LocaleTableCount);
        folders << LocaleTable(1 + (l * 12 + l / lap) % LocaleTableCount).ValuesFolderName;
    }
    return SyntheticProject::Write(Folder, folders, Strings);
}

int SyntheticStringsForBytes(double Bytes)
{
    return SyntheticProject::StringsForBytes(Bytes);
}

} // namespace Bench
