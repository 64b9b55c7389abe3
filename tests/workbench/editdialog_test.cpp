#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include "Glossmill_EditDialog.h"
#include "ModalDriver.h"

void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// Runs the dialog modally; `act` plays the translator inside the modal loop.
int ShowAndAnswer(TFEditTranslation &dialog, std::function<void(TFEditTranslation &)> act)
{
    bool reached = false;
    ModalDriver::AnswerNextModal([&](QWidget *modal) {
        reached = modal == &dialog;
        act(dialog);
    });
    const int result = dialog.exec();
    EXPECT_TRUE(reached) << "the dialog never became the active modal window";
    return result;
}

bool Wraps(const QTextEdit *box)
{
    return box->lineWrapMode() == QTextEdit::WidgetWidth &&
           box->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
           box->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
}

bool DoesNotWrap(const QTextEdit *box)
{
    return box->lineWrapMode() == QTextEdit::NoWrap && box->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn &&
           box->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

TEST(EditTranslation, LayoutAsTheTranslatorSeesIt)
{
    TFEditTranslation dialog;
    EXPECT_EQ(dialog.windowTitle(), "Translation");
    EXPECT_EQ(dialog.size(), QSize(475, 343));
    for (const char *name : {"Panel1", "BitBtn1", "BitBtn2", "Panel2", "CheckBox1", "Panel3", "Panel4", "Panel6",
                             "Panel5", "RE", "RESource", "Label1"})
        EXPECT_NE(dialog.findChild<QWidget *>(name), nullptr) << name;
    EXPECT_EQ(dialog.CheckBox1->text(), "Word Wrap");
    EXPECT_TRUE(dialog.CheckBox1->isChecked());
    EXPECT_EQ(dialog.Label1->text(), "Default text");
    EXPECT_EQ(dialog.Label1->x(), 204);
    EXPECT_EQ(dialog.Panel5->text(), "Translated text");
    EXPECT_EQ(dialog.BitBtn1->text(), "OK");
    EXPECT_EQ(dialog.BitBtn2->text(), "Cancel");
    EXPECT_EQ(dialog.BitBtn1->geometry(), QRect(16, 13, 89, 30));
    EXPECT_EQ(dialog.BitBtn2->geometry(), QRect(111, 13, 89, 30));
    EXPECT_FALSE(dialog.BitBtn1->icon().isNull());
    EXPECT_FALSE(dialog.BitBtn2->icon().isNull());
    EXPECT_TRUE(dialog.RESource->isReadOnly());
    EXPECT_FALSE(dialog.RE->isReadOnly());
    EXPECT_EQ(dialog.RE->height(), 123);
    EXPECT_TRUE(Wraps(dialog.RE));
    EXPECT_TRUE(Wraps(dialog.RESource));
}

TEST(EditTranslation, OkReturnsTheEditedTextAndShowsTheDefault)
{
    TFEditTranslation dialog;
    dialog.Fill("Alte Notiz", "Old note");
    QString shownDefault;
    const int result = ShowAndAnswer(dialog, [&](TFEditTranslation &d) {
        shownDefault = d.RESource->toPlainText();
        EXPECT_TRUE(d.RE->hasFocus());
        d.RE->selectAll();
        QTest::keyClicks(d.RE, "Neue");
        QTest::keyClick(d.RE, Qt::Key_Return);
        QTest::keyClicks(d.RE, "Notiz");
        d.BitBtn1->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(shownDefault, "Old note");
    EXPECT_EQ(dialog.Translation(), "Neue\nNotiz");
}

TEST(EditTranslation, CancelAndEscapeReject)
{
    TFEditTranslation dialog;
    for (const bool escape : {false, true}) {
        dialog.Fill("kept", "default");
        const int result = ShowAndAnswer(dialog, [escape](TFEditTranslation &d) {
            QTest::keyClicks(d.RE, " typed");
            if (escape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.BitBtn2->click();
        });
        EXPECT_EQ(result, QDialog::Rejected) << (escape ? "Esc" : "Cancel");
        // The next display starts from what the caller fills in, not from the dropped typing.
        dialog.Fill("kept", "default");
        EXPECT_EQ(dialog.Translation(), "kept");
    }
}

TEST(EditTranslation, WordWrapChoiceLastsAcrossDisplays)
{
    TFEditTranslation dialog;
    ShowAndAnswer(dialog, [](TFEditTranslation &d) {
        d.CheckBox1->click();
        d.BitBtn2->click();
    });
    EXPECT_FALSE(dialog.CheckBox1->isChecked());
    dialog.Fill("another", "item");
    bool unwrappedOnSecondShow = false;
    ShowAndAnswer(dialog, [&](TFEditTranslation &d) {
        unwrappedOnSecondShow = !d.CheckBox1->isChecked() && DoesNotWrap(d.RE) && DoesNotWrap(d.RESource);
        d.CheckBox1->click();
        d.BitBtn1->click();
    });
    EXPECT_TRUE(unwrappedOnSecondShow);
    EXPECT_TRUE(dialog.CheckBox1->isChecked());
    EXPECT_TRUE(Wraps(dialog.RE));
    EXPECT_TRUE(Wraps(dialog.RESource));
}

// Texts that must come back unchanged when the translator just presses OK.
TEST(EditTranslation, UntouchedTextComesBackExactly)
{
    const QString texts[] = {
        "",
        "plain",
        "  leading and trailing  ",
        QString("non") + QChar(QChar::Nbsp) + "breaking" + QChar(QChar::Nbsp) + QChar(QChar::Nbsp),
        "tab\tinside",
        "two\nlines",
        "ends with newline\n",
        "\n\nblank lines first",
        "<b>markup</b> &amp; \\' escapes \\n %1$s",
        QString::fromUtf8("Grüße 日本語 😀"),
    };
    TFEditTranslation dialog;
    for (const QString &text : texts) {
        dialog.Fill(text, "default");
        const int result = ShowAndAnswer(dialog, [](TFEditTranslation &d) { d.BitBtn1->click(); });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.Translation(), text);
    }
}

} // namespace
