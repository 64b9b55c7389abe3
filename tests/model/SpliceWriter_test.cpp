// The splice writer against the tree writer: every language file of the corpus projects and of generated projects full
// of odd cases is written both ways (its work file, two saves after the same edits, the document made whole from the
// parts, and a save after that), and the two must agree byte for byte. On the corpus no file may need the tree writer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <map>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "NodeFixture.h"
#include "SampleProject.h"
#include "TestSupport.h"

namespace {

// ---------------------------------------------------------------------------------------------------------------
// Generated projects: a default file and languages that differ from it in every way the writers must follow.

QByteArray Crlf(QByteArray Xml)
{
    return Xml.replace("\n", "\r\n");
}

QByteArray Utf16(QByteArray Utf8)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(QString::fromUtf8(Utf8.replace("encoding=\"utf-8\"", "encoding=\"UTF-16\"")));
}

// Strings of every kind: entities, references, CDATA, markup with prefixes declared on the root and deep down,
// apostrophes and quotes, whitespace, empty elements of both forms, repeated names, nested groups, collections; the
// languages add texts that begin with "@" or "?" as references do.
QByteArray OddDefaultBody()
{
    return "    <!-- strings -->\n"
           "    <string name=\"plain\">Plain</string>\n"
           "    <string name=\"amp\">Salt &amp; pepper &lt;b&gt; &quot;q&quot; &apos;a&apos; &#8230;</string>\n"
           "    <string name=\"apos\">Don\\'t</string>\n"
           "    <string name=\"bare\">It's</string>\n"
           "    <string name=\"quoted\">\"It's\"</string>\n"
           "    <string name=\"spaced\">  Spaced \\n </string>\n"
           "    <string name=\"nbsp\">A&#0160;B</string>\n"
           "    <string name=\"ref\">A&amp;#0160;B</string>\n"
           "    <string name=\"cdata\"><![CDATA[<b>Bold</b>]]></string>\n"
           "    <string name=\"cdata2\"> <![CDATA[x]]> </string>\n"
           "    <string name=\"markup\">You have <xliff:g id=\"n\">%d</xliff:g> <b>new</b> items</string>\n"
           "    <string name=\"deep\">Deep <k:a xmlns:k=\"urn:k\">k</k:a></string>\n"
           "    <string name=\"comment\">Before<!-- note -->after</string>\n"
           "    <string name=\"dup\">First</string>\n"
           "    <string name=\"dup\">Second</string>\n"
           "    <string name=\"prod\" product=\"tablet\">Tablet</string>\n"
           "    <string name=\"prod\" product=\"default\">Phone</string>\n"
           "    <string name=\"same\">Same</string>\n"
           "    <string name=\"same\">Same</string>\n"
           "    <string name=\"fixed\" translatable=\"false\" tools:ignore=\"x\">Fixed</string>\n"
           "    <string name=\"empty\"/>\n"
           "    <string name=\"empty2\"></string>\n"
           "    <string name='single'>Single</string>\n"
           "    <string\n        name=\"ownline\"\n        >Own line</string>\n"
           "    <string name=\"tab\">Tab\there</string>\n"
           "    <string name=\"unicode\">Grüße € 😀 日本</string>\n"
           "    <group>\n        <string name=\"nested\">Nested</string>\n    </group>\n"
           "    <plurals name=\"files\">\n        <item quantity=\"one\">One file</item>\n"
           "        <item quantity=\"other\"><xliff:g id=\"n\">%d</xliff:g> files</item>\n    </plurals>\n"
           "    <plurals name=\"files\"><item quantity=\"other\">Twice</item></plurals>\n"
           "    <string-array name=\"colors\">\n        <item>Red</item>\n        <item>Green</item>\n    </string-array>\n"
           "    <integer-array name=\"numbers\"><item>1</item></integer-array>\n"
           "    <array name=\"mixed\"><item>@string/plain</item></array>\n"
           "    <string name=\"at\">At home</string>\n"
           "    <string name=\"atref\">Plain</string>\n"
           "    <string name=\"question\">Why</string>\n"
           "    <string name=\"last\">Last</string>\n";
}

QByteArray OddDefault()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- The default -->\n"
           "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\"\n"
           "    xmlns:tools=\"http://schemas.android.com/tools\">\n"
           + OddDefaultBody() + "</resources>\n";
}

// A language of every string, with its own ways: other entities and references, markup of its own with prefixes only
// it declares, more and fewer strings of a repeated name, its own plurals and arrays (one of them odd in layout).
QByteArray OddLanguage(int Variant)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<!--Glossmill - item states storage;plain=2;apos=3;\"odd id\"=2;dup=3;-->\n"
                     "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\" xmlns:p=\"urn:p\"\n"
                     "    xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                     "    <string name=\"plain\">Einfach</string>\n"
                     "    <string name=\"amp\">Salz &amp; Pfeffer &gt; &#x2026; &#65;</string>\n"
                     "    <string name=\"apos\">Nicht l'arrêter</string>\n"
                     "    <string name=\"bare\">C'est \\'x\\' \"l'y\" \\\\'z</string>\n"
                     "    <string name=\"quoted\">\"C'est\"</string>\n"
                     "    <string name=\"spaced\">\t Raum \n</string>\n"
                     "    <string name=\"nbsp\">A&#0160;B  C</string>\n"
                     "    <string name=\"ref\">Ä&amp;#0160;B</string>\n"
                     "    <string name=\"cdata\"><![CDATA[<i>Fett</i> it's]]></string>\n"
                     "    <string name=\"cdata2\"><![CDATA[ y ]]></string>\n"
                     "    <string name=\"markup\">Sie <xliff:g id=\"n\">%d</xliff:g> <p:b>neue</p:b> <br/> Dinge</string>\n"
                     "    <string name=\"deep\">Tief <m:x>m</m:x></string>\n"
                     "    <string name=\"comment\">Vorher<!-- Notiz -->nachher</string>\n"
                     "    <string name=\"dup\">Erste</string>\n";
    if (Variant != 1)
        xml += "    <string name=\"dup\">Zweite</string>\n    <string name=\"dup\">Dritte</string>\n";
    xml += "    <string name=\"prod\" product=\"tablet\">Tablett</string>\n"
           "    <string name=\"same\"></string>\n"
           "    <string name=\"empty2\">Nicht leer</string>\n"
           "    <string name='single'>Einfach</string>\n"
           "    <string name=\"tab\">Tab\thier</string>\n"
           "    <string name=\"unicode\">Grüße € 😀 日本 한국어</string>\n"
           "    <string name=\"nested\">Verschachtelt</string>\n"
           "    <string name=\"odd id\">Nur hier</string>\n"
           "    <string name=\"surrogate\">X&#xD800;Y</string>\n"
           "    <string name=\"at\">@home</string>\n"
           "    <string name=\"atref\">@string/plain</string>\n"
           "    <string name=\"question\"> ?warum </string>\n"
           "    <plurals name='files'>\n        <item quantity=\"one\" >Eine Datei</item>\n"
           "        <item   quantity='other'><xliff:g id=\"n\">%d</xliff:g> Dateien &amp; &#x2026; it's</item>\n"
           "        <item quantity=\"few\"/>\n    </plurals>\n"
           "    <string-array name=\"colors\"><item>Rot</item><item><![CDATA[Grün]]></item></string-array>\n";
    if (Variant == 2)
        xml += "    <array name=\"mixed\"><item android:x=\"1\">@string/p</item></array>\n";
    return xml + "</resources>\n";
}

QByteArray OddMenu()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
           "    <item android:id=\"@+id/search\" android:title=\"Search &amp; find\" />\n"
           "    <item\n        android:id=\"@+id/settings\"\n        android:title='  Settings ' />\n"
           "    <item android:id=\"@+id/notitle\" />\n"
           "    <item android:id=\"@+id/sub\" android:title=\"More\">\n"
           "        <menu>\n            <item android:id=\"@+id/inner\" android:title=\"Inner\"/>\n        </menu>\n"
           "    </item>\n"
           "    <item android:id=\"@+id/twice\" android:title=\"Once\" />\n"
           "    <item android:id=\"@+id/twice\" android:title=\"Twice\" />\n"
           "</menu>\n";
}

QByteArray OddMenuLanguage()
{
    return "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
           "  <item android:id=\"@+id/settings\" android:title=\" Einstellungen &#x2026;\" />\n"
           "  <item android:id=\"@+id/search\" android:title=\"Suchen &quot;&lt;x&gt;&quot;\" />\n"
           "  <item android:id=\"@+id/inner\" android:title=\"Innen&#0160;&amp;#0160;\" />\n"
           "  <item android:id=\"@+id/twice\" android:title=\"Zweimal\" />\n"
           "  <item android:id=\"@+id/sub\" android:title=\"?mehr\" />\n"
           "  <item android:id=\"@+id/only\" android:title=\"Nur hier\" />\n</menu>\n";
}

// The languages of a project on Default: in UTF-8, with a byte-order mark, with CR LF, in UTF-16 and ISO-8859-1
// (which the tree writer writes), with a doctype of its own, empty, and without any file of their own.
bool WriteOddProject(const QString &Folder, const QByteArray &Default)
{
    const QString res = Folder + "/res/";
    QByteArray latin1 = OddLanguage(0);
    latin1.replace("encoding=\"utf-8\"", "encoding=\"ISO-8859-1\"");
    latin1 = QString::fromUtf8(latin1).toLatin1();
    QByteArray doctype = OddLanguage(0);
    doctype.replace("<resources", "<!DOCTYPE resources [\n  <!ENTITY x \"X\">\n]>\n<resources");
    return TestSupport::WriteFile(Folder + "/AndroidManifest.xml", "<manifest package=\"org.example.splice\"/>\n")
        && TestSupport::WriteFile(res + "values/strings.xml", Default)
        && TestSupport::WriteFile(res + "values-de/strings.xml", OddLanguage(0))
        && TestSupport::WriteFile(res + "values-fr/strings.xml", "\xEF\xBB\xBF" + OddLanguage(1))
        && TestSupport::WriteFile(res + "values-nl/strings.xml", Crlf(OddLanguage(2)))
        && TestSupport::WriteFile(res + "values-ja/strings.xml", Utf16(OddLanguage(0)))
        && TestSupport::WriteFile(res + "values-pl/strings.xml", latin1)
        && TestSupport::WriteFile(res + "values-sv/strings.xml", doctype)
        && TestSupport::WriteFile(res + "values-es/strings.xml", "<resources/>")
        && TestSupport::WriteFile(res + "menu/main.xml", OddMenu())
        && TestSupport::WriteFile(res + "menu-de/main.xml", OddMenuLanguage())
        && TestSupport::WriteFile(res + "menu-fr/main.xml", Crlf(OddMenuLanguage()));
}

bool WriteOdd(const QString &Folder)
{
    return WriteOddProject(Folder, OddDefault());
}

// The default in CR LF with single quotes, tight empty tags, a state comment of its own and no declaration.
bool WriteOddCrlf(const QString &Folder)
{
    QByteArray xml = "<!--Glossmill - item states storage;plain=2;\r\n-->\n"
                     "<resources xmlns:xliff='urn:oasis:names:tc:xliff:document:1.2' xmlns:tools='http://schemas.android.com/tools'>\n"
                     + OddDefaultBody() + "    <string name=\"tight\"/><string name=\"tight2\"/>\n</resources>\n";
    xml.replace(" />", "/>");
    return WriteOddProject(Folder, Crlf(xml));
}

// The default with a byte-order mark, a doctype whose entity the strings use, and prefixes it does not declare.
bool WriteOddDoctype(const QString &Folder)
{
    QByteArray body = OddDefaultBody();
    body.replace("Plain</string>", "&app; plain</string>");
    return WriteOddProject(Folder, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                   "<!DOCTYPE resources [\n  <!ENTITY app \"Mill\">\n]>\n"
                                   "<resources>\n" + body + "</resources>\n");
}

bool WriteSample(const QString &Folder)
{
    return SampleProject::Write(Folder);
}

// ---------------------------------------------------------------------------------------------------------------
// Opening, editing and saving one way.

struct TFileOutputs
{
    QString File;
    QList<QByteArray> Outputs; // work file, first save, second save, document made whole, save after it
    QString Results;
};

std::vector<TTranslateItem *> Editable(TTransResourceFileNode &Node)
{
    std::vector<TTranslateItem *> items;
    for (const auto &item : Node.TransItems())
        if (!item->FBaseValue.isEmpty() && item->FTranslateState != tsDontTranslate)
            items.push_back(item.get());
    return items;
}

// Edits that reach every kind of content: a text changed, one left out, one marked final, markup with prefixes
// declared, undeclared and unknown, a text holding "&#0160;", CR LF and quotes, a left-out string filled in.
void FirstEdits(TTransResourceFileNode &Node)
{
    Node.EnableDisablUndoMode(true);
    const std::vector<TTranslateItem *> items = Editable(Node);
    const QStringList texts = {
        QStringLiteral(" *"),
        QStringLiteral(" <xliff:g id=\"x\">%s</xliff:g> it's"),
        QStringLiteral(" <tools:t>t</tools:t> <q:u>u</q:u>"),
        QStringLiteral(" a&#0160;&#0160;b\r\nc \"q\" 'a' <"),
        QStringLiteral(" <b>bold</b> <i/>"),
    };
    for (size_t i = 0; i < items.size(); ++i) {
        if (i == 1)
            Mark(Node, items[i], tsDontTranslate);
        else if (i == 2)
            Mark(Node, items[i], tsFinalTrnaslation);
        else if (i % 4 == 0)
            Edit(Node, items[i], items[i]->FTranslatedValue + texts[int(i / 4 % texts.size())]);
    }
    for (const auto &item : Node.TransItems())
        if (!item->FBaseValue.isEmpty() && item->FTranslateState == tsDontTranslate && item.get() != (items.size() > 1 ? items[1] : nullptr)) {
            Edit(Node, item.get(), QStringLiteral("Neu & \"l'x\"  <i>y</i>"));
            break;
        }
}

// Another round: the first text again, the final mark taken back, whitespace dropped from a text.
void SecondEdits(TTransResourceFileNode &Node)
{
    const std::vector<TTranslateItem *> items = Editable(Node);
    if (!items.empty())
        Edit(Node, items[0], items[0]->FTranslatedValue + QStringLiteral(" 2"));
    for (TTranslateItem *item : items)
        if (item->FTranslateState == tsFinalTrnaslation) {
            Mark(Node, item, tsTranslated);
            break;
        }
    for (TTranslateItem *item : items)
        if (!item->WhSpaceHeader.isEmpty()) {
            item->WhSpaceHeader = QString();
            Edit(Node, item, item->FTranslatedValue + QStringLiteral("!"));
            break;
        }
}

std::vector<TFileOutputs> RunProject(const QString &Folder, bool Splice, int &TreeWritten)
{
    TTransResourceFileNode::SpliceWriting = Splice;
    const int treeBefore = TTransResourceFileNode::TreeWrittenFiles;
    std::vector<TFileOutputs> result;
    const QString res = Folder + "/res/";
    std::vector<std::pair<QString, std::unique_ptr<TTransResourceFileNode>>> defaults;
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
        if ((!menu && !folder.startsWith("values-"))
            || FindLocaleByValuesFolder("values-" + folder.mid(folder.indexOf('-') + 1)) < 0)
            continue;
        for (auto &[key, base] : defaults) {
            if (key.startsWith("menu/") != menu)
                continue;
            const QString path = res + folder + "/" + key.mid(key.indexOf('/') + 1);
            if (!QFileInfo::exists(path))
                continue;
            TFileOutputs outputs;
            outputs.File = folder + "/" + key.mid(key.indexOf('/') + 1);
            auto node = TNodePair::NewNode(menu);
            node->LocaleDesc.LocaleName = folder;
            node->ResourceFileName = path;
            node->setBaseTemplate(base.get());
            node->LoadResFile(path);
            outputs.Results += node->Parse() ? "1" : "0";
            outputs.Outputs << TestSupport::ReadFile(node->TempWorkFileName);
            FirstEdits(*node);
            outputs.Results += node->SaveFile(QString()) ? "1" : "0";
            node->DeleteTempXMFile();
            outputs.Outputs << TestSupport::ReadFile(path);
            SecondEdits(*node);
            outputs.Results += node->SaveFile(QString()) ? "1" : "0";
            outputs.Outputs << TestSupport::ReadFile(path);
            // The document made whole, and a save from it.
            outputs.Outputs << node->XmlFile.SaveToString().toUtf8();
            if (const std::vector<TTranslateItem *> items = Editable(*node); !items.empty())
                Edit(*node, items.back(), QStringLiteral("Zuletzt"));
            outputs.Results += node->SaveFile(QString()) ? "1" : "0";
            outputs.Outputs << TestSupport::ReadFile(path);
            result.push_back(std::move(outputs));
        }
    }
    TreeWritten = TTransResourceFileNode::TreeWrittenFiles - treeBefore;
    TTransResourceFileNode::SpliceWriting = true;
    return result;
}

class SpliceWriter : public ::testing::TestWithParam<TGeneratedCase>
{
protected:
    void WritesWhatTheTreeWriterWrites();
};

class CorpusSpliceWriter : public SpliceWriter
{
};

} // namespace

void SpliceWriter::WritesWhatTheTreeWriterWrites()
{
    const TGeneratedCase &c = GetParam();
    QTemporaryDir dir;
    for (const char *copy : {"/tree", "/splice"})
        ASSERT_TRUE(c.WriteInto(dir.path() + copy));
    TScopedSettings settings;
    c.Apply(settings);
    int treeWritten = 0, spliceTreeWritten = 0;
    const std::vector<TFileOutputs> tree = RunProject(dir.path() + "/tree", false, treeWritten);
    const std::vector<TFileOutputs> splice = RunProject(dir.path() + "/splice", true, spliceTreeWritten);
    static const char *const steps[] = {"work file", "first save", "second save", "document made whole", "save after it"};
    ASSERT_EQ(tree.size(), splice.size());
    EXPECT_GT(tree.size(), 5u);
    for (size_t f = 0; f < tree.size(); ++f) {
        SCOPED_TRACE(tree[f].File.toStdString());
        EXPECT_EQ(tree[f].Results, splice[f].Results);
        for (int i = 0; i < tree[f].Outputs.size(); ++i)
            if (tree[f].Outputs[i] != splice[f].Outputs[i])
                ADD_FAILURE() << steps[i] << " differs "
                              << FirstDifference(tree[f].Outputs[i], splice[f].Outputs[i], "tree", "splice");
    }
    if (!c.Generate || c.Generate == WriteSample)
        EXPECT_EQ(spliceTreeWritten, 0) << "files of a real project written by the tree writer";
}

TEST_P(SpliceWriter, WritesWhatTheTreeWriterWrites)
{
    WritesWhatTheTreeWriterWrites();
}

TEST_P(CorpusSpliceWriter, WritesWhatTheTreeWriterWrites)
{
    GLOSSMILL_REQUIRE_CORPUS();
    WritesWhatTheTreeWriterWrites();
}

INSTANTIATE_TEST_SUITE_P(Projects, CorpusSpliceWriter,
                         ::testing::Values(TGeneratedCase{"etar", nullptr, false},
                                           TGeneratedCase{"fdroidclient", nullptr, false}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

INSTANTIATE_TEST_SUITE_P(Projects, SpliceWriter,
                         ::testing::Values(TGeneratedCase{"sample", WriteSample, false},
                                           TGeneratedCase{"odd", WriteOdd, false},
                                           TGeneratedCase{"odd_settings", WriteOdd, true},
                                           TGeneratedCase{"odd_crlf", WriteOddCrlf, false},
                                           TGeneratedCase{"odd_doctype", WriteOddDoctype, false},
                                           TGeneratedCase{"odd_doctype_settings", WriteOddDoctype, true}),
                         [](const auto &Info) { return std::string(Info.param.Name); });
