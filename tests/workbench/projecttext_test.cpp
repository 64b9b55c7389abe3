// Text that comes from the project's files (package name, paths, file names) is shown as it is written: what looks
// like markup in it is text, never formatting.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <functional>

#include "ItemListDriver.h"
#include "ModalDriver.h"
#include "TIniFile.h"

namespace {

const QString Package = QStringLiteral("com.<b>bold</b>.<i>app");
// A folder name may hold "<" and ">" (no "/"), and a menu file's name too.
const QString FolderName = QStringLiteral("p<i>roj");
const QString MenuName = QStringLiteral("<b>m.xml");

// The text a label shows, read back the way a user copies it: `length` characters selected from its start, line
// breaks as "\n". Markup taken for formatting shows fewer characters, so the selection then fails.
QString ShownText(QLabel *label, int length)
{
    label->setTextInteractionFlags(label->textInteractionFlags() | Qt::TextSelectableByMouse);
    label->setSelection(0, length);
    return label->selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

class ProjectTextTest : public ::testing::Test, public TItemListDriver
{
public:
    QString Project;

    void SetUp() override
    {
        ASSERT_TRUE(ShowActive());
        Project = Work.path() + "/" + FolderName;
        const QByteArray strings = "<resources><string name=\"a\">A</string><string name=\"b\">B</string></resources>";
        const QByteArray menu =
            "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">"
            "<item android:id=\"@+id/x\" android:title=\"X\"/></menu>";
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/AndroidManifest.xml",
                                           "<manifest package=\"com.&lt;b&gt;bold&lt;/b&gt;.&lt;i&gt;app\"/>"));
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/values/strings.xml", strings));
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/values-de/strings.xml", strings));
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/menu/" + MenuName, menu));
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/menu-de/" + MenuName, menu));
    }
    void Open()
    {
        Form->OpenProject(Project);
        ASSERT_EQ(Form->PackageName, Package);
        Form->TMCheckFileChanged->stop();
    }
    // Another program writes the file: its time moves on.
    static void TouchLater(const QString &path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    }
};

// ---------------------------------------------------------------------------------------------------------------
// Labels

struct TLabelCase
{
    const char *label;
    std::function<QString(const QString &project)> expected;
    const char *select; // "root" or "language": the tree node whose page shows the label
};

void PrintTo(const TLabelCase &c, std::ostream *os)
{
    *os << c.label;
}

class ProjectTextLabelTest : public ProjectTextTest, public ::testing::WithParamInterface<TLabelCase>
{
};

TEST_P(ProjectTextLabelTest, ShowsTheTextAsWritten)
{
    Open();
    QTreeWidgetItem *node = Form->GetRootNode();
    if (QString::fromLatin1(GetParam().select) == "language")
        node = FileTreeNode("de")->parent()->parent();
    Form->TVProject->setCurrentItem(node);
    auto *label = Form->findChild<QLabel *>(GetParam().label);
    ASSERT_NE(label, nullptr);
    const QString expected = GetParam().expected(Project);
    EXPECT_EQ(label->text(), expected);
    EXPECT_EQ(ShownText(label, expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, ProjectTextLabelTest,
    ::testing::Values(
        TLabelCase{"LBPackageName",
                   [](const QString &p) { return Package + " [" + p + "/AndroidManifest.xml]"; }, "root"},
        TLabelCase{"LBPackageNameOnWelcome", [](const QString &) { return Package; }, "root"},
        TLabelCase{"LBProjNameOnWelcome", [](const QString &p) { return p + "/AndroidManifest.xml"; }, "root"},
        TLabelCase{"LBREcent0", [](const QString &p) { return p + "/"; }, "root"},
        TLabelCase{"LBValuesFolderName", [](const QString &p) { return p + "/res/values-de"; }, "language"},
        TLabelCase{"LBMenuFolderName", [](const QString &p) { return p + "/res/menu-de"; }, "language"}),
    [](const ::testing::TestParamInfo<TLabelCase> &info) { return std::string(info.param.label); });

TEST_F(ProjectTextTest, ARecentFoldersHintShowsThePathAsWritten)
{
    Open();
    QLabel *label = Form->LBREcent0;
    const QString expected = Project + "/";
    ASSERT_EQ(label->toolTip(), expected);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &help);
    QLabel *tip = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
                    tip = qobject_cast<QLabel *>(w);
            return tip != nullptr;
        },
        3000));
    EXPECT_EQ(ShownText(tip, expected.size()), expected);
    QToolTip::hideText();
}

// ---------------------------------------------------------------------------------------------------------------
// Message boxes

struct TBoxCase
{
    const char *name;
    // Brings the box up; `answer` is pressed on it.
    std::function<void(ProjectTextTest *)> provoke;
    QMessageBox::StandardButton answer;
    QString title;
    std::function<QString(ProjectTextTest *)> expected;
};

void PrintTo(const TBoxCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProjectTextBoxTest : public ProjectTextTest, public ::testing::WithParamInterface<TBoxCase>
{
};

TEST_P(ProjectTextBoxTest, ShowsTheTextAsWritten)
{
    const TBoxCase &c = GetParam();
    QString title, shown, text;
    ModalDriver::AnswerNextModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box) {
            w->close();
            return;
        }
        title = box->windowTitle();
        text = box->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (auto *label = box->findChild<QLabel *>("qt_msgbox_label"))
            shown = ShownText(label, text.size());
        box->button(c.answer)->click();
    });
    c.provoke(this);
    ASSERT_EQ(title, c.title);
    const QString expected = c.expected(this);
    EXPECT_TRUE(text.contains(expected)) << text.toStdString();
    EXPECT_EQ(shown, text);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ProjectTextBoxTest,
    ::testing::Values(
        TBoxCase{"ResourceFileError",
                 [](ProjectTextTest *t) {
                     ASSERT_TRUE(TestSupport::WriteFile(t->Project + "/res/values-fr/strings.xml", "<resources><"));
                     t->Form->OpenProject(t->Project);
                 },
                 QMessageBox::Ok, "Resource File Error",
                 [](ProjectTextTest *t) { return t->Project + "/res/values-fr/strings.xml"; }},
        TBoxCase{"SaveError",
                 [](ProjectTextTest *t) {
                     t->Open();
                     ASSERT_NE(t->SelectFile("de"), nullptr);
                     t->SelectRow(t->Row(0));
                     t->Form->FinalTrnslation1->trigger();
                     // A stale backup file stops the save.
                     ASSERT_TRUE(TestSupport::WriteFile(t->Project + "/res/values-de/strings.bck", "stale"));
                     t->Form->SBSAve->click();
                 },
                 QMessageBox::Ok, "Save Error",
                 [](ProjectTextTest *t) { return t->Project + "/res/values-de/strings.xml"; }},
        TBoxCase{"ReloadQuestion",
                 [](ProjectTextTest *t) {
                     t->Open();
                     ASSERT_NE(t->SelectFile("de", MenuName), nullptr);
                     ProjectTextTest::TouchLater(t->File()->ResourceFileName);
                     t->Form->CheckFileChanged();
                 },
                 QMessageBox::No, "Vorel Glossmill - Translated resource file changed",
                 [](ProjectTextTest *) { return MenuName + " (de) has been changed"; }},
        TBoxCase{"OverwriteQuestion",
                 [](ProjectTextTest *t) {
                     t->Open();
                     ASSERT_NE(t->SelectFile("de", MenuName), nullptr);
                     t->SelectRow(t->Row(0));
                     t->Form->FinalTrnslation1->trigger();
                     ProjectTextTest::TouchLater(t->File()->ResourceFileName);
                     t->Form->SaveSelected();
                 },
                 QMessageBox::No, "Vorel Glossmill - Translated resource file changed",
                 [](ProjectTextTest *) { return MenuName + " (de) has been changed"; }}),
    [](const ::testing::TestParamInfo<TBoxCase> &info) { return std::string(info.param.name); });

} // namespace
