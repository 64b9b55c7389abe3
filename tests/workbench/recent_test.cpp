#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "Glossmill_MainForm.h"
#include "Glossmill_Misc.h"
#include "ModalDriver.h"
#include "TIniFile.h"
#include "TSelectDirectory.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

namespace {

class RecentTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;

    // A project folder with a manifest and nothing else; returns it as GetProjectDir gives it.
    QString Project(const QString &name)
    {
        const QString folder = Work.path() + "/" + name;
        EXPECT_TRUE(TestSupport::WriteFile(folder + "/AndroidManifest.xml", "<manifest package=\"com.example." +
                                                                                  name.toLatin1() + "\"/>"));
        return folder + "/";
    }
    static QStringList Stored()
    {
        const TIniFile ini(GetIniFileName());
        QStringList values;
        for (int n = 0; n <= 9; ++n)
            values << ini.ReadString("reopen", QStringLiteral("item%1").arg(n), QString());
        while (!values.isEmpty() && values.last().isEmpty())
            values.removeLast();
        return values;
    }
    static QStringList MenuHints(const TGlossmillMainForm &form)
    {
        QStringList hints;
        for (QAction *a : form.MMReopen->actions())
            hints << a->toolTip();
        return hints;
    }
    static QStringList Labels(const TGlossmillMainForm &form)
    {
        QStringList texts;
        for (QLabel *l : {form.LBREcent0, form.LBREcent1, form.LBREcent2, form.LBREcent3, form.LBREcent4})
            texts << l->text();
        return texts;
    }
};

TEST_F(RecentTest, NoSettingsFileGivesAnEmptyList)
{
    TGlossmillMainForm form;
    EXPECT_TRUE(form.MMReopen->actions().isEmpty());
    EXPECT_EQ(Labels(form), QStringList(5, QString()));
}

TEST_F(RecentTest, NewestFirstWithoutDuplicates)
{
    const QString p = Project("p"), q = Project("q"), r = Project("r");
    TGlossmillMainForm form;
    for (const QString &f : {p, q, r})
        form.OpenProject(f);
    EXPECT_EQ(Stored(), (QStringList{r, q, p}));
    EXPECT_EQ(MenuHints(form), (QStringList{r, q, p}));
    EXPECT_EQ(Labels(form), (QStringList{r, q, p, "", ""}));
    EXPECT_EQ(form.LBREcent1->toolTip(), q);

    const QByteArray before = TestSupport::ReadFile(GetIniFileName());
    form.OpenProject(p);
    EXPECT_EQ(TestSupport::ReadFile(GetIniFileName()), before) << "a listed folder keeps its place";
    EXPECT_EQ(form.PackageName, QStringLiteral("com.example.p"));
}

TEST_F(RecentTest, StoredFolderWithoutSlashOrInOtherCaseIsTheSame)
{
    const QString p = Project("Proj");
    QString stored = p;
    stored.chop(1);
    stored = UpperCaseAZ(stored);
    ASSERT_TRUE(TestSupport::WriteFile(GetIniFileName(), "[GENERAL]\nDefaultLocaleCode=de\n\n[reopen]\nitem0=" +
                                                             stored.toUtf8() + "\nitem1=/elsewhere/\n"));
    TGlossmillMainForm form;
    form.OpenProject(p);
    EXPECT_EQ(Stored(), (QStringList{stored, "/elsewhere/"}));
    EXPECT_EQ(TIniFile(GetIniFileName()).ReadString("GENERAL", "DefaultLocaleCode", ""), QStringLiteral("de"));
}

TEST_F(RecentTest, TenKeptTheOldestDropped)
{
    TGlossmillMainForm form;
    QStringList opened;
    for (int i = 0; i < 11; ++i) {
        opened.prepend(Project(QStringLiteral("p%1").arg(i)));
        form.OpenProject(opened.first());
    }
    EXPECT_EQ(Stored(), opened.mid(0, 10));
    EXPECT_EQ(MenuHints(form), opened.mid(0, 10));
    EXPECT_EQ(Labels(form), opened.mid(0, 5));
}

TEST_F(RecentTest, GapsAreSkippedAndLabelsCloseThem)
{
    ASSERT_TRUE(TestSupport::WriteFile(GetIniFileName(),
                                       "[reopen]\nitem1=/one/\nitem3=/three/\nitem5=\nitem7=/seven/\n"));
    TGlossmillMainForm form;
    EXPECT_EQ(MenuHints(form), (QStringList{"/one/", "/three/", "/seven/"}));
    EXPECT_EQ(Labels(form), (QStringList{"/one/", "/three/", "", "", ""}));
}

TEST_F(RecentTest, ChoosingAnEntryOpensItWithoutTheDialog)
{
    const QString p = Project("p"), q = Project("q");
    TGlossmillMainForm form;
    form.OpenProject(p);
    form.OpenProject(q);
    bool dialog = false;
    form.JvSelectDirectoryProject->Runner = [&](TSelectDirectory &) { return dialog = true, false; };

    form.MMReopen->actions().at(1)->trigger();
    EXPECT_EQ(form.PackageName, QStringLiteral("com.example.p"));
    QTest::mouseClick(form.LBREcent0, Qt::LeftButton);
    EXPECT_EQ(form.PackageName, QStringLiteral("com.example.q"));
    EXPECT_FALSE(dialog);
    // A label without an entry has an empty hint: the folder dialog comes.
    QTest::mouseClick(form.LBREcent4, Qt::LeftButton);
    EXPECT_TRUE(dialog);
}

TEST_F(RecentTest, AmpersandInAFolderIsShownNotTakenAsAccelerator)
{
    const QString p = Project("R&D");
    TGlossmillMainForm form;
    form.OpenProject(p);
    ASSERT_EQ(form.MMReopen->actions().size(), 1);
    EXPECT_EQ(form.MMReopen->actions().at(0)->toolTip(), p);
    EXPECT_EQ(form.MMReopen->actions().at(0)->text(), QString(p).replace("&", "&&"));
    form.CloseProject();
    form.MMReopen->actions().at(0)->trigger();
    EXPECT_EQ(form.PackageName, QStringLiteral("com.example.R&D"));
}

TEST(RecentWithoutSettingsFolder, OpeningStillSucceedsSilently)
{
    TTestHome home(false);
    QTemporaryDir work;
    ASSERT_TRUE(TestSupport::WriteFile(work.path() + "/AndroidManifest.xml", "<manifest package=\"com.x\"/>"));
    TGlossmillMainForm form;
    QList<ModalDriver::TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
        form.OpenProject(work.path());
    }
    EXPECT_EQ(form.PackageName, QStringLiteral("com.x"));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(form.MMReopen->actions().isEmpty());
    EXPECT_FALSE(QFile::exists(GetIniFileName()));
}

} // namespace
