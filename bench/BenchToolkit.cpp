#include "BenchToolkit.h"

#include <QFile>
#include <QProcess>

namespace Bench {

namespace {

const char *const ReadScript = R"(import sys, time
from translate.storage import aresource
paths = open(sys.argv[1], encoding='utf-8').read().split('\n')[:-1]
start = time.perf_counter()
units = 0
for path in paths:
    units += len(aresource.AndroidResourceFile.parsefile(path).units)
print(time.perf_counter() - start, units)
)";

} // namespace

QString FindToolkitPython()
{
    for (const QString &python : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import translate.storage.aresource")});
        if (probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return python;
    }
    return QString();
}

double ReadWithToolkit(const QString &Python, const QString &Scratch, const std::vector<TProjectFile> &Files)
{
    const QString list = Scratch + QStringLiteral("/toolkit-files.txt");
    QFile out(list);
    if (!out.open(QIODevice::WriteOnly))
        return -1;
    for (const TProjectFile &file : Files)
        out.write(file.Path.toUtf8() + '\n');
    out.close();
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(Python, {QStringLiteral("-c"), QString::fromUtf8(ReadScript), list});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double seconds = child.readAllStandardOutput().trimmed().split(' ').value(0).toDouble(&ok);
    return ok ? seconds : -1;
}

} // namespace Bench
