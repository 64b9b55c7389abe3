#pragma once
#include <QString>
#include <QTemporaryDir>

// Shared helpers for tests: temporary copies of corpus projects and small file utilities.
namespace TestSupport {

// Folder of the read-only corpus of real Android projects.
QString CorpusDir();

// Copies folder `from` recursively below `to` (created when missing); false on any failure.
bool CopyTree(const QString &from, const QString &to);

// Writes `bytes` to `path`, creating its folder; false on failure.
bool WriteFile(const QString &path, const QByteArray &bytes);

// The whole content of `path`, empty when it cannot be read.
QByteArray ReadFile(const QString &path);

// Compares two texts, printing both whole on a mismatch.
void ExpectText(const QByteArray &actual, const QByteArray &expected);

// Makes a folder tree readable by everyone (folders enterable), leaving it writable by its owner only.
bool MakeReadableToAll(const QString &folder);

// Runs the current test again in a new process of this program as the unprivileged user nobody, with `variable` set
// to `value` in its environment; its output goes to this one's. Its exit code; -1 when it could not run (only root
// can start it), 126 or 127 when nobody may not run this program.
int RunCurrentTestAsNobody(const QString &variable, const QString &value);

} // namespace TestSupport
