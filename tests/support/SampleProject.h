#pragma once
// A project shaped like a real calendar app's, written by the tests: 56 languages, 300 strings with plurals,
// arrays, markup and comments, five menus and two of them translated, folders of other qualifiers beside.
// app_label is "Calendar", in German "\"Kalender\"" (a value wholly in quotes); German has no menu files.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace SampleProject {

// The package that its manifest names.
QString Package();

// Every file of the project, by its path below the project folder ("res/values-de/strings.xml").
const QMap<QString, QByteArray> &Files();

// The res folders of the project's languages, as written.
QStringList LanguageFolders();

// Writes the project into `Folder`: the manifest and the res folders named in `ResFolders`, all of them when none
// are named; false when a file cannot be written.
bool Write(const QString &Folder, const QStringList &ResFolders = {});

} // namespace SampleProject
