// What opening and saving write, byte for byte as recorded: the work file of every language file of the corpus
// projects (where the corpus is found) and of generated projects full of odd corners, the files that two saves with
// edits write, and the documents held in memory after each step.
//
// GLOSSMILL_PRINT_DIGESTS=1 prints the table anew; GLOSSMILL_DUMP_OUTPUTS=FOLDER writes every output there, so that two
// builds can be compared file by file.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "NodeFixture.h"
#include "TestSupport.h"

namespace {

struct TRecorded
{
    const char *File;
    const char *Digests; // work file, memory, save 1, memory, save 2, memory; then whether parse and saves succeeded
};

#include "OutputDigests.inc"

// ---------------------------------------------------------------------------------------------------------------
// The generated project.

QByteArray GeneratedDefault()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<!-- Generated project: the odd corners of resource files -->\n"
                     "<!DOCTYPE resources [\n  <!ENTITY appname \"Mill\">\n]>\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\"\n"
                     "    xmlns:tools=\"http://schemas.android.com/tools\">\n"
                     "    <string name=\"app\">&appname;</string>\n"
                     "    <string name=\"plain\">Plain text</string>\n"
                     "    <string name=\"spaced\">  Spaced text \\n </string>\n"
                     "    <string name=\"apos\">Don\\'t stop</string>\n"
                     "    <string name=\"quoted\">\"It's quoted\"</string>\n"
                     "    <string name=\"amp\">Salt &amp; pepper &lt;b&gt;</string>\n"
                     "    <string name=\"nbsp\">A&#0160;B</string>\n"
                     "    <string name=\"cdata\"><![CDATA[<b>Bold</b> text]]></string>\n"
                     "    <string name=\"markup\">You have <xliff:g id=\"n\">%d</xliff:g> <b>new</b> items</string>\n"
                     "    <string name=\"comment\">Before<!-- note -->after</string>\n"
                     "    <string name=\"dup\">First</string>\n"
                     "    <string name=\"dup\">Second</string>\n"
                     "    <string name=\"prod\" product=\"tablet\">Tablet</string>\n"
                     "    <string name=\"prod\" product=\"default\">Phone</string>\n"
                     "    <string name=\"fixed\" translatable=\"false\">Fixed</string>\n"
                     "    <string name=\"fixed2\" translatable=\"false\">Fixed</string>\n"
                     "    <string name=\"empty\"/>\n"
                     "    <string name=\"empty2\"></string>\n"
                     "    <string name='single' tools:ignore='MissingTranslation'>Single quoted</string>\n"
                     "    <string\n        name=\"ownline\">Attribute on its own line</string>\n"
                     "    <string name=\"tab\">Tab\there</string>\n"
                     "    <string name=\"twospaces\">Two  spaces</string>\n"
                     "    <string name=\"unicode\">Grüße € 😀</string>\n"
                     "    <!-- a group -->\n"
                     "    <group>\n        <string name=\"nested\">Nested string</string>\n    </group>\n"
                     "    <plurals name=\"files\">\n"
                     "        <item quantity=\"one\">One file</item>\n"
                     "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> files</item>\n"
                     "    </plurals>\n"
                     "    <string-array name=\"colors\">\n        <item>Red</item>\n        <item>Green</item>\n"
                     "    </string-array>\n"
                     "    <integer-array name=\"numbers\"><item>1</item><item>2</item></integer-array>\n";
    for (int i = 0; i < 200; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 20 == 7)
            xml += "    <string name=\"s" + n + "\"><xliff:g id=\"count\">%d</xliff:g> files in <b>folder " + n + "</b></string>\n";
        else if (i % 25 == 3)
            xml += "    <string name=\"s" + n + "\" translatable=\"false\">Fixed " + n + "</string>\n";
        else if (i % 9 == 4)
            xml += "    <!-- label " + n + " -->\n    <string name=\"s" + n + "\">Text number " + n + " &amp; more</string>\n";
        else
            xml += "    <string name=\"s" + n + "\">Text number " + n + "</string>\n";
        if (i % 30 == 5)
            xml += "    <plurals name=\"p" + n + "\">\n        <item quantity=\"one\">1 item</item>\n"
                   "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> items</item>\n    </plurals>\n";
    }
    return xml + "    <string name=\"last\">Last</string>\n</resources>\n";
}

// The numbered strings of a language: Seed picks which are left out, left empty or kept as the default's text.
QByteArray GeneratedNumbered(int Seed, const QByteArray &Word)
{
    QByteArray xml;
    for (int i = 0; i < 200; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 25 == 3 || (i + Seed) % 11 == 0)
            continue;
        if ((i + Seed) % 13 == 0)
            xml += "    <string name=\"s" + n + "\"></string>\n";
        else if (i % 20 == 7)
            xml += "    <string name=\"s" + n + "\"><xliff:g id=\"count\">%d</xliff:g> " + Word + " <b>" + n + "</b></string>\n";
        else if ((i + Seed) % 7 == 0)
            xml += "    <string name=\"s" + n + "\">Text number " + n + "</string>\n";
        else if (i % 17 == 1)
            xml += "    <string name=\"s" + n + "\">" + Word + " l'" + n + " \"it's\"</string>\n";
        else
            xml += "    <string name=\"s" + n + "\">" + Word + " " + n + "</string>\n";
        if (i % 30 == 5 && Seed % 2 == 0)
            xml += "    <plurals name=\"p" + n + "\">\n        <item quantity=\"one\">1 " + Word + "</item>\n"
                   "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> " + Word + "</item>\n    </plurals>\n";
    }
    return xml;
}

QByteArray GeneratedGerman()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!--Glossmill - item states storage;plain=2;s1=3;\"odd id\"=2;s2=4;amp=9;\r\n-->\n"
           "<!DOCTYPE resources [\n  <!ENTITY appname \"Mühle\">\n  <!ENTITY extra \"Extra\">\n]>\n"
           "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
           "    <string name=\"app\">&appname;</string>\n"
           "    <string name=\"plain\">Einfacher Text</string>\n"
           "    <string name=\"spaced\">  Text mit Raum \\n </string>\n"
           "    <string name=\"apos\">Nicht l'arrêter</string>\n"
           "    <string name=\"quoted\">\"C'est cité\"</string>\n"
           "    <string name=\"amp\">Salz &amp; Pfeffer</string>\n"
           "    <string name=\"nbsp\">A&#0160;B  C</string>\n"
           "    <string name=\"cdata\"><![CDATA[<b>Fett</b> Text]]></string>\n"
           "    <string name=\"markup\">Sie haben <xliff:g id=\"n\">%d</xliff:g> <b>neue</b> Dinge</string>\n"
           "    <string name=\"comment\">Vorher<!-- Notiz -->nachher</string>\n"
           "    <string name=\"dup\">Erste</string>\n"
           "    <string name=\"dup\">Zweite</string>\n"
           "    <string name=\"dup\">Dritte</string>\n"
           "    <string name=\"prod\" product=\"tablet\">Tablett</string>\n"
           "    <string name=\"empty2\">Nicht leer</string>\n"
           "    <string name=\"single\">Einfach</string>\n"
           "    <string name=\"ownline\">Eigene Zeile</string>\n"
           "    <string name=\"tab\">Tab\thier</string>\n"
           "    <string name=\"twospaces\">Zwei  Räume</string>\n"
           "    <string name=\"unicode\">Grüße € 😀</string>\n"
           "    <string name=\"nested\">Verschachtelt</string>\n"
           "    <string name=\"extra\">Nur hier &extra;</string>\n"
           "    <string name=\"odd id\">Seltsam</string>\n"
           "    <plurals name=\"files\">\n"
           "        <item quantity=\"one\">Eine Datei</item>\n"
           "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> Dateien</item>\n"
           "    </plurals>\n"
           "    <string-array name=\"colors\">\n        <item>Rot</item>\n        <item>Grün</item>\n"
           "    </string-array>\n"
           + GeneratedNumbered(0, "Wort") + "</resources>\n";
}

// No declaration, CR LF, single quotes, attributes on lines of their own, a prefix of its own.
QByteArray GeneratedFrench()
{
    QByteArray xml = "<resources xmlns:x='urn:example:x'\n  xmlns:xliff='urn:oasis:names:tc:xliff:document:1.2'>\n"
                     "  <string name='plain'/>\n"
                     "  <string\n    name='spaced'\n    >Texte espacé</string>\n"
                     "  <string name='apos'>N\\'arrête pas</string>\n"
                     "  <string name='markup'>Vous avez <x:n>%d</x:n> <i>nouveaux</i> objets</string>\n"
                     "  <string name='cdata'><![CDATA[Gras]]></string>\n"
                     "  <string name='dup'>Premier</string>\n"
                     "  <string name='fixed'>Fixé</string>\n"
                     "  <string name='empty'>Rempli</string>\n"
                     "  <string name='last'>Dernier</string>\n"
                     "  <string-array name='colors'><item>Rouge</item></string-array>\n"
                     "  <integer-array name='numbers'>\n    <item>3</item>\n  </integer-array>\n"
                     + GeneratedNumbered(1, "Mot") + "</resources>\n";
    xml.replace("\n", "\r\n");
    return xml;
}

QByteArray GeneratedJapanese()
{
    const QString text = QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<resources>\n"
                                           "    <string name=\"plain\">プレーン</string>\n"
                                           "    <string name=\"unicode\">挨拶 😀</string>\n"
                                           "    <string name=\"amp\">塩 &amp; 胡椒</string>\n"
                                           + GeneratedNumbered(2, "言葉") + "</resources>\n");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return utf16.encode(text);
}

QByteArray GeneratedPolish()
{
    const QString text = QString::fromUtf8("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<resources>\n"
                                           "    <string name=\"plain\">Grüße à la carte</string>\n"
                                           "    <string name=\"unicode\">Euro &#x20AC; und Ä</string>\n"
                                           + GeneratedNumbered(3, "Słowo") + "</resources>\n");
    return text.toLatin1();
}

QByteArray GeneratedItalian()
{
    // Every string as the default has it.
    QByteArray xml = GeneratedDefault();
    xml.replace("<!DOCTYPE resources [\n  <!ENTITY appname \"Mill\">\n]>\n", "");
    xml.replace("&appname;", "Mill");
    return xml;
}

QByteArray GeneratedMenu()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
           "    <item android:id=\"@+id/search\" android:title=\"Search\" />\n"
           "    <item\n        android:id=\"@+id/settings\"\n        android:title=\"  Settings \" />\n"
           "    <item android:id=\"@+id/notitle\" />\n"
           "    <item android:id=\"@+id/sub\" android:title=\"More &amp; more\">\n"
           "        <menu>\n            <item android:id=\"@+id/inner\" android:title=\"Inner\"/>\n        </menu>\n"
           "    </item>\n"
           "    <item android:title=\"No id\" />\n"
           "    <item android:id=\"@+id/twice\" android:title=\"Once\" />\n"
           "    <item android:id=\"@+id/twice\" android:title=\"Twice\" />\n"
           "</menu>\n";
}

bool WriteGeneratedProject(const QString &Folder)
{
    const QString res = Folder + "/res/";
    return TestSupport::WriteFile(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.odd\"/>\n")
        && TestSupport::WriteFile(res + "values/strings.xml", GeneratedDefault())
        && TestSupport::WriteFile(res + "values-de/strings.xml", GeneratedGerman())
        && TestSupport::WriteFile(res + "values-fr/strings.xml", GeneratedFrench())
        && TestSupport::WriteFile(res + "values-ja/strings.xml", GeneratedJapanese())
        && TestSupport::WriteFile(res + "values-pl/strings.xml", GeneratedPolish())
        && TestSupport::WriteFile(res + "values-it/strings.xml", GeneratedItalian())
        && TestSupport::WriteFile(res + "values-es/strings.xml", "<resources/>")
        && TestSupport::WriteFile(res + "values-sv/strings.xml",
                                  "<resources xmlns:p=\"urn:p\" xmlns:q=\"urn:q\">\n"
                                  "  <string name=\"markup\">Två <p:a>p</p:a> och <q:b>q</q:b></string>\n"
                                  "  <string name=\"plain\">Enkel <r:c xmlns:r=\"urn:r\">r</r:c></string>\n"
                                  "</resources>\n")
        && TestSupport::WriteFile(res + "menu/main.xml", GeneratedMenu())
        && TestSupport::WriteFile(res + "menu-de/main.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "  <item android:id=\"@+id/settings\" android:title=\" Einstellungen  \" />\n"
                                  "  <item android:id=\"@+id/search\" android:title=\"Suchen\" />\n"
                                  "  <item android:id=\"@+id/inner\" android:title=\"Innen\" />\n"
                                  "  <item android:id=\"@+id/twice\" android:title=\"Zweimal\" />\n"
                                  "  <item android:id=\"@+id/only\" android:title=\"Nur hier\" />\n</menu>\n")
        && TestSupport::WriteFile(res + "menu-fr/main.xml", "<menu xmlns:a=\"http://schemas.android.com/apk/res/android\">"
                                                            "<item a:id=\"@+id/sub\" a:title=\"Plus\"/></menu>");
}

// The corners of the corners: texts that do not read back as they stand, prefixes declared deep down, used twice or
// only known to a language, repeated attributes of a menu item; and, where Nested, strings inside strings and
// collections and a text typed as a string element, which saving can only find by walking the document.
QByteArray OddDefault(bool Nested)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
                     "    <string name=\"ref\">A&amp;#0160;B</string>\n"
                     "    <string name=\"surrogate\">X&#xD800;Y</string>\n"
                     "    <string name=\"quotes\">Say \\\"hi\\\" now</string>\n"
                     "    <string name=\"backslash\">Ends in\\</string>\n"
                     "    <string name=\"sentinel\">A\xEF\xB7\x90" "B</string>\n"
                     "    <string name=\"cdata1\"><![CDATA[ spaced ]]></string>\n"
                     "    <string name=\"cdata2\"><![CDATA[]]></string>\n"
                     "    <string name=\"cdata3\">a<![CDATA[b]]></string>\n"
                     "    <string name=\"typed\">Plain</string>\n"
                     "    <string name=\"deep\">Deep <k:a xmlns:k=\"urn:k\">k</k:a></string>\n"
                     "    <string name=\"unknown\">Uses <m:x>m</m:x></string>\n"
                     "    <string name=\"two\">Two</string>\n"
                     "    <string name=\"decl\">Decl</string>\n"
                     "    <string name=\"tw\">T</string>\n"
                     "    <string name=\"tw\">T</string>\n";
    if (Nested)
        xml += "    <string name=\"outer\">Out <string name=\"inner\">In</string></string>\n"
               "    <plurals name=\"pp\">\n        <item quantity=\"one\">One</item>\n"
               "        <string name=\"inplurals\">In plurals</string>\n    </plurals>\n";
    return xml + "</resources>\n";
}

// Variant 0 translates every string; 1 leaves the strings inside others out; 2 leaves out the prefixes this file
// declares and types a string element as text.
QByteArray OddLanguage(bool Nested, int Variant)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<!--Glossmill - item states storage;tw=2;-->\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\" xmlns:m=\"urn:m\"\n"
                     "    xmlns:p=\"urn:p\" xmlns:q=\"urn:q\">\n"
                     "    <string name=\"ref\">Ä&amp;#0160;B</string>\n"
                     "    <string name=\"surrogate\">Ü&#xD800;</string>\n"
                     "    <string name=\"quotes\">Sag \\\"hallo\\\" it's</string>\n"
                     "    <string name=\"backslash\">Endet mit\\</string>\n"
                     "    <string name=\"sentinel\">Ä\xEF\xB7\x90" "B</string>\n"
                     "    <string name=\"cdata1\"><![CDATA[ gespaced ]]></string>\n"
                     "    <string name=\"cdata2\"><![CDATA[]]></string>\n"
                     "    <string name=\"cdata3\">a<![CDATA[c]]></string>\n"
                     "    <string name=\"typed\">Einfach</string>\n"
                     "    <string name=\"deep\">Tief</string>\n"
                     "    <string name=\"unknown\">Nutzt <m:x>m</m:x></string>\n"
                     "    <string name=\"two\">Zwei <p:a>p</p:a> <q:b>q</q:b></string>\n"
                     "    <string name=\"decl\">Dekl <y:z xmlns:y=\"urn:y\">w</y:z></string>\n"
                     "    <string name=\"tw\"></string>\n"
                     "    <string name=\"tw\"></string>\n";
    if (Nested && Variant != 1)
        xml += "    <string name=\"outer\">Außen <string name=\"inner\">Innen</string></string>\n"
               "    <plurals name=\"pp\">\n        <item quantity=\"one\">Eins</item>\n"
               "        <string name=\"inplurals\">In Mehrzahl</string>\n    </plurals>\n";
    if (Variant == 2) {
        xml.replace(" xmlns:m=\"urn:m\"\n    xmlns:p=\"urn:p\" xmlns:q=\"urn:q\"", "");
        xml.replace("<string name=\"typed\">Einfach</string>", "<string name=\"typed\">&lt;string name=\"typed\"&gt;t&lt;/string&gt;</string>");
    }
    return xml + "</resources>\n";
}

bool WriteOddProject(const QString &Folder, bool Nested)
{
    const QString res = Folder + "/res/";
    return TestSupport::WriteFile(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.odder\"/>\n")
        && TestSupport::WriteFile(res + "values/strings.xml", OddDefault(Nested))
        && TestSupport::WriteFile(res + "values-de/strings.xml", OddLanguage(Nested, 0))
        && TestSupport::WriteFile(res + "values-nl/strings.xml", OddLanguage(Nested, 1))
        && TestSupport::WriteFile(res + "values-fr/strings.xml", OddLanguage(Nested, 2))
        && TestSupport::WriteFile(res + "menu/odd.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "    <item android:id=\"@+id/a\" id=\"@+id/b\" android:title=\"Twice\" />\n"
                                  "    <item android:id=\"@+id/c\" android:title=\"A&amp;#0160;B\" title=\"Other\" />\n"
                                  "    <item android:id=\"@+id/d\" android:title=\"Fine\" />\n</menu>\n")
        && TestSupport::WriteFile(res + "menu-de/odd.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "    <item android:id=\"@+id/c\" android:title=\"Ä&amp;#0160;B\" />\n"
                                  "    <item android:id=\"@+id/d\" android:title=\"Gut\" />\n</menu>\n")
        && TestSupport::WriteFile(res + "menu/same.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "    <item android:id=\"@+id/e\" id=\"@+id/e\" android:title=\"Same\" />\n"
                                  "    <item android:id=\"@+id/f\" android:title=\"One\" android:title=\"Two\" />\n"
                                  "    <item android:id=\"@+id/g\" android:title=\"  Spaced  \" />\n</menu>\n")
        && TestSupport::WriteFile(res + "menu-de/same.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "    <item android:id=\"@+id/e\" android:title=\"Gleich\" />\n"
                                  "    <item android:id=\"@+id/g\" android:title=\" Mit Raum \" />\n</menu>\n")
        && TestSupport::WriteFile(res + "menu-nl/odd.xml",
                                  "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "    <item android:id=\"@+id/b\" android:title=\"Tweemaal\" />\n"
                                  "    <item android:id=\"@+id/d\" android:title=\"Goed\" />\n</menu>\n");
}

bool WriteOddProjectFlat(const QString &Folder)
{
    return WriteOddProject(Folder, false);
}

bool WriteOddProjectNested(const QString &Folder)
{
    return WriteOddProject(Folder, true);
}

// ---------------------------------------------------------------------------------------------------------------
// Opening and saving.

QString Digest(const QByteArray &Bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(Bytes, QCryptographicHash::Sha256).toHex().left(16));
}

// The items an edit takes, in item order: ones with a default text that are not left out.
std::vector<TTranslateItem *> EditableItems(TTransResourceFileNode &Node)
{
    std::vector<TTranslateItem *> items;
    for (const auto &item : Node.TransItems())
        if (!item->FBaseValue.isEmpty() && item->FTranslateState != tsDontTranslate)
            items.push_back(item.get());
    return items;
}

// The first round of edits: a text changed, one left out, one marked final, markup and a missing string filled in.
void FirstEdits(TTransResourceFileNode &Node)
{
    Node.EnableDisablUndoMode(true);
    const std::vector<TTranslateItem *> items = EditableItems(Node);
    if (items.size() > 0)
        Edit(Node, items[0], items[0]->FTranslatedValue + QStringLiteral(" *"));
    if (items.size() > 1)
        Mark(Node, items[1], tsDontTranslate);
    if (items.size() > 2)
        Mark(Node, items[2], tsFinalTrnaslation);
    for (TTranslateItem *item : items)
        if (Node.ContentKindOf(item) != ckPlain && item != items[0]) {
            Edit(Node, item, item->FTranslatedValue + QStringLiteral(" <b>x</b> it's"));
            break;
        }
    for (const auto &item : Node.TransItems())
        if (!item->FBaseValue.isEmpty() && item->FTranslateState == tsDontTranslate && item.get() != (items.size() > 1 ? items[1] : nullptr)) {
            Edit(Node, item.get(), QStringLiteral("Neu & \"l'x\"  <i>y</i>"));
            break;
        }
}

// The second round: the first text again, the final mark taken back.
void SecondEdits(TTransResourceFileNode &Node)
{
    const std::vector<TTranslateItem *> items = EditableItems(Node);
    if (items.size() > 0)
        Edit(Node, items[0], items[0]->FTranslatedValue + QStringLiteral(" 2"));
    for (TTranslateItem *item : items)
        if (item->FTranslateState == tsFinalTrnaslation) {
            Mark(Node, item, tsTranslated);
            break;
        }
}

struct TOutputs
{
    QString File; // project/folder/name
    QStringList Digests;
    QList<QByteArray> Bytes;
};

void Record(TOutputs &Outputs, const QByteArray &Bytes)
{
    Outputs.Digests << Digest(Bytes);
    Outputs.Bytes << Bytes;
}

void RecordMemory(TOutputs &Outputs, const TTransResourceFileNode &Node, bool Memory)
{
    if (Memory) {
        Record(Outputs, Node.XmlFile.SaveToString().toUtf8());
    } else {
        Outputs.Digests << QStringLiteral("-");
        Outputs.Bytes << QByteArray();
    }
}

// Opens the project as the main window does, and for each language file records the work file, then saves twice with
// edits, recording each saved file; with Memory, after each step also the document held in memory ("-" without: a
// file whose document nobody asks for may keep it in another form).
std::vector<TOutputs> RunProject(const QString &Label, const QString &Folder, bool Memory)
{
    std::vector<TOutputs> result;
    const QString res = Folder + "/res/";
    std::vector<std::pair<QString, std::unique_ptr<TTransResourceFileNode>>> defaults; // "values/strings.xml"
    auto openDefault = [&](bool Menu, const QString &Key) {
        auto node = TNodePair::NewNode(Menu);
        if (node->LoadResFile(res + Key) == lrfOK && node->Parse())
            defaults.emplace_back(Key, std::move(node));
        else
            ADD_FAILURE() << Key.toStdString();
    };
    if (QFileInfo::exists(res + "values/strings.xml"))
        openDefault(false, "values/strings.xml");
    QStringList menus;
    ListXmlFiles(res + "menu/", menus);
    menus.sort();
    for (const QString &menu : menus)
        openDefault(true, "menu/" + menu);

    QStringList folders;
    ListSubFolders(res, folders);
    folders.sort();
    for (const QString &folder : folders) {
        const bool menu = folder.startsWith("menu-");
        if (!menu && !folder.startsWith("values-"))
            continue;
        if (FindLocaleByValuesFolder("values-" + folder.mid(folder.indexOf('-') + 1)) < 0)
            continue;
        for (auto &[key, base] : defaults) {
            if (key.startsWith("menu/") != menu)
                continue;
            const QString name = key.mid(key.indexOf('/') + 1);
            const QString path = res + folder + "/" + name;
            if (!QFileInfo::exists(path))
                continue;
            TOutputs outputs;
            outputs.File = Label + "/" + folder + "/" + name;
            SCOPED_TRACE(outputs.File.toStdString());
            auto node = TNodePair::NewNode(menu);
            node->LocaleDesc.LocaleName = folder;
            node->ResourceFileName = path;
            node->setBaseTemplate(base.get());
            EXPECT_EQ(node->LoadResFile(path), lrfOK);
            // Some odd files fail to open or save; that is recorded as well.
            QString results = node->Parse() ? "1" : "0";
            Record(outputs, TestSupport::ReadFile(node->TempWorkFileName));
            RecordMemory(outputs, *node, Memory);
            FirstEdits(*node);
            results += node->SaveFile(QString()) ? "1" : "0";
            node->DeleteTempXMFile();
            Record(outputs, TestSupport::ReadFile(path));
            RecordMemory(outputs, *node, Memory);
            SecondEdits(*node);
            results += node->SaveFile(QString()) ? "1" : "0";
            Record(outputs, TestSupport::ReadFile(path));
            RecordMemory(outputs, *node, Memory);
            outputs.Digests << results;
            result.push_back(std::move(outputs));
        }
    }
    return result;
}

class OutputDigests : public ::testing::TestWithParam<TGeneratedCase>
{
protected:
    void EveryOutputIsAsRecorded();
};

class CorpusOutputDigests : public OutputDigests
{
};

} // namespace

void OutputDigests::EveryOutputIsAsRecorded()
{
    const TGeneratedCase &project = GetParam();
    QTemporaryDir dir;
    for (const char *copy : {"/memory", "/files"})
        ASSERT_TRUE(project.WriteInto(dir.path() + copy));
    TScopedSettings settings;
    project.Apply(settings);
    // Once looking at the documents in memory after each step, once on a fresh copy without.
    const std::vector<TOutputs> passes[] = {RunProject(project.Name, dir.path() + "/memory", true),
                                            RunProject(project.Name, dir.path() + "/files", false)};

    std::map<QString, QString> recorded;
    for (const TRecorded &row : RecordedDigests)
        if (QString(row.File).startsWith(QString(project.Name) + "/"))
            recorded[row.File] = row.Digests;
    const QByteArray dump = qgetenv("GLOSSMILL_DUMP_OUTPUTS");
    const bool print = !qEnvironmentVariableIsEmpty("GLOSSMILL_PRINT_DIGESTS");
    static const char *const steps[] = {"work file", "memory after open", "first save", "memory after it",
                                        "second save", "memory after it", "results of parse and saves"};
    for (int pass = 0; pass < 2; ++pass) {
        std::set<QString> written;
        for (const TOutputs &file : passes[pass]) {
            written.insert(file.File);
            if (print && pass == 0)
                std::printf("    {\"%s\", \"%s\"},\n", qPrintable(file.File), qPrintable(file.Digests.join(' ')));
            if (!dump.isEmpty())
                for (int i = 0; i < file.Bytes.size(); ++i)
                    if (file.Digests[i] != "-")
                        TestSupport::WriteFile(QString::fromLocal8Bit(dump) + (pass ? "/files/" : "/") + file.File + "."
                                                   + QString::number(i),
                                               file.Bytes[i]);
            const auto found = recorded.find(file.File);
            if (found == recorded.end()) {
                ADD_FAILURE() << "no recorded outputs for " << file.File.toStdString();
                continue;
            }
            const QStringList expected = found->second.split(' ');
            EXPECT_EQ(file.Digests.size(), expected.size()) << file.File.toStdString();
            for (int i = 0; i < file.Digests.size() && i < expected.size(); ++i)
                if (file.Digests[i] != "-")
                    EXPECT_EQ(file.Digests[i], expected[i]) << file.File.toStdString() << ": " << steps[i]
                                                            << (pass ? " (memory not looked at)" : "");
        }
        for (const auto &[file, digests] : recorded)
            if (!written.count(file))
                ADD_FAILURE() << "not written: " << file.toStdString();
    }
}

TEST_P(OutputDigests, EveryOutputIsAsRecorded)
{
    EveryOutputIsAsRecorded();
}

TEST_P(CorpusOutputDigests, EveryOutputIsAsRecorded)
{
    GLOSSMILL_REQUIRE_CORPUS();
    EveryOutputIsAsRecorded();
}

INSTANTIATE_TEST_SUITE_P(Projects, CorpusOutputDigests,
                         ::testing::Values(TGeneratedCase{"etar", nullptr, false},
                                           TGeneratedCase{"fdroidclient", nullptr, false}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

INSTANTIATE_TEST_SUITE_P(Projects, OutputDigests,
                         ::testing::Values(TGeneratedCase{"generated", WriteGeneratedProject, false},
                                           TGeneratedCase{"generated-settings", WriteGeneratedProject, true},
                                           TGeneratedCase{"odd", WriteOddProjectFlat, false},
                                           TGeneratedCase{"odd-nested", WriteOddProjectNested, false}),
                         [](const auto &Info) {
                             std::string name = Info.param.Name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
