#include "BenchOpenProject.h"

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

namespace {

bool CopyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(path, target))
            return false;
    }
    return true;
}

// The files that opening reads: the manifest, the default files and each language folder's XML files.
QStringList FilesOpeningReads(const QString &project)
{
    QStringList files{project + "/AndroidManifest.xml"};
    const QString res = project + "/res/";
    QStringList folders;
    ListSubFolders(res, folders);
    for (const QString &folder : folders) {
        const QString upper = UpperCaseAZ(folder);
        if (upper != "VALUES" && upper != "MENU" && !upper.startsWith("VALUES-") && !upper.startsWith("MENU-"))
            continue;
        QStringList names;
        ListXmlFiles(res + folder + '/', names);
        for (const QString &name : names)
            if (upper.startsWith("MENU") || name == "strings.xml")
                files << res + folder + '/' + name;
    }
    return files;
}

double FloorMs(const QStringList &files)
{
    QElapsedTimer t;
    t.start();
    for (const QString &f : files) {
        pugi::xml_document doc;
        doc.load_file(QFile::encodeName(f).constData(), pugi::parse_default | pugi::parse_ws_pcdata);
        std::ostringstream out;
        doc.save(out, "", pugi::format_raw);
    }
    return t.nsecsElapsed() / 1e6;
}

// What opening runs in the model alone: the default files, then each language file with its work file.
double ModelOnlyMs(const QStringList &files)
{
    QElapsedTimer t;
    t.start();
    std::vector<std::unique_ptr<TTransResourceFileNode>> defaults, languages;
    QStringList ordered = files.mid(1);
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const QString &f) { return QFileInfo(f).dir().dirName().indexOf('-') < 0; });
    for (const QString &f : ordered) {
        const QString folder = QFileInfo(f).dir().dirName();
        const bool menu = UpperCaseAZ(folder).startsWith("MENU");
        std::unique_ptr<TTransResourceFileNode> node;
        if (menu)
            node = std::make_unique<TTransResourceFileNode_Menu>();
        else
            node = std::make_unique<TTransResourceFileNode_Value>();
        node->ResType = menu ? rtAndroid_menu : rtAndroid_values;
        if (folder.indexOf('-') < 0) {
            node->LoadResFile(f);
            node->Parse();
            defaults.push_back(std::move(node));
            continue;
        }
        for (const auto &base : defaults)
            if (base->ResType == node->ResType && QFileInfo(base->ResourceFileName).fileName() == QFileInfo(f).fileName())
                node->setBaseTemplate(base.get());
        if (!node->BaseTemplate())
            continue;
        node->LocaleDesc.LocaleName = folder;
        node->ResourceFileName = f;
        node->LoadResFile(f);
        node->Parse();
        languages.push_back(std::move(node));
    }
    languages.clear();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

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
    if (!CopyFolder(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(), project)) {
        err << "cannot copy " << argv[1] << "\n";
        return 1;
    }
    const QStringList files = FilesOpeningReads(project);

    TGlossmillMainForm form;
    double best = -1, floor = -1, model = -1;
    int nodes = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        form.OpenProject(project);
        const double ms = t.nsecsElapsed() / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
        const double f = FloorMs(files);
        floor = floor < 0 ? f : std::min(floor, f);
        const double m = ModelOnlyMs(files);
        model = model < 0 ? m : std::min(model, m);
        nodes = 0;
        for (QTreeWidgetItemIterator it(form.TVProject); *it; ++it)
            ++nodes;
        form.CloseProject();
    }
    out << "open project  " << argv[1] << ": " << files.size() << " files, " << nodes << " tree nodes\n";
    out << "OpenProject   " << QString::number(best, 'f', 1) << " ms (best of " << repetitions << ")\n";
    out << "model alone   " << QString::number(model, 'f', 1) << " ms (loading, parsing, work files)\n";
    out << "pugixml floor " << QString::number(floor, 'f', 1) << " ms\n";
    out << "ratio         " << QString::number(floor > 0 ? best / floor : 0, 'f', 2) << " (OpenProject / floor), "
        << QString::number(model > 0 ? best / model : 0, 'f', 2) << " (OpenProject / model alone)\n";
    return 0;
}

// Stands in for the benchmark program's own main until that dispatches here.
extern "C++" __attribute__((weak)) int main(int argc, char **argv)
{
    return RunOpenProjectBenchmark(argc, argv);
}
