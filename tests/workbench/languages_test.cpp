#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeWidget>

#include <pugixml.hpp>

#include "DialogParts.h"
#include "Glossmill_ImportFilesDialog.h"
#include "Glossmill_LocaleConst.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_NewLangDialog.h"
#include "Glossmill_SelectLangDialog.h"
#include "Glossmill_types.h"
#include "ModalDriver.h"
#include "SampleProject.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

using ModalDriver::TMessageBoxRecord;

namespace {

// Every path below `folder`, relative to it, with the file contents, for "nothing else changed" checks.
QMap<QString, QByteArray> Snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(folder).relativeFilePath(path);
        files.insert(rel, it.fileInfo().isDir() ? QByteArray("<dir>") : TestSupport::ReadFile(path));
    }
    return files;
}

QStringList Keys(const QMap<QString, QByteArray> &map)
{
    return map.keys();
}

QStringList ChildTexts(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (int i = 0; node && i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList XmlFilesOf(const QString &folder)
{
    QStringList names;
    ListXmlFiles(folder + "/", names);
    names.sort();
    return names;
}

// Clicks the row `rowText` of the new-language dialog, sets its options and presses OK (or Cancel).
void AnswerNewLang(const QString &rowText, bool clone, int option, bool ok = true)
{
    ModalDriver::AnswerNextModal([=](QWidget *w) {
        auto *dialog = qobject_cast<TFormNewLang *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        const QList<QListWidgetItem *> rows = dialog->LBLanguages->findItems(rowText, Qt::MatchExactly);
        if (!rows.isEmpty())
            dialog->LBLanguages->setCurrentItem(rows.first());
        dialog->CHBIncFiles->setChecked(clone);
        dialog->RGTransOptions->setItemIndex(option);
        (ok ? dialog->bOK : dialog->BitBtn1)->click();
    });
}

// Checks the named rows of the add-files dialog, records what it offered, and presses OK.
void AnswerAddFiles(const QStringList &check, int option, QStringList *offered)
{
    ModalDriver::AnswerNextModal([=](QWidget *w) {
        auto *dialog = qobject_cast<TFormAddFiles *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        for (int i = 0; i < dialog->CHBFile->count(); ++i) {
            QListWidgetItem *row = dialog->CHBFile->item(i);
            *offered << row->text();
            if (check.contains(row->text()))
                row->setCheckState(Qt::Checked);
        }
        dialog->RGTransOptions->setItemIndex(option);
        dialog->BOK->click();
    });
}

// Runs aapt over a project made of the default values and menus and the given language folders, with a stub
// framework that declares the attributes the menus use. Returns aapt's output; `ok` tells whether it accepted.
QString RunAapt(const QString &projectRes, const QStringList &langFolders, bool &ok)
{
    ok = false;
    QTemporaryDir dir;
    const QString fw = dir.path() + "/fw", app = dir.path() + "/app";
    QStringList androidAttrs, appAttrs, drawables;
    const QRegularExpression attr(R"((android|app):([A-Za-z]+)=)"), drawable(R"(@drawable/(\w+))");
    QStringList menuFolders{"menu"};
    for (const QString &f : langFolders)
        if (f.startsWith("menu"))
            menuFolders << f;
    for (const QString &folder : menuFolders)
        for (const QString &name : XmlFilesOf(projectRes + folder)) {
            const QString text = QString::fromUtf8(TestSupport::ReadFile(projectRes + folder + "/" + name));
            for (auto m = attr.globalMatch(text); m.hasNext();) {
                const auto match = m.next();
                QStringList &list = match.captured(1) == "android" ? androidAttrs : appAttrs;
                if (!list.contains(match.captured(2)))
                    list << match.captured(2);
            }
            for (auto m = drawable.globalMatch(text); m.hasNext();) {
                const QString d = m.next().captured(1);
                if (!drawables.contains(d))
                    drawables << d;
            }
        }
    QByteArray fwValues = "<resources>\n";
    for (int i = 0; i < androidAttrs.size(); ++i)
        fwValues += QString("<attr name=\"%1\" format=\"reference|string\"/><public type=\"attr\" name=\"%1\" "
                            "id=\"0x0101%2\"/>\n")
                        .arg(androidAttrs[i])
                        .arg(i + 1, 4, 16, QChar('0'))
                        .toUtf8();
    fwValues += "</resources>\n";
    const QByteArray manifest = "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" "
                                "package=\"%1\"/>\n";
    EXPECT_TRUE(TestSupport::WriteFile(fw + "/res/values/attrs.xml", fwValues));
    EXPECT_TRUE(TestSupport::WriteFile(fw + "/AndroidManifest.xml", QString(manifest).arg("android").toUtf8()));
    QByteArray stubs = "<resources>\n";
    for (const QString &a : appAttrs)
        stubs += QString("<attr name=\"%1\" format=\"string\"/>\n").arg(a).toUtf8();
    for (const QString &d : drawables)
        stubs += QString("<drawable name=\"%1\">#ff000000</drawable>\n").arg(d).toUtf8();
    stubs += "</resources>\n";
    EXPECT_TRUE(TestSupport::WriteFile(app + "/AndroidManifest.xml", QString(manifest).arg("a.b").toUtf8()));
    // Only the XML files: an open project keeps work files beside them, which aapt would read too.
    for (const QString &folder : QStringList{"values", "menu"} + langFolders)
        for (const QString &name : XmlFilesOf(projectRes + folder))
            EXPECT_TRUE(TestSupport::WriteFile(app + "/res/" + folder + "/" + name,
                                               TestSupport::ReadFile(projectRes + folder + "/" + name)));
    EXPECT_TRUE(TestSupport::WriteFile(app + "/res/values/zz_test_stubs.xml", stubs));

    QString output;
    auto run = [&output](const QString &workDir, const QStringList &args) {
        QProcess p;
        p.setWorkingDirectory(workDir);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start("aapt", args);
        p.waitForFinished(120000);
        output += QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    if (!run(fw, {"package", "-x", "-M", "AndroidManifest.xml", "-S", "res", "-F", dir.path() + "/fw.apk"}))
        return output;
    ok = run(app, {"package", "-I", dir.path() + "/fw.apk", "-M", "AndroidManifest.xml", "-S", "res", "-F",
                   dir.path() + "/app.apk"});
    return output;
}

class LanguagesTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();
    QString Project;

    void SetUp() override
    {
        FormNewLang = new TFormNewLang(Form.get());
        FormAddFiles = new TFormAddFiles(Form.get());
    }

    // Writes the sample project and opens it.
    void OpenSample()
    {
        Project = Work.path() + "/sample";
        ASSERT_TRUE(SampleProject::Write(Project));
        Reopen();
    }
    void Reopen()
    {
        Form->CloseProject();
        Form->OpenProject(Project);
        ASSERT_FALSE(Form->PackageName.isEmpty());
    }
    QString Res() const { return Project + "/res/"; }

    QTreeWidgetItem *Language(const QString &name) const
    {
        QTreeWidgetItem *root = Form->GetRootNode();
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == name)
                return root->child(i);
        return nullptr;
    }
    // The values (0) or menu (1) group of a language.
    static QTreeWidgetItem *Group(QTreeWidgetItem *lang, tResourceType type)
    {
        for (int i = 0; lang && i < lang->childCount(); ++i)
            if (auto *g = dynamic_cast<TTransResTypeNode *>(TGlossmillMainForm::NodeData(lang->child(i))))
                if (g->ResType == type)
                    return lang->child(i);
        return nullptr;
    }
    static std::vector<TTransResourceFileNode *> Files(QTreeWidgetItem *group)
    {
        std::vector<TTransResourceFileNode *> files;
        for (int i = 0; group && i < group->childCount(); ++i)
            if (auto *f = dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(group->child(i))))
                files.push_back(f);
        return files;
    }
    // Default files of a type that have items, by name.
    QStringList DefaultsWithItems(tResourceType type) const
    {
        QStringList names;
        for (const auto &base : type == rtAndroid_menu ? Form->BaseResourceFileMenus : Form->BaseResourceFileValues)
            if (!base->TransItems().empty())
                names << base->GetTreeText();
        names.sort();
        return names;
    }
    void Select(QTreeWidgetItem *node) { Form->TVProject->setCurrentItem(node); }
    TMessageBoxRecord DeleteAnswering(QMessageBox::StandardButton button)
    {
        TMessageBoxRecord record;
        ModalDriver::AnswerNextMessageBox(button, &record);
        Form->DeleteLanguage();
        return record;
    }
};

// ---- Adding a language with its files cloned

struct CloneCase
{
    const char *name;
    int option;
    tTransState state;
    bool keepsDefaultText;
};

class AddLanguageCloneTest : public LanguagesTest, public ::testing::WithParamInterface<CloneCase>
{
};

TEST_P(AddLanguageCloneTest, WritesFilesThatReopenWithTheirStatesAndPassAapt)
{
    const CloneCase c = GetParam();
    OpenSample();
    const auto before = Snapshot(Res());
    AnswerNewLang("German (Austria) (de-rAT)", true, c.option);
    Form->AddLanguage();

    QTreeWidgetItem *lang = Language("German (Austria)");
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(Form->GetRootNode()->indexOfChild(lang), Form->GetRootNode()->childCount() - 1);
    EXPECT_EQ(Form->TVProject->currentItem(), lang);
    EXPECT_TRUE(dynamic_cast<TTransLangNode *>(TGlossmillMainForm::NodeData(lang))->FNeedSave);
    EXPECT_EQ(ChildTexts(lang), QStringList({"values", "menu"}));
    QStringList menuNames = ChildTexts(Group(lang, rtAndroid_menu));
    menuNames.sort();
    EXPECT_EQ(menuNames, DefaultsWithItems(rtAndroid_menu));
    EXPECT_EQ(ChildTexts(Group(lang, rtAndroid_values)), QStringList({"strings.xml"}));
    for (tResourceType type : {rtAndroid_values, rtAndroid_menu})
        for (TTransResourceFileNode *file : Files(Group(lang, type)))
            EXPECT_FALSE(file->NeedSave()) << file->GetTreeText().toStdString();

    // Only the two new folders appear, holding just the cloned files: no work or backup file is left.
    const auto after = Snapshot(Res());
    QStringList added;
    for (const QString &k : Keys(after))
        if (!before.contains(k))
            added << k;
    QStringList expected{"values-de-rAT", "values-de-rAT/strings.xml", "menu-de-rAT"};
    for (const QString &m : DefaultsWithItems(rtAndroid_menu))
        expected << "menu-de-rAT/" + m;
    added.sort();
    expected.sort();
    EXPECT_EQ(added, expected);
    for (const QString &k : Keys(before))
        EXPECT_EQ(after.value(k), before.value(k)) << k.toStdString();

    // Do-not-translate strings stay out of the values file.
    pugi::xml_document values;
    ASSERT_TRUE(values.load_file((Res() + "values-de-rAT/strings.xml").toUtf8().constData()));
    const int strings = int(values.document_element().select_nodes("string").size());
    if (c.keepsDefaultText)
        EXPECT_GT(strings, 100);
    else
        EXPECT_EQ(strings, 0);

    Reopen();
    lang = Language("German (Austria)");
    ASSERT_NE(lang, nullptr);
    int checked = 0;
    for (tResourceType type : {rtAndroid_values, rtAndroid_menu}) {
        const auto files = Files(Group(lang, type));
        EXPECT_EQ(int(files.size()), int(DefaultsWithItems(type).size()));
        for (TTransResourceFileNode *file : files)
            for (const auto &item : file->TransItems()) {
                if (item->FBaseValue.isEmpty())
                    continue;
                ++checked;
                // A menu item left untranslated keeps the default's title, which reads back as the default text
                // needing a better translation.
                const bool defaultTitle = type == rtAndroid_menu && !c.keepsDefaultText;
                EXPECT_EQ(item->TranslateState(), defaultTitle ? tsNeedBetter : c.state)
                    << file->GetTreeText().toStdString() << " " << item->ID.toStdString();
                EXPECT_EQ(item->TranslateValue(), c.keepsDefaultText || defaultTitle ? item->FBaseValue : QString())
                    << item->ID.toStdString();
            }
    }
    EXPECT_GT(checked, 300);

    bool ok = false;
    const QString output = RunAapt(Res(), {"values-de-rAT", "menu-de-rAT"}, ok);
    EXPECT_TRUE(ok) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Options, AddLanguageCloneTest,
                         ::testing::Values(CloneCase{"LeaveClearDoNotTranslate", 0, tsDontTranslate, false},
                                           CloneCase{"CopyDefaultNeedBetter", 1, tsNeedBetter, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LanguagesTest, AaptCheckRejectsABrokenLanguageFile)
{
    OpenSample();
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "values-xx/strings.xml",
                                       "<resources><string name=\"app_label\">it's</string></resources>"));
    bool ok = true;
    RunAapt(Res(), {"values-xx"}, ok);
    EXPECT_FALSE(ok);
}

TEST_F(LanguagesTest, FoldersOnlyForTypesWithAMissingDefaultFileThatHasItems)
{
    struct Case
    {
        const char *emptied; // default files written without items
        bool valuesFolder, menuFolder;
    } cases[] = {{"menu", true, false}, {"values", false, true}};
    for (const Case &c : cases) {
        OpenSample();
        const QString folder = Res() + c.emptied;
        for (const QString &name : XmlFilesOf(folder))
            ASSERT_TRUE(TestSupport::WriteFile(folder + "/" + name, QString("<%1/>").arg(
                                                   QString(c.emptied) == "menu" ? "menu" : "resources").toUtf8()));
        Reopen();
        AnswerNewLang("Welsh (United Kingdom) (cy-rGB)", true, 0);
        Form->AddLanguage();
        EXPECT_EQ(QFileInfo::exists(Res() + "values-cy-rGB"), c.valuesFolder) << c.emptied;
        EXPECT_EQ(QFileInfo::exists(Res() + "menu-cy-rGB"), c.menuFolder) << c.emptied;
        // Nor are such files offered later.
        QStringList missing;
        Form->GetMissingResFiles(LocaleTable(FindLocaleByValuesFolder("values-cy-rGB")),
                                 QString(c.emptied) == "menu" ? rtAndroid_menu : rtAndroid_values, missing);
        EXPECT_TRUE(missing.isEmpty()) << c.emptied;
        // Language strings that no default file has any more stay unsaved; close without saving them.
        ModalDriver::TMessageBoxAnswerer discard(QMessageBox::No, nullptr);
        Form->CloseProject();
        ASSERT_TRUE(QDir(Project).removeRecursively());
    }
}

TEST_F(LanguagesTest, WithoutCloningNothingIsWrittenAndTheLanguageIsGoneAfterReopening)
{
    OpenSample();
    const auto before = Snapshot(Project);
    AnswerNewLang("Welsh (United Kingdom) (cy-rGB)", false, 0);
    Form->AddLanguage();
    QTreeWidgetItem *lang = Language("Welsh (United Kingdom)");
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(ChildTexts(lang), QStringList({"values", "menu"}));
    EXPECT_EQ(Group(lang, rtAndroid_values)->childCount(), 0);
    EXPECT_EQ(Group(lang, rtAndroid_menu)->childCount(), 0);
    EXPECT_EQ(Snapshot(Project), before);
    Reopen();
    EXPECT_EQ(Language("Welsh (United Kingdom)"), nullptr);
}

TEST_F(LanguagesTest, CancellingTheNewLanguageDialogChangesNothing)
{
    OpenSample();
    const auto before = Snapshot(Project);
    const int languages = Form->GetRootNode()->childCount();
    AnswerNewLang("Welsh (United Kingdom) (cy-rGB)", true, 0, false);
    Form->AddLanguage();
    EXPECT_EQ(Form->GetRootNode()->childCount(), languages);
    EXPECT_EQ(Snapshot(Project), before);
}

TEST_F(LanguagesTest, MenuFolderOfALocaleWithRegion)
{
    OpenSample();
    AnswerNewLang("English (United States) (en-rUS)", true, 1);
    Form->AddLanguage();
    EXPECT_FALSE(XmlFilesOf(Res() + "menu-en-rUS").isEmpty());
    EXPECT_TRUE(QFileInfo(Res() + "values-en-rUS/strings.xml").isFile());
}

// ---- Files a language already has

TEST_F(LanguagesTest, AFileInTheLanguageFolderUnderAnyCaseIsNeverListedOrOverwritten)
{
    OpenSample();
    const QByteArray mine = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\"/>\n";
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "menu-de/Calendar_View.XML", mine));
    Reopen();
    TLocaleDesc german = LocaleTable(FindLocaleByValuesFolder("values-de"));
    QStringList missing;
    Form->GetMissingResFiles(german, rtAndroid_menu, missing);
    EXPECT_FALSE(missing.contains("calendar_view.xml", Qt::CaseInsensitive));
    EXPECT_TRUE(missing.contains("search_title_bar.xml"));
    // The list is appended to, not emptied.
    QStringList appended{"keep"};
    Form->GetMissingResFiles(german, rtAndroid_values, appended);
    EXPECT_EQ(appended, QStringList{"keep"});

    EXPECT_EQ(Form->CreateResFileFromBase("calendar_view.xml", german, rtAndroid_menu, tsDontTranslate, true),
              nullptr);
    EXPECT_EQ(XmlFilesOf(Res() + "menu-de"), QStringList{"Calendar_View.XML"});
    EXPECT_EQ(TestSupport::ReadFile(Res() + "menu-de/Calendar_View.XML"), mine);
    // Nor is strings.xml, which German has.
    EXPECT_EQ(Form->CreateResFileFromBase("strings.xml", german, rtAndroid_values, tsDontTranslate, true), nullptr);
    EXPECT_EQ(TestSupport::ReadFile(Res() + "values-de/strings.xml"),
              SampleProject::Files().value("res/values-de/strings.xml"));
}

TEST_F(LanguagesTest, CreateResFileFromBaseMakesOneFolderLevelOnly)
{
    OpenSample();
    const TLocaleDesc italian = LocaleTable(FindLocaleByValuesFolder("values-it-rCH"));
    ASSERT_TRUE(QDir(Res()).removeRecursively());
    EXPECT_EQ(Form->CreateResFileFromBase("strings.xml", italian, rtAndroid_values, tsDontTranslate, true),
              nullptr);
    EXPECT_FALSE(QFileInfo::exists(Res()));
}

TEST_F(LanguagesTest, CreateResFileFromBaseRefusesNamesAndRecordsThatLeaveTheResFolder)
{
    OpenSample();
    const auto before = Snapshot(Project);
    TLocaleDesc bad = LocaleTable(FindLocaleByValuesFolder("values-it-rCH"));
    bad.ValuesFolderName = "values-../../x";
    EXPECT_EQ(Form->CreateResFileFromBase("strings.xml", bad, rtAndroid_values, tsDontTranslate, true), nullptr);
    const TLocaleDesc italian = LocaleTable(FindLocaleByValuesFolder("values-it-rCH"));
    EXPECT_EQ(Form->CreateResFileFromBase("../values/strings.xml", italian, rtAndroid_values, tsDontTranslate, true),
              nullptr);
    EXPECT_EQ(Snapshot(Project), before);
}

// ---- The Add Resource commands

TEST_F(LanguagesTest, AddResourceIsEnabledOnlyForATypeNodeWhoseLanguageLacksADefaultFile)
{
    OpenSample();
    QTreeWidgetItem *german = Language("German");
    ASSERT_NE(german, nullptr);
    QTreeWidgetItem *values = Group(german, rtAndroid_values);
    QTreeWidgetItem *menu = Group(german, rtAndroid_menu);
    ASSERT_GT(values->childCount(), 0);

    struct Case
    {
        const char *what;
        QTreeWidgetItem *node;
        bool enabled;
    } cases[] = {
        {"root", Form->GetRootNode(), false},
        {"language", german, false},
        {"values group with strings.xml", values, false},
        {"menu group lacking every menu", menu, true},
        {"file node", values->child(0), false},
    };
    for (const Case &c : cases) {
        Select(c.node);
        EXPECT_EQ(Form->BAddResFile2->isEnabled(), c.enabled) << c.what;
        EXPECT_EQ(Form->PMAddResource->isEnabled(), c.enabled) << c.what;
        EXPECT_EQ(Form->AddResourceFiles(false), c.enabled) << c.what;
    }

    // Adding two of the missing menus through the dialog: the rest stay on offer.
    Select(menu);
    QStringList offered;
    AnswerAddFiles({"calendar_view.xml", "search_title_bar.xml"}, 1, &offered);
    EXPECT_TRUE(Form->AddResourceFiles(true));
    offered.sort();
    EXPECT_EQ(offered, DefaultsWithItems(rtAndroid_menu));
    QStringList added = ChildTexts(menu);
    added.sort();
    EXPECT_EQ(added, QStringList({"calendar_view.xml", "search_title_bar.xml"}));
    for (TTransResourceFileNode *file : Files(menu)) {
        EXPECT_EQ(file->ResourceFileName, Res() + "menu-de/" + file->GetTreeText());
        for (const auto &item : file->TransItems())
            EXPECT_EQ(item->TranslateState(), tsNeedBetter);
    }
    Select(menu);
    EXPECT_TRUE(Form->BAddResFile2->isEnabled());

    offered.clear();
    QStringList rest = DefaultsWithItems(rtAndroid_menu);
    rest.removeAll("calendar_view.xml");
    rest.removeAll("search_title_bar.xml");
    AnswerAddFiles(rest, 0, &offered);
    Form->PMAddResourceClick();
    offered.sort();
    EXPECT_EQ(offered, rest);
    Select(menu);
    EXPECT_FALSE(Form->BAddResFile2->isEnabled());
    EXPECT_FALSE(Form->AddResourceFiles(false));
}

TEST_F(LanguagesTest, CancellingTheAddFilesDialogChangesNothing)
{
    OpenSample();
    QTreeWidgetItem *menu = Group(Language("German"), rtAndroid_menu);
    Select(menu);
    const auto before = Snapshot(Project);
    ModalDriver::AnswerNextModal([](QWidget *w) {
        auto *dialog = qobject_cast<TFormAddFiles *>(w);
        dialog->CHBFile->item(0)->setCheckState(Qt::Checked);
        dialog->BitBtn2->click();
    });
    EXPECT_TRUE(Form->AddResourceFiles(true));
    EXPECT_EQ(menu->childCount(), 0);
    EXPECT_EQ(Snapshot(Project), before);
}

// ---- Deleting a language

TEST_F(LanguagesTest, DeleteAsksAndRemovesExactlyTheLanguagesTwoFoldersAndItsBranch)
{
    OpenSample();
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "menu-de/calendar_view.xml",
                                       TestSupport::ReadFile(Res() + "menu/calendar_view.xml")));
    // Neighbours that merely look alike stay.
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "values-de-rAT/strings.xml", "<resources/>"));
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "values-del/strings.xml", "<resources/>"));
    ASSERT_TRUE(TestSupport::WriteFile(Res() + "values-de.xml", "<resources/>"));
    Reopen();
    QTreeWidgetItem *german = Language("German");
    ASSERT_NE(german, nullptr);
    const int languages = Form->GetRootNode()->childCount();

    for (auto button : {QMessageBox::No, QMessageBox::Cancel}) {
        Select(german);
        const TMessageBoxRecord record = DeleteAnswering(button);
        EXPECT_TRUE(record.shown);
        EXPECT_EQ(Language("German"), german);
        EXPECT_TRUE(QFileInfo(Res() + "values-de").isDir());
    }

    auto before = Snapshot(Res());
    Select(german);
    ASSERT_TRUE(Form->PMDeleteLanguage->isEnabled());
    const TMessageBoxRecord record = DeleteAnswering(QMessageBox::Yes);
    EXPECT_EQ(record.title, "Delete Language");
    EXPECT_EQ(record.text, "Are You sure to delete resource folders include resource files for language German");
    EXPECT_EQ(record.icon, QMessageBox::Question);
    EXPECT_EQ(record.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    EXPECT_EQ(Language("German"), nullptr);
    EXPECT_EQ(Form->GetRootNode()->childCount(), languages - 1);
    const auto after = Snapshot(Res());
    for (auto it = before.begin(); it != before.end(); ++it) {
        const bool ownFolder = it.key() == "values-de" || it.key().startsWith("values-de/") ||
                               it.key() == "menu-de" || it.key().startsWith("menu-de/");
        EXPECT_EQ(after.contains(it.key()), !ownFolder) << it.key().toStdString();
        if (!ownFolder)
            EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    }
    Reopen();
    EXPECT_EQ(Language("German"), nullptr);
}

TEST_F(LanguagesTest, DeletingALanguageWhoseFoldersNeverExistedRemovesOnlyItsBranch)
{
    OpenSample();
    const auto before = Snapshot(Project);
    AnswerNewLang("Welsh (United Kingdom) (cy-rGB)", false, 0);
    Form->AddLanguage();
    ASSERT_NE(Language("Welsh (United Kingdom)"), nullptr);
    Select(Language("Welsh (United Kingdom)"));
    ModalDriver::AnswerNextMessageBox(QMessageBox::Yes);
    Form->BLangDeleteOnTab->click();
    EXPECT_EQ(Language("Welsh (United Kingdom)"), nullptr);
    EXPECT_EQ(Snapshot(Project), before);
    EXPECT_EQ(Form->TVProject->currentItem(), Form->GetRootNode());
}

TEST_F(LanguagesTest, DeletingTheOnlyLanguageShowsTheWelcomePageAgain)
{
    Project = Work.path() + "/one";
    ASSERT_TRUE(TestSupport::WriteFile(Project + "/AndroidManifest.xml", "<manifest package=\"a.b\"/>"));
    ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/values/strings.xml",
                                       "<resources><string name=\"a\">A</string></resources>"));
    ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/values-de/strings.xml",
                                       "<resources><string name=\"a\">Ah</string></resources>"));
    Reopen();
    ASSERT_EQ(Form->GetRootNode()->childCount(), 1);
    Select(Language("German"));
    ASSERT_EQ(Form->MainPG->currentWidget(), Form->TBLangNode);
    DeleteAnswering(QMessageBox::Yes);
    EXPECT_EQ(Form->GetRootNode()->childCount(), 0);
    EXPECT_EQ(Form->TVProject->currentItem(), Form->GetRootNode());
    EXPECT_EQ(Form->MainPG->currentWidget(), Form->TBRoot);
    EXPECT_FALSE(Form->PMDeleteLanguage->isEnabled());
    EXPECT_TRUE(Form->BWellAddLang->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(Project + "/res/values-de"));
    EXPECT_TRUE(QFileInfo(Project + "/res/values/strings.xml").isFile());
}

TEST_F(LanguagesTest, DeletingAMalformedLanguageRecordTouchesNoFolder)
{
    OpenSample();
    const auto before = Snapshot(Project);
    // Records that name no table row: empty, the default folders, a climb out of res.
    for (const char *folder : {"", "values", "values-", "values-../..", "..", "values-de/../../res"}) {
        auto *lang = new TTransLangNode;
        lang->LocaleDesc.LocaleName = "Broken";
        lang->LocaleDesc.ValuesFolderName = folder;
        auto *node = new QTreeWidgetItem(Form->GetRootNode(), QStringList("Broken"));
        SetTreeItemNode(node, lang);
        Select(node);
        DeleteAnswering(QMessageBox::Yes);
        EXPECT_EQ(Language("Broken"), nullptr) << folder;
        EXPECT_EQ(Snapshot(Project), before) << folder;
    }
}

TEST_F(LanguagesTest, DeletingALanguageFolderThatIsALinkKeepsWhatItPointsAt)
{
    OpenSample();
    QTemporaryDir outside;
    ASSERT_TRUE(TestSupport::WriteFile(outside.path() + "/strings.xml", "<resources/>"));
    ASSERT_TRUE(QDir(Res() + "values-de").removeRecursively());
    ASSERT_TRUE(QFile::link(outside.path(), Res() + "values-de"));
    QList<ModalDriver::TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
        Reopen();
    }
    // The file's work file would be written out there: the file is refused, and nothing is written.
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Resource File Error"));
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"strings.xml"});
    Select(Language("German"));
    DeleteAnswering(QMessageBox::Yes);
    EXPECT_FALSE(QFileInfo::exists(Res() + "values-de"));
    EXPECT_TRUE(QFileInfo(outside.path() + "/strings.xml").isFile());
}

// ---- Which languages are offered

TEST_F(LanguagesTest, LangExistsComparesCodeAndVariantExactly)
{
    OpenSample();
    TLocaleDesc d;
    struct Case
    {
        const char *code, *variant;
        bool exists;
    } cases[] = {
        {"de", "", true}, {"DE", "", false}, {"de", "AT", false}, {"pt", "BR", true}, {"pt", "br", false},
        {"sr", "", true}, {"xx", "", false},
    };
    for (const Case &c : cases) {
        d.LocaleCode = c.code;
        d.LocaleVariant = c.variant;
        EXPECT_EQ(Form->LangExists(d), c.exists) << c.code << "-" << c.variant;
    }
}

TEST_F(LanguagesTest, OnceSerbianIsInTheProjectNeitherScriptVariantIsOffered)
{
    OpenSample();
    ASSERT_NE(Language("Serbian"), nullptr);
    FormNewLang->FillList();
    QStringList rows;
    for (int i = 0; i < FormNewLang->LBLanguages->count(); ++i)
        rows << FormNewLang->LBLanguages->item(i)->text();
    for (const char *gone : {"Serbian (sr)", "Serbian (Cyrillic) (sr-r_#Cyrl)", "Serbian (Latin) (sr-r_#Latn)",
                             "German (de)"})
        EXPECT_FALSE(rows.contains(gone)) << gone;
    for (const char *kept : {"Serbian (Latin,Serbia) (sr-rRS_#Latn)", "German (Austria) (de-rAT)"})
        EXPECT_TRUE(rows.contains(kept)) << kept;
    EXPECT_FALSE(FormNewLang->bOK->isEnabled());
}

TEST_F(LanguagesTest, TheSelectLocaleListKeepsEveryLocaleWhateverProjectIsOpen)
{
    TFormSelectLang select(Form.get());
    OpenSample();
    EXPECT_EQ(select.LBLanguages->count(), 627);
    select.PresetLocaleCode("de");
    EXPECT_EQ(select.GetLocaleCode(""), "de-AT");
}

TEST_F(LanguagesTest, AddLanguageIsEnabledAtTheRootOfAnOpenProjectOnly)
{
    Select(Form->GetRootNode());
    EXPECT_FALSE(Form->BWellAddLang->isEnabled());
    EXPECT_FALSE(Form->PMAddLanguage->isEnabled());
    OpenSample();
    Select(Form->GetRootNode());
    EXPECT_TRUE(Form->BWellAddLang->isEnabled());
    EXPECT_TRUE(Form->PMAddLanguage->isEnabled());
    EXPECT_FALSE(Form->PMDeleteLanguage->isEnabled());
    AnswerNewLang("Welsh (United Kingdom) (cy-rGB)", false, 0);
    Form->BWellAddLang->click();
    EXPECT_EQ(Form->TVProject->currentItem(), Language("Welsh (United Kingdom)"));
    EXPECT_FALSE(Form->BWellAddLang->isEnabled());
    EXPECT_TRUE(Form->PMDeleteLanguage->isEnabled());
    EXPECT_TRUE(Form->BLangDeleteOnTab->isEnabled());
}

// ---- Language folders in Android's own spellings

// A project of one default string and one default menu, with the given language folders, each holding strings.xml
// with the string translated as "<folder>" (so a file tells which folder it was read from).
class LocaleFoldersTest : public LanguagesTest
{
protected:
    void MakeProject(const QStringList &langFolders)
    {
        Project = Work.path() + "/tiny";
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/AndroidManifest.xml", "<manifest package=\"a.b\"/>"));
        ASSERT_TRUE(TestSupport::WriteFile(Res() + "values/strings.xml",
                                           "<resources><string name=\"a\">A</string></resources>\n"));
        ASSERT_TRUE(TestSupport::WriteFile(Res() + "menu/main.xml", Menu("Menu")));
        for (const QString &folder : langFolders) {
            const bool menu = folder.startsWith("menu");
            const QByteArray strings = "<resources><string name=\"a\">" + folder.toUtf8() + "</string></resources>\n";
            ASSERT_TRUE(TestSupport::WriteFile(Res() + folder + (menu ? "/main.xml" : "/strings.xml"),
                                               menu ? Menu(folder) : strings));
        }
        Reopen();
    }
    static QByteArray Menu(const QString &title)
    {
        return "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\"><item android:id=\"@+id/m\" "
               "android:title=\"" + title.toUtf8() + "\"/></menu>\n";
    }
    TTransLangNode *LangOf(QTreeWidgetItem *item) const
    {
        return dynamic_cast<TTransLangNode *>(TGlossmillMainForm::NodeData(item));
    }
    static QStringList FilePaths(QTreeWidgetItem *lang)
    {
        QStringList paths;
        for (tResourceType type : {rtAndroid_values, rtAndroid_menu})
            for (TTransResourceFileNode *file : Files(Group(lang, type)))
                paths << file->ResourceFileName;
        return paths;
    }
    QStringList LanguageFolders() const
    {
        QStringList folders;
        for (const QString &f : QDir(Res()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (f != "values" && f != "menu")
                folders << f;
        return folders;
    }
    void ExpectAaptBuilds()
    {
        bool ok = false;
        const QString output = RunAapt(Res(), LanguageFolders(), ok);
        EXPECT_TRUE(ok) << output.toStdString();
    }
    void SkipWithoutAapt()
    {
        if (QStandardPaths::findExecutable("aapt").isEmpty())
            GTEST_SKIP() << "aapt is not installed";
    }
};

struct MadeFoldersCase
{
    const char *name;
    const char *row;     // the new-language dialog's row
    const char *values;  // the folders it makes
    const char *menu;
};

class AddScriptLanguageTest : public LocaleFoldersTest, public ::testing::WithParamInterface<MadeFoldersCase>
{
};

// A row with a script, the POSIX variant or a numeric region gets folders that aapt builds, found again on reopening.
TEST_P(AddScriptLanguageTest, MakesFoldersAaptBuildsAndFindsThemAgain)
{
    const MadeFoldersCase c = GetParam();
    MakeProject({});
    AnswerNewLang(QString::fromUtf8(c.row), true, 1);
    Form->AddLanguage();
    EXPECT_EQ(LanguageFolders(), (QStringList{c.menu, c.values}));
    QTreeWidgetItem *lang = Form->GetRootNode()->child(0);
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(FilePaths(lang), (QStringList{Res() + c.values + "/strings.xml", Res() + c.menu + "/main.xml"}));
    Select(lang);
    EXPECT_EQ(Form->LBValuesFolderName->text(), Res() + c.values);
    EXPECT_EQ(Form->LBMenuFolderName->text(), Res() + c.menu);

    Reopen();
    ASSERT_EQ(Form->GetRootNode()->childCount(), 1);
    lang = Form->GetRootNode()->child(0);
    EXPECT_EQ(lang->text(0) + " (" + LangOf(lang)->LocaleDesc.ValuesFolderName.mid(7) + ")", QString::fromUtf8(c.row));
    EXPECT_EQ(FilePaths(lang), (QStringList{Res() + c.values + "/strings.xml", Res() + c.menu + "/main.xml"}));
    SkipWithoutAapt();
    ExpectAaptBuilds();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddScriptLanguageTest,
    ::testing::Values(
        MadeFoldersCase{"ScriptAndRegion", "Chinese (Simplified Han,China) (zh-rCN_#Hans)", "values-b+zh+Hans+CN",
                        "menu-b+zh+Hans+CN"},
        MadeFoldersCase{"ScriptWithoutRegion", "Serbian (Latin) (sr-r_#Latn)", "values-b+sr+Latn", "menu-b+sr+Latn"},
        MadeFoldersCase{"Posix", "English (United States,Computer) (en-rUS_POSIX)", "values-b+en+US+posix",
                        "menu-b+en+US+posix"},
        MadeFoldersCase{"NumericRegion", "Spanish (Latin America) (es-r419)", "values-b+es+419", "menu-b+es+419"},
        MadeFoldersCase{"PlainRegion", "Portuguese (Brazil) (pt-rBR)", "values-pt-rBR", "menu-pt-rBR"}),
    [](const auto &info) { return std::string(info.param.name); });

// Folders in the spellings real projects use are their rows' languages, each once, read and saved where they are.
TEST_F(LocaleFoldersTest, RealSpellingsShowTheirLanguagesOnceAndSaveInTheSameFolders)
{
    MakeProject({"values-zh-rCN", "values-zh-rTW", "values-he", "values-b+sr+Latn", "values-iw", "menu-he",
                 "values-ast", "values-night", "values-v29", "values-zh-rCN-night", "values-ZH-RHK"});
    EXPECT_EQ(ChildTexts(Form->GetRootNode()),
              (QStringList{"Hebrew", "Serbian (Latin)", "Chinese (Simplified Han,China)",
                           "Chinese (Traditional Han,Hong Kong)", "Chinese (Traditional Han,Taiwan)"}));
    const std::pair<const char *, QStringList> files[] = {
        // the table's own spelling wins over the other code; the menu has only the one folder
        {"Hebrew", {"values-iw/strings.xml", "menu-he/main.xml"}},
        {"Serbian (Latin)", {"values-b+sr+Latn/strings.xml"}},
        {"Chinese (Simplified Han,China)", {"values-zh-rCN/strings.xml"}},
        {"Chinese (Traditional Han,Hong Kong)", {"values-ZH-RHK/strings.xml"}},
        {"Chinese (Traditional Han,Taiwan)", {"values-zh-rTW/strings.xml"}},
    };
    // The work files that opening wrote go at the save.
    auto before = Snapshot(Res());
    before.removeIf([](const auto &entry) { return entry.key().endsWith(".tmp"); });
    for (const auto &[name, paths] : files) {
        QTreeWidgetItem *lang = Language(name);
        ASSERT_NE(lang, nullptr) << name;
        QStringList expected;
        for (const QString &p : paths)
            expected << Res() + p;
        EXPECT_EQ(FilePaths(lang), expected) << name;
        for (tResourceType type : {rtAndroid_values, rtAndroid_menu})
            for (TTransResourceFileNode *file : Files(Group(lang, type))) {
                const QString folder = QFileInfo(file->ResourceFileName).dir().dirName();
                EXPECT_EQ(file->TransItems().front()->TranslateValue(), folder);
                file->TransItems().front()->setTranslateValue(folder + " saved");
            }
    }
    ASSERT_TRUE(Form->SaveAll());

    // Every file went back to its own folder; nothing else was written.
    const auto after = Snapshot(Res());
    EXPECT_EQ(Keys(after), Keys(before));
    for (const QString &k : Keys(before)) {
        const bool shown = k == "values-iw/strings.xml" || k == "menu-he/main.xml" ||
                           k == "values-b+sr+Latn/strings.xml" || k == "values-zh-rCN/strings.xml" ||
                           k == "values-ZH-RHK/strings.xml" || k == "values-zh-rTW/strings.xml";
        if (shown)
            EXPECT_TRUE(after.value(k).contains(QFileInfo(k).dir().path().toUtf8() + " saved")) << k.toStdString();
        else
            EXPECT_EQ(after.value(k), before.value(k)) << k.toStdString();
    }
    Reopen();
    EXPECT_EQ(FilePaths(Language("Chinese (Simplified Han,China)")), QStringList{Res() + "values-zh-rCN/strings.xml"});
    SkipWithoutAapt();
    ExpectAaptBuilds();
}

// The Android spelling of a language and the form Glossmill makes are one language; the table's spelling leads.
TEST_F(LocaleFoldersTest, OfTwoFoldersOfOneLanguageTheBestSpelledIsUsed)
{
    struct Case
    {
        QStringList folders;
        const char *language, *used;
    } cases[] = {
        {{"values-zh-rCN", "values-b+zh+Hans+CN"}, "Chinese (Simplified Han,China)", "values-b+zh+Hans+CN"},
        {{"values-b+zh+Hans+CN", "values-zh-rCN_#Hans"}, "Chinese (Simplified Han,China)", "values-zh-rCN_#Hans"},
        {{"values-he", "values-b+iw"}, "Hebrew", "values-b+iw"},
        {{"values-in", "values-id"}, "Indonesian", "values-in"},
    };
    for (const Case &c : cases) {
        MakeProject(c.folders);
        EXPECT_EQ(ChildTexts(Form->GetRootNode()), QStringList{c.language}) << c.used;
        EXPECT_EQ(FilePaths(Form->GetRootNode()->child(0)), QStringList{Res() + c.used + "/strings.xml"});
        Form->CloseProject();
        ASSERT_TRUE(QDir(Project).removeRecursively());
    }
}

// A language found in an Android spelling is not offered again, and its missing files go into its own folder, or
// into one of the same spelling for the other type.
TEST_F(LocaleFoldersTest, ALanguageFoundInAnotherSpellingExistsAndTakesItsFilesWhereItIs)
{
    MakeProject({"values-he", "menu-zh-rCN", "values-b+sr+Latn"});
    ASSERT_TRUE(QFile::remove(Res() + "values-b+sr+Latn/strings.xml"));
    Reopen();
    FormNewLang->FillList();
    QStringList rows;
    for (int i = 0; i < FormNewLang->LBLanguages->count(); ++i)
        rows << FormNewLang->LBLanguages->item(i)->text();
    for (const char *folder : {"values-iw", "values-zh-rCN_#Hans", "values-sr-r_#Latn"}) {
        const TLocaleDesc &row = LocaleTable(FindLocaleByValuesFolder(folder));
        EXPECT_TRUE(Form->LangExists(row)) << folder;
        EXPECT_FALSE(rows.contains(row.LocaleName + " (" + row.ValuesFolderName.mid(7) + ")")) << folder;
    }
    EXPECT_TRUE(rows.contains("Chinese (Traditional Han,Taiwan) (zh-rTW_#Hant)"));

    const std::pair<const char *, QStringList> cases[] = {
        {"Hebrew", {"values-he/strings.xml", "menu-he/main.xml"}},
        {"Chinese (Simplified Han,China)", {"values-zh-rCN/strings.xml", "menu-zh-rCN/main.xml"}},
        {"Serbian (Latin)", {"values-b+sr+Latn/strings.xml", "menu-b+sr+Latn/main.xml"}},
    };
    for (const auto &[name, paths] : cases) {
        QTreeWidgetItem *lang = Language(name);
        ASSERT_NE(lang, nullptr) << name;
        for (tResourceType type : {rtAndroid_values, rtAndroid_menu}) {
            Select(Group(lang, type));
            if (!Form->AddResourceFiles(false))
                continue;
            QStringList offered;
            AnswerAddFiles({"strings.xml", "main.xml"}, 0, &offered);
            EXPECT_TRUE(Form->AddResourceFiles(true)) << name;
        }
        QStringList expected;
        for (const QString &p : paths)
            expected << Res() + p;
        EXPECT_EQ(FilePaths(lang), expected) << name;
    }
    EXPECT_EQ(LanguageFolders(), (QStringList{"menu-b+sr+Latn", "menu-he", "menu-zh-rCN", "values-b+sr+Latn",
                                              "values-he", "values-zh-rCN"}));
    Reopen();
    for (const auto &[name, paths] : cases)
        EXPECT_EQ(FilePaths(Language(name)).size(), paths.size()) << name;
    SkipWithoutAapt();
    ExpectAaptBuilds();
}

// Deleting a language removes every folder of its row, also one that the tree does not show.
TEST_F(LocaleFoldersTest, DeleteRemovesEveryFolderOfTheLanguage)
{
    MakeProject({"values-he", "values-iw", "menu-he", "values-iw-rIL", "values-zh-rCN", "values-b+zh+Hans+CN",
                 "values-zh-rTW"});
    const auto before = Snapshot(Res());
    for (const char *name : {"Hebrew", "Chinese (Simplified Han,China)"}) {
        Select(Language(name));
        DeleteAnswering(QMessageBox::Yes);
        EXPECT_EQ(Language(name), nullptr);
    }
    EXPECT_EQ(LanguageFolders(), (QStringList{"values-iw-rIL", "values-zh-rTW"}));
    for (const QString &k : Keys(Snapshot(Res())))
        EXPECT_EQ(Snapshot(Res()).value(k), before.value(k)) << k.toStdString();
    Reopen();
    EXPECT_EQ(ChildTexts(Form->GetRootNode()), (QStringList{"Hebrew (Israel)", "Chinese (Traditional Han,Taiwan)"}));
}

} // namespace
