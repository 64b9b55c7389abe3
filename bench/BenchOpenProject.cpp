#include "BenchOpenProject.h"
#include "BenchProject.h"

#include "Glossmill_MainForm.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <pugixml.hpp>
#include <algorithm>
#include <memory>
#include <sstream>


int RunOpenProjectBenchmark(int argc, char **argv)
{
    QTextStream err(stderr), out(stdout);
    if (argc < 2) {
        err << "usage: " << argv[0] << " <project-folder> [repetitions]\n";
        return 2;
    }
    std::unique_ptr<QApplication> app;
    if (!qApp) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        static int qtArgc = 1;
        static char *qtArgv[] = {argv[0], nullptr};
        app = std::make_unique<QApplication>(qtArgc, qtArgv);
    }
    const int repetitions = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 5;
    QTemporaryDir home, copy;
    qputenv("HOME", home.path().toLocal8Bit());
    const QString project = copy.path() + "/project";
    if (!Bench::CopyFolder(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(), project)) {
        err << "cannot copy " << argv[1] << "\n";
        return 1;
    }
    const std::vector<Bench::TProjectFile> files = Bench::ProjectFiles(project);

    TGlossmillMainForm form;
    double best = -1, floor = -1, model = -1;
    int nodes = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        form.OpenProject(project);
        const double ms = t.nsecsElapsed() / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
        const double f = Bench::RunFloor(files) * 1000;
        floor = floor < 0 ? f : std::min(floor, f);
        int failures = 0;
        const double m = Bench::RunModel(files, failures) * 1000;
        model = model < 0 ? m : std::min(model, m);
        nodes = 0;
        for (QTreeWidgetItemIterator it(form.TVProject); *it; ++it)
            ++nodes;
        form.CloseProject();
    }
    out << "open project  " << argv[1] << ": " << files.size() << " files, " << nodes << " tree nodes\n";
    out << "OpenProject   " << QString::number(best, 'f', 1) << " ms (best of " << repetitions << ")\n";
    out << "model alone   " << QString::number(model, 'f', 1) << " ms (loading, parsing, work files)\n";
    out << "pugixml floor " << QString::number(floor, 'f', 1) << " ms (parsing and writing each file)\n";
    out << "ratio         " << QString::number(floor > 0 ? best / floor : 0, 'f', 2) << " (OpenProject / floor), "
        << QString::number(model > 0 ? best / model : 0, 'f', 2) << " (OpenProject / model alone)\n";
    return 0;
}
