#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace TestSupport {

namespace {

const char *const CorpusVariable = "GLOSSMILL_CORPUS";
int CorpusSkipCount = 0;

QString SourceDir()
{
    return QStringLiteral(GLOSSMILL_SOURCE_DIR);
}

bool HoldsTheProjects(const QString &folder)
{
    return QFileInfo(folder + "/etar/res").isDir() && QFileInfo(folder + "/fdroidclient/res").isDir();
}

QString CorpusFolder(const QString &variable, const QString &sourceDir)
{
    return QDir::cleanPath(variable.isEmpty() ? sourceDir + "/../shared/corpus" : QDir(variable).absolutePath());
}

} // namespace

QString FindCorpus(const QString &variable, const QString &sourceDir)
{
    const QString folder = CorpusFolder(variable, sourceDir);
    return HoldsTheProjects(folder) ? folder : QString();
}

QString CorpusDir()
{
    return FindCorpus(qEnvironmentVariable(CorpusVariable), SourceDir());
}

QString CorpusMissingReason()
{
    const QString variable = qEnvironmentVariable(CorpusVariable);
    if (!FindCorpus(variable, SourceDir()).isEmpty())
        return {};
    const QString folder = CorpusFolder(variable, SourceDir());
    if (!variable.isEmpty())
        return QStringLiteral("%1=%2 holds no etar/ and fdroidclient/").arg(CorpusVariable, folder);
    return QStringLiteral("needs the corpus of real projects: %1 is not set and %2 holds no etar/ and fdroidclient/")
        .arg(CorpusVariable, folder);
}

QString CorpusCheck(bool *fail)
{
    *fail = false;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString suite = test ? QString::fromUtf8(test->test_suite_name()) : QString();
    if (!suite.startsWith(QLatin1String("Corpus")) && !suite.contains(QLatin1String("/Corpus"))) {
        *fail = true;
        return QStringLiteral("a test that needs the corpus belongs to a suite named Corpus..., not %1").arg(suite);
    }
    const QString reason = CorpusMissingReason();
    if (reason.isEmpty())
        return {};
    // A variable that names the wrong folder is a mistake to show, not a reason to skip.
    *fail = !qEnvironmentVariableIsEmpty(CorpusVariable);
    if (!*fail)
        ++CorpusSkipCount;
    return reason;
}

int CorpusSkips()
{
    return CorpusSkipCount;
}

bool CopyTree(const QString &from, const QString &to)
{
    QDir src(from);
    if (!src.exists() || !QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + src.relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else {
            QDir().mkpath(QFileInfo(target).absolutePath());
            if (!QFile::copy(path, target))
                return false;
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    return true;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ExpectText(const QByteArray &actual, const QByteArray &expected)
{
    EXPECT_EQ(actual, expected) << "--- actual ---\n"
                                << actual.toStdString() << "--- expected ---\n"
                                << expected.toStdString();
}

bool MakeReadableToAll(const QString &folder)
{
    const QFileDevice::Permissions read = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    const QFileDevice::Permissions enter = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
    bool ok = QFile::setPermissions(folder, read | enter | QFile::WriteOwner | QFile::WriteUser);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isSymLink())
            continue;
        ok = QFile::setPermissions(path, read | QFile::WriteOwner | QFile::WriteUser | (it.fileInfo().isDir() ? enter : QFileDevice::Permissions()))
            && ok;
    }
    return ok;
}

namespace {

// The argument that runs only the current test in another process of this program; empty outside a test.
QString CurrentTestFilter()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        return {};
    return QStringLiteral("--gtest_filter=") + QString::fromUtf8(test->test_suite_name()) + QLatin1Char('.')
        + QString::fromUtf8(test->name());
}

void SetVariable(QProcess &child, const QString &variable, const QString &value)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variable, value);
    child.setProcessEnvironment(env);
}

} // namespace

int RunCurrentTestAsNobody(const QString &variable, const QString &value)
{
    const passwd *nobody = ::getpwnam("nobody");
    const QString filter = CurrentTestFilter();
    if (::geteuid() != 0 || !nobody || filter.isEmpty())
        return -1;
    QProcess child;
    SetVariable(child, variable, value);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=%1").arg(nobody->pw_uid), QStringLiteral("--regid=%1").arg(nobody->pw_gid),
                                             QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(), filter});
    if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit)
        return -1;
    return child.exitCode();
}

int RunCurrentTestInChild(const QString &variable, const QString &value, int timeoutMs, QByteArray *output)
{
    const QString filter = CurrentTestFilter();
    if (filter.isEmpty())
        return -1;
    QProcess child;
    SetVariable(child, variable, value);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {filter});
    const bool ended = child.waitForFinished(timeoutMs);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    *output = child.readAll();
    if (!ended || child.exitStatus() != QProcess::NormalExit)
        return -1;
    return child.exitCode();
}

} // namespace TestSupport
