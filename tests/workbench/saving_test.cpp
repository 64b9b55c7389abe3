#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTextEdit>
#include <QClipboard>
#include <QProcess>
#include <QToolButton>
#include <QTimer>

#include <functional>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include "Glossmill_EditDialog.h"
#include "ItemListDriver.h"
#include "ModalDriver.h"

using ModalDriver::TMessageBoxRecord;

namespace {

// Last-write time in nanoseconds since the epoch; 0 when the file cannot be read.
qint64 FileTimeNs(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool SetFileTimeNs(const QString &path, qint64 ns)
{
    const struct timespec times[2] = {{ns / 1000000000, long(ns % 1000000000)},
                                      {ns / 1000000000, long(ns % 1000000000)}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

qint64 FileInode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_ino) : -1;
}

QString WorkFile(const QString &path)
{
    return path.left(path.lastIndexOf('.')) + ".tmp";
}
QString BackupFile(const QString &path)
{
    return path.left(path.lastIndexOf('.')) + ".bck";
}

class SavingTest : public ::testing::Test, public TItemListDriver
{
protected:
    QString Project;

    void SetUp() override
    {
        ASSERT_TRUE(ShowActive());
        Project = WriteSample({"values", "values-de", "values-es", "values-fr", "menu"});
        Form->OpenProject(Project);
        ASSERT_FALSE(Form->PackageName.isEmpty());
        // The checks below are run by hand; a tick in between would ask with nobody there to answer.
        Form->TMCheckFileChanged->stop();
    }

    // Puts `text` into the translation of the file's first listed row through the in-place editor.
    QString EditFirstRow(const QString &localeCode, const QString &text)
    {
        EXPECT_NE(SelectFile(localeCode), nullptr);
        QTreeWidgetItem *row = Row(0);
        EXPECT_TRUE(OpenEditor(row));
        Type(text);
        Key(Qt::Key_Return);
        return row->text(1);
    }

    // Rewrites the file as another program would, inside the same second as the stamp the window holds.
    // Another program (sed) rewrites the file in place; its time is then set one microsecond after the one it had,
    // inside the same second as the stamp that the window holds.
    void ChangeOnDisk(const QString &path, const QByteArray &from, const QByteArray &to)
    {
        const qint64 before = FileTimeNs(path);
        const QByteArray bytes = TestSupport::ReadFile(path);
        ASSERT_TRUE(bytes.contains(from)) << path.toStdString();
        QProcess sed;
        sed.start("sed", {"-i", "s/" + QString::fromUtf8(from) + "/" + QString::fromUtf8(to) + "/", path});
        ASSERT_TRUE(sed.waitForFinished(10000));
        ASSERT_EQ(sed.exitCode(), 0);
        ASSERT_EQ(TestSupport::ReadFile(path), QByteArray(bytes).replace(from, to));
        ASSERT_TRUE(SetFileTimeNs(path, before + 1000));
    }
    // Opens the editor on the German app_label, types `text` and meanwhile changes the German file on disk.
    QTreeWidgetItem *TypeIntoGermanAppLabelWhileItsFileChanges(const QString &text)
    {
        if (!SelectFile("de") || !OpenEditor(RowOf("app_label")))
            return nullptr;
        Type(text);
        ChangeOnDisk(LanguageFile("values-de"), ">\"Kalender\"<", ">\"Kalender X\"<");
        return RowOf("app_label");
    }
    QString LanguageFile(const QString &folder) const { return Project + "/res/" + folder + "/strings.xml"; }
    // The language's file node, shown or not.
    TTransResourceFileNode *FileOf(const QString &localeCode) const
    {
        return dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(FileTreeNode(localeCode)));
    }
    QString DefaultFile() const { return Project + "/res/values/strings.xml"; }

    QList<TMessageBoxRecord> CheckAnswering(QMessageBox::StandardButton answer)
    {
        QList<TMessageBoxRecord> records;
        ModalDriver::TMessageBoxAnswerer answerer(answer, &records);
        // A question box takes the activation; getting it back runs the check, as the timer would.
        if (Form->isActiveWindow())
            Form->CheckFileChanged();
        else
            EXPECT_TRUE(Activate());
        return records;
    }
};

// ---------------------------------------------------------------------------------------------------------------
// Save

TEST_F(SavingTest, SaveReplacesTheFileThroughItsWorkAndBackupFilesThenWritesItDirectly)
{
    const QString path = LanguageFile("values-de");
    ASSERT_TRUE(QFileInfo::exists(WorkFile(path)));
    const QByteArray original = TestSupport::ReadFile(path);
    const qint64 inode = FileInode(path);
    const QString id = EditFirstRow("de", "Gespeichert");
    EXPECT_EQ(TestSupport::ReadFile(path), original);
    ASSERT_TRUE(Form->SBSAve->isEnabled());
    ASSERT_TRUE(Form->SBUndo->isEnabled());

    Form->SBSAve->click();
    EXPECT_TRUE(TestSupport::ReadFile(path).contains(">Gespeichert<"));
    EXPECT_NE(FileInode(path), inode); // the work file took the language file's place
    EXPECT_FALSE(QFileInfo::exists(WorkFile(path)));
    EXPECT_FALSE(QFileInfo::exists(BackupFile(path)));
    EXPECT_FALSE(Form->SBSAve->isEnabled());
    EXPECT_FALSE(Form->SBUndo->isEnabled());
    EXPECT_FALSE(Form->SBREdo->isEnabled());
    EXPECT_FALSE(File()->CanUndo());

    const qint64 savedInode = FileInode(path);
    SelectRow(RowOf(id));
    Form->NeedBetter1->trigger();
    Form->MMSave->trigger();
    EXPECT_EQ(FileInode(path), savedInode);
    EXPECT_TRUE(TestSupport::ReadFile(path).contains("Glossmill - item states storage;" + id.toUtf8() + "=3;"));
    EXPECT_FALSE(QFileInfo::exists(WorkFile(path)));
    EXPECT_FALSE(QFileInfo::exists(BackupFile(path)));
}

TEST_F(SavingTest, SaveWithoutAFileSelectedShowsNothing)
{
    EditFirstRow("de", "Offen");
    Form->TVProject->setCurrentItem(Form->GetRootNode());
    QList<TMessageBoxRecord> records;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &records);
        Form->SaveSelected();
        QTest::qWait(50);
    }
    EXPECT_TRUE(records.isEmpty());
    EXPECT_TRUE(Form->SBSaveAll->isEnabled());
}

TEST_F(SavingTest, SaveAllShowsOneBoxForTheFileThatFailsAndSavesTheOthers)
{
    const QString de = LanguageFile("values-de");
    const QString es = LanguageFile("values-es");
    const QString fr = LanguageFile("values-fr");
    EditFirstRow("de", "Erster");
    const QString esId = EditFirstRow("es", "Segundo");
    EditFirstRow("fr", "Troisieme");
    const QByteArray esBefore = TestSupport::ReadFile(es);
    // A stale backup file stops the rename that would move the Spanish file aside.
    ASSERT_TRUE(TestSupport::WriteFile(BackupFile(es), "stale"));

    QList<TMessageBoxRecord> records;
    bool result = true;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &records);
        result = Form->SaveAll();
    }
    EXPECT_FALSE(result);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].title, QStringLiteral("Save Error"));
    EXPECT_EQ(records[0].text, QStringLiteral("Can not save file ") + es);
    EXPECT_EQ(records[0].icon, QMessageBox::Critical);
    EXPECT_EQ(records[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    EXPECT_TRUE(TestSupport::ReadFile(de).contains(">Erster<"));
    EXPECT_TRUE(TestSupport::ReadFile(fr).contains(">Troisieme<"));
    EXPECT_EQ(TestSupport::ReadFile(es), esBefore);
    EXPECT_EQ(TestSupport::ReadFile(BackupFile(es)), QByteArray("stale"));
    EXPECT_TRUE(QFileInfo::exists(WorkFile(es)));
    for (const QString &saved : {de, fr}) {
        EXPECT_FALSE(QFileInfo::exists(WorkFile(saved)));
        EXPECT_FALSE(QFileInfo::exists(BackupFile(saved)));
    }

    // The edit is still there to be saved once the obstacle is gone.
    TTransResourceFileNode *spanish = SelectFile("es");
    EXPECT_TRUE(spanish->NeedSave());
    EXPECT_TRUE(Form->SBSaveAll->isEnabled());
    EXPECT_EQ(spanish->GetItemByID(esId)->TranslateValue(), QStringLiteral("Segundo"));
    ASSERT_TRUE(QFile::remove(BackupFile(es)));
    records.clear();
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &records);
        EXPECT_TRUE(Form->SaveAll());
    }
    EXPECT_TRUE(records.isEmpty());
    EXPECT_TRUE(TestSupport::ReadFile(es).contains(">Segundo<"));
    EXPECT_FALSE(QFileInfo::exists(WorkFile(es)));
    EXPECT_FALSE(QFileInfo::exists(BackupFile(es)));
    EXPECT_FALSE(Form->SBSaveAll->isEnabled());
}

TEST_F(SavingTest, AFolderInTheFilesPlaceFailsTheSaveAndLosesNoContent)
{
    const QString de = LanguageFile("values-de");
    EditFirstRow("de", "Erster");
    Form->SaveSelected(); // the work file is in place now; later saves write the file directly
    EditFirstRow("de", "Zweiter");
    const QByteArray saved = TestSupport::ReadFile(de);
    ASSERT_TRUE(QFile::rename(de, de + ".moved"));
    ASSERT_TRUE(QDir().mkdir(de));

    TMessageBoxRecord record;
    ModalDriver::AnswerNextMessageBox(QMessageBox::Ok, &record);
    Form->SBSAve->click();
    EXPECT_TRUE(record.shown);
    EXPECT_EQ(record.text, QStringLiteral("Can not save file ") + de);
    EXPECT_TRUE(File()->NeedSave());
    EXPECT_EQ(TestSupport::ReadFile(de + ".moved"), saved);

    ASSERT_TRUE(QDir().rmdir(de));
    ASSERT_TRUE(QFile::rename(de + ".moved", de));
    Form->SBSAve->click();
    EXPECT_TRUE(TestSupport::ReadFile(de).contains(">Zweiter<"));
    EXPECT_FALSE(File()->NeedSave());
}

TEST_F(SavingTest, AFileWithAStringTheDefaultLacksAsksNothingAtCloseOnceSaved)
{
    const QString de = LanguageFile("values-de");
    QByteArray bytes = TestSupport::ReadFile(de);
    ASSERT_TRUE(TestSupport::WriteFile(de, bytes.replace("</resources>", "    <string name=\"only_here\">Nur hier</string>\n</resources>")));
    Form->OpenProject(Project);
    Form->TMCheckFileChanged->stop();
    EXPECT_FALSE(Form->SBSaveAll->isEnabled());
    EditFirstRow("de", "Gespeichert");
    ASSERT_TRUE(Form->SaveAll());
    EXPECT_FALSE(Form->SBSaveAll->isEnabled());
    QList<TMessageBoxRecord> records;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Cancel, &records);
        EXPECT_TRUE(Form->CloseProject());
    }
    EXPECT_TRUE(records.isEmpty());
}

// ---------------------------------------------------------------------------------------------------------------
// Saving over another program's change

const QString OverwriteTitle = QStringLiteral("Vorel Glossmill - Translated resource file changed");
const QString OverwriteText = QStringLiteral("Resource file strings.xml (de) has been changed outside of the "
                                             "Glossmill.\r\n\r\nDo you want to save your translation over these "
                                             "changes?");

struct TOverwriteCase
{
    const char *name;
    const char *shown; // the language whose file is selected when the command runs
    std::function<void(TGlossmillMainForm *)> command;
    QMessageBox::StandardButton answer;
};

void PrintTo(const TOverwriteCase &c, std::ostream *os)
{
    *os << c.name;
}

class SavingOverOutsideChangeTest : public SavingTest, public ::testing::WithParamInterface<TOverwriteCase>
{
};

TEST_P(SavingOverOutsideChangeTest, AsksBeforeWritingOverItAndNoKeepsTheEdits)
{
    const TOverwriteCase &c = GetParam();
    const QString de = LanguageFile("values-de");
    const QString id = EditFirstRow("de", "Meine Arbeit");
    EditFirstRow("fr", "Mon travail");
    ASSERT_NE(SelectFile(c.shown), nullptr);
    TTransResourceFileNode *german = FileOf("de");
    // A pull brings the German file while the edit waits to be saved.
    ChangeOnDisk(de, ">\"Kalender\"<", ">\"Kalender von git\"<");

    QList<TMessageBoxRecord> records;
    {
        ModalDriver::TMessageBoxAnswerer answerer(c.answer, &records);
        c.command(Form.get());
        QTest::qWait(50);
    }
    ASSERT_GE(records.size(), 1);
    EXPECT_EQ(records[0].title, OverwriteTitle);
    EXPECT_EQ(records[0].text, OverwriteText);
    EXPECT_EQ(records[0].icon, QMessageBox::Question);
    EXPECT_EQ(records[0].buttons, QMessageBox::Yes | QMessageBox::No);
    for (const TMessageBoxRecord &r : records.mid(1))
        EXPECT_NE(r.title, QStringLiteral("Save Error"));
    if (QString::fromLatin1(c.shown) != "de")
        EXPECT_EQ(records.size(), 1);

    const QByteArray onDisk = TestSupport::ReadFile(de);
    if (c.answer == QMessageBox::Yes) {
        EXPECT_TRUE(onDisk.contains(">Meine Arbeit<"));
        EXPECT_FALSE(onDisk.contains("Kalender von git"));
        EXPECT_FALSE(german->NeedSave());
    } else {
        EXPECT_TRUE(onDisk.contains(">\"Kalender von git\"<"));
        EXPECT_FALSE(onDisk.contains("Meine Arbeit"));
        EXPECT_TRUE(german->NeedSave());
        EXPECT_EQ(german->GetItemByID(id)->TranslateValue(), QStringLiteral("Meine Arbeit"));
        EXPECT_TRUE(Form->SBSaveAll->isEnabled());
    }
    // The other files are saved whatever the answer.
    if (QString::fromLatin1(c.shown) != "de")
        EXPECT_TRUE(TestSupport::ReadFile(LanguageFile("values-fr")).contains(">Mon travail<"));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SavingOverOutsideChangeTest,
    ::testing::Values(
        TOverwriteCase{"SaveAllButtonYes", "fr", [](TGlossmillMainForm *f) { f->SBSaveAll->click(); }, QMessageBox::Yes},
        TOverwriteCase{"SaveAllButtonNo", "fr", [](TGlossmillMainForm *f) { f->SBSaveAll->click(); }, QMessageBox::No},
        TOverwriteCase{"SaveAllMenuNo", "fr", [](TGlossmillMainForm *f) { f->MMSaveAll->trigger(); }, QMessageBox::No},
        TOverwriteCase{"SaveAllReturnsFalseOnNo", "fr",
                       [](TGlossmillMainForm *f) { EXPECT_FALSE(f->SaveAll()); }, QMessageBox::No},
        TOverwriteCase{"SaveButtonYes", "de", [](TGlossmillMainForm *f) { f->SBSAve->click(); }, QMessageBox::Yes},
        TOverwriteCase{"SaveMenuNo", "de", [](TGlossmillMainForm *f) { f->MMSave->trigger(); }, QMessageBox::No}),
    [](const ::testing::TestParamInfo<TOverwriteCase> &info) { return std::string(info.param.name); });

TEST_F(SavingTest, AChangeAlreadyKeptAtTheReloadQuestionIsWrittenOverWithoutAsking)
{
    const QString de = LanguageFile("values-de");
    EditFirstRow("de", "Meine Arbeit");
    ChangeOnDisk(de, ">\"Kalender\"<", ">\"Kalender von git\"<");
    ASSERT_EQ(CheckAnswering(QMessageBox::No).size(), 1);
    QList<TMessageBoxRecord> records;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &records);
        EXPECT_TRUE(Form->SaveAll());
    }
    EXPECT_TRUE(records.isEmpty());
    EXPECT_TRUE(TestSupport::ReadFile(de).contains(">Meine Arbeit<"));
}

TEST_F(SavingTest, ClosingWithYesToSaveAndNoToWritingOverAnOutsideChangeKeepsTheWindowOpen)
{
    const QString de = LanguageFile("values-de");
    EditFirstRow("de", "Meine Arbeit");
    ASSERT_NE(SelectFile("fr"), nullptr);
    ChangeOnDisk(de, ">\"Kalender\"<", ">\"Kalender von git\"<");
    // Yes to saving before the close, then No to writing over the other program's change.
    QList<TMessageBoxRecord> records;
    {
        ModalDriver::TMessageBoxAnswerer answerer(
            [&records](const TMessageBoxRecord &) { return records.isEmpty() ? QMessageBox::Yes : QMessageBox::No; },
            &records);
        EXPECT_FALSE(Form->close());
    }
    QStringList titles;
    for (const TMessageBoxRecord &r : records)
        titles << r.title;
    EXPECT_EQ(titles, QStringList({QStringLiteral("Save File?"), OverwriteTitle}));
    EXPECT_TRUE(Form->isVisible());
    ASSERT_FALSE(Form->PackageName.isEmpty());
    ASSERT_NE(FileOf("de"), nullptr);
    EXPECT_TRUE(FileOf("de")->NeedSave());
    EXPECT_TRUE(TestSupport::ReadFile(de).contains("Kalender von git"));
}

// ---------------------------------------------------------------------------------------------------------------
// Outside changes

TEST_F(SavingTest, ALanguageFileChangedWithinTheSameSecondIsOfferedForReloadAndNoIsNotAskedAgain)
{
    const QString de = LanguageFile("values-de");
    ASSERT_NE(SelectFile("de"), nullptr);
    EXPECT_TRUE(CheckAnswering(QMessageBox::No).isEmpty());

    ChangeOnDisk(de, ">\"Kalender\"<", ">\"Kalender von aussen\"<");
    QList<TMessageBoxRecord> records = CheckAnswering(QMessageBox::No);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].title, QStringLiteral("Vorel Glossmill - Translated resource file changed"));
    EXPECT_EQ(records[0].text, QStringLiteral("Resource file strings.xml (de) has been changed outside of the "
                                              "Glossmill.\r\n\r\nDo you want to reload the file?"));
    EXPECT_EQ(records[0].icon, QMessageBox::Question);
    EXPECT_EQ(records[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(Form->TMCheckFileChanged->isActive());
    EXPECT_EQ(Cell("app_label"), QStringLiteral("\"Kalender\""));

    EXPECT_TRUE(CheckAnswering(QMessageBox::No).isEmpty());

    ChangeOnDisk(de, "von aussen", "neu geladen");
    records = CheckAnswering(QMessageBox::Yes);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(Cell("app_label"), QStringLiteral("\"Kalender neu geladen\""));
    EXPECT_TRUE(QFileInfo::exists(WorkFile(de)));
    EXPECT_TRUE(CheckAnswering(QMessageBox::No).isEmpty());

    // The reloaded file is the shown one: its edits are undoable as before.
    SelectRow(RowOf("app_label"));
    Form->FinalTrnslation1->trigger();
    EXPECT_TRUE(Form->SBUndo->isEnabled());
    Form->SBUndo->click();
    EXPECT_EQ(ItemOf("app_label")->TranslateState(), tsTranslated);
}

TEST_F(SavingTest, ReloadDropsTheHistoryOfTheFreedItems)
{
    const QString de = LanguageFile("values-de");
    EditFirstRow("de", "vorher");
    SelectRow(Row(1));
    Form->FinalTrnslation1->trigger();
    Form->SBUndo->click();
    ASSERT_TRUE(File()->CanUndo() && File()->CanRedo());
    ChangeOnDisk(de, ">\"Kalender\"<", ">\"Kalender 2\"<");
    ASSERT_EQ(CheckAnswering(QMessageBox::Yes).size(), 1);
    EXPECT_FALSE(File()->CanUndo());
    EXPECT_FALSE(File()->CanRedo());
    EXPECT_FALSE(Form->SBUndo->isEnabled());
    Form->DoUndo();
    Form->DoRedo();
    EXPECT_EQ(Cell("app_label"), QStringLiteral("\"Kalender 2\""));
}

TEST_F(SavingTest, NoToTheLanguageQuestionLeavesTheInPlaceEditRunning)
{
    QTreeWidgetItem *row = TypeIntoGermanAppLabelWhileItsFileChanges("halb getippt");
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(CheckAnswering(QMessageBox::No).size(), 1);
    EXPECT_EQ(Form->LItem, row);
    EXPECT_EQ(Editor()->text(), QStringLiteral("halb getippt"));
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemOf("app_label")->TranslateValue(), QStringLiteral("halb getippt"));
}

TEST_F(SavingTest, TheDefaultFileQuestionWinsAndItsNoLeavesTheEditRunningAndIsNotAskedAgain)
{
    QTreeWidgetItem *row = TypeIntoGermanAppLabelWhileItsFileChanges("weiter getippt");
    ASSERT_NE(row, nullptr);
    ChangeOnDisk(DefaultFile(), ">Calendar<", ">Calendar X<");

    QList<TMessageBoxRecord> records = CheckAnswering(QMessageBox::No);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].title, QStringLiteral("Vorel Glossmill - Base resource file changed"));
    EXPECT_EQ(records[0].text,
              QStringLiteral("Default resource file strings.xml has been changed outside of the Glossmill.\r\n\r\n"
                             "Do you want to save all translation of these file and reload project? (RECOMMENDED)."));
    EXPECT_EQ(records[0].icon, QMessageBox::Question);
    EXPECT_EQ(Form->LItem, row);
    EXPECT_EQ(Editor()->text(), QStringLiteral("weiter getippt"));

    // The default file's change is known now; the language file's is asked next.
    records = CheckAnswering(QMessageBox::No);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].title, QStringLiteral("Vorel Glossmill - Translated resource file changed"));
    EXPECT_TRUE(CheckAnswering(QMessageBox::No).isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemOf("app_label")->TranslateValue(), QStringLiteral("weiter getippt"));
}

TEST_F(SavingTest, YesToTheDefaultQuestionSavesTheTextBeingTyped)
{
    ASSERT_NE(SelectFile("de"), nullptr);
    ASSERT_TRUE(OpenEditor(RowOf("app_label")));
    Type("Mitgespeichert");
    ChangeOnDisk(DefaultFile(), ">Calendar<", ">Calendar X<");
    ASSERT_EQ(CheckAnswering(QMessageBox::Yes).size(), 1);
    EXPECT_TRUE(TestSupport::ReadFile(LanguageFile("values-de")).contains(">Mitgespeichert<"));
    ASSERT_NE(File(), nullptr);
    EXPECT_EQ(ItemOf("app_label")->TranslateValue(), QStringLiteral("Mitgespeichert"));
}

// ---------------------------------------------------------------------------------------------------------------
// The text being typed in the list's editor

TEST_F(SavingTest, SaveWhileEditingSavesTheTypedText)
{
    const struct
    {
        const char *name;
        std::function<void(SavingTest &)> save;
    } cases[] = {
        {"Save in the menu", [](SavingTest &t) { t.Form->MMSave->trigger(); }},
        {"the Save button", [](SavingTest &t) { t.Form->SBSAve->click(); }},
        {"Save All in the menu", [](SavingTest &t) { t.Form->MMSaveAll->trigger(); }},
        {"the Save All button", [](SavingTest &t) { t.Form->SBSaveAll->click(); }},
    };
    const QString path = LanguageFile("values-de");
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(SelectFile("de"), nullptr);
        ASSERT_FALSE(Form->SBSaveAll->isEnabled());
        ASSERT_TRUE(OpenEditor(RowOf("app_label")));
        const QString typed = QStringLiteral("Gespeichert %1").arg(++n);
        Type(typed);
        // Typing alone makes the file one to save.
        EXPECT_TRUE(Form->SBSAve->isEnabled());
        EXPECT_TRUE(Form->MMSave->isEnabled());
        EXPECT_TRUE(Form->SBSaveAll->isEnabled());
        EXPECT_TRUE(Form->MMSaveAll->isEnabled());
        c.save(*this);
        EXPECT_TRUE(TestSupport::ReadFile(path).contains(">" + typed.toUtf8() + "<"));
        EXPECT_EQ(Form->LItem, nullptr);
        EXPECT_FALSE(File()->NeedSave());
        EXPECT_FALSE(Form->SBSAve->isEnabled());
    }
}

TEST_F(SavingTest, EscAfterTypingLeavesNothingToSave)
{
    ASSERT_NE(SelectFile("de"), nullptr);
    ASSERT_TRUE(OpenEditor(RowOf("app_label")));
    Type("verworfen");
    ASSERT_TRUE(Form->SBSaveAll->isEnabled());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Form->SBSAve->isEnabled());
    EXPECT_FALSE(Form->SBSaveAll->isEnabled());
}

TEST_F(SavingTest, ClosingWhileEditingAsksAboutTheTypedText)
{
    const struct
    {
        const char *name;
        std::function<void(SavingTest &)> close;
        QMessageBox::StandardButton answer;
        bool saved;
    } cases[] = {
        {"Close project, Cancel", [](SavingTest &t) { t.Form->MMCloseProject->trigger(); }, QMessageBox::Cancel, false},
        {"Close project, Yes", [](SavingTest &t) { t.Form->MMCloseProject->trigger(); }, QMessageBox::Yes, true},
        {"another project opened, Yes", [](SavingTest &t) { t.Form->OpenProject(t.Form->GetProjectDir()); }, QMessageBox::Yes, true},
        {"the window closed, Cancel", [](SavingTest &t) { t.Form->close(); }, QMessageBox::Cancel, false},
        {"the window closed, Yes", [](SavingTest &t) { t.Form->close(); }, QMessageBox::Yes, true},
    };
    const QString path = LanguageFile("values-de");
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (Form->PackageName.isEmpty())
            Form->OpenProject(Project);
        Form->TMCheckFileChanged->stop();
        ASSERT_NE(SelectFile("de"), nullptr);
        ASSERT_TRUE(OpenEditor(RowOf("app_label")));
        const QString typed = QStringLiteral("Beim Schliessen %1").arg(++n);
        Type(typed);
        QList<TMessageBoxRecord> records;
        {
            ModalDriver::TMessageBoxAnswerer answerer(c.answer, &records);
            c.close(*this);
        }
        EXPECT_EQ(records.size(), 1);
        EXPECT_TRUE(!records.isEmpty() && records[0].title == QStringLiteral("Save File?"));
        EXPECT_EQ(TestSupport::ReadFile(path).contains(">" + typed.toUtf8() + "<"), c.saved);
        if (!c.saved) {
            // Kept open, with the text stored in its item.
            ASSERT_FALSE(Form->PackageName.isEmpty());
            EXPECT_EQ(ItemOf("app_label")->TranslateValue(), typed);
            EXPECT_TRUE(Form->SBSaveAll->isEnabled());
            ModalDriver::TMessageBoxAnswerer discard(QMessageBox::No, nullptr);
            ASSERT_TRUE(Form->CloseProject());
        }
    }
}

TEST_F(SavingTest, YesToTheDefaultQuestionSavesAllAndReopensOnTheSameFile)
{
    const QString id = EditFirstRow("fr", "Sauvegarde");
    ASSERT_NE(SelectFile("de"), nullptr);
    ChangeOnDisk(DefaultFile(), ">Calendar<", ">Calendar X<");
    ASSERT_EQ(CheckAnswering(QMessageBox::Yes).size(), 1);
    ASSERT_NE(File(), nullptr);
    EXPECT_EQ(File()->LocaleDesc.LocaleCode, QStringLiteral("de"));
    EXPECT_EQ(File()->ResourceFileName, LanguageFile("values-de"));
    EXPECT_EQ(ItemOf("app_label")->FBaseValue, QStringLiteral("Calendar X"));
    EXPECT_TRUE(TestSupport::ReadFile(LanguageFile("values-fr")).contains(">Sauvegarde<"));
    EXPECT_TRUE(Form->TMCheckFileChanged->isActive());
    EXPECT_TRUE(CheckAnswering(QMessageBox::No).isEmpty());
}

TEST_F(SavingTest, YesToTheDefaultQuestionReopensOnTheSameRegionNotAnotherOfItsLanguage)
{
    const struct
    {
        const char *shown;
        QStringList others; // languages of the same code, earlier in the tree
    } cases[] = {
        {"values-en-rGB", {"values-en-rAU"}},
        {"values-en-rGB", {"values-en"}},
        {"values-pt-rBR", {"values-pt", "values-pt-rAO"}},
        {"values-az-r_#Latn", {"values-az", "values-az-r_#Cyrl"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shown);
        for (const QString &folder : c.others + QStringList{c.shown})
            if (!QFileInfo::exists(LanguageFile(folder)))
                ASSERT_TRUE(TestSupport::CopyTree(Project + "/res/values-de", Project + "/res/" + folder));
        Form->OpenProject(Project);
        Form->TMCheckFileChanged->stop();
        QTreeWidgetItem *shown = nullptr;
        for (QTreeWidgetItemIterator it(Form->TVProject); *it && !shown; ++it) {
            auto *file = dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(*it));
            if (file && file->LocaleDesc.ValuesFolderName == QString::fromLatin1(c.shown))
                shown = *it;
        }
        ASSERT_NE(shown, nullptr);
        Form->TVProject->setCurrentItem(shown);

        ChangeOnDisk(DefaultFile(), ">Calendar", ">Calendar+");
        ASSERT_EQ(CheckAnswering(QMessageBox::Yes).size(), 1);
        ASSERT_NE(File(), nullptr);
        EXPECT_EQ(File()->ResourceFileName, LanguageFile(c.shown));
        EXPECT_EQ(File()->LocaleDesc.ValuesFolderName, QString::fromLatin1(c.shown));
        Form->TMCheckFileChanged->stop();
    }
}

TEST_F(SavingTest, WhenSavingFailsBeforeTheReopenTheProjectStaysAndTheQuestionComesAgain)
{
    EditFirstRow("fr", "Sauvegarde");
    ASSERT_TRUE(TestSupport::WriteFile(BackupFile(LanguageFile("values-fr")), "stale"));
    ASSERT_NE(SelectFile("de"), nullptr);
    TTransResourceFileNode *german = File();
    ChangeOnDisk(DefaultFile(), ">Calendar<", ">Calendar X<");
    const QList<TMessageBoxRecord> records = CheckAnswering(QMessageBox::Yes);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].title, QStringLiteral("Save Error"));
    EXPECT_EQ(File(), german);
    EXPECT_EQ(CheckAnswering(QMessageBox::No).size(), 1);
}

TEST_F(SavingTest, TheActivationAsTheEditWindowClosesLeavesTheCheckToLater)
{
    ASSERT_NE(SelectFile("de"), nullptr);
    SelectRow(RowOf("app_label"));
    ChangeOnDisk(LanguageFile("values-de"), ">\"Kalender\"<", ">\"Kalender Y\"<");
    QList<TMessageBoxRecord> records;
    ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Yes, &records);
    ModalDriver::AnswerNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<TFEditTranslation *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        dialog->RE->setPlainText(QStringLiteral("Im Fenster"));
        dialog->BitBtn1->click();
        // The main window gets the activation back before the dialog's loop has returned.
        Form->FormActivate();
    });
    Form->SBEditInWindow->click();
    EXPECT_TRUE(records.isEmpty());
    EXPECT_EQ(ItemOf("app_label")->TranslateValue(), QStringLiteral("Im Fenster"));
    EXPECT_EQ(Cell("app_label"), QStringLiteral("Im Fenster"));

    // The next check asks; Yes reloads what the other program wrote.
    if (!Form->isActiveWindow())
        ASSERT_TRUE(Activate());
    Form->CheckFileChanged();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(Cell("app_label"), QStringLiteral("\"Kalender Y\""));
}

TEST_F(SavingTest, TheTimerRunsTheCheckOnlyWhileTheWindowIsActive)
{
    ASSERT_NE(SelectFile("de"), nullptr);
    Form->TMCheckFileChanged->start(50);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ChangeOnDisk(LanguageFile("values-de"), ">\"Kalender\"<", ">\"Kalender T\"<");

    QList<TMessageBoxRecord> records;
    ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &records);
    QTest::qWait(300);
    EXPECT_TRUE(records.isEmpty());
    other.close();
    ASSERT_TRUE(Activate());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !records.isEmpty(); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(records.size(), 1);
}

// ---------------------------------------------------------------------------------------------------------------
// A project the user may only read

TEST(ReadOnlyProject, OpensEveryFileAndOnlyASaveFailsWithTheSaveError)
{
    const QString asNobody = qEnvironmentVariable("GLOSSMILL_READONLY_PROJECT");
    if (!asNobody.isEmpty()) {
        ASSERT_NE(::geteuid(), 0u);
        TItemListDriver d;
        ASSERT_TRUE(d.ShowActive());
        QList<TMessageBoxRecord> boxes;
        {
            ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
            d.Form->OpenProject(asNobody);
        }
        for (const TMessageBoxRecord &b : boxes)
            ADD_FAILURE() << b.title.toStdString() << ": " << b.text.toStdString();
        ASSERT_FALSE(d.Form->PackageName.isEmpty());
        d.Form->TMCheckFileChanged->stop();
        for (const char *code : {"de", "fr"})
            EXPECT_NE(d.FileTreeNode(code), nullptr) << code;

        const QString de = asNobody + "/res/values-de/strings.xml";
        const QByteArray before = TestSupport::ReadFile(de);
        ASSERT_NE(d.SelectFile("de"), nullptr);
        EXPECT_FALSE(d.Form->SBSaveAll->isEnabled());
        ASSERT_TRUE(d.OpenEditor(d.Row(0)));
        d.Type(QStringLiteral("Neu"));
        d.Key(Qt::Key_Return);
        boxes.clear();
        {
            ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
            d.Form->SBSAve->click();
        }
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Save Error"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("Can not save file ") + de);
        EXPECT_EQ(TestSupport::ReadFile(de), before);
        EXPECT_TRUE(d.File()->NeedSave());
        ModalDriver::TMessageBoxAnswerer discard(QMessageBox::No, nullptr);
        EXPECT_TRUE(d.Form->CloseProject());
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs as the user nobody, which only root can switch to";
    QTemporaryDir dir;
    const QString project = dir.path() + "/sample";
    ASSERT_TRUE(SampleProject::Write(project, {"values", "values-de", "values-fr"}));
    ASSERT_TRUE(TestSupport::MakeReadableToAll(dir.path()));
    const QStringList before = QDir(project + "/res/values-de").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const int code = TestSupport::RunCurrentTestAsNobody("GLOSSMILL_READONLY_PROJECT", project);
    if (code == 126 || code == 127)
        GTEST_SKIP() << "the user nobody may not run this test program where it lies";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(QDir(project + "/res/values-de").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

// ---------------------------------------------------------------------------------------------------------------
// Whole project round trip

struct TItemRecord
{
    QString value;
    tTransState state;
};
using TFileRecord = QMap<QString, TItemRecord>;

// Edits every language file of the project through the window, saves all, reopens and compares.
void EveryLanguageFileSavedAfterEditsReopensWithEditsMarksAndUntouchedTexts(TItemListDriver &d, const QString &project)
{
    ASSERT_TRUE(d.ShowActive());
    d.Form->OpenProject(project);
    ASSERT_FALSE(d.Form->PackageName.isEmpty());

    QList<QTreeWidgetItem *> fileNodes;
    for (QTreeWidgetItemIterator it(d.Form->TVProject); *it; ++it)
        if (dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(*it)))
            fileNodes << *it;
    ASSERT_GT(fileNodes.size(), 50);

    QMap<QString, TFileRecord> expected;
    int n = 0;
    for (QTreeWidgetItem *node : fileNodes) {
        d.Form->TVProject->setCurrentItem(node);
        TTransResourceFileNode *file = d.File();
        ASSERT_GT(d.RowCount(), 6) << file->ResourceFileName.toStdString();
        ++n;
        // A few edits of each kind, spread over the list.
        if (n % 10 == 1) {
            ASSERT_TRUE(d.OpenEditor(d.Row(0)));
            d.Type(QStringLiteral("Übersetzt & <geprüft> %1").arg(n));
            d.Key(Qt::Key_Return);
        } else {
            d.SelectRow(d.Row(0));
            QGuiApplication::clipboard()->setText(QStringLiteral("Eingefügt \"%1\" – ok").arg(n));
            d.Form->BAcceptFromGoogleClick();
        }
        d.SelectRow(d.Row(2));
        d.Form->FinalTrnslation1->trigger();
        d.SelectRow(d.Row(4));
        d.Form->NeedBetter1->trigger();
        d.SelectRow(d.Row(6));
        d.Form->Donottranslate1->trigger();

        // A menu item left untranslated keeps the default's title in the file, which reads back as a text to better.
        const bool menu = dynamic_cast<TTransResourceFileNode_Menu *>(file) != nullptr;
        TFileRecord record;
        for (const auto &item : file->TransItems()) {
            if (item->FBaseValue.isEmpty() || record.contains(item->ID))
                continue;
            const bool untranslated = item->TranslateState() == tsDontTranslate || item->TranslateState() == tsBaseNotPresent;
            if (menu && untranslated && item->TranslateValue().isEmpty())
                record.insert(item->ID, {item->FBaseValue, tsNeedBetter});
            else
                record.insert(item->ID, {item->TranslateValue(), item->TranslateState()});
        }
        expected.insert(file->ResourceFileName, record);
    }

    QList<TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &boxes);
        EXPECT_TRUE(d.Form->SaveAll());
        d.Form->CloseProject();
    }
    for (const TMessageBoxRecord &b : boxes)
        ADD_FAILURE() << b.title.toStdString() << ": " << b.text.toStdString();
    d.Form->OpenProject(project);
    ASSERT_FALSE(d.Form->PackageName.isEmpty());

    int files = 0;
    for (QTreeWidgetItemIterator it(d.Form->TVProject); *it; ++it) {
        auto *file = dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(*it));
        if (!file)
            continue;
        ++files;
        SCOPED_TRACE(file->ResourceFileName.toStdString());
        ASSERT_TRUE(expected.contains(file->ResourceFileName));
        const TFileRecord &record = expected[file->ResourceFileName];
        int compared = 0;
        for (auto at = record.begin(); at != record.end(); ++at) {
            const TTranslateItem *item = file->GetItemByID(at.key());
            ASSERT_NE(item, nullptr) << at.key().toStdString();
            EXPECT_EQ(item->TranslateValue(), at.value().value) << at.key().toStdString();
            EXPECT_EQ(item->TranslateState(), at.value().state) << at.key().toStdString();
            ++compared;
        }
        EXPECT_GT(compared, 6);
    }
    EXPECT_EQ(files, fileNodes.size());
}

TEST(SavingRoundTrip, EveryLanguageFileSavedAfterEditsReopensWithEditsMarksAndUntouchedTexts)
{
    TItemListDriver d;
    EveryLanguageFileSavedAfterEditsReopensWithEditsMarksAndUntouchedTexts(d, d.WriteSample());
}

TEST(CorpusSavingRoundTrip, EveryLanguageFileOfARealProjectSavedAfterEditsReopensWithEditsMarksAndUntouchedTexts)
{
    GLOSSMILL_REQUIRE_CORPUS();
    TItemListDriver d;
    const QString project = d.Work.path() + "/etar";
    ASSERT_TRUE(TestSupport::CopyTree(TestSupport::CorpusDir() + "/etar", project));
    EveryLanguageFileSavedAfterEditsReopensWithEditsMarksAndUntouchedTexts(d, project);
}

} // namespace
