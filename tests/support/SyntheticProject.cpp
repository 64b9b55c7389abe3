#include "SyntheticProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SyntheticProject {

QByteArray DefaultStrings(int Strings)
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

QByteArray LanguageStrings(int Strings, int Locale)
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

bool Write(const QString &Folder, const QStringList &LanguageFolders, int Strings)
{
    if (!WriteBytes(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.synthetic\"/>\n")
        || !WriteBytes(Folder + "/res/values/strings.xml", DefaultStrings(Strings)))
        return false;
    for (int l = 0; l < LanguageFolders.size(); ++l)
        if (!WriteBytes(Folder + "/res/" + LanguageFolders[l] + "/strings.xml", LanguageStrings(Strings, l)))
            return false;
    return true;
}

int StringsForBytes(double Bytes)
{
    const int sample = 1000;
    return int(Bytes / (double(DefaultStrings(sample).size()) / sample));
}

} // namespace SyntheticProject
