#include "BenchSynthetic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <numeric>

#include "Glossmill_LocaleConst.h"

namespace Bench {

namespace {

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

} // namespace

bool MakeSynthetic(const QString &Folder, int Locales, int Strings)
{
    if (!WriteBytes(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.synthetic\"/>\n")
        || !WriteBytes(Folder + "/res/values/strings.xml", SyntheticDefault(Strings)))
        return false;
    for (int l = 0; l < Locales && l < LocaleTableCount; ++l) {
        // Every twelfth row, so that the languages differ; past one lap, shifted so that each row comes once.
        const int lap = LocaleTableCount / std::gcd(12, LocaleTableCount);
        const TLocaleDesc &locale = LocaleTable(1 + (l * 12 + l / lap) % LocaleTableCount);
        if (!WriteBytes(Folder + "/res/" + locale.ValuesFolderName + "/strings.xml", SyntheticLanguage(Strings, l)))
            return false;
    }
    return true;
}

int SyntheticStringsForBytes(double Bytes)
{
    const int sample = 1000;
    return int(Bytes / (double(SyntheticDefault(sample).size()) / sample));
}

} // namespace Bench
