#pragma once
// Generated projects: LOCALES languages with STRINGS strings each, plurals, arrays, markup and comments among them.
#include <QString>

namespace Bench {

// Writes AndroidManifest.xml, res/values/strings.xml and one strings file per language under Folder; false when a
// file cannot be written. Locales beyond the locale table are left out.
bool MakeSynthetic(const QString &Folder, int Locales, int Strings);

// The strings that make a default strings file of about Bytes bytes.
int SyntheticStringsForBytes(double Bytes);

} // namespace Bench
