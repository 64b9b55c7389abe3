#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCommandLinkButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_MainForm.h"
#include "ModalDriver.h"
#include "RtfText.h"
#include "TSelectDirectory.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

using ModalDriver::TMessageBoxRecord;

namespace {

QByteArray Utf16Le(const char *text)
{
    const QString s = QString::fromLatin1(text);
    return QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

class MainFormTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();

    QString Folder(const QString &name) const { return Work.path() + "/" + name; }
    QString WriteManifest(const QString &name, const QByteArray &manifest)
    {
        EXPECT_TRUE(TestSupport::WriteFile(Folder(name) + "/AndroidManifest.xml", manifest));
        return Folder(name);
    }
    QStringList VisibleMainTabs() const
    {
        QStringList tabs;
        for (int i = 0; i < Form->MainPG->count(); ++i)
            if (Form->MainPG->isTabVisible(i))
                tabs << Form->MainPG->tabText(i);
        return tabs;
    }
    TMessageBoxRecord OpenExpectingBox(const QString &folder)
    {
        TMessageBoxRecord record;
        ModalDriver::AnswerNextMessageBox(QMessageBox::Ok, &record);
        Form->OpenProject(folder);
        return record;
    }
};

TEST_F(MainFormTest, CaptionAndStartState)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Vorel Glossmill 1.0"));
    EXPECT_EQ(Form->objectName(), QStringLiteral("GlossmillMainForm"));
    EXPECT_EQ(GlossmillMainForm, Form.get());
    EXPECT_EQ(VisibleMainTabs(), QStringList{"Wecome Page"});
    EXPECT_EQ(Form->MainPG->currentWidget(), Form->TBRoot);
    EXPECT_EQ(Form->PGWelcome->currentWidget(), Form->TBWelcomeHome);
    ASSERT_EQ(Form->TVProject->topLevelItemCount(), 1);
    EXPECT_EQ(Form->GetRootNode()->text(0), QStringLiteral("Localization (no openned project)"));
    EXPECT_TRUE(Form->PackageName.isEmpty());
    EXPECT_TRUE(Form->ManifestFile.isEmpty());
    EXPECT_TRUE(Form->GetProjectDir().isEmpty());
    EXPECT_EQ(Form->LBPackageName->text(), QString());
    EXPECT_FALSE(Form->TMCheckFileChanged->isActive());
    EXPECT_EQ(Form->TMCheckFileChanged->interval(), 3000);
    for (QWidget *w : std::initializer_list<QWidget *>{Form->SBSAve, Form->SBSaveAll, Form->SBExpand,
                                                       Form->SBColapse, Form->BWellAddLang, Form->BAcceptFromGoogle,
                                                       Form->BMarkAs, Form->BCopyBase, Form->SBEditInWindow,
                                                       Form->BLoadTrans, Form->EDTargetLocale})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(Form->MMCloseProject->isEnabled());
    EXPECT_TRUE(Form->ListViewEditor->isHidden());
}

TEST_F(MainFormTest, MenusCarryTheirComponentNamesAndCaptions)
{
    const std::pair<const char *, const char *> items[] = {
        {"MMOpenProject", "Open Android Project Folder.."},
        {"MMSave", "Save"},
        {"MMSaveAll", "Save All"},
        {"MMCloseProject", "Close project"},
        {"OpenExampleProject1", "Open Example Android Project.."},
        {"MMOptions", "Options.."},
        {"MMExit", "Exit"},
        {"About2", "About"},
        {"PMAddLanguage", "Add Language.."},
        {"PMAddResource", "Add Resource File.. "},
        {"PMDeleteLanguage", "Delete Language.."},
        {"PMFilterAll", "All"},
        {"PMFilterAllexcludemarkedasDonttranslate", "All (exclude marked as Don't translate)"},
        {"PMFilterTranslated", "Translated"},
        {"PMFilterNeedbeter", "Need Better Translation"},
        {"PMFilterFinal", "Final Translation"},
        {"PMFilterDontTrans", "Don't translate.."},
        {"FinalTrnslation1", "Final Translation"},
        {"NeedBetter1", "Need Better Translation"},
        {"Donottranslate1", "Don't translate.."},
    };
    for (const auto &[name, caption] : items) {
        auto *a = Form->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QString::fromLatin1(caption)) << name;
    }
    QStringList file;
    for (QAction *a : Form->MMFile->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(file, (QStringList{"Open Android Project Folder..", "Reopen..", "Save", "Save All", "Close project", "-",
                                 "Open Example Android Project..", "-", "Options..", "-", "Exit"}));
    QStringList filter;
    for (QAction *a : Form->PMFilter->actions())
        filter << a->objectName() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(filter, (QStringList{"PMFilterAll*", "PMFilterAllexcludemarkedasDonttranslate", "PMFilterTranslated",
                                   "PMFilterNeedbeter", "PMFilterFinal", "PMFilterDontTrans"}));
    EXPECT_EQ(Form->MMReopen->objectName(), QStringLiteral("MMReopen"));
}

TEST_F(MainFormTest, ComponentsCarryTheirNamesAndCaptions)
{
    const std::pair<const char *, const char *> buttons[] = {
        {"BFilter", "Filter"},
        {"BAcceptFromGoogle", "Paste from Clipboard"},
        {"BMarkAs", "Mark Translation as.."},
        {"BCopyBase", "Fill by Default Value"},
        {"SBEditInWindow", "Edit in window.."},
        {"BLoadTrans", "Translate"},
        {"BLangDeleteOnTab", "Delete Language.."},
        {"BAddResFile2", "Add Resource.."},
        {"BWelOpenProject", "Open project.."},
        {"BWellAddLang", "Add Language to project.."},
    };
    for (const auto &[name, caption] : buttons) {
        auto *b = Form->findChild<QAbstractButton *>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), QString::fromLatin1(caption)) << name;
    }
    for (const char *name : {"SBOpenProject", "SBSAve", "SBSaveAll", "SBExpand", "SBColapse", "SBUndo", "SBREdo",
                             "SBShowDefaultLocales", "SBSelectTargetLocale", "TVProject", "LV", "MainPG", "PGWelcome",
                             "PageControl1", "TBTranslationGrid", "TBLangNode", "TBResType", "TBRoot",
                             "TBWelcomeHome", "TBOnlineHelp", "TBWhatIsNew", "TBGoogle", "TabSheet2", "RENotepad",
                             "WBGoogle", "FWebBrowsingHelp", "FWebBrowsingNews", "Panel1", "Panel11", "Panel2",
                             "Panel3", "Panel4", "Panel8", "Panel10", "PTranslateTool", "Splitter1", "Splitter2",
                             "IMMenu", "IMString", "LBREsTypeInfo", "LBLangName", "LBLocaleCode", "LBLOCVariant",
                             "LBValuesFolderName", "LBMenuFolderName", "LBPackageName", "LBProjNameOnWelcome",
                             "LBPackageNameOnWelcome", "LBREcent0", "LBREcent4", "EDDefaultLocaleCode",
                             "EDTargetLocale", "CHAutoLocale", "CHBUseWebTranslator", "ListViewEditor"})
        EXPECT_NE(Form->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(Form->findChild<QTimer *>("TMCheckFileChanged"), nullptr);
    EXPECT_NE(Form->findChild<TSelectDirectory *>("JvSelectDirectoryProject"), nullptr);
    EXPECT_EQ(Form->SBUndo->toolTip(), QStringLiteral("Undo"));
    EXPECT_EQ(Form->SBREdo->toolTip(), QStringLiteral("Redo"));
    EXPECT_TRUE(Form->CHAutoLocale->isChecked());
    EXPECT_FALSE(Form->CHBUseWebTranslator->isChecked());
    EXPECT_EQ(Form->EDDefaultLocaleCode->text(), QStringLiteral("en"));
    EXPECT_EQ(Form->EDTargetLocale->text(), QStringLiteral("en"));
    QStringList tabs;
    for (QTabWidget *pg : {Form->MainPG, Form->PGWelcome, Form->PageControl1})
        for (int i = 0; i < pg->count(); ++i)
            tabs << pg->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Resource Items", "Language", "Resource Type", "Wecome Page", "Home", "Online Help",
                                 "What Is New?", "Google Translator", "Notepad"}));
    QStringList columns;
    for (int c = 0; c < Form->LV->columnCount(); ++c)
        columns << Form->LV->headerItem()->text(c);
    EXPECT_EQ(columns, (QStringList{"", "ID", "Default Text", "Translation"}));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(Form->findChild<QLabel *>(QStringLiteral("LBREcent%1").arg(i))->text().isEmpty());
}

TEST_F(MainFormTest, ColumnWidthsComputedStoredAndGivenBack)
{
    Form->LV->resize(545, 300);
    Form->SetColumnWidths();
    QHeaderView *h = Form->LV->header();
    EXPECT_EQ(h->sectionSize(0), 24);
    EXPECT_EQ(h->sectionSize(1), 57);
    EXPECT_EQ(h->sectionSize(2), 216);
    EXPECT_EQ(h->sectionSize(3), 216);

    // Before the first file is shown nothing is stored.
    h->resizeSection(1, 150);
    Form->StoreColumnWidths();
    EXPECT_EQ(Form->LVColumnTag[1], 0);

    Form->FirstShowItems = false;
    h->resizeSection(2, 10);
    h->resizeSection(3, 300);
    Form->StoreColumnWidths();
    Form->SetColumnWidths();
    EXPECT_EQ(h->sectionSize(1), 150);
    EXPECT_EQ(h->sectionSize(2), 216) << "a column of 10 pixels or less gets its computed width back";
    EXPECT_EQ(h->sectionSize(3), 300);
}

TEST_F(MainFormTest, SortingIsAscendingFoldingOnlyAToZ)
{
    const QStringList ids = {"Banana", "apple", "_x", "Zed", QString::fromUtf8("\u00e4"), QString::fromUtf8("\u00c4"),
                             "app", "Apple2"};
    for (const QString &id : ids)
        Form->LV->addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), id, "d " + id, "t"}));
    const QStringList expected = {"app", "apple", "Apple2", "Banana", "Zed", "_x", QString::fromUtf8("\u00c4"),
                                  QString::fromUtf8("\u00e4")};
    for (int click = 0; click < 2; ++click) {
        Form->LVColumnClick(1);
        QStringList order;
        for (int i = 0; i < Form->LV->topLevelItemCount(); ++i)
            order << Form->LV->topLevelItem(i)->text(1);
        EXPECT_EQ(order, expected) << "click " << click;
    }
    EXPECT_EQ(Form->ColumnToSort, 1);
    Form->LVColumnClick(2);
    EXPECT_EQ(Form->LV->topLevelItem(0)->text(2), QStringLiteral("d app"));
}

TEST_F(MainFormTest, LanguagePageShowsTheLocaleAndItsFolders)
{
    TestSupport::WriteFile(Folder("proj") + "/AndroidManifest.xml", "<manifest package=\"com.example.app\"/>");
    Form->OpenProject(Folder("proj"));
    ASSERT_EQ(Form->PackageName, QStringLiteral("com.example.app"));
    const int row = FindLocaleByValuesFolder("values-pt-rBR");
    ASSERT_GT(row, 0);
    Form->ShowLangInfo(LocaleTable(row));
    EXPECT_EQ(Form->LBLangName->text(), QStringLiteral("Portuguese (Brazil)"));
    EXPECT_EQ(Form->LBLocaleCode->text(), QStringLiteral("pt"));
    EXPECT_EQ(Form->LBLOCVariant->text(), QStringLiteral("BR"));
    EXPECT_EQ(Form->LBValuesFolderName->text(), Folder("proj") + "/res/values-pt-rBR");
    EXPECT_EQ(Form->LBMenuFolderName->text(), Folder("proj") + "/res/menu-pt-rBR");
}

TEST_F(MainFormTest, ManifestFailureBoxes)
{
    struct TCase
    {
        const char *name;
        QByteArray manifest; // empty: no manifest at all
        const char *text;
        bool keepsManifestPath;
    } cases[] = {
        {"missing manifest", {}, "Can't find AndroidManifest.xml, please open root of the project with "
                                 "AndroidManifest.xml file.", false},
        {"no package", "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" android:versionCode=\"1\"/>",
         "Can't recognize PACKAGE in Manifest File", true},
        {"empty package", "<manifest package=\"\"/>", "Can't recognize PACKAGE in Manifest File", true},
        {"malformed manifest", "<manifest package=\"a.b\"><application></manifest>", "Can't open ManifestFile.xml",
         false},
        {"not XML at all", QByteArray("\x00\x01garbage", 9), "Can't open ManifestFile.xml", false},
    };
    for (const TCase &c : cases) {
        const QString folder = Folder(c.name);
        QDir().mkpath(folder + "/res/values");
        if (!c.manifest.isEmpty())
            WriteManifest(c.name, c.manifest);
        const TMessageBoxRecord box = OpenExpectingBox(folder);
        ASSERT_TRUE(box.shown) << c.name;
        EXPECT_EQ(box.title, QStringLiteral("Can not open project")) << c.name;
        EXPECT_EQ(box.text, QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(box.icon, QMessageBox::Critical) << c.name;
        EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok)) << c.name;
        EXPECT_TRUE(Form->PackageName.isEmpty()) << c.name;
        EXPECT_EQ(Form->ManifestFile, c.keepsManifestPath ? folder + "/AndroidManifest.xml" : QString()) << c.name;
        EXPECT_EQ(Form->LBProjNameOnWelcome->text(), Form->ManifestFile) << c.name;
        EXPECT_FALSE(Form->MMCloseProject->isEnabled()) << c.name;
    }
}

TEST_F(MainFormTest, PackageAttributeFoundByLocalNameInAnyCase)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"<manifest package=\"com.a\"/>", "com.a"},
        {"<manifest xmlns:android=\"x\" android:package=\"com.b\"/>", "com.b"},
        {"<manifest PACKAGE=\"com.c\"/>", "com.c"},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- c -->\n<manifest versionCode=\"3\" package=\"com.d\" "
         "android:package=\"later\"/>", "com.d"},
        {"\xEF\xBB\xBF<manifest package=\"com.bom\"/>", "com.bom"},
        {Utf16Le("<?xml version=\"1.0\" encoding=\"utf-16\"?><manifest package=\"com.utf16\"/>"), "com.utf16"},
    };
    int n = 0;
    for (const auto &[manifest, package] : cases) {
        const QString folder = WriteManifest(QStringLiteral("p%1").arg(n++), manifest);
        Form->OpenProject(folder);
        EXPECT_EQ(Form->PackageName, package) << manifest.toStdString();
    }
}

TEST_F(MainFormTest, ProjectWithoutResOpensWithTrailingSlashOrWithout)
{
    const QString folder = WriteManifest("bare", "<manifest package=\"com.example.bare\"/>");
    for (const QString &given : {folder, folder + "/"}) {
        Form->OpenProject(given);
        EXPECT_EQ(Form->PackageName, QStringLiteral("com.example.bare"));
        EXPECT_EQ(Form->ManifestFile, folder + "/AndroidManifest.xml");
        EXPECT_EQ(Form->GetProjectDir(), folder + "/");
        EXPECT_EQ(Form->GetRootNode()->text(0), QStringLiteral("Localization of com.example.bare"));
        EXPECT_EQ(Form->GetRootNode()->childCount(), 0);
        EXPECT_EQ(Form->LBPackageName->text(),
                  QStringLiteral("com.example.bare [") + folder + "/AndroidManifest.xml]");
        EXPECT_EQ(Form->LBPackageNameOnWelcome->text(), QStringLiteral("com.example.bare"));
        EXPECT_TRUE(Form->TMCheckFileChanged->isActive());
        EXPECT_TRUE(Form->MMCloseProject->isEnabled());
        EXPECT_TRUE(Form->SBExpand->isEnabled());
        EXPECT_EQ(Form->TVProject->currentItem(), Form->GetRootNode());
        EXPECT_TRUE(Form->BWellAddLang->isEnabled());
    }
    EXPECT_TRUE(Form->CloseProject());
    EXPECT_TRUE(Form->PackageName.isEmpty());
    EXPECT_EQ(Form->GetRootNode()->text(0), QStringLiteral("Localization (no openned project)"));
    EXPECT_EQ(Form->LBPackageName->text(), QString());
    EXPECT_TRUE(Form->TMCheckFileChanged->isActive()) << "closing leaves the timer as it is";
}

TEST_F(MainFormTest, FolderDialogTitlesAndCancel)
{
    const QString folder = WriteManifest("open", "<manifest package=\"com.example.open\"/>");
    Form->OpenProject(folder);
    struct TCase
    {
        QString text;
        QString title;
        QString initial;
    } cases[] = {
        {QString(), "Open Android Project Directory", QString()},
        {"@/some/example", "Open This Example Project Directory", "/some/example"},
    };
    for (const TCase &c : cases) {
        QString title, initial;
        Form->JvSelectDirectoryProject->Runner = [&](TSelectDirectory &d) {
            title = d.Title;
            initial = d.InitialDir;
            return false;
        };
        Form->OpenProject(c.text);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(initial, c.initial);
        EXPECT_EQ(Form->PackageName, QStringLiteral("com.example.open")) << "a cancelled dialog changes nothing";
    }
    // A chosen folder of fewer than two characters is no choice either.
    Form->JvSelectDirectoryProject->Runner = [](TSelectDirectory &d) {
        d.Directory = QStringLiteral("/");
        return true;
    };
    Form->OpenProject(QString());
    EXPECT_EQ(Form->PackageName, QStringLiteral("com.example.open"));

    // The example command starts the dialog at the example folder and opens what is confirmed.
    Form->JvSelectDirectoryProject->Runner = [&](TSelectDirectory &d) {
        EXPECT_EQ(d.InitialDir, GetExampleProjectFolder());
        d.Directory = WriteManifest("chosen", "<manifest package=\"com.example.chosen\"/>");
        return true;
    };
    Form->OpenExampleProject1Click();
    EXPECT_EQ(Form->PackageName, QStringLiteral("com.example.chosen"));
}

TEST_F(MainFormTest, AtSignAloneIsAFolderNotAnExampleRequest)
{
    bool dialog = false;
    Form->JvSelectDirectoryProject->Runner = [&](TSelectDirectory &) { return dialog = true, false; };
    const TMessageBoxRecord box = OpenExpectingBox(QStringLiteral("@"));
    EXPECT_FALSE(dialog);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text.left(36), QStringLiteral("Can't find AndroidManifest.xml, plea"));
}

TEST_F(MainFormTest, ClosingWithoutProjectAsksNothing)
{
    QList<TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Cancel, &boxes);
        EXPECT_TRUE(Form->CloseProject());
        EXPECT_TRUE(Form->FormCloseQuery());
    }
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainFormTest, TreePagesFollowTheSelection)
{
    Form->TVProjectChange(Form->GetRootNode());
    EXPECT_EQ(VisibleMainTabs(), QStringList{"Wecome Page"});
    Form->TVProjectChange(nullptr);
    EXPECT_EQ(VisibleMainTabs(), QStringList{"Wecome Page"});
}

// ---- Notepad ----

QString NotepadText()
{
    QTextDocument doc;
    RtfToDocument(TestSupport::ReadFile(GetNotepadFileName()), &doc);
    return doc.toPlainText();
}

TEST(Notepad, LoadedAtStartAndSavedAtClose)
{
    TTestHome home;
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("Ask about plurals\nCheck \u00e4\u00f6\u00fc"));
        ASSERT_TRUE(TestSupport::WriteFile(GetNotepadFileName(), DocumentToRtf(&doc)));
    }
    TGlossmillMainForm form;
    EXPECT_EQ(form.RENotepad->toPlainText(), QStringLiteral("Ask about plurals\nCheck \u00e4\u00f6\u00fc"));
    form.RENotepad->setPlainText(QStringLiteral("changed"));
    EXPECT_TRUE(form.close());
    EXPECT_EQ(NotepadText(), QStringLiteral("changed"));
}

TEST(Notepad, MissingOrBrokenNotepadStartsEmpty)
{
    TTestHome home;
    {
        TGlossmillMainForm form;
        EXPECT_TRUE(form.RENotepad->toPlainText().isEmpty());
        form.RENotepad->setPlainText(QStringLiteral("first note"));
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(NotepadText(), QStringLiteral("first note"));
    ASSERT_TRUE(TestSupport::WriteFile(GetNotepadFileName(), "{\\rtf1 unbalanced"));
    TGlossmillMainForm form;
    EXPECT_TRUE(form.RENotepad->toPlainText().isEmpty());
}

TEST(Notepad, UnwritableNotepadAsksBeforeTheTextIsLost)
{
    TTestHome home;
    // A folder in the file's place makes the write fail, also for root.
    QDir().mkpath(GetNotepadFileName());
    TGlossmillMainForm form;
    form.RENotepad->setPlainText(QStringLiteral("precious"));
    TMessageBoxRecord box;
    ModalDriver::AnswerNextMessageBox(QMessageBox::No, &box);
    EXPECT_FALSE(form.close()) << "No keeps the window open";
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_TRUE(box.text.contains(GetNotepadFileName()));
    EXPECT_EQ(form.RENotepad->toPlainText(), QStringLiteral("precious"));

    ModalDriver::AnswerNextMessageBox(QMessageBox::Yes, &box);
    EXPECT_TRUE(form.close());

    // With nothing written in it, there is nothing to lose and nothing to ask.
    TGlossmillMainForm empty;
    QList<TMessageBoxRecord> boxes;
    ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &boxes);
    EXPECT_TRUE(empty.close());
    EXPECT_TRUE(boxes.isEmpty());
}

} // namespace

namespace {

TEST(ProjectTree, AnyMouseButtonSelectsTheNodeUnderIt)
{
    TTestHome home;
    TGlossmillMainForm form;
    form.resize(900, 600);
    form.show();
    auto *child = new QTreeWidgetItem(form.GetRootNode(), QStringList("child"));
    form.GetRootNode()->setExpanded(true);
    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
        form.TVProject->setCurrentItem(form.GetRootNode());
        const QPoint at = form.TVProject->visualItemRect(child).center();
        QTest::mousePress(form.TVProject->viewport(), button, {}, at);
        QTest::mouseRelease(form.TVProject->viewport(), button, {}, at);
        EXPECT_EQ(form.TVProject->currentItem(), child) << button;
    }
    form.TVProject->setCurrentItem(form.GetRootNode());
    delete child;
    form.hide();
}

} // namespace
