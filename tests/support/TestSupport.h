#pragma once
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Shared helpers for tests: the corpus of real projects, temporary copies and small file utilities.
namespace TestSupport {

// The read-only corpus of real Android projects, a folder holding etar/ and fdroidclient/: the folder named by the
// environment variable GLOSSMILL_CORPUS, or ../shared/corpus beside the source tree when that is unset or empty.
// Empty when that folder does not hold both projects.
QString CorpusDir();

// Where the corpus is looked for, by the rule above: `variable` is GLOSSMILL_CORPUS's value (may be empty).
// Empty when that folder does not hold both projects; else the folder, cleaned.
QString FindCorpus(const QString &variable, const QString &sourceDir);

// Why CorpusDir() is empty, in one line; empty when the corpus was found.
QString CorpusMissingReason();

// Called by GLOSSMILL_REQUIRE_CORPUS: empty when the test may go on, else why not. Counts the skips for the summary
// that test_main prints. A test that needs the corpus belongs to a suite whose name starts with "Corpus": ctest runs
// those suites as a test of their own (<program>_corpus), which it lists as skipped when the corpus is missing.
QString CorpusCheck(bool *fail);

// Tests skipped so far for want of the corpus.
int CorpusSkips();

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

// Runs the current test again in a new process of this program, with `variable` set to `value` in its environment.
// Its exit code, its output (stdout and stderr merged) in `output`; -1 when it did not end within `timeoutMs` (it is
// killed) or could not start.
int RunCurrentTestInChild(const QString &variable, const QString &value, int timeoutMs, QByteArray *output);

} // namespace TestSupport

// Skips the test, with the reason, when the corpus of real projects is missing; fails it when GLOSSMILL_CORPUS names
// a folder without the projects, or when the test's suite is not named Corpus... . Use in a test body or SetUp.
#define GLOSSMILL_REQUIRE_CORPUS()                                                                                     \
    do {                                                                                                               \
        bool glossmillCorpusFails = false;                                                                             \
        const QString glossmillCorpusProblem = ::TestSupport::CorpusCheck(&glossmillCorpusFails);                      \
        if (glossmillCorpusFails)                                                                                      \
            FAIL() << glossmillCorpusProblem.toStdString();                                                            \
        if (!glossmillCorpusProblem.isEmpty())                                                                         \
            GTEST_SKIP() << glossmillCorpusProblem.toStdString();                                                      \
    } while (false)
