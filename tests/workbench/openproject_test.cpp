#include <gtest/gtest.h>

#include <QAction>
#include <QCommandLinkButton>
#include <QPushButton>
#include <QDirIterator>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_types.h"
#include "ModalDriver.h"
#include "SampleProject.h"
#include "TIniFile.h"
#include "TTranslateItem.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

using ModalDriver::TMessageBoxRecord;

namespace {

QStringList ChildTexts(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QTreeWidgetItem *Child(QTreeWidgetItem *node, const QString &text)
{
    for (int i = 0; node && i < node->childCount(); ++i)
        if (node->child(i)->text(0) == text)
            return node->child(i);
    return nullptr;
}

QStringList VisibleTabs(const QTabWidget *pg)
{
    QStringList tabs;
    for (int i = 0; i < pg->count(); ++i)
        if (pg->isTabVisible(i))
            tabs << pg->tabText(i);
    return tabs;
}

// Files that opening left behind in the project: work and backup files.
QStringList LeftOvers(const QString &project)
{
    QStringList found;
    QDirIterator it(project, {"*.tmp", "*.bck"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

class OpenProjectTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();

    // A copy of the corpus project of that name.
    QString CopyOf(const QString &corpus)
    {
        const QString to = Work.path() + "/" + corpus;
        EXPECT_TRUE(TestSupport::CopyTree(TestSupport::CorpusDir() + "/" + corpus, to));
        return to;
    }
    // The sample project, written anew under `name`.
    QString Sample(const QString &name = QStringLiteral("sample"))
    {
        const QString to = Work.path() + "/" + name;
        EXPECT_TRUE(SampleProject::Write(to));
        return to;
    }
    // A second project of another package: the example that comes with the program.
    QString Example()
    {
        const QString to = Work.path() + "/example";
        EXPECT_TRUE(TestSupport::CopyTree(QStringLiteral(GLOSSMILL_SOURCE_DIR "/examples/VorelGlossmill_ExampleApp"), to));
        return to;
    }
    QString Write(const QString &project, const QString &file, const QByteArray &content)
    {
        EXPECT_TRUE(TestSupport::WriteFile(project + "/" + file, content));
        return project + "/" + file;
    }
    QList<TMessageBoxRecord> OpenCollectingBoxes(const QString &folder)
    {
        QList<TMessageBoxRecord> boxes;
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
        Form->OpenProject(folder);
        return boxes;
    }
    QTreeWidgetItem *Root() const { return Form->GetRootNode(); }
    QTreeWidgetItem *Language(const QString &name) const { return Child(Root(), name); }

    // A small project: the manifest, then each file as a strings file or, in a menu folder, a menu file.
    void WriteSmallProject(const QString &project, const QStringList &files)
    {
        Write(project, "AndroidManifest.xml", "<manifest package=\"com.example.small\"/>");
        for (const QString &f : files)
            Write(project, f,
                  f.contains("menu") ? "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">"
                                       "<item android:id=\"@+id/a\" android:title=\"Open\"/></menu>"
                                     : "<resources><string name=\"hello\">Hello</string></resources>");
    }
    // Exactly the one box that tells of a resource file that could not be read.
    static void ExpectResourceFileError(const QList<TMessageBoxRecord> &boxes, const QString &path)
    {
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Resource File Error"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("Can't parse/open/recreate file ") + path);
        EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
        EXPECT_EQ(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    // Each language as "name: values files | menu files", with "-" for a missing group.
    QStringList TreeSummary() const
    {
        QStringList tree;
        for (int i = 0; i < Root()->childCount(); ++i) {
            QTreeWidgetItem *lang = Root()->child(i);
            QTreeWidgetItem *values = Child(lang, "values");
            QTreeWidgetItem *menus = Child(lang, "menu");
            tree << lang->text(0) + ": " + (values ? ChildTexts(values).join(",") : "-") + " | " +
                        (menus ? ChildTexts(menus).join(",") : "-");
        }
        return tree;
    }
};

// The languages opening must show, by the rule: a qualifier after "values-" or "menu-" that names a row of the
// locale table as Android reads it, each row once, in ascending order of the row's own qualifier.
QStringList ExpectedLanguages(const QString &res)
{
    QStringList qualifiers;
    for (const QString &folder : QDir(res).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const int dash = folder.indexOf('-');
        const QString kind = folder.left(dash).toLower();
        if (dash < 0 || (kind != "values" && kind != "menu"))
            continue;
        const int row = FindLocaleByQualifier(folder.mid(dash + 1));
        const QString q = LocaleTable(row).ValuesFolderName.mid(7).toLower();
        if (row > 0 && !qualifiers.contains(q))
            qualifiers << q;
    }
    std::sort(qualifiers.begin(), qualifiers.end());
    QStringList names;
    for (const QString &q : qualifiers)
        names << LocaleTable(FindLocaleByValuesFolder("values-" + q)).LocaleName;
    return names;
}

struct TProjectCase
{
    const char *project;
    const char *package;
    QStringList present;  // languages that must be there
    QStringList absentFolders; // language-looking folders that make no language
};

void PrintTo(const TProjectCase &c, std::ostream *os)
{
    *os << c.project;
}

class ProjectOpen : public OpenProjectTest, public ::testing::WithParamInterface<TProjectCase>
{
protected:
    void TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles(const QString &project);
};

void ProjectOpen::TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles(const QString &project)
{
    const TProjectCase &c = GetParam();
    const QList<TMessageBoxRecord> boxes = OpenCollectingBoxes(project);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.value(0).text.toStdString();
    ASSERT_EQ(Form->PackageName, QString::fromLatin1(c.package));
    EXPECT_EQ(Root()->text(0), QStringLiteral("Localization of ") + c.package);
    EXPECT_EQ(TreeItemImageIndex(Root()), 0);

    QStringList languages = ChildTexts(Root());
    EXPECT_EQ(languages, ExpectedLanguages(project + "/res"));
    for (const QString &name : c.present)
        EXPECT_TRUE(languages.contains(name)) << name.toStdString();
    for (const QString &folder : c.absentFolders) {
        ASSERT_TRUE(QDir(project + "/res/" + folder).exists()) << folder.toStdString();
        const QString asValues = "values-" + folder.mid(folder.indexOf('-') + 1);
        for (int i = 0; i < Root()->childCount(); ++i)
            EXPECT_NE(dynamic_cast<TTransLangNode *>(NodeOfTreeItem(Root()->child(i)))->LocaleDesc.ValuesFolderName.toLower(),
                      asValues.toLower())
                << folder.toStdString();
    }
    EXPECT_EQ(languages.size(), QSet<QString>(languages.begin(), languages.end()).size()) << "each language once";

    for (int i = 0; i < Root()->childCount(); ++i) {
        QTreeWidgetItem *lang = Root()->child(i);
        auto *langNode = dynamic_cast<TTransLangNode *>(NodeOfTreeItem(lang));
        ASSERT_NE(langNode, nullptr);
        EXPECT_EQ(TreeItemImageIndex(lang), 1);
        ASSERT_EQ(ChildTexts(lang), (QStringList{"values", "menu"})) << lang->text(0).toStdString();
        EXPECT_EQ(TreeItemImageIndex(lang->child(0)), 2);
        EXPECT_EQ(TreeItemImageIndex(lang->child(1)), 3);
        const QString valuesFolder = project + "/res/" + langNode->ValuesFolder;
        const bool hasStrings = !langNode->ValuesFolder.isEmpty() && QFile::exists(valuesFolder + "/strings.xml");
        const QStringList expectedFiles = hasStrings ? QStringList{"strings.xml"} : QStringList{};
        EXPECT_EQ(ChildTexts(lang->child(0)), expectedFiles) << lang->text(0).toStdString();
        for (int f = 0; f < lang->child(0)->childCount(); ++f) {
            auto *file = dynamic_cast<TTransResourceFileNode_Value *>(NodeOfTreeItem(lang->child(0)->child(f)));
            ASSERT_NE(file, nullptr);
            EXPECT_EQ(file->ResourceFileName, valuesFolder + "/strings.xml");
            EXPECT_EQ(file->LocaleDesc.ValuesFolderName, langNode->LocaleDesc.ValuesFolderName);
            EXPECT_EQ(file->BaseTemplate(), Form->BaseResourceFileValues.front().get());
            EXPECT_EQ(file->LV, Form->LV);
            EXPECT_EQ(TreeItemImageIndex(lang->child(0)->child(f)), 4);
        }
    }
    EXPECT_TRUE(Root()->isExpanded());
    ASSERT_GT(Root()->childCount(), 0);
    EXPECT_TRUE(Root()->child(0)->isExpanded());
    EXPECT_TRUE(Root()->child(0)->child(0)->isExpanded());
    EXPECT_FALSE(Root()->child(1)->isExpanded());
    EXPECT_EQ(Form->TVProject->currentItem(), Root());
    EXPECT_EQ(TIniFile(GetIniFileName()).ReadString("reopen", "item0", ""), project + "/");

    EXPECT_TRUE(Form->CloseProject());
    EXPECT_EQ(Root()->childCount(), 0);
    EXPECT_TRUE(Form->BaseResourceFileValues.empty());
    EXPECT_TRUE(Form->BaseResourceFileMenus.empty());
    EXPECT_TRUE(LeftOvers(project).isEmpty()) << LeftOvers(project).join(", ").toStdString();
}

class SampleOpen : public ProjectOpen
{
};

TEST_P(SampleOpen, TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles)
{
    TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles(Sample());
}

INSTANTIATE_TEST_SUITE_P(
    Sample, SampleOpen,
    ::testing::Values(TProjectCase{"sample", "org.example.calendar",
                                   {"Afrikaans", "German", "Hebrew", "Indonesian", "English (United Kingdom)",
                                    "Portuguese (Brazil)", "Bengali (Bangladesh)", "Portuguese (Portugal)", "Filipino"},
                                   {"values-v29", "values-land", "menu-land", "menu-sw600dp-land"}}),
    [](const ::testing::TestParamInfo<TProjectCase> &info) { return std::string(info.param.project); });

class CorpusOpen : public ProjectOpen
{
};

TEST_P(CorpusOpen, TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles)
{
    GLOSSMILL_REQUIRE_CORPUS();
    TreeHasTheLanguagesWithValuesAndMenuNodesAndTheirFiles(CopyOf(GetParam().project));
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, CorpusOpen,
    ::testing::Values(TProjectCase{"etar", "ws.xsoh.etar",
                                  {"Afrikaans", "German", "Hebrew", "Indonesian", "English (United Kingdom)",
                                   "Portuguese (Brazil)", "Bengali (Bangladesh)", "Portuguese (Portugal)",
                                   "Chinese (Simplified Han,China)", "Chinese (Traditional Han,Taiwan)"},
                                  {"values-v29", "values-kab", "values-qpv", "values-kk", "menu-sw600dp-land"}},
                      TProjectCase{"fdroidclient", "org.fdroid",
                                  {"Afrikaans", "Filipino", "German", "Dutch (Belgium)", "Portuguese (Portugal)",
                                   "Hebrew", "Indonesian", "Punjabi (Arabic,Pakistan)",
                                   "Chinese (Simplified Han,China)", "Chinese (Traditional Han,Hong Kong)",
                                   "Chinese (Traditional Han,Taiwan)"},
                                  {"values-b+hi+Latn", "values-ast", "values-yue"}}),
    [](const ::testing::TestParamInfo<TProjectCase> &info) { return std::string(info.param.project); });

TEST_F(OpenProjectTest, SelectingNodesShowsTheirPageAndAFileItsItemsUnderTheCheckedFilter)
{
    const QString project = Sample();
    Form->OpenProject(project);
    QTreeWidgetItem *german = Language("German");
    ASSERT_NE(german, nullptr);

    Form->TVProject->setCurrentItem(german);
    EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Language"});
    EXPECT_EQ(Form->LBLocaleCode->text(), QStringLiteral("de"));
    EXPECT_EQ(Form->LBValuesFolderName->text(), project + "/res/values-de");
    EXPECT_EQ(Form->LBMenuFolderName->text(), project + "/res/menu-de");
    EXPECT_TRUE(Form->BLangDeleteOnTab->isEnabled());
    EXPECT_TRUE(Form->PMDeleteLanguage->isEnabled());

    Form->TVProject->setCurrentItem(german->child(1));
    EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Resource Type"});
    EXPECT_EQ(Form->LBREsTypeInfo->text(), QStringLiteral("Menus"));
    EXPECT_FALSE(Form->IMMenu->isHidden());
    EXPECT_TRUE(Form->IMString->isHidden());
    Form->TVProject->setCurrentItem(german->child(0));
    EXPECT_EQ(Form->LBREsTypeInfo->text(), QStringLiteral("Values (strings)"));
    EXPECT_TRUE(Form->IMMenu->isHidden());
    EXPECT_FALSE(Form->IMString->isHidden());
    EXPECT_FALSE(Form->PMDeleteLanguage->isEnabled());

    QTreeWidgetItem *strings = german->child(0)->child(0);
    auto *file = dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(strings));
    ASSERT_NE(file, nullptr);
    Form->TVProject->setCurrentItem(strings);
    EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Resource Items"});
    EXPECT_EQ(Form->MainPG->currentWidget(), Form->TBTranslationGrid);
    int withDefault = 0;
    for (const auto &item : file->TransItems()) {
        withDefault += !item->FBaseValue.isEmpty();
        EXPECT_TRUE(item->EnableUndoMode);
    }
    EXPECT_GT(withDefault, 100);
    EXPECT_EQ(Form->LV->topLevelItemCount(), withDefault);
    EXPECT_EQ(file->ActiveFilter(), tsUnknown);
    EXPECT_NE(ItemOfRow(Form->LV->topLevelItem(0)), nullptr);
    EXPECT_FALSE(Form->BMarkAs->isEnabled()) << "no row selected yet";
    Form->LV->setCurrentItem(Form->LV->topLevelItem(0));
    Form->SetControls();
    EXPECT_TRUE(Form->BMarkAs->isEnabled());
    EXPECT_TRUE(Form->BLoadTrans->isEnabled());

    // The filter is the window's: the checked entry of the popup decides, whatever the file had before.
    Form->PMFilterAll->setChecked(false);
    Form->PMFilterNeedbeter->setChecked(true);
    file->setActiveFilter(tsDontTranslate);
    Form->TVProject->setCurrentItem(german->child(0));
    Form->TVProject->setCurrentItem(strings);
    EXPECT_EQ(file->ActiveFilter(), tsNeedBetter);
    for (int i = 0; i < Form->LV->topLevelItemCount(); ++i)
        EXPECT_EQ(ItemOfRow(Form->LV->topLevelItem(i))->TranslateState(), tsNeedBetter);

    Form->TVProject->setCurrentItem(Root());
    EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Wecome Page"});
}

TEST_F(OpenProjectTest, MalformedLanguageFileShowsOneBoxAndTheOthersLoad)
{
    const QString project = Sample();
    const QString broken = Write(project, "res/values-de/strings.xml", "<resources><string name=\"a\">x</resources>");
    ExpectResourceFileError(OpenCollectingBoxes(project), broken);
    ASSERT_NE(Language("German"), nullptr);
    EXPECT_EQ(Language("German")->child(0)->childCount(), 0);
    EXPECT_EQ(ChildTexts(Language("French")->child(0)), QStringList{"strings.xml"});
    EXPECT_EQ(Form->PackageName, SampleProject::Package());
    EXPECT_EQ(TestSupport::ReadFile(broken), QByteArray("<resources><string name=\"a\">x</resources>"));
}

TEST_F(OpenProjectTest, AnUnreadableDefaultFileShowsOneBoxAndTheRestOfTheProjectOpens)
{
    const struct
    {
        const char *name;
        const char *broken; // the default file cut short
        QStringList tree;   // language: values files | menu files; "-" for a missing group
    } cases[] = {
        {"the default strings file", "res/values/strings.xml", {"German: - | main.xml,more.xml"}},
        {"a default menu file", "res/menu/more.xml", {"German: strings.xml | main.xml"}},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString project = Work.path() + QStringLiteral("/cut%1").arg(n++);
        WriteSmallProject(project, {"res/values/strings.xml", "res/menu/main.xml", "res/menu/more.xml",
                                    "res/values-de/strings.xml", "res/menu-de/main.xml", "res/menu-de/more.xml"});
        const QByteArray whole = TestSupport::ReadFile(project + "/" + c.broken);
        const QString broken = Write(project, c.broken, whole.left(whole.size() / 2));

        ExpectResourceFileError(OpenCollectingBoxes(project), broken);
        EXPECT_EQ(Form->PackageName, QStringLiteral("com.example.small"));
        EXPECT_EQ(TreeSummary(), c.tree);
        EXPECT_EQ(TestSupport::ReadFile(broken), whole.left(whole.size() / 2));
    }
}

TEST_F(OpenProjectTest, SmallProjectsFollowTheFolderRules)
{
    struct TCase
    {
        const char *name;
        QStringList files;
        QStringList tree; // language: values files | menu files; "-" for a missing group
    } cases[] = {
        {"both types, one language each way",
         {"res/values/strings.xml", "res/menu/main.xml", "res/values-fr/strings.xml", "res/menu-de/main.xml",
          "res/values-fr/arrays.xml", "res/values-land/strings.xml", "res/values-night/strings.xml"},
         {"German:  | main.xml", "French: strings.xml | "}},
        {"folder names in other cases",
         {"res/values/strings.xml", "res/VALUES-FR/strings.xml", "res/values-en-rus/strings.xml"},
         {"English (United States): strings.xml | -", "French: strings.xml | -"}},
        {"only default menus", {"res/menu/main.xml", "res/menu-de/main.xml", "res/values-de/strings.xml"},
         {"German: - | main.xml"}},
        {"no default files at all", {"res/values-de/strings.xml", "res/menu-de/main.xml"}, {}},
        {"values and menu of one language, once", {"res/values/strings.xml", "res/menu/main.xml",
          "res/values-de/strings.xml", "res/menu-de/main.xml", "res/values-de-rAT/strings.xml"},
         {"German: strings.xml | main.xml", "German (Austria): strings.xml | "}},
    };
    int n = 0;
    for (const TCase &c : cases) {
        const QString project = Work.path() + QStringLiteral("/small%1").arg(n++);
        WriteSmallProject(project, c.files);
        EXPECT_TRUE(OpenCollectingBoxes(project).isEmpty()) << c.name;
        EXPECT_EQ(TreeSummary(), c.tree) << c.name;
    }
}

TEST_F(OpenProjectTest, ClosingWithUnsavedChangesAsksOnce)
{
    const QString project = Sample();
    Form->OpenProject(project);
    QTreeWidgetItem *strings = Language("German")->child(0)->child(0);
    Form->TVProject->setCurrentItem(strings);
    auto *file = dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(strings));
    file->TransItems().front()->setTranslateValue(QStringLiteral("geändert"));
    Form->SetControls();
    ASSERT_TRUE(Form->SBSaveAll->isEnabled());
    EXPECT_TRUE(Form->SBSAve->isEnabled());

    struct TCase
    {
        QMessageBox::StandardButton answer;
        bool closes;
    } cases[] = {{QMessageBox::Cancel, false}, {QMessageBox::No, true}};
    for (const TCase &c : cases) {
        QList<TMessageBoxRecord> boxes;
        bool closed;
        {
            ModalDriver::TMessageBoxAnswerer answerer(c.answer, &boxes);
            closed = Form->close();
        }
        EXPECT_EQ(closed, c.closes);
        ASSERT_EQ(boxes.size(), 1) << "asked exactly once";
        EXPECT_EQ(boxes[0].title, QStringLiteral("Save File?"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("Some files not saved! Save File(s) before close project?"));
        EXPECT_EQ(boxes[0].icon, QMessageBox::Question);
        EXPECT_EQ(boxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(Form->PackageName.isEmpty(), c.closes);
    }
    EXPECT_TRUE(LeftOvers(project).isEmpty());
}

// Save All follows a changed file wherever it hangs in the tree, whichever node is selected; Save follows the
// selected file alone.
TEST_F(OpenProjectTest, SaveAllFollowsAChangedFileInAnyLanguageAndGroup)
{
    const QByteArray strings = "<resources><string name=\"hello\">Hello</string></resources>";
    const QByteArray menu = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">"
                            "<item android:id=\"@+id/a\" android:title=\"Open\"/></menu>";
    const QString project = Work.path() + "/small";
    Write(project, "AndroidManifest.xml", "<manifest package=\"com.example.small\"/>");
    for (const QString &f : {"res/values/strings.xml", "res/menu/main.xml", "res/values-de/strings.xml",
                             "res/menu-de/main.xml", "res/values-fr/strings.xml", "res/menu-fr/main.xml"})
        Write(project, f, f.contains("menu") ? menu : strings);
    struct TCase
    {
        const char *name;
        const char *changedLanguage; // nullptr: nothing changed
        const char *changedGroup;
        const char *selectedLanguage; // nullptr: the root
        const char *selectedGroup;
        bool saveAll, save;
    } cases[] = {
        {"nothing changed, a file selected", nullptr, nullptr, "German", "values", false, false},
        {"first language's values file, root selected", "German", "values", nullptr, nullptr, true, false},
        {"first language's menu file, another language's file selected", "German", "menu", "French", "values", true,
         false},
        {"last language's menu file, first file selected", "French", "menu", "German", "values", true, false},
        {"the selected file itself", "French", "values", "French", "values", true, true},
    };
    for (const TCase &c : cases) {
        {
            // The project before has unsaved changes: closing it asks, and No leaves its files as they are.
            QList<TMessageBoxRecord> boxes;
            ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &boxes);
            Form->OpenProject(project);
        }
        ASSERT_FALSE(Form->PackageName.isEmpty()) << c.name;
        if (c.changedLanguage) {
            QTreeWidgetItem *group = Child(Language(c.changedLanguage), c.changedGroup);
            ASSERT_TRUE(group && group->childCount() == 1) << c.name;
            auto *file = dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(group->child(0)));
            ASSERT_NE(file, nullptr) << c.name;
            file->TransItems().front()->setTranslateValue(QStringLiteral("changed"));
        }
        QTreeWidgetItem *selected =
            c.selectedLanguage ? Child(Language(c.selectedLanguage), c.selectedGroup)->child(0) : Root();
        // Away and back, so that the selection is a change whichever node was current.
        Form->TVProject->setCurrentItem(selected == Root() ? Language("German") : Root());
        Form->TVProject->setCurrentItem(selected);
        EXPECT_EQ(Form->SBSaveAll->isEnabled(), c.saveAll) << c.name;
        EXPECT_EQ(Form->MMSaveAll->isEnabled(), c.saveAll) << c.name;
        EXPECT_EQ(Form->SBSAve->isEnabled(), c.save) << c.name;
    }
    QList<TMessageBoxRecord> boxes;
    ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &boxes);
    Form->CloseProject();
}

TEST_F(OpenProjectTest, CloseProjectCancelKeepsTheProjectAndOpeningAnotherAsksFirst)
{
    const QString project = Sample();
    Form->OpenProject(project);
    QTreeWidgetItem *strings = Language("French")->child(0)->child(0);
    Form->TVProject->setCurrentItem(strings);
    dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(strings))->TransItems().front()->setTranslateValue("x");
    Form->SetControls();
    QList<TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Cancel, &boxes);
        EXPECT_FALSE(Form->CloseProject());
        Form->OpenProject(Example());
    }
    EXPECT_EQ(boxes.size(), 2);
    EXPECT_EQ(Form->PackageName, SampleProject::Package());
    EXPECT_EQ(Form->TVProject->currentItem(), strings);
    EXPECT_EQ(Form->LV->topLevelItemCount() > 0, true);
}

TEST_F(OpenProjectTest, ReopenAndSelectFindsTheFileByNameAndItsWholeLocale)
{
    const QString project = Sample();
    const TLocaleDesc french = LocaleTable(FindLocaleByValuesFolder("values-fr"));
    Form->ReopenAndSelect("strings.xml", french);
    EXPECT_TRUE(Form->PackageName.isEmpty()) << "without a project nothing happens";

    Form->OpenProject(project);
    // Three languages share the code "pt"; each is found as itself.
    for (const char *folder : {"values-pt-rPT", "values-pt", "values-pt-rBR"}) {
        SCOPED_TRACE(folder);
        Form->ReopenAndSelect("strings.xml", LocaleTable(FindLocaleByValuesFolder(folder)));
        QTreeWidgetItem *selected = Form->TVProject->currentItem();
        ASSERT_NE(selected, nullptr);
        auto *file = dynamic_cast<TTransResourceFileNode *>(NodeOfTreeItem(selected));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->LocaleDesc.ValuesFolderName, QString::fromLatin1(folder));
        EXPECT_EQ(file->ResourceFileName, project + "/res/" + folder + "/strings.xml");
        EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Resource Items"});
    }

    Write(project, "AndroidManifest.xml", "<manifest package=\"changed.on.disk\"/>");
    Form->ReopenAndSelect("strings.xml", french);
    EXPECT_EQ(Form->PackageName, QStringLiteral("changed.on.disk"));
    EXPECT_EQ(Form->TVProject->currentItem(), Root());
}

TEST_F(OpenProjectTest, ExpandAndCollapseActOnTheWholeTree)
{
    Form->OpenProject(Sample());
    Form->TVProject->setCurrentItem(Language("German"));
    Form->SBColapse->click();
    for (QTreeWidgetItemIterator it(Form->TVProject); *it; ++it)
        EXPECT_FALSE((*it)->isExpanded());
    Form->SBExpand->click();
    for (QTreeWidgetItemIterator it(Form->TVProject); *it; ++it)
        if ((*it)->childCount() > 0)
            EXPECT_TRUE((*it)->isExpanded());
    EXPECT_EQ(VisibleTabs(Form->MainPG), QStringList{"Language"});
}

} // namespace
