#include "BenchOpenProject.h"

#include "BenchMemory.h"
#include "BenchProject.h"
#include "BenchStats.h"
#include "BenchSynthetic.h"

#include "Glossmill_MainForm.h"
#include "Glossmill_types.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace Bench {

namespace {

// Settings and recent projects go to a home of their own, not the user's, for the life of the object.
class THomeOfItsOwn
{
public:
    THomeOfItsOwn() : OldHome(qgetenv("HOME")), OldConfig(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", Home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (Home.path() + "/.config").toLocal8Bit());
    }
    ~THomeOfItsOwn()
    {
        qputenv("HOME", OldHome);
        if (OldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", OldConfig);
    }
    THomeOfItsOwn(const THomeOfItsOwn &) = delete;
    THomeOfItsOwn &operator=(const THomeOfItsOwn &) = delete;

private:
    QTemporaryDir Home;
    QByteArray OldHome, OldConfig;
};

std::vector<QTreeWidgetItem *> FileTreeNodes(QTreeWidget *Tree)
{
    std::vector<QTreeWidgetItem *> nodes;
    for (QTreeWidgetItemIterator it(Tree); *it; ++it)
        if (dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(*it)))
            nodes.push_back(*it);
    return nodes;
}

// Shows the window and makes it the active one, as the user's is: the check for files changed outside runs only
// then. False when it does not become active within a few seconds.
bool ShowActive(TGlossmillMainForm &Form)
{
    Form.show();
    QApplication::setActiveWindow(&Form);
    Form.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!Form.isActiveWindow() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return Form.isActiveWindow();
}

} // namespace

double SelectEveryFile(TGlossmillMainForm &Form, int &Rows)
{
    const std::vector<QTreeWidgetItem *> fileNodes = FileTreeNodes(Form.TVProject);
    Rows = 0;
    QElapsedTimer timer;
    timer.start();
    for (QTreeWidgetItem *node : fileNodes) {
        Form.TVProject->setCurrentItem(node);
        Rows += Form.LV->topLevelItemCount();
    }
    return timer.nsecsElapsed() / 1e9;
}

int RunOpenProjectBenchmark(const QString &Project, const QString &Scratch, int Rounds)
{
    const THomeOfItsOwn home;
    const QString copy = Scratch + QStringLiteral("/open");
    if (!CopyFolder(Project, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(Project));
        return 1;
    }
    const std::vector<TProjectFile> files = ProjectFiles(copy);
    TGlossmillMainForm form;
    TSamples open, select, close, modelOpen, modelClose, floorOpen, floorClose;
    int nodes = 0, rows = 0;
    // Not counted: the first open meets cold files and a fresh allocator.
    form.OpenProject(copy);
    form.CloseProject();
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        form.OpenProject(copy);
        open.Add(timer.nsecsElapsed() / 1e9);
        nodes = 0;
        for (QTreeWidgetItemIterator it(form.TVProject); *it; ++it)
            ++nodes;
        select.Add(SelectEveryFile(form, rows));
        timer.restart();
        form.CloseProject();
        close.Add(timer.nsecsElapsed() / 1e9);

        TModelOpen model;
        modelOpen.Add(OpenModel(files, model));
        modelClose.Add(CloseModel(model));
        TFloorOpen floor;
        floorOpen.Add(OpenFloor(files, floor));
        floorClose.Add(CloseFloor(floor));
    }
    std::printf("%s through the main window: %zu files, %d tree nodes, %d rows shown, %d rounds\n",
                qPrintable(QFileInfo(Project).fileName()), files.size(), nodes, rows, Rounds);
    PrintTimes("OpenProject", open);
    PrintTimes("select every file (list filled)", select);
    PrintTimes("CloseProject", close);
    PrintTimes("model open (alone)", modelOpen);
    PrintTimes("model teardown", modelClose);
    PrintTimes("floor open (parse + write each)", floorOpen);
    PrintTimes("floor teardown", floorClose);
    PrintRatio("OpenProject / floor", open, floorOpen);
    PrintRatio("OpenProject / model alone", open, modelOpen);
    PrintRatio("selecting every file / model open", select, modelOpen);
    return 0;
}

TSweepResult MeasureSelectionSweep(const QString &Scratch, int SmallLocales, int LargeLocales, int Strings,
                                   int Rounds)
{
    TSweepResult result;
    result.SmallLocales = SmallLocales;
    result.LargeLocales = LargeLocales;
    result.Strings = Strings;
    const QString small = Scratch + QStringLiteral("/sweep-small"), large = Scratch + QStringLiteral("/sweep-large");
    if (!MakeSynthetic(small, SmallLocales, Strings) || !MakeSynthetic(large, LargeLocales, Strings)) {
        result.Failed = true;
        return result;
    }
    const THomeOfItsOwn home;
    TGlossmillMainForm form;
    if (!ShowActive(form))
        std::fprintf(stderr, "the window did not become active: the check for files changed outside is left out\n");
    auto sweep = [&form](const QString &Project, int &Files, TSamples *Seconds) {
        form.OpenProject(Project);
        form.TVProject->expandAll();
        int rows = 0;
        const double seconds = SelectEveryFile(form, rows);
        Files = int(FileTreeNodes(form.TVProject).size());
        if (Seconds)
            Seconds->Add(seconds);
        form.CloseProject();
    };
    // Not counted: the first round meets cold files and a fresh allocator.
    sweep(small, result.SmallFiles, nullptr);
    sweep(large, result.LargeFiles, nullptr);
    for (int r = 0; r < Rounds; ++r) {
        // Each size goes first in every other round.
        if (r % 2 == 0)
            sweep(small, result.SmallFiles, &result.Small);
        sweep(large, result.LargeFiles, &result.Large);
        if (r % 2 != 0)
            sweep(small, result.SmallFiles, &result.Small);
    }
    form.hide();
    QDir(small).removeRecursively();
    QDir(large).removeRecursively();
    return result;
}

void PrintSweep(const TSweepResult &R)
{
    if (R.Failed) {
        std::printf("selecting every file through the window: the synthetic projects could not be written\n");
        return;
    }
    std::printf("selecting every file in turn through the window, synthetic %d and %d locales x %d strings, %zu "
                "rounds\n",
                R.SmallLocales, R.LargeLocales, R.Strings, R.Small.Values.size());
    PrintTimes(qPrintable(QString("%1 files").arg(R.SmallFiles)), R.Small);
    PrintTimes(qPrintable(QString("%1 files").arg(R.LargeFiles)), R.Large);
    if (R.SmallFiles > 0)
        std::printf("  = %-40s %6.2fx for %.2fx the files (medians)\n", "selecting every file, large / small",
                    MedianRatio(R.Large, R.Small), double(R.LargeFiles) / R.SmallFiles);
    std::fflush(stdout);
}

int RunBigFileChild(const QString &Project)
{
    const THomeOfItsOwn home;
    TGlossmillMainForm form;
    // Without a reset, the peak of the start-up counts too: the figure is then an upper bound.
    ResetPeak();
    const qint64 before = StatusBytes("VmRSS");
    QElapsedTimer timer;
    timer.start();
    form.OpenProject(Project);
    const double open = timer.nsecsElapsed() / 1e9;
    const std::vector<QTreeWidgetItem *> fileNodes = FileTreeNodes(form.TVProject);
    if (fileNodes.empty())
        return 1;
    timer.restart();
    form.TVProject->setCurrentItem(fileNodes.front());
    const double select = timer.nsecsElapsed() / 1e9;
    const qint64 peak = StatusBytes("VmHWM");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("open %.6f select %.6f rows %d peak %lld\n", open, select, form.LV->topLevelItemCount(),
                static_cast<long long>(peak - before));
    std::fflush(stdout);
    form.CloseProject();
    return 0;
}

} // namespace Bench
