// What opening a project costs in the model, against the floor of parsing and writing the same files with pugixml
// (each written to a new file, as the model writes a work file for each language file).
//
//   glossmill_bench PROJECT_FOLDER [--repeat R]
//   glossmill_bench --synthetic LOCALES STRINGS [--steps K] [--repeat R]
//   glossmill_bench --open PROJECT_FOLDER [REPETITIONS]   (through the main window's OpenProject, offscreen)
//
// The project is copied to a temporary folder first (parsing writes work files beside the language files). With
// --synthetic a project of LOCALES languages with STRINGS strings each (plurals, arrays and markup among them) is
// generated, and with --steps the string count doubles K-1 times, to show how the cost grows.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

#include "BenchOpenProject.h"
#include "BenchProject.h"
#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"

namespace {

using namespace Bench;

QByteArray SyntheticDefault(int Strings)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Synthetic project for measuring -->\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n";
    for (int i = 0; i < Strings; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 20 == 7)
            xml += "    <string name=\"s" + n + "\"><xliff:g id=\"count\">%d</xliff:g> files in <b>folder " + n + "</b></string>\n";
        else if (i % 25 == 3)
            xml += "    <string name=\"s" + n + "\" translatable=\"false\">Fixed " + n + "</string>\n";
        else
            xml += "    <!-- label " + n + " -->\n    <string name=\"s" + n + "\">Text number " + n + " for the user &amp; more</string>\n";
        if (i % 10 == 5)
            xml += "    <plurals name=\"p" + n + "\">\n        <item quantity=\"one\">1 item</item>\n"
                   "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> items</item>\n    </plurals>\n";
        if (i % 40 == 11)
            xml += "    <string-array name=\"a" + n + "\">\n        <item>First</item>\n        <item>Second</item>\n    </string-array>\n";
    }
    return xml + "</resources>\n";
}

QByteArray SyntheticLanguage(int Strings, int Locale)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!--Glossmill - item states storage;s1=2;s2=3;\r\n-->\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n";
    const QByteArray loc = QByteArray::number(Locale);
    for (int i = 0; i < Strings; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 25 == 3 || i % 10 == 9)
            continue; // not translatable, or not translated yet
        if (i % 20 == 7)
            xml += "    <string name=\"s" + n + "\"><xliff:g id=\"count\">%d</xliff:g> Dateien in <b>Ordner " + n + "</b></string>\n";
        else if (i % 13 == 0)
            xml += "    <string name=\"s" + n + "\">Text number " + n + " for the user &amp; more</string>\n";
        else
            xml += "    <string name=\"s" + n + "\">Übersetzung " + n + " l'" + loc + " &amp; mehr</string>\n";
        if (i % 10 == 5)
            xml += "    <plurals name=\"p" + n + "\">\n        <item quantity=\"one\">1 Ding</item>\n"
                   "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> Dinge</item>\n    </plurals>\n";
        if (i % 40 == 11)
            xml += "    <string-array name=\"a" + n + "\">\n        <item>Erste</item>\n        <item>Zweite</item>\n    </string-array>\n";
    }
    return xml + "</resources>\n";
}

bool WriteBytes(const QString &Path, const QByteArray &Bytes)
{
    QDir().mkpath(QFileInfo(Path).path());
    QFile file(Path);
    return file.open(QIODevice::WriteOnly) && file.write(Bytes) == Bytes.size();
}

bool MakeSynthetic(const QString &Folder, int Locales, int Strings)
{
    if (!WriteBytes(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.synthetic\"/>\n")
        || !WriteBytes(Folder + "/res/values/strings.xml", SyntheticDefault(Strings)))
        return false;
    for (int l = 0; l < Locales && l < LocaleTableCount; ++l) {
        // Every twelfth row, so that the languages differ.
        const TLocaleDesc &locale = LocaleTable(1 + (l * 12) % LocaleTableCount);
        if (!WriteBytes(Folder + "/res/" + locale.ValuesFolderName + "/strings.xml", SyntheticLanguage(Strings, l)))
            return false;
    }
    return true;
}

// Measures one project folder; returns the best model time of Repeat runs.
double Measure(const QString &Project, int Repeat, const char *Label)
{
    double model = 1e30, floor = 1e30;
    int failures = 0;
    size_t fileCount = 0;
    qint64 bytes = 0;
    for (int r = 0; r < Repeat; ++r) {
        QTemporaryDir copy;
        if (!copy.isValid() || !CopyFolder(Project, copy.path())) {
            std::fprintf(stderr, "can not copy %s\n", qPrintable(Project));
            return -1;
        }
        const std::vector<TProjectFile> files = ProjectFiles(copy.path());
        fileCount = files.size();
        bytes = 0;
        for (const TProjectFile &file : files)
            bytes += QFileInfo(file.Path).size();
        floor = std::min(floor, RunFloor(files));
        failures = 0;
        model = std::min(model, RunModel(files, failures));
    }
    std::printf("%-28s files %5zu  %8.1f MB  model %8.3f s  pugixml %8.3f s  ratio %5.2f%s\n", Label, fileCount,
                bytes / 1e6, model, floor, floor > 0 ? model / floor : 0.0,
                failures ? qPrintable(QString("  (%1 files failed)").arg(failures)) : "");
    std::fflush(stdout);
    return model;
}

int Usage()
{
    std::fprintf(stderr, "usage: glossmill_bench PROJECT_FOLDER [--repeat R]\n"
                         "       glossmill_bench --synthetic LOCALES STRINGS [--steps K] [--repeat R]\n"
                         "       glossmill_bench --open PROJECT_FOLDER [REPETITIONS]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--open")
        return RunOpenProjectBenchmark(argc - 1, argv + 1);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    int repeat = 3, steps = 1;
    const int repeatAt = args.indexOf("--repeat");
    if (repeatAt >= 0 && repeatAt + 1 < args.size())
        repeat = std::max(1, args[repeatAt + 1].toInt());
    const int stepsAt = args.indexOf("--steps");
    if (stepsAt >= 0 && stepsAt + 1 < args.size())
        steps = std::max(1, args[stepsAt + 1].toInt());

    if (!args.isEmpty() && args[0] == "--synthetic") {
        if (args.size() < 3)
            return Usage();
        const int locales = args[1].toInt(), strings = args[2].toInt();
        if (locales < 1 || strings < 1)
            return Usage();
        double previous = 0;
        for (int step = 0; step < steps; ++step) {
            const int count = strings << step;
            QTemporaryDir dir;
            if (!MakeSynthetic(dir.path(), locales, count)) {
                std::fprintf(stderr, "can not write the synthetic project\n");
                return 1;
            }
            const QString label = QString("%1 locales x %2 strings").arg(locales).arg(count);
            const double model = Measure(dir.path(), repeat, qPrintable(label));
            if (previous > 0 && model > 0)
                std::printf("%-28s growth on doubling: %.2f\n", "", model / previous);
            previous = model;
        }
        return 0;
    }
    if (args.isEmpty() || args[0].startsWith("--"))
        return Usage();
    const QFileInfo project(args[0]);
    return Measure(project.absoluteFilePath(), repeat, qPrintable(project.fileName())) < 0 ? 1 : 0;
}
