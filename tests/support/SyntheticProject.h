#pragma once
// Generated projects: languages with any number of strings each, plurals, arrays, markup and comments among them.
// The tests and the benchmark write theirs with these.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SyntheticProject {

// A default strings file of `Strings` numbered strings (s0, s1, ...): some not translatable, plurals, arrays, markup
// and comments among them.
QByteArray DefaultStrings(int Strings);

// The strings file of the language numbered `Locale`: most strings translated, some left out, some kept as the
// default's text, the plurals and arrays translated; its item-state comment marks s1 final and s2 to be bettered.
QByteArray LanguageStrings(int Strings, int Locale);

// Writes `Bytes` to `Path`, creating its folder; false on failure.
bool WriteBytes(const QString &Path, const QByteArray &Bytes);

// Writes AndroidManifest.xml, res/values/strings.xml and res/<folder>/strings.xml for each of `LanguageFolders` under
// `Folder`; false when a file cannot be written.
bool Write(const QString &Folder, const QStringList &LanguageFolders, int Strings);

// The strings that make a default strings file of about `Bytes` bytes.
int StringsForBytes(double Bytes);

} // namespace SyntheticProject
