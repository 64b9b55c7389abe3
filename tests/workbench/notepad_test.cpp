#include <gtest/gtest.h>

#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "Glossmill_MainForm.h"
#include "ModalDriver.h"
#include "RtfText.h"
#include "TestSupport.h"
#include "WordPadFixtures.h"
#include "WorkbenchTestHome.h"

using ModalDriver::TMessageBoxRecord;

namespace {

QTextEdit *Notepad(TGlossmillMainForm &form)
{
    QTextEdit *notepad = form.findChild<QTextEdit *>(QStringLiteral("RENotepad"));
    EXPECT_NE(notepad, nullptr);
    return notepad;
}

QStringList Paragraphs(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

QStringList ParagraphsOfFile(const QString &path)
{
    QTextDocument doc;
    EXPECT_TRUE(RtfToDocument(TestSupport::ReadFile(path), &doc));
    return Paragraphs(doc);
}

void TypeAtTheEnd(QTextEdit *notepad, const QString &text)
{
    QTest::keyClick(notepad, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(notepad, text);
}

class NotepadWordPadFiles : public ::testing::TestWithParam<TWordPadFixture>
{
protected:
    TTestHome Home;
};

TEST_P(NotepadWordPadFiles, ShownAsWrittenAndLeftAloneWhenUnchanged)
{
    ASSERT_TRUE(TestSupport::WriteFile(GetNotepadFileName(), GetParam().rtf));
    TGlossmillMainForm form;
    form.show();
    QTabWidget *pane = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    ASSERT_NE(pane, nullptr);
    pane->setCurrentWidget(form.findChild<QWidget *>(QStringLiteral("TabSheet2")));
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->tabText(pane->currentIndex()), QStringLiteral("Notepad"));
    EXPECT_EQ(Paragraphs(*Notepad(form)->document()), GetParam().paragraphs);
    EXPECT_TRUE(form.close());
    TestSupport::ExpectText(TestSupport::ReadFile(GetNotepadFileName()), GetParam().rtf);
}

TEST_P(NotepadWordPadFiles, EditedNotesAreWrittenWithEveryCharacter)
{
    ASSERT_TRUE(TestSupport::WriteFile(GetNotepadFileName(), GetParam().rtf));
    {
        TGlossmillMainForm form;
        TypeAtTheEnd(Notepad(form), QStringLiteral(" added"));
        EXPECT_TRUE(form.close());
    }
    QStringList expected = GetParam().paragraphs;
    expected.last() += QStringLiteral(" added");
    EXPECT_EQ(ParagraphsOfFile(GetNotepadFileName()), expected);

    TGlossmillMainForm again;
    EXPECT_EQ(Paragraphs(*Notepad(again)->document()), expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, NotepadWordPadFiles, ::testing::ValuesIn(kWordPadFixtures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Notepad, PicturesAndTablesStayUntilTheNotesChange)
{
    TTestHome home;
    const QByteArray rtf = R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat{\fonttbl{\f0\fnil\fcharset0 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\f0\fs22 Screenshot of the menu:\par
{\pict{\*\picprop}\wmetafile8\picw2117\pich794\picwgoal1200\pichgoal450 
0100090000035000000000002700000000000400000003010800050000000b0200000000050000000c021b005000
}\par
\trowd\trgaph108\cellx2000\cellx4000 \pard\intbl One\cell Two\cell\row 
\pard Done.\par
}
)";
    ASSERT_TRUE(TestSupport::WriteFile(GetNotepadFileName(), rtf));
    {
        TGlossmillMainForm form;
        EXPECT_TRUE(Notepad(form)->toPlainText().contains("Screenshot of the menu:"));
        EXPECT_TRUE(form.close());
    }
    TestSupport::ExpectText(TestSupport::ReadFile(GetNotepadFileName()), rtf);

    TGlossmillMainForm form;
    TypeAtTheEnd(Notepad(form), "More.");
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(ParagraphsOfFile(GetNotepadFileName()).contains("More.")) << "a change is written";
}

TEST(Notepad, TooLargeToReadIsNeitherReadNorWritten)
{
    TTestHome home;
    // Sparse: over 2 GiB long, and no disk used beyond its first bytes.
    const QByteArray head = "{\\rtf1 notes kept elsewhere ";
    const qint64 size = (qint64(1) << 31) + 16;
    {
        QFile file(GetNotepadFileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(head), head.size());
        ASSERT_TRUE(file.resize(size));
    }
    const auto unchanged = [&] {
        QFile file(GetNotepadFileName());
        return file.size() == size && file.open(QIODevice::ReadOnly) && file.read(head.size()) == head;
    };

    {
        TGlossmillMainForm form;
        EXPECT_TRUE(Notepad(form)->toPlainText().isEmpty());
        QList<TMessageBoxRecord> boxes;
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::No, &boxes);
        EXPECT_TRUE(form.close());
        EXPECT_TRUE(boxes.isEmpty()) << "nothing typed, nothing to lose";
    }
    EXPECT_TRUE(unchanged());

    // Notes typed meanwhile cannot go to that file: the user is asked, as when the file cannot be written.
    TGlossmillMainForm form;
    TypeAtTheEnd(Notepad(form), "typed");
    TMessageBoxRecord box;
    ModalDriver::AnswerNextMessageBox(QMessageBox::No, &box);
    EXPECT_FALSE(form.close());
    ASSERT_TRUE(box.shown);
    EXPECT_TRUE(box.text.contains(GetNotepadFileName()));
    ModalDriver::AnswerNextMessageBox(QMessageBox::Yes, &box);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(unchanged());
}

} // namespace
