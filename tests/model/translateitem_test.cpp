#include <gtest/gtest.h>
#include <QPixmap>
#include <QTreeWidget>

#include "ModelSettings.h"
#include "TTranslateItem.h"

namespace {

struct TSettings : TModelSettingsProvider
{
    bool replace = false;
    bool ReplaceWhiteSpaces() const override { return replace; }
    bool DoNotWriteBOM() const override { return true; }
    bool KeepWhiteSpaces() const override { return true; }
};

// Brings back the defaults whatever a test did.
struct TProviderGuard
{
    explicit TProviderGuard(const TModelSettingsProvider *p) { ModelSettings::SetProvider(p); }
    ~TProviderGuard() { ModelSettings::SetProvider(nullptr); }
};

// An item as it stands after loading, with its file shown (undo mode on).
std::unique_ptr<TTranslateItem> LoadedItem(const QString &text, tTransState state)
{
    auto item = std::make_unique<TTranslateItem>();
    item->ID = "id";
    item->FBaseValue = "Base";
    item->FTranslatedValue = text;
    item->FPrevTranslateValue = text;
    item->FTranslateState = state;
    item->EnableUndoMode = true;
    return item;
}

} // namespace

TEST(TransState, NumbersAndCaptions)
{
    EXPECT_EQ(int(tsUnknown), 0);
    EXPECT_EQ(int(tsBaseNotPresent), 1);
    EXPECT_EQ(int(tsFinalTrnaslation), 2);
    EXPECT_EQ(int(tsNeedBetter), 3);
    EXPECT_EQ(int(tsDontTranslate), 4);
    EXPECT_EQ(int(tsTranslated), 5);
    EXPECT_EQ(sizeof(tTransState), 1u);
    EXPECT_EQ(TransStateCaptions[tsUnknown], "");
    EXPECT_EQ(TransStateCaptions[tsBaseNotPresent], "All (exclude Don't translate)");
    EXPECT_EQ(TransStateCaptions[tsFinalTrnaslation], "Final Translation");
    EXPECT_EQ(TransStateCaptions[tsNeedBetter], "Need Better Translation");
    EXPECT_EQ(TransStateCaptions[tsDontTranslate], "Don't translate..");
    EXPECT_EQ(TransStateCaptions[tsTranslated], "Translated");
}

TEST(TransState, RuleAfterValueChange)
{
    struct Case { tTransState old, ifEmpty, ifText; };
    const Case cases[] = {
        {tsUnknown, tsDontTranslate, tsTranslated},
        {tsBaseNotPresent, tsDontTranslate, tsTranslated},
        {tsFinalTrnaslation, tsDontTranslate, tsFinalTrnaslation},
        {tsNeedBetter, tsDontTranslate, tsNeedBetter},
        {tsDontTranslate, tsDontTranslate, tsTranslated},
        {tsTranslated, tsDontTranslate, tsTranslated},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.old));
        EXPECT_EQ(GetStateAfterValueChange(true, c.old), c.ifEmpty);
        EXPECT_EQ(GetStateAfterValueChange(false, c.old), c.ifText);
    }
}

TEST(TransState, StateIconIndexes)
{
    const std::pair<tTransState, int> cases[] = {{tsUnknown, 0},         {tsBaseNotPresent, 0}, {tsFinalTrnaslation, 2},
                                                 {tsNeedBetter, 4},      {tsDontTranslate, 1},  {tsTranslated, 5}};
    for (const auto &[state, index] : cases) {
        TTranslateItem item;
        item.FTranslateState = state;
        EXPECT_EQ(item.GetStateIconIDX(), index) << int(state);
    }
}

TEST(TranslateItem, FreshItemIsEmpty)
{
    TTranslateItem item;
    EXPECT_TRUE(item.ID.isEmpty());
    EXPECT_TRUE(item.BaseText().isEmpty());
    EXPECT_TRUE(item.TranslateValue().isEmpty());
    EXPECT_TRUE(item.PrevTranslateValue().isEmpty());
    EXPECT_EQ(item.TranslateState(), tsUnknown);
    EXPECT_FALSE(item.Changed);
    EXPECT_FALSE(item.EnableUndoMode);
    EXPECT_FALSE(item.UndoAffected());
    EXPECT_FALSE(item.RepaintAfterUndoOrRedo);
    EXPECT_TRUE(item.UndoList.empty());
    EXPECT_TRUE(item.RedoList.empty());
}

// One edit through the value writer: new state, snapshot count and what one undo brings back.
TEST(TranslateItem, OneEditOneSnapshotAndUndoRestoresBoth)
{
    struct Case { const char *name; QString oldText; tTransState oldState; QString newText; tTransState newState; };
    const Case cases[] = {
        {"final emptied", "Alt", tsFinalTrnaslation, "", tsDontTranslate},
        {"final edited keeps final", "Alt", tsFinalTrnaslation, "Neu", tsFinalTrnaslation},
        {"need-better edited keeps it", "Alt", tsNeedBetter, "Neu", tsNeedBetter},
        {"dont-translate filled", "", tsDontTranslate, "Neu", tsTranslated},
        {"unknown filled", "", tsUnknown, "Neu", tsTranslated},
        {"base-not-present filled", "", tsBaseNotPresent, "Neu", tsTranslated},
        {"translated emptied", "Alt", tsTranslated, "", tsDontTranslate},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto item = LoadedItem(c.oldText, c.oldState);
        item->setTranslateValue(c.newText);
        EXPECT_EQ(item->TranslateValue(), c.newText);
        EXPECT_EQ(item->TranslateState(), c.newState);
        EXPECT_EQ(item->PrevTranslateValue(), c.oldText);
        EXPECT_TRUE(item->Changed);
        EXPECT_TRUE(item->UndoAffectedVal);
        EXPECT_FALSE(item->UndoAffectedState);
        EXPECT_TRUE(item->EnableUndoMode);
        ASSERT_EQ(item->UndoList.size(), 1u);

        item->DoUndo();
        EXPECT_EQ(item->TranslateValue(), c.oldText);
        EXPECT_EQ(item->TranslateState(), c.oldState);
        EXPECT_TRUE(item->RepaintAfterUndoOrRedo);
        EXPECT_TRUE(item->UndoList.empty());
        EXPECT_EQ(item->RedoList.size(), 1u);
    }
}

TEST(TranslateItem, SnapshotHoldsTheValuesBeforeTheChange)
{
    auto item = LoadedItem("Alt", tsNeedBetter);
    item->Changed = false;
    item->WhSpaceHeader = " ";
    item->setTranslateValue("Neu");
    ASSERT_EQ(item->UndoList.size(), 1u);
    const TTranslateItem &snap = *item->UndoList.back();
    EXPECT_EQ(snap.ID, "id");
    EXPECT_EQ(snap.BaseText(), "Base");
    EXPECT_EQ(snap.TranslateValue(), "Alt");
    EXPECT_EQ(snap.PrevTranslateValue(), "Alt");
    EXPECT_EQ(snap.TranslateState(), tsNeedBetter);
    EXPECT_FALSE(snap.Changed);
    EXPECT_TRUE(snap.WhSpaceHeader.isEmpty());
    EXPECT_FALSE(snap.EnableUndoMode);
    EXPECT_FALSE(snap.UndoAffected());
    EXPECT_TRUE(snap.UndoList.empty());
    EXPECT_TRUE(snap.RedoList.empty());
}

TEST(TranslateItem, EqualValueChangesNothing)
{
    auto item = LoadedItem("Alt", tsFinalTrnaslation);
    item->setTranslateValue("Neu");
    item->DoUndo();
    item->Changed = false;
    item->UndoAffectedVal = true;
    item->setTranslateValue("Alt");
    EXPECT_FALSE(item->UndoAffectedVal);
    EXPECT_FALSE(item->Changed);
    EXPECT_EQ(item->TranslateState(), tsFinalTrnaslation);
    EXPECT_TRUE(item->UndoList.empty());
    EXPECT_EQ(item->RedoList.size(), 1u);
}

TEST(TranslateItem, ValueComparisonIsCaseSensitive)
{
    auto item = LoadedItem("word", tsTranslated);
    item->setTranslateValue("Word");
    EXPECT_EQ(item->TranslateValue(), "Word");
    EXPECT_EQ(item->UndoList.size(), 1u);
}

TEST(TranslateItem, DontTranslateEmptiesButKeepsPrevious)
{
    auto item = LoadedItem("Alt", tsTranslated);
    item->FPrevTranslateValue = "Older";
    item->setTranslateState(tsDontTranslate);
    EXPECT_TRUE(item->TranslateValue().isEmpty());
    EXPECT_EQ(item->PrevTranslateValue(), "Older");
    EXPECT_TRUE(item->UndoAffectedState);
    EXPECT_FALSE(item->UndoAffectedVal);
    ASSERT_EQ(item->UndoList.size(), 1u);
    item->DoUndo();
    EXPECT_EQ(item->TranslateValue(), "Alt");
    EXPECT_EQ(item->TranslateState(), tsTranslated);
}

TEST(TranslateItem, StateWriterKeepsTextForOtherStates)
{
    auto item = LoadedItem("Alt", tsTranslated);
    item->setTranslateState(tsFinalTrnaslation);
    EXPECT_EQ(item->TranslateValue(), "Alt");
    EXPECT_TRUE(item->Changed);
    item->ResetUndoFlag();
    item->setTranslateState(tsFinalTrnaslation);
    EXPECT_FALSE(item->UndoAffected());
    EXPECT_EQ(item->UndoList.size(), 1u);
}

TEST(TranslateItem, UndoKeepsChangedAndPrevious)
{
    auto item = LoadedItem("Alt", tsTranslated);
    item->Changed = false;
    item->setTranslateValue("Neu");
    item->DoUndo();
    EXPECT_EQ(item->TranslateValue(), "Alt");
    EXPECT_TRUE(item->Changed);
    EXPECT_EQ(item->PrevTranslateValue(), "Alt");
    item->setTranslateValue("Neu");
    item->setTranslateValue("Neuer");
    item->DoUndo();
    EXPECT_EQ(item->PrevTranslateValue(), "Neu");
}

TEST(TranslateItem, UndoRedoWalkThreeEdits)
{
    auto item = LoadedItem("A", tsTranslated);
    item->setTranslateValue("B");
    item->setTranslateState(tsNeedBetter);
    item->setTranslateValue("");
    ASSERT_EQ(item->UndoList.size(), 3u);
    EXPECT_EQ(item->TranslateState(), tsDontTranslate);

    item->DoUndo();
    EXPECT_EQ(item->TranslateValue(), "B");
    EXPECT_EQ(item->TranslateState(), tsNeedBetter);
    item->DoUndo();
    EXPECT_EQ(item->TranslateValue(), "B");
    EXPECT_EQ(item->TranslateState(), tsTranslated);
    item->DoUndo();
    EXPECT_EQ(item->TranslateValue(), "A");
    EXPECT_EQ(item->TranslateState(), tsTranslated);
    item->DoUndo(); // empty stack
    EXPECT_EQ(item->TranslateValue(), "A");
    EXPECT_EQ(item->RedoList.size(), 3u);

    item->DoRedo();
    EXPECT_EQ(item->TranslateValue(), "B");
    EXPECT_EQ(item->TranslateState(), tsTranslated);
    item->DoRedo();
    item->DoRedo();
    EXPECT_EQ(item->TranslateValue(), "");
    EXPECT_EQ(item->TranslateState(), tsDontTranslate);
    EXPECT_EQ(item->UndoList.size(), 3u);
    EXPECT_TRUE(item->RedoList.empty());
    item->DoRedo(); // empty stack
    EXPECT_EQ(item->UndoList.size(), 3u);
}

TEST(TranslateItem, NewEditAfterUndoEmptiesRedo)
{
    struct Case { const char *name; void (*edit)(TTranslateItem &); };
    const Case cases[] = {
        {"value", [](TTranslateItem &i) { i.setTranslateValue("C"); }},
        {"state", [](TTranslateItem &i) { i.setTranslateState(tsFinalTrnaslation); }},
        {"copy from base", [](TTranslateItem &i) { i.CopyFromBase(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto item = LoadedItem("A", tsTranslated);
        item->setTranslateValue("B");
        item->DoUndo();
        ASSERT_EQ(item->RedoList.size(), 1u);
        c.edit(*item);
        EXPECT_TRUE(item->RedoList.empty());
        EXPECT_EQ(item->UndoList.size(), 1u);
    }
}

TEST(TranslateItem, WithoutUndoModeNoSnapshots)
{
    TTranslateItem item;
    item.setTranslateValue("");
    EXPECT_FALSE(item.Changed);
    EXPECT_EQ(item.TranslateState(), tsUnknown);

    item.setTranslateValue("Text");
    EXPECT_TRUE(item.Changed);
    EXPECT_EQ(item.TranslateState(), tsTranslated);
    EXPECT_FALSE(item.UndoAffected());
    EXPECT_TRUE(item.UndoList.empty());
    EXPECT_FALSE(item.EnableUndoMode);
}

TEST(TranslateItem, CopyFromBaseGoesThroughTheWriter)
{
    auto item = LoadedItem("", tsDontTranslate);
    item->CopyFromBase();
    EXPECT_EQ(item->TranslateValue(), "Base");
    EXPECT_EQ(item->TranslateState(), tsTranslated);
    EXPECT_TRUE(item->UndoAffectedVal);
    EXPECT_EQ(item->UndoList.size(), 1u);
}

TEST(TranslateItem, AssignCopiesValuesNotHistory)
{
    auto from = LoadedItem("Alt", tsNeedBetter);
    from->setTranslateValue("Neu");
    from->Changed = false;
    from->WhSpaceHeader = "\n";

    TTranslateItem copy;
    copy.Assign(*from);
    EXPECT_EQ(copy.ID, "id");
    EXPECT_EQ(copy.BaseText(), "Base");
    EXPECT_EQ(copy.TranslateValue(), "Neu");
    EXPECT_EQ(copy.PrevTranslateValue(), "Alt");
    EXPECT_EQ(copy.TranslateState(), tsNeedBetter);
    EXPECT_FALSE(copy.Changed);
    EXPECT_TRUE(copy.WhSpaceHeader.isEmpty());
    EXPECT_TRUE(copy.UndoList.empty());

    // A do-not-translate state must not wipe the text copied after it.
    TTranslateItem dont;
    from->FTranslateState = tsDontTranslate;
    dont.Assign(*from);
    EXPECT_EQ(dont.TranslateValue(), "Neu");
}

TEST(TranslateItem, ReplaceWhiteSpacesRuns)
{
    TSettings settings;
    settings.replace = true;
    TProviderGuard guard(&settings);
    const QString e = "&#0160;";
    const std::pair<QString, QString> cases[] = {
        {"a b", "a b"},
        {"a  b", "a" + e + e + "b"},
        {"a   b", "a" + e + e + " b"},
        {"a    b", "a" + e + e + e + e + "b"},
        {"a     b", "a" + e + e + e + e + " b"},
        {"  lead", e + e + "lead"},
    };
    for (const auto &[typed, stored] : cases) {
        SCOPED_TRACE(typed.toStdString());
        auto item = LoadedItem("", tsUnknown);
        item->setTranslateValue(typed);
        EXPECT_EQ(item->TranslateValue(), stored);
        EXPECT_EQ(item->TranslateState(), tsTranslated);
    }
}

TEST(TranslateItem, ReplaceWhiteSpacesOffKeepsSpaces)
{
    auto item = LoadedItem("", tsUnknown);
    item->setTranslateValue("a    b");
    EXPECT_EQ(item->TranslateValue(), "a    b");
}

TEST(TranslateItem, FinalValueToSave)
{
    TTranslateItem item;
    item.FTranslatedValue = "Hallo";
    item.WhSpaceHeader = " ";
    item.WhSpaceTrailer = "\n";
    EXPECT_EQ(item.GetFinalValueToSave(true), " Hallo\n");
    EXPECT_EQ(item.GetFinalValueToSave(false), "Hallo");
}

TEST(TranslateItem, RowHelpersAttachItemAndImage)
{
    QTreeWidget lv;
    QPixmap pix(4, 4);
    pix.fill(Qt::red);
    SetListImages(&lv, {QIcon(), QIcon(), QIcon(pix)});
    TTranslateItem item;
    auto *row = new QTreeWidgetItem(&lv);
    EXPECT_EQ(ItemOfRow(row), nullptr);
    EXPECT_EQ(RowImageIndex(row), -1);
    EXPECT_EQ(ItemOfRow(nullptr), nullptr);
    SetRowItem(row, &item);
    EXPECT_EQ(ItemOfRow(row), &item);
    SetRowImageIndex(row, 2);
    EXPECT_EQ(RowImageIndex(row), 2);
    EXPECT_FALSE(row->icon(0).isNull());
    SetRowImageIndex(row, 7); // beyond the images: no picture, index kept
    EXPECT_EQ(RowImageIndex(row), 7);
    EXPECT_TRUE(row->icon(0).isNull());
}

TEST(TranslateItem, RepaintInLVUpdatesFirstRowWithSameID)
{
    QTreeWidget lv;
    lv.setColumnCount(4);
    TTranslateItem other, first, second, mine;
    other.ID = "other";
    first.ID = "dup";
    second.ID = "dup";
    mine.ID = "dup";
    mine.FTranslatedValue = "  text ";
    mine.FTranslateState = tsNeedBetter;
    mine.RepaintAfterUndoOrRedo = true;
    for (TTranslateItem *item : {&other, &first, &second}) {
        auto *row = new QTreeWidgetItem(&lv, {"", item->ID, "base", "old"});
        SetRowItem(row, item);
        SetRowImageIndex(row, 0);
    }

    mine.RepaintInLV(&lv);
    EXPECT_FALSE(mine.RepaintAfterUndoOrRedo);
    EXPECT_EQ(lv.topLevelItem(0)->text(3), "old");
    EXPECT_EQ(lv.topLevelItem(1)->text(3), "  text ");
    EXPECT_EQ(RowImageIndex(lv.topLevelItem(1)), 4);
    EXPECT_EQ(lv.topLevelItem(2)->text(3), "old");
    EXPECT_EQ(RowImageIndex(lv.topLevelItem(2)), 0);
    EXPECT_EQ(lv.topLevelItem(1)->text(2), "base");
}

TEST(TranslateItem, RepaintInLVWithoutMatchKeepsFlag)
{
    QTreeWidget lv;
    lv.setColumnCount(4);
    TTranslateItem other, mine;
    other.ID = "other";
    mine.ID = "Other"; // identifiers compare exactly
    mine.RepaintAfterUndoOrRedo = true;
    auto *row = new QTreeWidgetItem(&lv, {"", "other", "", "old"});
    SetRowItem(row, &other);
    new QTreeWidgetItem(&lv, {"", "", "", "no item"});
    mine.RepaintInLV(&lv);
    EXPECT_TRUE(mine.RepaintAfterUndoOrRedo);
    EXPECT_EQ(row->text(3), "old");
}
