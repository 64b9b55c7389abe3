#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "DialogParts.h"
#include "Glossmill_ImportFilesDialog.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_types.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

// The resource files of a project come by name, letters a to z folded ("_" after every letter), in the tree, in
// the default files and in "Add Resource Files", whatever order the file system lists them in.
namespace {

const QStringList DefaultMenus = {"ab.xml", "a_menu.xml", "B.xml", "c.xml", "d_x.xml",
                                  "Main.xml", "n.xml", "Options.xml", "q.xml", "zeta.xml"};
const QStringList GermanMenus = {"B.xml", "d_x.xml", "Main.xml", "q.xml", "zeta.xml"};
const QStringList MissingInGerman = {"ab.xml", "a_menu.xml", "c.xml", "n.xml", "Options.xml"};

QByteArray Menu(const QString &title)
{
    return "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
           "  <item android:id=\"@+id/one\" android:title=\"" + title.toUtf8() + "\"/>\n</menu>\n";
}

QStringList ChildTexts(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (int i = 0; node && i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

class SortedListsTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();

    void SetUp() override
    {
        FormAddFiles = new TFormAddFiles(Form.get());
        const QString res = Work.path() + "/res/";
        ASSERT_TRUE(TestSupport::WriteFile(Work.path() + "/AndroidManifest.xml", "<manifest package=\"a.b\"/>\n"));
        ASSERT_TRUE(TestSupport::WriteFile(res + "values/strings.xml",
                                           "<resources><string name=\"s\">S</string></resources>\n"));
        ASSERT_TRUE(TestSupport::WriteFile(res + "values-de/strings.xml",
                                           "<resources><string name=\"s\">S</string></resources>\n"));
        // Made from the last name to the first.
        for (qsizetype i = DefaultMenus.size() - 1; i >= 0; --i) {
            ASSERT_TRUE(TestSupport::WriteFile(res + "menu/" + DefaultMenus[i], Menu(DefaultMenus[i])));
            if (GermanMenus.contains(DefaultMenus[i]))
                ASSERT_TRUE(TestSupport::WriteFile(res + "menu-de/" + DefaultMenus[i], Menu(DefaultMenus[i])));
        }
        Form->OpenProject(Work.path());
        ASSERT_EQ(Form->PackageName, QStringLiteral("a.b"));
    }
    void TearDown() override
    {
        delete FormAddFiles;
        FormAddFiles = nullptr;
    }

    // The menu group of the only language.
    QTreeWidgetItem *GermanMenuGroup() const
    {
        QTreeWidgetItem *german = Form->GetRootNode()->child(0);
        for (int i = 0; german && i < german->childCount(); ++i)
            if (auto *g = dynamic_cast<TTransResTypeNode *>(TGlossmillMainForm::NodeData(german->child(i))))
                if (g->ResType == rtAndroid_menu)
                    return german->child(i);
        return nullptr;
    }
};

TEST_F(SortedListsTest, TreeAndDefaultFilesComeByName)
{
    QStringList defaults;
    for (const auto &base : Form->BaseResourceFileMenus)
        defaults << base->GetTreeText();
    EXPECT_EQ(defaults, DefaultMenus);
    EXPECT_EQ(ChildTexts(GermanMenuGroup()), GermanMenus);
}

TEST_F(SortedListsTest, AddResourceFilesOffersTheMissingFilesByName)
{
    QTreeWidgetItem *group = GermanMenuGroup();
    ASSERT_NE(group, nullptr);
    Form->TVProject->setCurrentItem(group);
    QStringList offered;
    ModalDriver::AnswerNextModal([&offered](QWidget *w) {
        auto *dialog = qobject_cast<TFormAddFiles *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        for (int i = 0; i < dialog->CHBFile->count(); ++i)
            offered << dialog->CHBFile->item(i)->text();
        dialog->CHBFile->item(0)->setCheckState(Qt::Checked);
        dialog->BOK->click();
    });
    EXPECT_TRUE(Form->AddResourceFiles(true));
    EXPECT_EQ(offered, MissingInGerman);
    EXPECT_EQ(ChildTexts(group), GermanMenus + QStringList{"ab.xml"});
}

} // namespace
