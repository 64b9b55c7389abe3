// What opening and saving a project costs in the model, against the floor of parsing and writing the same files
// with pugixml, in interleaved rounds (medians and minimums), with teardown, peak memory, save-all and Translate
// Toolkit beside it. Usage() below lists the modes; the README shows how to run it on /dev/shm.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <vector>

#include "BenchBigFile.h"
#include "BenchMemory.h"
#include "BenchOpenProject.h"
#include "BenchProject.h"
#include "BenchStats.h"
#include "BenchSynthetic.h"
#include "BenchToolkit.h"

namespace {

using namespace Bench;

struct TOptions
{
    QString Scratch = QDir::tempPath();
    int Rounds = 5;
    int MemoryRuns = 3;
    int Limit = 300; // seconds for one big-file child
    QString Program;
    QString Python; // empty: the toolkit row is left out
};

struct TProjectResult
{
    QString Label;
    size_t Files = 0;
    qint64 Bytes = 0;
    int Failures = 0;
    int TreeWriterFiles = -1; // of the last open and save-all; -1: not counted
    TSamples ModelOpen, ModelClose, FloorOpen, FloorClose, Floor2Open, Floor2Close;
    TSamples ModelSave, FloorSave, Floor2Save, ModelStrings, Toolkit;
    TSamples ModelPeak, FloorPeak;

    TSamples ModelTotal() const { return Sum(ModelOpen, ModelClose); }
    TSamples FloorTotal() const { return Sum(FloorOpen, FloorClose); }

private:
    static TSamples Sum(const TSamples &A, const TSamples &B)
    {
        TSamples sum;
        for (size_t i = 0; i < A.Values.size() && i < B.Values.size(); ++i)
            sum.Add(A.Values[i] + B.Values[i]);
        return sum;
    }
};

int Usage()
{
    std::fprintf(stderr,
                 "usage: glossmill_bench [OPTIONS] PROJECT_FOLDER...    every measure of each project\n"
                 "       glossmill_bench [OPTIONS] --synthetic LOCALES STRINGS [--steps K]\n"
                 "                            a generated project; with --steps, K sizes doubling the strings\n"
                 "       glossmill_bench [OPTIONS] --big MB       open + select a file whose default strings file\n"
                 "                                                has MB megabytes, then twice that\n"
                 "       glossmill_bench [OPTIONS] --table PROJECT_FOLDER...\n"
                 "                            the projects, a synthetic one (50 x 2500), growth (50 2500, 5 steps),\n"
                 "                            the big file (25 MB) and the sweep (50 200 2500), then the table\n"
                 "       glossmill_bench [OPTIONS] --open PROJECT_FOLDER   through the main window (offscreen)\n"
                 "       glossmill_bench [OPTIONS] --sweep [SMALL LARGE STRINGS]   select every file in turn through\n"
                 "                            the main window, generated projects of SMALL and LARGE locales\n"
                 "                            (default 50 200 2500)\n"
                 "       glossmill_bench --write-synthetic FOLDER LOCALES STRINGS   only write the project\n"
                 "       glossmill_bench --profile-child PROJECT_FOLDER   open, edit one string per file, save all and\n"
                 "                            close once, in place, for a profiler (use a copy)\n"
                 "options: --scratch DIR (default: the temporary folder; use /dev/shm), --rounds R (default 5),\n"
                 "         --limit S (seconds for one big-file run, default 300)\n");
    return 2;
}

// One round of a side: open then teardown, each timed.
void RoundModel(const std::vector<TProjectFile> &Files, TProjectResult &Result)
{
    TModelOpen model;
    Result.ModelOpen.Add(OpenModel(Files, model));
    Result.Failures = model.Failures;
    Result.ModelClose.Add(CloseModel(model));
}

void RoundFloor(const std::vector<TProjectFile> &Files, TProjectResult &Result)
{
    TFloorOpen floor;
    Result.FloorOpen.Add(OpenFloor(Files, floor));
    Result.FloorClose.Add(CloseFloor(floor));
    TFloorOpen second;
    Result.Floor2Open.Add(OpenFloorDefaultSized(Files, second));
    Result.Floor2Close.Add(CloseFloor(second));
}

void RoundSaveModel(const QString &Project, const QString &Copy, TProjectResult &Result)
{
    if (!CopyFolder(Project, Copy))
        return;
    TModelOpen model;
    OpenModel(ProjectFiles(Copy), model);
    EditOneStringPerFile(model);
    int failures = 0;
    Result.ModelSave.Add(SaveAllModel(model, failures));
    if (failures)
        std::fprintf(stderr, "%d saves failed\n", failures);
    Result.TreeWriterFiles = TreeWriterFiles(model);
    CloseModel(model);
    QDir(Copy).removeRecursively();
}

void RoundSaveFloor(const QString &Project, const QString &Copy, TProjectResult &Result)
{
    if (!CopyFolder(Project, Copy))
        return;
    const std::vector<TProjectFile> files = ProjectFiles(Copy);
    TFloorOpen floor;
    LoadFloorForSave(files, floor);
    Result.FloorSave.Add(SaveAllFloor(files, floor, false));
    Result.Floor2Save.Add(SaveAllFloor(files, floor, true));
    CloseFloor(floor);
    QDir(Copy).removeRecursively();
}

// Every measure of one project folder. Full: save-all, toolkit and memory too, not only open and teardown.
TProjectResult MeasureProject(const QString &Project, const QString &Label, const TOptions &Options, bool Full)
{
    TProjectResult result;
    result.Label = Label;
    const QString copy = Options.Scratch + QStringLiteral("/project");
    QDir(copy).removeRecursively();
    if (!CopyFolder(Project, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(Project));
        return result;
    }
    const std::vector<TProjectFile> files = ProjectFiles(copy);
    const std::vector<TProjectFile> strings = StringsFiles(files);
    result.Files = files.size();
    result.Bytes = FilesBytes(files);
    // One round of each side that is not counted: the first touches of the files and the allocator are slower.
    TProjectResult warmUp;
    RoundModel(files, warmUp);
    RoundFloor(files, warmUp);
    for (int r = 0; r < Options.Rounds; ++r) {
        // Each side goes first in every other round, so that neither always finds the caches warm.
        const bool modelFirst = r % 2 == 0;
        if (modelFirst)
            RoundModel(files, result);
        RoundFloor(files, result);
        if (!modelFirst)
            RoundModel(files, result);
        if (!Full)
            continue;
        const QString saveCopy = Options.Scratch + QStringLiteral("/save");
        if (modelFirst)
            RoundSaveModel(Project, saveCopy, result);
        RoundSaveFloor(Project, saveCopy, result);
        if (!modelFirst)
            RoundSaveModel(Project, saveCopy, result);
        if (!Options.Python.isEmpty()) {
            const double toolkit = ReadWithToolkit(Options.Python, Options.Scratch, strings);
            if (toolkit >= 0)
                result.Toolkit.Add(toolkit);
            TModelOpen model;
            result.ModelStrings.Add(OpenModel(strings, model));
            CloseModel(model);
        }
    }
    if (Full) {
        result.ModelPeak = PeakBeyondOpen(Options.Program, copy, Options.Scratch, "model", Options.MemoryRuns);
        result.FloorPeak = PeakBeyondOpen(Options.Program, copy, Options.Scratch, "floor", Options.MemoryRuns);
    }
    QDir(copy).removeRecursively();
    return result;
}

void PrintProject(const TProjectResult &R)
{
    std::printf("%s: %zu files, %.2f MB, %zu rounds%s\n", qPrintable(R.Label), R.Files, R.Bytes / 1e6,
                R.ModelOpen.Values.size(),
                R.Failures ? qPrintable(QString(" (%1 files failed to open)").arg(R.Failures)) : "");
    PrintTimes("model open", R.ModelOpen);
    PrintTimes("model teardown", R.ModelClose);
    PrintTimes("floor open (parse + write each)", R.FloorOpen);
    PrintTimes("floor teardown", R.FloorClose);
    PrintTimes("floor 2 (default-sized writes)", R.Floor2Open);
    PrintTimes("floor 2 teardown", R.Floor2Close);
    PrintTimes("model save all (1 edit per file)", R.ModelSave);
    PrintTimes("floor save (write + rename)", R.FloorSave);
    PrintTimes("floor 2 save (default-sized)", R.Floor2Save);
    PrintTimes("model open, strings files only", R.ModelStrings);
    PrintTimes("Translate Toolkit, same files", R.Toolkit);
    if (!R.ModelPeak.Empty())
        std::printf("  %-34s model %7.1f MB (%.1fx the files' bytes)  floor %7.1f MB (%.1fx)  [%zu runs]\n",
                    "peak memory beyond the program", R.ModelPeak.Median() / 1e6, R.ModelPeak.Median() / R.Bytes,
                    R.FloorPeak.Median() / 1e6, R.FloorPeak.Median() / R.Bytes, R.ModelPeak.Values.size());
    if (R.TreeWriterFiles >= 0)
        std::printf("  %-34s %d\n", "files written by the tree writer", R.TreeWriterFiles);
    PrintRatio("open / floor", R.ModelOpen, R.FloorOpen);
    PrintRatio("open + teardown / floor + teardown", R.ModelTotal(), R.FloorTotal());
    PrintRatio("open / floor 2 (default-sized writes)", R.ModelOpen, R.Floor2Open);
    PrintRatio("save all / floor (write + rename)", R.ModelSave, R.FloorSave);
    PrintRatio("save all / floor 2 (default-sized)", R.ModelSave, R.Floor2Save);
    PrintRatio("Toolkit time / model time (>1: we win)", R.Toolkit, R.ModelStrings);
    if (!R.ModelPeak.Empty())
        std::printf("  = %-40s %6.2fx the files' bytes\n", "peak memory of an open", R.ModelPeak.Median() / R.Bytes);
    std::fflush(stdout);
}

struct TGrowth
{
    double Model = 0, Floor = 0; // geometric means of the growth per doubling
};

TGrowth MeasureGrowth(int Locales, int Strings, int Steps, const TOptions &Options)
{
    TGrowth growth;
    double previousModel = 0, previousFloor = 0, logModel = 0, logFloor = 0;
    int doublings = 0;
    for (int step = 0; step < Steps; ++step) {
        const int count = Strings << step;
        const QString folder = Options.Scratch + QStringLiteral("/synthetic");
        QDir(folder).removeRecursively();
        if (!MakeSynthetic(folder, Locales, count)) {
            std::fprintf(stderr, "cannot write the synthetic project\n");
            break;
        }
        const TProjectResult r = MeasureProject(folder, QString("%1 locales x %2 strings").arg(Locales).arg(count),
                                                Options, Steps == 1);
        QDir(folder).removeRecursively();
        PrintProject(r);
        const double model = r.ModelOpen.Median(), floor = r.FloorOpen.Median();
        if (previousModel > 0 && previousFloor > 0 && model > 0 && floor > 0) {
            std::printf("  = %-40s %6.2fx (floor %.2fx)\n", "growth on doubling", model / previousModel,
                        floor / previousFloor);
            logModel += std::log(model / previousModel);
            logFloor += std::log(floor / previousFloor);
            ++doublings;
        }
        previousModel = model;
        previousFloor = floor;
    }
    if (doublings) {
        growth.Model = std::exp(logModel / doublings);
        growth.Floor = std::exp(logFloor / doublings);
        std::printf("  = %-40s %6.2fx (floor %.2fx), geometric mean of %d doubling%s\n", "growth per doubling",
                    growth.Model, growth.Floor, doublings, doublings == 1 ? "" : "s");
    }
    std::fflush(stdout);
    return growth;
}

std::vector<TBigFileResult> MeasureBig(double Megabytes, const TOptions &Options)
{
    std::vector<TBigFileResult> results;
    for (double mb : {Megabytes, 2 * Megabytes}) {
        const TBigFileResult r = MeasureBigFile(Options.Program, Options.Scratch, mb, Options.Limit);
        if (r.TimedOut)
            std::printf("big file %.1f MB: open + select did not end within %d s\n", r.Megabytes, Options.Limit);
        else if (r.Failed)
            std::printf("big file %.1f MB: the run failed\n", r.Megabytes);
        else
            std::printf("big file %.1f MB: open %.2f s, select %.2f s (%d rows), together %.2f s, peak %.0f MB "
                        "beyond the program (%.1fx the default file's bytes, %.1fx the files')\n",
                        r.Megabytes, r.Open, r.Select, r.Rows, r.Open + r.Select, r.Peak / 1e6,
                        r.Peak / (r.Megabytes * 1e6), r.Peak / std::max<qint64>(1, r.FilesBytes));
        results.push_back(r);
        std::fflush(stdout);
        if (r.TimedOut || r.Failed)
            break;
    }
    if (results.size() == 2 && !results[1].TimedOut && !results[1].Failed)
        std::printf("  = %-40s %6.2fx the time for %.2fx the bytes\n", "big file doubled",
                    (results[1].Open + results[1].Select) / (results[0].Open + results[0].Select),
                    results[1].Megabytes / results[0].Megabytes);
    return results;
}

QString Times(double Value)
{
    return QString::number(Value, 'f', 2) + QStringLiteral("x");
}

QString BigText(const std::vector<TBigFileResult> &Big, int Limit)
{
    QStringList parts;
    for (const TBigFileResult &r : Big)
        parts << (r.TimedOut  ? QString("%1 MB: past %2 s").arg(r.Megabytes, 0, 'f', 0).arg(Limit)
                  : r.Failed ? QString("%1 MB: failed").arg(r.Megabytes, 0, 'f', 0)
                             : QString("%1 MB: %2 s").arg(r.Megabytes, 0, 'f', 0).arg(r.Open + r.Select, 0, 'f', 1));
    if (Big.size() == 2 && !Big[1].TimedOut && !Big[1].Failed)
        parts << "doubling " + Times((Big[1].Open + Big[1].Select) / (Big[0].Open + Big[0].Select));
    return parts.join(QStringLiteral(", "));
}

QString BigPeakText(const std::vector<TBigFileResult> &Big)
{
    QStringList parts;
    for (const TBigFileResult &r : Big)
        if (!r.TimedOut && !r.Failed && r.Megabytes > 0)
            parts << QString("%1 MB: %2 (%3 the default file's)")
                         .arg(r.Megabytes, 0, 'f', 1)
                         .arg(Times(r.Peak / std::max<qint64>(1, r.FilesBytes)), Times(r.Peak / (r.Megabytes * 1e6)));
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral(", "));
}

QString SweepText(const TSweepResult &Sweep)
{
    if (Sweep.Failed || Sweep.Small.Empty() || Sweep.SmallFiles <= 0)
        return QStringLiteral("-");
    return QString("%1 for %2 the files").arg(Times(MedianRatio(Sweep.Large, Sweep.Small)))
        .arg(Times(double(Sweep.LargeFiles) / Sweep.SmallFiles));
}

// The table's rows in the order of the goals they answer, then the other ratios.
void PrintTable(const std::vector<TProjectResult> &Projects, const TGrowth &Growth,
                const std::vector<TBigFileResult> &Big, const TSweepResult &Sweep, const TOptions &Options)
{
    auto row = [&](const char *What, auto Cell) {
        QStringList cells;
        for (const TProjectResult &p : Projects)
            cells << p.Label + " " + Cell(p);
        std::printf("| %s | %s |\n", What, qPrintable(cells.join(QStringLiteral(", "))));
    };
    auto line = [](const char *What, const QString &Cell) {
        std::printf("| %s | %s |\n", What, qPrintable(Cell));
    };
    std::printf("\n| what | measured (medians of %d interleaved rounds) |\n|---|---|\n", Options.Rounds);
    row("model open / floor (parse + write each file)",
        [](const TProjectResult &p) { return Times(MedianRatio(p.ModelOpen, p.FloorOpen)); });
    row("peak memory of an open beyond the program / files' bytes", [](const TProjectResult &p) {
        return p.ModelPeak.Empty() ? QStringLiteral("-") : Times(p.ModelPeak.Median() / p.Bytes);
    });
    if (!Options.Python.isEmpty())
        row("Translate Toolkit reading the same strings files / Glossmill's open", [](const TProjectResult &p) {
            return Times(MedianRatio(p.Toolkit, p.ModelStrings));
        });
    else
        line("Translate Toolkit reading the same strings files / Glossmill's open",
             QStringLiteral("not installed (Debian package translate-toolkit)"));
    row("save all after one edit per file / floor (write + rename)",
        [](const TProjectResult &p) { return Times(MedianRatio(p.ModelSave, p.FloorSave)); });
    line("growth per doubling, --synthetic 50 2500 --steps 5 (geometric mean)",
         Growth.Model > 0 ? Times(Growth.Model) + " (floor " + Times(Growth.Floor) + ")" : QStringLiteral("-"));
    line("--big 25 peak memory beyond the program / the files' bytes", BigPeakText(Big));
    line(qPrintable(QString("selecting every file in turn through the window, synthetic %1 x %2 vs %3 x %2")
                        .arg(Sweep.LargeLocales).arg(Sweep.Strings).arg(Sweep.SmallLocales)),
         SweepText(Sweep));
    row("files written by the fallback tree writer (open + save all)", [](const TProjectResult &p) {
        return p.TreeWriterFiles < 0 ? QStringLiteral("\u2013") : QString::number(p.TreeWriterFiles);
    });
    row("open + teardown / floor + teardown",
        [](const TProjectResult &p) { return Times(MedianRatio(p.ModelTotal(), p.FloorTotal())); });
    row("model open / floor 2 (default-sized writes)",
        [](const TProjectResult &p) { return Times(MedianRatio(p.ModelOpen, p.Floor2Open)); });
    row("save all / floor 2 (default-sized write + rename)",
        [](const TProjectResult &p) { return Times(MedianRatio(p.ModelSave, p.Floor2Save)); });
    if (!Big.empty())
        line("open + select a file whose default strings file is big", BigText(Big, Options.Limit));
    std::fflush(stdout);
}

int IntOption(const QStringList &Args, const char *Name, int Default)
{
    const int at = Args.indexOf(QLatin1String(Name));
    return at >= 0 && at + 1 < Args.size() ? std::max(1, Args[at + 1].toInt()) : Default;
}

// The arguments that are not options or their values.
QStringList Positional(const QStringList &Args)
{
    QStringList rest;
    for (int i = 0; i < Args.size(); ++i) {
        if (Args[i] == "--scratch" || Args[i] == "--rounds" || Args[i] == "--repeat" || Args[i] == "--limit"
            || Args[i] == "--steps")
            ++i;
        else if (!Args[i].startsWith(QLatin1String("--")))
            rest << Args[i];
    }
    return rest;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray first = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (first == "--peak-child" && argc == 4) {
        QCoreApplication app(argc, argv);
        return RunPeakChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QByteArray mode;
    for (int i = 1; i < argc && mode.isEmpty(); ++i)
        for (const char *m : {"--big-child", "--open", "--sweep", "--big", "--synthetic", "--table"})
            if (QByteArray(argv[i]) == m)
                mode = m;
    std::unique_ptr<QCoreApplication> app;
    if (mode == "--big-child" || mode == "--open" || mode == "--sweep" || mode == "--table") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (first == "--profile-child" && argc == 3) {
        // Once through what a profiler should see: open, one edit per file, save all, teardown.
        QCoreApplication app(argc, argv);
        TModelOpen model;
        OpenModel(ProjectFiles(QString::fromLocal8Bit(argv[2])), model);
        std::fprintf(stderr, "files written by the fallback tree writer: %d\n", model.TreeWritten);
        EditOneStringPerFile(model);
        int failures = 0;
        SaveAllModel(model, failures);
        CloseModel(model);
        return model.Failures || failures ? 1 : 0;
    }
    if (first == "--write-synthetic") {
        if (argc != 5 || QByteArray(argv[3]).toInt() < 1 || QByteArray(argv[4]).toInt() < 1)
            return Usage();
        return MakeSynthetic(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt())
            ? 0 : 1;
    }
    if (first == "--big-child" && argc == 3)
        return RunBigFileChild(QString::fromLocal8Bit(argv[2]));

    const QStringList args = app->arguments().mid(1);
    for (const QString &arg : args)
        if (arg.startsWith(QLatin1String("--")) && arg != QLatin1String(mode)
            && !QStringList{"--scratch", "--rounds", "--repeat", "--limit", "--steps"}.contains(arg))
            return Usage();
    TOptions options;
    options.Program = QCoreApplication::applicationFilePath();
    options.Rounds = IntOption(args, "--rounds", IntOption(args, "--repeat", options.Rounds));
    options.Limit = IntOption(args, "--limit", options.Limit);
    const int scratchAt = args.indexOf("--scratch");
    if (scratchAt >= 0 && scratchAt + 1 < args.size())
        options.Scratch = args[scratchAt + 1];
    QTemporaryDir scratch(QDir(options.Scratch).absoluteFilePath(QStringLiteral("glossmill-bench-XXXXXX")));
    if (!scratch.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(options.Scratch));
        return 1;
    }
    options.Scratch = scratch.path();
    const QStringList positional = Positional(args);

    if (mode == "--open") {
        // A number after the folder is the rounds, as the earlier form of this option took it.
        if (positional.size() == 2 && positional[1].toInt() > 0)
            options.Rounds = positional[1].toInt();
        else if (positional.size() != 1)
            return Usage();
        return RunOpenProjectBenchmark(QFileInfo(positional[0]).absoluteFilePath(), options.Scratch, options.Rounds);
    }
    if (mode == "--sweep") {
        if (!positional.isEmpty() && positional.size() != 3)
            return Usage();
        const int small = positional.isEmpty() ? 50 : positional[0].toInt();
        const int large = positional.isEmpty() ? 200 : positional[1].toInt();
        const int strings = positional.isEmpty() ? 2500 : positional[2].toInt();
        if (small < 1 || large < 1 || strings < 1)
            return Usage();
        PrintSweep(MeasureSelectionSweep(options.Scratch, small, large, strings, options.Rounds));
        return 0;
    }
    if (mode == "--big") {
        if (positional.size() != 1 || positional[0].toDouble() <= 0)
            return Usage();
        MeasureBig(positional[0].toDouble(), options);
        return 0;
    }
    if (mode == "--synthetic" && (positional.size() != 2 || positional[0].toInt() < 1 || positional[1].toInt() < 1))
        return Usage();
    if (mode != "--synthetic" && positional.isEmpty())
        return Usage();
    for (const QString &folder : positional)
        if (mode != "--synthetic" && !QFileInfo(folder + QStringLiteral("/res")).isDir()) {
            std::fprintf(stderr, "%s has no res folder\n", qPrintable(folder));
            return 1;
        }
    options.Python = FindToolkitPython();
    if (options.Python.isEmpty())
        std::printf("Translate Toolkit not found (Debian package translate-toolkit): its row is left out\n");
    if (mode == "--synthetic") {
        MeasureGrowth(positional[0].toInt(), positional[1].toInt(), IntOption(args, "--steps", 1), options);
        return 0;
    }
    std::vector<TProjectResult> projects;
    for (const QString &folder : positional) {
        const QFileInfo project(folder);
        projects.push_back(MeasureProject(project.absoluteFilePath(), project.fileName(), options, true));
        PrintProject(projects.back());
    }
    if (mode != "--table")
        return 0;
    const QString synthetic = options.Scratch + QStringLiteral("/synthetic-table");
    if (MakeSynthetic(synthetic, 50, 2500)) {
        projects.push_back(MeasureProject(synthetic, QStringLiteral("synthetic 50x2500"), options, true));
        PrintProject(projects.back());
        QDir(synthetic).removeRecursively();
    }
    const TGrowth growth = MeasureGrowth(50, 2500, 5, options);
    const std::vector<TBigFileResult> big = MeasureBig(25, options);
    const TSweepResult sweep = MeasureSelectionSweep(options.Scratch, 50, 200, 2500, options.Rounds);
    PrintSweep(sweep);
    PrintTable(projects, growth, big, sweep, options);
    return 0;
}
