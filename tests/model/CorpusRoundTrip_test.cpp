// Every language file of a project: loaded, rebuilt, saved twice and checked by aapt before and after. The real
// projects of the corpus, and those that the repository holds or makes.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "NodeFixture.h"
#include "SampleProject.h"
#include "TestSupport.h"

using namespace GlossmillXml;

namespace {

// Well-formed and namespace-well-formed, judged by a second parser.
QString XmlProblem(const QByteArray &Bytes)
{
    QXmlStreamReader reader(Bytes);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() + " at line " + QString::number(reader.lineNumber()) : QString();
}

// Whether aapt builds the default values folder together with one language's strings file.
bool AaptAccepts(const QString &DefaultValuesFile, const QString &Folder, const QByteArray &Strings, QString &Output)
{
    QTemporaryDir dir;
    const QString res = dir.path() + "/res";
    if (!TestSupport::WriteFile(dir.path() + "/AndroidManifest.xml",
                                "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" package=\"org.example.check\"/>\n")
        || !TestSupport::WriteFile(res + "/values/strings.xml", TestSupport::ReadFile(DefaultValuesFile))
        || !TestSupport::WriteFile(res + "/" + Folder + "/strings.xml", Strings))
        return false;
    QProcess aapt;
    aapt.setProcessChannelMode(QProcess::MergedChannels);
    aapt.start("aapt", {"package", "-f", "-M", dir.path() + "/AndroidManifest.xml", "-S", res, "-F", dir.path() + "/out.apk"});
    if (!aapt.waitForFinished(60000))
        return false;
    Output = QString::fromUtf8(aapt.readAll());
    return aapt.exitStatus() == QProcess::NormalExit && aapt.exitCode() == 0;
}

// The file with its state comment cut out, and the comment's entries in order of name.
QByteArray WithoutStateComment(const QByteArray &File, QStringList *Entries = nullptr)
{
    const qsizetype start = File.indexOf("<!--Glossmill - item states storage;");
    if (start < 0)
        return File;
    const qsizetype end = File.indexOf("-->", start) + 3;
    if (Entries) {
        *Entries = QString::fromUtf8(File.mid(start + 36, end - 3 - start - 36)).trimmed().split(';', Qt::SkipEmptyParts);
        Entries->sort();
    }
    // The line the comment stood on goes with it.
    const qsizetype after = File.mid(end, 2) == "\r\n" ? end + 2 : File.mid(end, 1) == "\n" ? end + 1 : end;
    return File.left(start) + File.mid(after);
}

struct TLoadedDoc
{
    TXmlDocument Doc;
    explicit TLoadedDoc(const QByteArray &Bytes) { Doc.LoadFromBytes(Bytes); }

    // First "string" element per name.
    QHash<QString, pugi::xml_node> Strings() const
    {
        QHash<QString, pugi::xml_node> result;
        const pugi::xml_node root = Doc.Root();
        for (pugi::xml_node n = root; n; n = NextNode(n, root))
            if (n.type() == pugi::node_element && std::strcmp(n.name(), "string") == 0 && n.attribute("name")
                && !result.contains(ToQ(n.attribute("name").value())))
                result.insert(ToQ(n.attribute("name").value()), n);
        return result;
    }

    // Plurals and arrays among the root's children, by tag and name.
    QHash<QString, pugi::xml_node> Collections() const
    {
        QHash<QString, pugi::xml_node> result;
        for (pugi::xml_node n = Doc.Root().first_child(); n; n = n.next_sibling()) {
            const std::string tag = n.name();
            if (n.type() == pugi::node_element && n.attribute("name")
                && (tag == "plurals" || tag == "string-array" || tag == "integer-array" || tag == "array"))
                result.insert(ToQ(n.name()) + "/" + ToQ(n.attribute("name").value()), n);
        }
        return result;
    }
};

QString WithEscapes(const QString &Text)
{
    bool inQuotes = false;
    return EscapeAndroidApostrophes(Text, inQuotes);
}

// A language file node as opening a project makes it; null when loading or parsing fails.
std::unique_ptr<TTransResourceFileNode> OpenLanguageFile(bool Menu, const QString &Folder, const QString &Path,
                                                         TTransResourceFileNode *Base)
{
    auto node = TNodePair::NewNode(Menu);
    node->LocaleDesc.LocaleName = Folder;
    node->ResourceFileName = Path;
    node->setBaseTemplate(Base);
    if (node->LoadResFile(Path) != lrfOK || !node->Parse())
        return nullptr;
    return node;
}

struct TItemView
{
    QString Translation;
    tTransState State;
};

// The items that the default file also has; a menu item left untranslated, or one the language lacked, is written
// with the default's title and reads back as that title, to be translated better.
QHash<QString, TItemView> ItemsOf(TTransResourceFileNode &Node, bool Menu)
{
    QHash<QString, TItemView> result;
    for (const auto &item : Node.TransItems()) {
        const TTranslateItem *base = Node.BaseTemplate()->GetItemByID(item->ID);
        if (!base || result.contains(item->ID))
            continue;
        const bool untranslated = item->FTranslateState == tsBaseNotPresent || item->FTranslateState == tsDontTranslate;
        if (Menu && untranslated && item->FTranslatedValue.isEmpty())
            result.insert(item->ID, {base->FBaseValue, tsNeedBetter});
        else
            result.insert(item->ID, {item->FTranslatedValue, item->FTranslateState});
    }
    return result;
}

struct TProjectCase
{
    const char *Name;
    int Files;       // language files at least
    int AaptChecked; // of them that aapt accepts as they are, at least
};

void PrintTo(const TProjectCase &Case, std::ostream *Os)
{
    *Os << Case.Name;
}

// `Source` holds the project, read only; the test works on a copy.
void EveryLanguageFileSurvivesLoadRebuildAndSave(const QString &Source, const TProjectCase &Case)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::CopyTree(Source, dir.path()));
    const QString res = dir.path() + "/res/";
    const QString originalDefault = Source + "/res/values/strings.xml";

    // The default files, as opening a project reads them.
    std::map<QString, std::unique_ptr<TTransResourceFileNode>> defaults; // "values/strings.xml", "menu/x.xml"
    {
        auto values = TNodePair::NewNode(false);
        ASSERT_EQ(values->LoadResFile(res + "values/strings.xml"), lrfOK);
        ASSERT_TRUE(values->Parse());
        defaults["values/strings.xml"] = std::move(values);
        QStringList menus;
        ListXmlFiles(res + "menu/", menus);
        for (const QString &menu : menus) {
            auto node = TNodePair::NewNode(true);
            ASSERT_EQ(node->LoadResFile(res + "menu/" + menu), lrfOK);
            ASSERT_TRUE(node->Parse());
            defaults["menu/" + menu] = std::move(node);
        }
    }

    int files = 0, aaptChecked = 0;
    const QStringList folders = QDir(res).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &folder : folders) {
        const bool menu = folder.startsWith("menu-");
        if (!menu && !folder.startsWith("values-"))
            continue;
        for (auto &[key, base] : defaults) {
            if (key.startsWith("menu/") != menu)
                continue;
            const QString fileName = key.mid(key.indexOf('/') + 1);
            const QString path = res + folder + "/" + fileName;
            if (!QFileInfo::exists(path))
                continue;
            SCOPED_TRACE((folder + "/" + fileName).toStdString());
            ++files;
            const QByteArray original = TestSupport::ReadFile(path);
            QString before, after;
            const bool aaptBefore = !menu && AaptAccepts(originalDefault, folder, original, before);

            auto node = OpenLanguageFile(menu, folder, path, base.get());
            ASSERT_TRUE(node);
            EXPECT_EQ(FirstDifference(original, TestSupport::ReadFile(path)), "") << "parsing changed the language file";
            const QByteArray work = TestSupport::ReadFile(node->TempWorkFileName);
            ASSERT_FALSE(work.isEmpty());
            EXPECT_EQ(XmlProblem(work), QString());

            // Every translated string the default has, with its content; the language's plurals and arrays.
            const TLoadedDoc language(original), rebuilt(work), defaultDoc(TestSupport::ReadFile(base->ResourceFileName));
            if (!menu) {
                const auto workStrings = rebuilt.Strings();
                const auto defaultStrings = defaultDoc.Strings();
                const auto languageStrings = language.Strings();
                for (auto it = languageStrings.cbegin(); it != languageStrings.cend(); ++it) {
                    const QString text = ReadContent(it.value()).Text;
                    if (text.isEmpty() || !defaultStrings.contains(it.key()))
                        continue;
                    ASSERT_TRUE(workStrings.contains(it.key())) << it.key().toStdString();
                    EXPECT_EQ(ReadContent(workStrings.value(it.key())).Text, WithEscapes(text)) << it.key().toStdString();
                }
                const auto workCollections = rebuilt.Collections();
                const auto defaultCollections = defaultDoc.Collections();
                const auto languageCollections = language.Collections();
                for (auto it = languageCollections.cbegin(); it != languageCollections.cend(); ++it) {
                    if (!defaultCollections.contains(it.key()))
                        continue;
                    ASSERT_TRUE(workCollections.contains(it.key())) << it.key().toStdString();
                    EXPECT_EQ(ElementXml(workCollections.value(it.key())), ElementXml(it.value())) << it.key().toStdString();
                }
            }

            // First save through the work and backup files, then a second one that changes nothing.
            const QHash<QString, TItemView> items = ItemsOf(*node, menu);
            ASSERT_TRUE(node->SaveFile(QString()));
            node->DeleteTempXMFile();
            EXPECT_FALSE(QFileInfo::exists(StripFileExtension(path) + ".tmp"));
            EXPECT_FALSE(QFileInfo::exists(StripFileExtension(path) + ".bck"));
            const QByteArray saved = TestSupport::ReadFile(path);
            EXPECT_EQ(XmlProblem(saved), QString());
            ASSERT_TRUE(node->SaveFile(QString()));
            EXPECT_EQ(FirstDifference(saved, TestSupport::ReadFile(path)), "") << "a second save changed the file";

            auto again = OpenLanguageFile(menu, folder, path, base.get());
            ASSERT_TRUE(again);
            const QHash<QString, TItemView> reread = ItemsOf(*again, menu);
            EXPECT_EQ(reread.size(), items.size());
            for (auto it = items.cbegin(); it != items.cend(); ++it) {
                ASSERT_TRUE(reread.contains(it.key())) << it.key().toStdString();
                EXPECT_EQ(reread.value(it.key()).Translation, menu ? it.value().Translation : WithEscapes(it.value().Translation))
                    << it.key().toStdString();
                EXPECT_EQ(reread.value(it.key()).State, it.value().State) << it.key().toStdString();
            }
            // Items now come in the default file's order, and so do the entries of the state comment.
            ASSERT_TRUE(again->SaveFile(QString()));
            again->DeleteTempXMFile();
            const QByteArray resaved = TestSupport::ReadFile(path);
            QStringList entries, reentries;
            EXPECT_EQ(FirstDifference(WithoutStateComment(saved, &entries), WithoutStateComment(resaved, &reentries)), "")
                << "saving the reread file changed it";
            // Untranslated menu items reread as the default's titles, marked to be bettered.
            for (const auto &item : node->TransItems())
                if (menu && item->FTranslatedValue.isEmpty()
                    && (item->FTranslateState == tsDontTranslate || item->FTranslateState == tsBaseNotPresent)
                    && items.contains(item->ID))
                    entries << item->ID + "=" + QString::number(int(tsNeedBetter));
            entries.sort();
            EXPECT_EQ(entries, reentries);
            ASSERT_TRUE(again->SaveFile(QString()));
            EXPECT_EQ(FirstDifference(resaved, TestSupport::ReadFile(path)), "") << "a second save of the reread file changed it";

            if (aaptBefore) {
                ++aaptChecked;
                EXPECT_TRUE(AaptAccepts(originalDefault, folder, saved, after)) << after.toStdString();
            }
        }
    }
    EXPECT_GE(files, Case.Files);
    EXPECT_GE(aaptChecked, Case.AaptChecked);
}

class RepositoryProject : public ::testing::TestWithParam<TProjectCase>
{
};

class CorpusProject : public ::testing::TestWithParam<TProjectCase>
{
};

} // namespace

TEST_P(RepositoryProject, EveryLanguageFileSurvivesLoadRebuildAndSave)
{
    QTemporaryDir sample;
    QString source = QStringLiteral(GLOSSMILL_SOURCE_DIR "/examples/VorelGlossmill_ExampleApp");
    if (QString(GetParam().Name) == "sample") {
        source = sample.path();
        ASSERT_TRUE(SampleProject::Write(source));
    }
    EveryLanguageFileSurvivesLoadRebuildAndSave(source, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Projects, RepositoryProject,
                         ::testing::Values(TProjectCase{"example", 7, 4}, TProjectCase{"sample", 62, 58}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST_P(CorpusProject, EveryLanguageFileSurvivesLoadRebuildAndSave)
{
    GLOSSMILL_REQUIRE_CORPUS();
    EveryLanguageFileSurvivesLoadRebuildAndSave(TestSupport::CorpusDir() + "/" + GetParam().Name, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Projects, CorpusProject,
                         ::testing::Values(TProjectCase{"etar", 51, 41}, TProjectCase{"fdroidclient", 51, 41}),
                         [](const auto &Info) { return std::string(Info.param.Name); });
