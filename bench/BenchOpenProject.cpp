#include "BenchOpenProject.h"

#include "BenchProject.h"
#include "BenchStats.h"

#include "Glossmill_MainForm.h"
#include "Glossmill_types.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace Bench {

namespace {

// Settings and recent projects go to a home of their own, not the user's.
class THomeOfItsOwn
{
public:
    THomeOfItsOwn()
    {
        qputenv("HOME", Home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (Home.path() + "/.config").toLocal8Bit());
    }

private:
    QTemporaryDir Home;
};

std::vector<QTreeWidgetItem *> FileTreeNodes(QTreeWidget *Tree)
{
    std::vector<QTreeWidgetItem *> nodes;
    for (QTreeWidgetItemIterator it(Tree); *it; ++it)
        if (dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(*it)))
            nodes.push_back(*it);
    return nodes;
}

} // namespace

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
        const std::vector<QTreeWidgetItem *> fileNodes = FileTreeNodes(form.TVProject);
        nodes = 0;
        for (QTreeWidgetItemIterator it(form.TVProject); *it; ++it)
            ++nodes;
        rows = 0;
        timer.restart();
        for (QTreeWidgetItem *node : fileNodes) {
            form.TVProject->setCurrentItem(node);
            rows += form.LV->topLevelItemCount();
        }
        select.Add(timer.nsecsElapsed() / 1e9);
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

int RunBigFileChild(const QString &Project)
{
    const THomeOfItsOwn home;
    TGlossmillMainForm form;
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
    std::printf("open %.6f select %.6f rows %d\n", open, select, form.LV->topLevelItemCount());
    std::fflush(stdout);
    form.CloseProject();
    return 0;
}

} // namespace Bench
