#include <gtest/gtest.h>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include "DialogParts.h"
#include "Glossmill_ImportFilesDialog.h"
#include "Glossmill_NewLangDialog.h"
#include "LocaleListRows.h"
#include "ModalDriver.h"

namespace {

QStringList RowTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

TEST(NewLangDialog, StartsFromTheLayoutDefaults)
{
    TFormNewLang dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add New Lang Localization");
    EXPECT_EQ(dialog.size(), QSize(393, 427));
    EXPECT_TRUE(dialog.CHBIncFiles->isChecked());
    EXPECT_EQ(dialog.CHBIncFiles->text(),
              "Include resource files cloned from default resource folder (recommended). ");
    EXPECT_EQ(dialog.RGTransOptions->title(), " Untranslated Items Options ");
    EXPECT_EQ(dialog.RGTransOptions->ItemIndex(), 0);
    EXPECT_EQ(dialog.RGTransOptions->ItemCaption(0),
              "Leave item text clear and mark as \"Do Not Translate\" (recommended)");
    EXPECT_EQ(dialog.RGTransOptions->ItemCaption(1),
              "Copy item text from default resource file and mark as \"Need Beter Translation\"");
    EXPECT_EQ(dialog.LBLanguages->count(), 0);
    EXPECT_FALSE(dialog.bOK->isEnabled());
}

TEST(NewLangDialog, FillListLeavesOutWhatTheProjectHasAndSelectsNothing)
{
    TFormNewLang dialog;
    dialog.FillList({});
    EXPECT_EQ(dialog.LBLanguages->count(), 627);
    dialog.LBLanguages->setCurrentRow(10);
    ASSERT_NE(dialog.SelectedLocale(), nullptr);

    dialog.FillList([](const TLocaleDesc &d) { return d.LocaleCode == "de"; });
    EXPECT_EQ(dialog.SelectedLocale(), nullptr);
    EXPECT_FALSE(dialog.bOK->isEnabled());
    const QStringList texts = RowTexts(dialog.LBLanguages);
    EXPECT_EQ(texts.filter("(de").size(), 0);
    EXPECT_EQ(texts.size(), 627 - 7);
    EXPECT_TRUE(texts.contains("Afrikaans (Namibia) (af-rNA)"));
}

TEST(NewLangDialog, SetControlsFollowsSelectionAndCloneBox)
{
    TFormNewLang dialog;
    dialog.FillList({});
    dialog.show();
    EXPECT_FALSE(dialog.bOK->isEnabled());
    EXPECT_TRUE(dialog.RGTransOptions->isEnabled());
    dialog.LBLanguages->setCurrentRow(0);
    EXPECT_TRUE(dialog.bOK->isEnabled());
    dialog.CHBIncFiles->click();
    EXPECT_FALSE(dialog.CHBIncFiles->isChecked());
    EXPECT_FALSE(dialog.RGTransOptions->isEnabled());
    dialog.CHBIncFiles->click();
    EXPECT_TRUE(dialog.RGTransOptions->isEnabled());
    dialog.hide();
}

TEST(NewLangDialog, OptionsSurviveARefillAndAShowing)
{
    TFormNewLang dialog;
    dialog.FillList({});
    dialog.CHBIncFiles->setChecked(false);
    dialog.RGTransOptions->setItemIndex(1);
    ModalDriver::AnswerNextModal([](QWidget *w) { w->findChild<QPushButton *>("BitBtn1")->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    dialog.FillList({});
    EXPECT_FALSE(dialog.CHBIncFiles->isChecked());
    EXPECT_EQ(dialog.RGTransOptions->ItemIndex(), 1);
}

TEST(TransOptions, ChoiceByItemIndex)
{
    struct Case
    {
        int index;
        tTransState state;
        bool clear;
    } cases[] = {
        {0, tsDontTranslate, true},
        {1, tsNeedBetter, false},
        {-1, tsDontTranslate, true},
        {2, tsDontTranslate, true},
    };
    for (const Case &c : cases) {
        const TransOptions::TChoice choice = TransOptions::ChoiceOf(c.index);
        EXPECT_EQ(choice.State, c.state) << c.index;
        EXPECT_EQ(choice.Clear, c.clear) << c.index;
    }
}

TEST(TransOptions, RadioGroupCanChooseNone)
{
    TFormAddFiles dialog;
    dialog.RGTransOptions->setItemIndex(-1);
    EXPECT_EQ(dialog.RGTransOptions->ItemIndex(), -1);
    dialog.RGTransOptions->setItemIndex(1);
    EXPECT_EQ(dialog.RGTransOptions->ItemIndex(), 1);
}

TEST(AddFilesDialog, ListsNamesUncheckedAndEnablesOkOnlyWithACheckedRow)
{
    TFormAddFiles dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add Resource Files");
    EXPECT_EQ(dialog.size(), QSize(361, 385));
    EXPECT_EQ(dialog.RGTransOptions->ItemIndex(), 0);
    dialog.SetFileNames({"main.xml", "Extra.XML", "strings.xml"});
    dialog.show();
    EXPECT_EQ(RowTexts(dialog.CHBFile), QStringList({"main.xml", "Extra.XML", "strings.xml"}));
    EXPECT_FALSE(dialog.BOK->isEnabled());
    EXPECT_TRUE(dialog.CheckedFileNames().isEmpty());
    dialog.CHBFile->item(2)->setCheckState(Qt::Checked);
    dialog.CHBFile->item(0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(dialog.BOK->isEnabled());
    EXPECT_EQ(dialog.CheckedFileNames(), QStringList({"main.xml", "strings.xml"}));
    dialog.CHBFile->item(0)->setCheckState(Qt::Unchecked);
    dialog.CHBFile->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(dialog.BOK->isEnabled());

    dialog.CHBFile->item(1)->setCheckState(Qt::Checked);
    dialog.SetFileNames({"other.xml"});
    EXPECT_EQ(RowTexts(dialog.CHBFile), QStringList({"other.xml"}));
    EXPECT_FALSE(dialog.BOK->isEnabled());
    dialog.hide();
}
