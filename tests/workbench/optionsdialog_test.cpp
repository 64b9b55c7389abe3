#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "EditExMP.h"
#include "Glossmill_OptionsDialog.h"
#include "ModalDriver.h"
#include "ModelSettings.h"
#include "TIniFile.h"
#include "TestSupport.h"

namespace {

const QByteArray ReopenSection = "[reopen]\nitem0=/home/t/ProjectB/\nitem1=/home/t/ProjectA/\n";

class OptionsDialogTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QLineEdit mainLocaleBox;
    std::unique_ptr<TFRMOptions> dialog;

    QString path() const { return dir.filePath("Glossmill.ini"); }
    void put(const QByteArray &bytes) { ASSERT_TRUE(TestSupport::WriteFile(path(), bytes)); }
    QByteArray content() const { return TestSupport::ReadFile(path()); }
    TFRMOptions &create(const QString &file = QString())
    {
        dialog = std::make_unique<TFRMOptions>(nullptr, &mainLocaleBox, file.isEmpty() ? path() : file);
        return *dialog;
    }
};

} // namespace

TEST_F(OptionsDialogTest, FirstRunWithoutSettingsFileGivesTheDefaults)
{
    TFRMOptions &d = create();
    EXPECT_FALSE(d.ReplaceWhiteSpaces);
    EXPECT_TRUE(d.DoNotWriteBOM);
    EXPECT_TRUE(d.KeepWhiteSpaces);
    EXPECT_EQ(d.GogleTranslateGetURL, TFRMOptions::DefaultGoogleTranslateURL);
    EXPECT_TRUE(d.GogleTranslateGetURL.endsWith(
        "/?hl=%SOURCE_LOCALE_CODE%&tab=wT#%SOURCE_LOCALE_CODE%/%TARGET_LOCALE_CODE%/%TRANSLATED_TEXT%"));
    EXPECT_EQ(d.DefaultLocaleCode, "en");
    EXPECT_EQ(d.GetLocCode(), "en");
    EXPECT_EQ(d.ScrollLines, 2);
    EXPECT_EQ(mainLocaleBox.text(), "en");
    EXPECT_FALSE(QFileInfo::exists(path()));
    // The controls show the fields.
    EXPECT_TRUE(d.CHBoom->isChecked());
    EXPECT_FALSE(d.CHBEntityes->isChecked());
    EXPECT_TRUE(d.CHBKeepWhiteSpc->isChecked());
    EXPECT_EQ(d.MURL->toPlainText(), d.GogleTranslateGetURL);
    EXPECT_EQ(d.EDDefaultLocaleCode->text(), "en");
    EXPECT_EQ(d.EDScrollLines->Value(), QVariant(2));
}

TEST_F(OptionsDialogTest, TheModelReadsTheDialogsFields)
{
    put("[GENERAL]\nReplaceWhiteSpaces=1\nDoNotWriteBOM=0\nKeepWhiteSpaces=0\n");
    TFRMOptions &d = create();
    EXPECT_TRUE(ModelSettings::ReplaceWhiteSpaces());
    EXPECT_FALSE(ModelSettings::DoNotWriteBOM());
    EXPECT_FALSE(ModelSettings::KeepWhiteSpaces());
    d.CHBoom->setChecked(true);
    d.CHBKeepWhiteSpc->setChecked(true);
    EXPECT_FALSE(ModelSettings::DoNotWriteBOM()) << "an edit counts only once accepted";
    d.BitBtn1->click();
    EXPECT_TRUE(ModelSettings::DoNotWriteBOM());
    EXPECT_TRUE(ModelSettings::KeepWhiteSpaces());
    dialog.reset();
    EXPECT_TRUE(ModelSettings::DoNotWriteBOM()) << "defaults once the dialog is gone";
    EXPECT_FALSE(ModelSettings::ReplaceWhiteSpaces());
}

struct TStoredCase
{
    const char *name;
    const char *file;
    bool replace, noBom, keep;
    const char *locale;
    int scrollLines;
};

class OptionsValueFormTest : public OptionsDialogTest, public ::testing::WithParamInterface<TStoredCase>
{
};

TEST_P(OptionsValueFormTest, LoadSettins)
{
    const TStoredCase &t = GetParam();
    put(t.file);
    TFRMOptions &d = create();
    EXPECT_EQ(d.ReplaceWhiteSpaces, t.replace);
    EXPECT_EQ(d.DoNotWriteBOM, t.noBom);
    EXPECT_EQ(d.KeepWhiteSpaces, t.keep);
    EXPECT_EQ(d.DefaultLocaleCode, t.locale);
    EXPECT_EQ(mainLocaleBox.text(), t.locale);
    EXPECT_EQ(d.ScrollLines, t.scrollLines);
    EXPECT_EQ(d.CHBoom->isChecked(), t.noBom);
    EXPECT_EQ(d.CHBEntityes->isChecked(), t.replace);
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, OptionsValueFormTest,
    ::testing::Values(
        TStoredCase{"zero_turns_the_bom_on", "[GENERAL]\nDoNotWriteBOM=0\n", false, false, true, "en", 2},
        TStoredCase{"seven_reads_as_true", "[GENERAL]\nDoNotWriteBOM=7\nKeepWhiteSpaces=7\n", false, true, true,
                    "en", 2},
        TStoredCase{"hex_scroll_lines", "[GENERAL]\nScrollLines=0x10\n", false, true, true, "en", 16},
        TStoredCase{"unreadable_scroll_lines", "[GENERAL]\nScrollLines=abc\n", false, true, true, "en", 2},
        TStoredCase{"unreadable_boolean", "[GENERAL]\nKeepWhiteSpaces=yes\n", false, true, true, "en", 2},
        TStoredCase{"all_six", "[GENERAL]\nReplaceWhiteSpaces=1\nDoNotWriteBOM=0\nKeepWhiteSpaces=0\n"
                               "DefaultLocaleCode=de\nScrollLines=5\n", true, false, false, "de", 5},
        TStoredCase{"section_in_other_case", "[general]\nscrolllines=4\ndefaultlocalecode=fr\n", false, true, true,
                    "fr", 4},
        TStoredCase{"empty_locale_code_is_taken", "[GENERAL]\nDefaultLocaleCode=\n", false, true, true, "", 2},
        TStoredCase{"keys_in_another_section", "[reopen]\nScrollLines=9\nDoNotWriteBOM=0\n", false, true, true,
                    "en", 2},
        TStoredCase{"empty_file", "", false, true, true, "en", 2}),
    [](const ::testing::TestParamInfo<TStoredCase> &info) { return std::string(info.param.name); });

TEST_F(OptionsDialogTest, LongAddressIsReadUpTo2047Characters)
{
    put("[GENERAL]\nGogleTranslateGetURL=https://x/" + QByteArray(3000, 'a') + "\n");
    EXPECT_EQ(create().GogleTranslateGetURL.size(), 2047);
}

TEST_F(OptionsDialogTest, ScrollLinesOutsideTheControlsLimits)
{
    put("[GENERAL]\nScrollLines=50\n");
    TFRMOptions &d = create();
    EXPECT_EQ(d.ScrollLines, 50) << "used as stored until accepted";
    EXPECT_EQ(d.EDScrollLines->Value(), QVariant(2));
    d.BitBtn1->click();
    EXPECT_EQ(d.ScrollLines, 2);
    EXPECT_EQ(TIniFile(path()).ReadInteger("GENERAL", "ScrollLines", -1), 2);
}

TEST_F(OptionsDialogTest, OkWritesAllSixKeysAndLeavesTheRecentListAlone)
{
    put("; Glossmill\n" + ReopenSection + "\n[GENERAL]\nScrollLines=3\n\n[Other]\nx=1\n");
    TFRMOptions &d = create();
    d.BitBtn1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    TestSupport::ExpectText(content(), "; Glossmill\n" + ReopenSection +
                              "\n[GENERAL]\nScrollLines=3\nReplaceWhiteSpaces=0\nDoNotWriteBOM=1\nKeepWhiteSpaces=1\n"
                              "GogleTranslateGetURL=" + TFRMOptions::DefaultGoogleTranslateURL.toUtf8() +
                              "\nDefaultLocaleCode=en\n\n[Other]\nx=1\n");
}

TEST_F(OptionsDialogTest, OkStoresTheEditedValues)
{
    put(ReopenSection);
    TFRMOptions &d = create();
    d.CHBoom->setChecked(false);
    d.CHBKeepWhiteSpc->setChecked(false);
    d.MURL->setPlainText(" https://translate.google.de/?q=%TRANSLATED_TEXT% ");
    d.EDDefaultLocaleCode->setText(" de");
    d.EDScrollLines->EDit()->setText("7");
    QTest::keyClick(d.EDScrollLines->EDit(), Qt::Key_Return);
    d.BitBtn1->click();
    EXPECT_EQ(d.GogleTranslateGetURL, " https://translate.google.de/?q=%TRANSLATED_TEXT% ") << "not trimmed";
    EXPECT_EQ(d.DefaultLocaleCode, " de");
    EXPECT_EQ(d.GetLocCode(), " de");
    EXPECT_EQ(d.ScrollLines, 7);
    EXPECT_EQ(mainLocaleBox.text(), "en") << "the main window's box is written only at creation";
    TestSupport::ExpectText(content(), ReopenSection +
                              "\n[GENERAL]\nReplaceWhiteSpaces=0\nDoNotWriteBOM=0\nKeepWhiteSpaces=0\n"
                              "GogleTranslateGetURL= https://translate.google.de/?q=%TRANSLATED_TEXT% \n"
                              "DefaultLocaleCode= de\nScrollLines=7\n");

    // The next start reads what OK stored.
    QLineEdit nextStartBox;
    TFRMOptions next(nullptr, &nextStartBox, path());
    EXPECT_EQ(nextStartBox.text(), "de");
    EXPECT_FALSE(next.DoNotWriteBOM);
    EXPECT_EQ(next.ScrollLines, 7);
    EXPECT_EQ(next.GogleTranslateGetURL, "https://translate.google.de/?q=%TRANSLATED_TEXT%");
}

TEST_F(OptionsDialogTest, HiddenReplaceWhitespaceBoxKeepsItsValue)
{
    put("[GENERAL]\nReplaceWhiteSpaces=1\n");
    TFRMOptions &d = create();
    EXPECT_TRUE(d.CHBEntityes->isHidden());
    d.BitBtn1->click();
    EXPECT_TRUE(d.ReplaceWhiteSpaces);
    EXPECT_TRUE(TIniFile(path()).ReadBool("GENERAL", "ReplaceWhiteSpaces", false));
}

TEST_F(OptionsDialogTest, AddressWithTypedLineBreaks)
{
    TFRMOptions &d = create();
    d.MURL->setPlainText("https://a/?x=1\n&y=%TRANSLATED_TEXT%");
    d.BitBtn1->click();
    EXPECT_EQ(d.GogleTranslateGetURL, "https://a/?x=1\n&y=%TRANSLATED_TEXT%") << "kept as typed for this run";
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("GENERAL", "GogleTranslateGetURL", ""), "https://a/?x=1&y=%TRANSLATED_TEXT%");
    EXPECT_EQ(ini.ReadString("GENERAL", "DefaultLocaleCode", ""), "en") << "the file keeps its structure";
    EXPECT_EQ(ini.ReadInteger("GENERAL", "ScrollLines", -1), 2);
}

TEST_F(OptionsDialogTest, CancelStoresNothingAndTheNextShowRefreshes)
{
    put(ReopenSection);
    TFRMOptions &d = create();
    d.CHBoom->setChecked(false);
    d.EDDefaultLocaleCode->setText("xx");
    d.MURL->setPlainText("changed");
    d.EDScrollLines->setValue(9);
    d.BitBtn2->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    TestSupport::ExpectText(content(), ReopenSection);
    EXPECT_TRUE(d.DoNotWriteBOM);
    EXPECT_EQ(d.DefaultLocaleCode, "en");
    EXPECT_EQ(d.ScrollLines, 2);

    ModalDriver::AnswerNextModal([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(d.exec(), QDialog::Rejected);
    EXPECT_TRUE(d.CHBoom->isChecked());
    EXPECT_EQ(d.EDDefaultLocaleCode->text(), "en");
    EXPECT_EQ(d.MURL->toPlainText(), TFRMOptions::DefaultGoogleTranslateURL);
    EXPECT_EQ(d.EDScrollLines->Value(), QVariant(2));
    TestSupport::ExpectText(content(), ReopenSection);
}

TEST_F(OptionsDialogTest, ShownModallyAndAcceptedWithOk)
{
    TFRMOptions &d = create();
    ModalDriver::AnswerNextModal([](QWidget *w) {
        auto *options = qobject_cast<TFRMOptions *>(w);
        if (!options) {
            w->close();
            return;
        }
        options->EDDefaultLocaleCode->setText("cs");
        options->BitBtn1->click();
    });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(d.DefaultLocaleCode, "cs");
    EXPECT_EQ(TIniFile(path()).ReadString("GENERAL", "DefaultLocaleCode", ""), "cs");
}

TEST_F(OptionsDialogTest, MissingSettingsFolderShowsTheWriteErrorAndKeepsTheValues)
{
    const QString missing = dir.filePath("glossmill/Glossmill.ini");
    TFRMOptions &d = create(missing);
    d.CHBKeepWhiteSpc->setChecked(false);
    d.EDDefaultLocaleCode->setText("pl");
    ModalDriver::TMessageBoxRecord box;
    ModalDriver::AnswerNextMessageBox(QMessageBox::Ok, &box);
    d.BitBtn1->click();
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "Unable to write to " + missing);
    EXPECT_EQ(box.title, QGuiApplication::applicationDisplayName());
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.KeepWhiteSpaces);
    EXPECT_FALSE(ModelSettings::KeepWhiteSpaces());
    EXPECT_EQ(d.GetLocCode(), "pl");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("glossmill")));
}

TEST_F(OptionsDialogTest, FolderInTheFilesPlaceFailsTheSameWay)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("Glossmill.ini"));
    TFRMOptions &d = create();
    QList<ModalDriver::TMessageBoxRecord> boxes;
    {
        ModalDriver::TMessageBoxAnswerer answerer(QMessageBox::Ok, &boxes);
        d.BitBtn1->click();
    }
    ASSERT_EQ(boxes.size(), 1) << "one box for the whole save";
    EXPECT_EQ(boxes[0].text, "Unable to write to " + path());
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(OptionsDialogTest, Layout)
{
    TFRMOptions &d = create();
    EXPECT_EQ(d.objectName(), "FRMOptions");
    EXPECT_EQ(d.windowTitle(), "Options");
    EXPECT_EQ(d.size(), QSize(505, 468));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.font().pixelSize(), 11);

    struct TGeometry
    {
        const char *name;
        QRect geometry;
    };
    const TGeometry sized[] = {
        {"GroupBox1", {14, 16, 293, 85}},        {"CHBoom", {12, 28, 189, 17}},
        {"CHBEntityes", {207, 12, 269, 17}},     {"CHBKeepWhiteSpc", {12, 51, 205, 17}},
        {"MURL", {14, 146, 475, 89}},            {"EDDefaultLocaleCode", {290, 328, 41, 21}},
        {"EDScrollLines", {264, 356, 58, 21}},   {"BitBtn1", {14, 424, 97, 33}},
        {"BitBtn2", {128, 424, 103, 33}},
    };
    for (const TGeometry &g : sized) {
        auto *w = d.findChild<QWidget *>(g.name);
        ASSERT_TRUE(w) << g.name;
        EXPECT_EQ(w->geometry(), g.geometry) << g.name;
    }
    const TGeometry placed[] = {{"Bevel1", {14, 113, 475, 2}}, {"Label1", {14, 129, 0, 0}},
                                {"Label3", {14, 331, 0, 0}},   {"Label4", {14, 360, 0, 0}},
                                {"Label5", {328, 360, 0, 0}}};
    for (const TGeometry &g : placed) {
        auto *w = d.findChild<QWidget *>(g.name);
        ASSERT_TRUE(w) << g.name;
        EXPECT_EQ(w->pos(), g.geometry.topLeft()) << g.name;
    }

    // The two notes hold their area (241 to 315) between them, whatever the face needs.
    EXPECT_EQ(d.Label2->pos(), QPoint(14, 241));
    EXPECT_EQ(d.Label2->width(), 475);
    EXPECT_GE(d.Label2->height(), 32);
    EXPECT_EQ(d.Label6->width(), 475);
    EXPECT_LE(d.Label2->geometry().bottom(), d.Label6->y());
    EXPECT_EQ(d.Label6->geometry().bottom(), 279 + 36 - 1);

    EXPECT_EQ(d.GroupBox1->title(), " XML Resource File Save Options ");
    EXPECT_EQ(d.CHBoom->text(), "Do not Write BOM signature ");
    EXPECT_EQ(d.CHBEntityes->text(), "Replace whitespaces > 2 chars with Enitity signature ");
    EXPECT_EQ(d.CHBKeepWhiteSpc->text(), "Keep Whitespaces");
    EXPECT_EQ(d.Label1->text(), "Google Translate GET URL:");
    EXPECT_EQ(d.Label3->text(), "Default Source Locale Code (translation from language):");
    EXPECT_EQ(d.Label4->text(), "After Load translation page always scroll down for ");
    EXPECT_EQ(d.Label5->text(), "lines.");
    EXPECT_TRUE(d.Label2->wordWrap());
    EXPECT_TRUE(d.Label6->wordWrap());
    EXPECT_EQ(d.BitBtn1->text(), "OK");
    EXPECT_TRUE(d.BitBtn1->isDefault());
    EXPECT_EQ(d.BitBtn2->text(), "Cancel");
    EXPECT_TRUE(d.CHBEntityes->isHidden());

    TEditExMP *lines = d.EDScrollLines;
    EXPECT_EQ(lines->Kind(), ekInteger);
    EXPECT_EQ(lines->MinValue(), QVariant(0));
    EXPECT_EQ(lines->MaxValue(), QVariant(20));
    EXPECT_EQ(lines->StepValue(), QVariant(1));
    EXPECT_TRUE(lines->HistoryVisible());
    EXPECT_EQ(lines->HistoryList(), QStringList({"0", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(lines->MaxHistoryItems(), 20);
    EXPECT_TRUE(lines->Enabled());

    // Tab order: the check boxes, OK, the address, the locale code, Cancel, the scroll lines.
    const QList<QWidget *> expected = {d.CHBoom, d.CHBEntityes, d.CHBKeepWhiteSpc,    d.BitBtn1,
                                       d.MURL,   d.EDDefaultLocaleCode, d.BitBtn2, lines->EDit()};
    QList<QWidget *> chain;
    QWidget *w = d.CHBoom;
    for (int i = 0; i < 200 && chain.size() < expected.size(); ++i, w = w->nextInFocusChain())
        if (expected.contains(w) && !chain.contains(w))
            chain << w;
    EXPECT_EQ(chain, expected);
}
