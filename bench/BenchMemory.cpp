#include "BenchMemory.h"

#include "BenchProject.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace Bench {

qint64 StatusBytes(const char *Field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(Field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

bool ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

int RunPeakChild(const QString &Side, const QString &Project)
{
    const std::vector<TProjectFile> files = ProjectFiles(Project);
    TModelOpen model;
    TFloorOpen floor;
    // Without a reset, the peak of the start-up counts too: the figure is then an upper bound.
    ResetPeak();
    const qint64 before = StatusBytes("VmRSS");
    if (Side == QLatin1String("model"))
        OpenModel(files, model);
    else
        OpenFloor(files, floor);
    const qint64 peak = StatusBytes("VmHWM");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("peak %lld\n", static_cast<long long>(peak - before));
    std::fflush(stdout);
    CloseModel(model);
    CloseFloor(floor);
    return 0;
}

TSamples PeakBeyondOpen(const QString &Program, const QString &Project, const QString &Scratch, const char *Side,
                        int Runs)
{
    TSamples bytes;
    for (int r = 0; r < Runs; ++r) {
        const QString copy = Scratch + QStringLiteral("/peak-") + QLatin1String(Side);
        if (!CopyFolder(Project, copy))
            break;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(Program, {QStringLiteral("--peak-child"), QLatin1String(Side), copy});
        if (child.waitForFinished(-1) && child.exitCode() == 0) {
            const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
            if (words.size() == 2 && words[0] == "peak")
                bytes.Add(words[1].toDouble());
        }
        QDir(copy).removeRecursively();
    }
    return bytes;
}

} // namespace Bench
