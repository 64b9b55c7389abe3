#include <gtest/gtest.h>
#include <QListWidget>
#include <QPushButton>
#include <QSet>

#include "Glossmill_SelectLangDialog.h"
#include "LocaleListRows.h"
#include "ModalDriver.h"

namespace {

const TLocaleDesc &DescOfRow(const TFormSelectLang &dialog, int row)
{
    return LocaleListRows::ContainerOf(dialog.LBLanguages->item(row))->LangDesc;
}

int RowOfFolder(const TFormSelectLang &dialog, const QString &folder)
{
    for (int i = 0; i < dialog.LBLanguages->count(); ++i)
        if (DescOfRow(dialog, i).ValuesFolderName == folder)
            return i;
    return -1;
}

QString SelectedFolder(const TFormSelectLang &dialog)
{
    const TLocaleDescContainer *c = LocaleListRows::ContainerOf(LocaleListRows::SelectedRow(dialog.LBLanguages));
    return c ? c->LangDesc.ValuesFolderName : QString();
}

// Upper-cases a to z only, as the list's order does.
QString FoldAZ(const QString &s)
{
    QString r = s;
    for (QChar &c : r)
        if (c >= 'a' && c <= 'z')
            c = QChar(c.unicode() - 32);
    return r;
}

} // namespace

TEST(SelectLangDialog, HoldsEveryTableRowOnceSortedWithoutRegardToCase)
{
    TFormSelectLang dialog;
    ASSERT_EQ(dialog.LBLanguages->count(), 627);
    QSet<QString> folders;
    for (int i = 0; i < dialog.LBLanguages->count(); ++i) {
        const TLocaleDesc &d = DescOfRow(dialog, i);
        folders.insert(d.ValuesFolderName);
        EXPECT_EQ(dialog.LBLanguages->item(i)->text(), d.LocaleName + " (" + d.ValuesFolderName.mid(7) + ")");
        if (i > 0) {
            const QString prev = FoldAZ(dialog.LBLanguages->item(i - 1)->text());
            const QString cur = FoldAZ(dialog.LBLanguages->item(i)->text());
            EXPECT_LT(prev, cur) << "rows " << i - 1 << " and " << i;
        }
    }
    EXPECT_EQ(folders.size(), 627);
    EXPECT_EQ(dialog.LBLanguages->item(0)->text(), "Afrikaans (af)");
    EXPECT_EQ(SelectedFolder(dialog), "");
}

TEST(SelectLangDialog, RowTextShowsTheFolderQualifier)
{
    TLocaleDesc d;
    d.LocaleName = "Afrikaans (Namibia)";
    d.ValuesFolderName = "values-af-rNA";
    EXPECT_EQ(LocaleListRows::RowText(d), "Afrikaans (Namibia) (af-rNA)");
}

TEST(SelectLangDialog, PresetEnTakesTheFirstEnglishRowInDisplayOrder)
{
    TFormSelectLang dialog;
    dialog.PresetLocaleCode("en");
    int first = -1;
    for (int i = 0; i < dialog.LBLanguages->count() && first < 0; ++i)
        if (DescOfRow(dialog, i).LocaleCode == "en")
            first = i;
    ASSERT_GE(first, 0);
    EXPECT_EQ(LocaleListRows::SelectedRow(dialog.LBLanguages), dialog.LBLanguages->item(first));
    // "English (American Samoa)" sorts before the plain "English (en)".
    EXPECT_EQ(SelectedFolder(dialog), "values-en-rAS");
    EXPECT_EQ(dialog.GetLocaleCode("xx"), "en-AS");
    EXPECT_TRUE(dialog.bOK->isEnabled());
}

TEST(SelectLangDialog, PresetInOutputFormTakesTheFirstRowYieldingThatCode)
{
    TFormSelectLang dialog;
    const int latin = RowOfFolder(dialog, "values-sr-rBA_#Latn");
    const int cyrillic = RowOfFolder(dialog, "values-sr-rBA_#Cyrl");
    ASSERT_GE(latin, 0);
    ASSERT_LT(cyrillic, latin);
    dialog.LBLanguages->setCurrentRow(latin);
    const QString code = dialog.GetLocaleCode("");
    EXPECT_EQ(code, "sr-BA");
    dialog.PresetLocaleCode(code);
    EXPECT_EQ(SelectedFolder(dialog), "values-sr-rBA_#Cyrl");

    dialog.PresetLocaleCode("af-NA");
    EXPECT_EQ(SelectedFolder(dialog), "values-af-rNA");
    // The numeric region is written without leading zeros.
    dialog.PresetLocaleCode("ar-1");
    EXPECT_EQ(SelectedFolder(dialog), "values-ar-r001");
}

TEST(SelectLangDialog, PresetWithoutMatchKeepsTheLastSelection)
{
    TFormSelectLang dialog;
    dialog.PresetLocaleCode("de-AT");
    ASSERT_EQ(SelectedFolder(dialog), "values-de-rAT");
    // Exact comparisons only: no case folding, no trimming, no folder form.
    for (const char *text : {"zz", "DE-AT", " de", "de-rAT", ""}) {
        dialog.PresetLocaleCode(text);
        EXPECT_EQ(SelectedFolder(dialog), "values-de-rAT") << text;
        EXPECT_EQ(dialog.GetLocaleCode(text), "de-AT") << text;
    }
}

TEST(SelectLangDialog, FirstUseWithoutMatchLeavesOkDisabledUntilARowIsPicked)
{
    TFormSelectLang dialog;
    dialog.PresetLocaleCode("nothing");
    EXPECT_EQ(LocaleListRows::SelectedRow(dialog.LBLanguages), nullptr);
    EXPECT_EQ(dialog.GetLocaleCode("nothing"), "nothing");
    dialog.show();
    EXPECT_FALSE(dialog.bOK->isEnabled());
    // A current row without a selection (keyboard focus) is not a pick.
    dialog.LBLanguages->selectionModel()->setCurrentIndex(dialog.LBLanguages->model()->index(3, 0),
                                                          QItemSelectionModel::NoUpdate);
    dialog.SetControls();
    EXPECT_FALSE(dialog.bOK->isEnabled());
    dialog.LBLanguages->setCurrentRow(5);
    EXPECT_TRUE(dialog.bOK->isEnabled());
    dialog.hide();
}

TEST(SelectLangDialog, ModalResultFollowsTheButtonAndCancelKeepsTheCallersCode)
{
    TFormSelectLang dialog;
    dialog.PresetLocaleCode("fr");
    ModalDriver::AnswerNextModal([](QWidget *w) { w->findChild<QPushButton *>("BitBtn1")->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    ModalDriver::AnswerNextModal([](QWidget *w) {
        auto *list = w->findChild<QListWidget *>("LBLanguages");
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == "Italian (Switzerland) (it-rCH)")
                list->setCurrentRow(i);
        w->findChild<QPushButton *>("bOK")->click();
    });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetLocaleCode("fr"), "it-CH");
}
