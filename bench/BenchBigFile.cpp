#include "BenchBigFile.h"

#include "BenchProject.h"
#include "BenchSynthetic.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace Bench {

TBigFileResult MeasureBigFile(const QString &Program, const QString &Scratch, double Megabytes, int LimitSeconds)
{
    TBigFileResult result;
    const QString project = Scratch + QStringLiteral("/big");
    QDir(project).removeRecursively();
    if (!MakeSynthetic(project, 1, SyntheticStringsForBytes(Megabytes * 1e6))) {
        result.Failed = true;
        return result;
    }
    result.Megabytes = QFileInfo(project + QStringLiteral("/res/values/strings.xml")).size() / 1e6;
    result.FilesBytes = FilesBytes(ProjectFiles(project));
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(Program, {QStringLiteral("--big-child"), project});
    if (!child.waitForFinished(LimitSeconds * 1000)) {
        result.TimedOut = true;
        child.kill();
        child.waitForFinished(-1);
    } else {
        const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || words.size() != 8)
            result.Failed = true;
        else {
            result.Open = words[1].toDouble();
            result.Select = words[3].toDouble();
            result.Rows = words[5].toInt();
            result.Peak = words[7].toDouble();
        }
    }
    QDir(project).removeRecursively();
    return result;
}

} // namespace Bench
