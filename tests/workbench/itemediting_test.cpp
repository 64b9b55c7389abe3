#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>

#include <functional>

#include "Glossmill_EditDialog.h"
#include "ItemListDriver.h"
#include "ModalDriver.h"
#include "ModelSettings.h"
#include "PlatformBeep.h"

namespace {

class ItemEditingTest : public ::testing::Test, public TItemListDriver
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ShowActive());
        Form->OpenProject(WriteSample({"values", "values-de", "values-fr", "menu"}));
        ASSERT_FALSE(Form->PackageName.isEmpty());
        ASSERT_NE(SelectFile("de"), nullptr);
        ASSERT_GT(RowCount(), 10);
    }

    // The first listed item of the file in `state`, nullptr when none is listed.
    QTreeWidgetItem *FirstRowIn(tTransState state) const
    {
        for (int i = 0; i < RowCount(); ++i)
            if (ItemOfRow(Row(i))->TranslateState() == state)
                return Row(i);
        return nullptr;
    }
    size_t UndoCount() const { return File()->UndoList.size(); }
};

// ---------------------------------------------------------------------------------------------------------------
// Filter

struct TFilterCase
{
    const char *entry;
    tTransState state;
    const char *caption;
    int image;
};

TEST_F(ItemEditingTest, FilterShowsTheRowsOfItsStateAndNamesItOnTheButton)
{
    const TFilterCase cases[] = {
        {"PMFilterAllexcludemarkedasDonttranslate", tsBaseNotPresent, "Filter [All (exclude Don't translate)]", 0},
        {"PMFilterTranslated", tsTranslated, "Filter [Translated]", 2},
        {"PMFilterNeedbeter", tsNeedBetter, "Filter [Need Better Translation]", 3},
        {"PMFilterFinal", tsFinalTrnaslation, "Filter [Final Translation]", 4},
        {"PMFilterDontTrans", tsDontTranslate, "Filter [Don't translate..]", 5},
        {"PMFilterAll", tsUnknown, "Filter", 0},
    };
    // One item of each markable state, so that every filter has rows to show.
    SelectRow(Row(0));
    Form->FinalTrnslation1->trigger();
    SelectRow(Row(1));
    Form->NeedBetter1->trigger();

    for (const TFilterCase &c : cases) {
        SCOPED_TRACE(c.entry);
        Form->findChild<QAction *>(c.entry)->trigger();
        EXPECT_EQ(Form->BFilter->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(Form->BFilter->property("ImageIndex").toInt(), c.image);
        EXPECT_EQ(File()->ActiveFilter(), c.state);
        QStringList checked;
        for (QAction *a : Form->PMFilter->actions())
            if (a->isChecked())
                checked << a->objectName();
        EXPECT_EQ(checked, QStringList{c.entry});

        QStringList expected;
        for (const auto &item : File()->TransItems()) {
            const tTransState s = item->TranslateState();
            const bool passes = c.state == tsUnknown || s == c.state ||
                                (c.state == tsBaseNotPresent && s != tsDontTranslate);
            if (!item->FBaseValue.isEmpty() && passes)
                expected << item->ID;
        }
        QStringList shown;
        for (int i = 0; i < RowCount(); ++i)
            shown << Row(i)->text(1);
        EXPECT_EQ(shown, expected);
        EXPECT_FALSE(shown.isEmpty());
    }
}

TEST_F(ItemEditingTest, TheCheckedFilterGoesWithEveryFileShownAfterwards)
{
    Form->PMFilterDontTrans->trigger();
    ASSERT_NE(SelectFile("fr"), nullptr);
    EXPECT_EQ(File()->ActiveFilter(), tsDontTranslate);
    for (int i = 0; i < RowCount(); ++i)
        EXPECT_EQ(ItemOfRow(Row(i))->TranslateState(), tsDontTranslate);
}

TEST_F(ItemEditingTest, AFilterChosenWithNoFileShownIsTheOnlyOneCheckedAndTheNextFileTakesIt)
{
    const struct
    {
        const char *shown; // the tree node selected while the filter is chosen
        const char *entry;
        tTransState state;
        const char *caption;
    } cases[] = {
        {"root", "PMFilterTranslated", tsTranslated, "Filter [Translated]"},
        {"language", "PMFilterDontTrans", tsDontTranslate, "Filter [Don't translate..]"},
        {"values group", "PMFilterAllexcludemarkedasDonttranslate", tsBaseNotPresent,
         "Filter [All (exclude Don't translate)]"},
        {"root", "PMFilterAll", tsUnknown, "Filter"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.shown) + " " + c.entry);
        QTreeWidgetItem *file = FileTreeNode("fr");
        ASSERT_NE(file, nullptr);
        QTreeWidgetItem *node = Form->GetRootNode();
        if (QString::fromLatin1(c.shown) == "language")
            node = file->parent()->parent();
        else if (QString::fromLatin1(c.shown) == "values group")
            node = file->parent();
        Form->TVProject->setCurrentItem(node);
        ASSERT_EQ(File(), nullptr);

        Form->findChild<QAction *>(c.entry)->trigger();
        QStringList checked;
        for (QAction *a : Form->PMFilter->actions())
            if (a->isChecked())
                checked << a->objectName();
        EXPECT_EQ(checked, QStringList{c.entry});
        EXPECT_EQ(Form->BFilter->text(), QString::fromLatin1(c.caption));

        Form->TVProject->setCurrentItem(file);
        ASSERT_NE(File(), nullptr);
        EXPECT_EQ(File()->ActiveFilter(), c.state);
        for (int i = 0; i < RowCount() && c.state != tsUnknown && c.state != tsBaseNotPresent; ++i)
            EXPECT_EQ(ItemOfRow(Row(i))->TranslateState(), c.state);
    }
}

TEST_F(ItemEditingTest, FilterButtonPopsUpItsMenuBelowItself)
{
    Form->BFilter->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->PMFilter->isVisible(); }, 3000));
    EXPECT_EQ(Form->PMFilter->pos(), Form->BFilter->mapToGlobal(QPoint(0, Form->BFilter->height())));
    Form->PMFilter->close();
}

// ---------------------------------------------------------------------------------------------------------------
// Marks, fill and paste

TEST_F(ItemEditingTest, DontTranslateEmptiesTheCellAndASecondMarkAddsNoUndoEntry)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_NE(row, nullptr);
    SelectRow(row);
    ASSERT_FALSE(row->text(3).isEmpty());
    Form->Donottranslate1->trigger();
    EXPECT_EQ(row->text(3), QString());
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QString());
    EXPECT_EQ(ItemOfRow(row)->TranslateState(), tsDontTranslate);
    EXPECT_EQ(RowImageIndex(row), 1);
    EXPECT_EQ(UndoCount(), 1u);
    EXPECT_TRUE(Form->SBUndo->isEnabled());
    EXPECT_TRUE(Form->SBSAve->isEnabled());

    Form->Donottranslate1->trigger();
    EXPECT_EQ(UndoCount(), 1u);
}

TEST_F(ItemEditingTest, FinalAndNeedBetterMarksSetStateAndImageKeepingTheText)
{
    const std::pair<QAction *, std::pair<tTransState, int>> marks[] = {
        {Form->FinalTrnslation1, {tsFinalTrnaslation, 2}},
        {Form->NeedBetter1, {tsNeedBetter, 4}},
    };
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_NE(row, nullptr);
    const QString text = row->text(3);
    SelectRow(row);
    size_t undo = 0;
    for (const auto &[action, expected] : marks) {
        action->trigger();
        EXPECT_EQ(ItemOfRow(row)->TranslateState(), expected.first);
        EXPECT_EQ(RowImageIndex(row), expected.second);
        EXPECT_EQ(row->text(3), text);
        EXPECT_EQ(UndoCount(), ++undo);
    }
}

TEST_F(ItemEditingTest, MarkingWithoutASelectedRowChangesNothing)
{
    LV()->clearSelection();
    LV()->setCurrentItem(nullptr);
    Form->SetControls();
    EXPECT_FALSE(Form->BMarkAs->isEnabled());
    EXPECT_FALSE(Form->BCopyBase->isEnabled());
    Form->MarkTranslation(tsFinalTrnaslation);
    Form->CopyDefaultValue();
    Form->BAcceptFromGoogleClick();
    Form->EditInWindow();
    EXPECT_EQ(UndoCount(), 0u);
}

TEST_F(ItemEditingTest, FillByDefaultValueCopiesTheDefaultTextAndIsUndoable)
{
    QTreeWidgetItem *row = FirstRowIn(tsDontTranslate);
    ASSERT_NE(row, nullptr);
    SelectRow(row);
    TTranslateItem *item = ItemOfRow(row);
    Form->BCopyBase->click();
    EXPECT_EQ(item->TranslateValue(), item->FBaseValue);
    EXPECT_EQ(row->text(3), item->FBaseValue);
    EXPECT_EQ(item->TranslateState(), tsTranslated);
    EXPECT_EQ(RowImageIndex(row), 5);
    EXPECT_EQ(UndoCount(), 1u);

    // Equal already: nothing changes.
    Form->BCopyBase->click();
    EXPECT_EQ(UndoCount(), 1u);

    Form->SBUndo->click();
    EXPECT_EQ(item->TranslateValue(), QString());
    EXPECT_EQ(item->TranslateState(), tsDontTranslate);
    EXPECT_EQ(row->text(3), QString());
}

TEST_F(ItemEditingTest, PasteFromClipboardWritesItsTextAndAnEmptyClipboardChangesNothing)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_NE(row, nullptr);
    SelectRow(row);
    QGuiApplication::clipboard()->setText(QStringLiteral("Aus der Zwischenablage"));
    Form->BAcceptFromGoogle->click();
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("Aus der Zwischenablage"));
    EXPECT_EQ(row->text(3), QStringLiteral("Aus der Zwischenablage"));
    EXPECT_EQ(ItemOfRow(row)->TranslateState(), tsTranslated);

    // A clipboard without text (emptied, or holding only a picture) leaves the translation and its state.
    const std::function<void()> noText[] = {
        [] { QGuiApplication::clipboard()->clear(); },
        [] { QGuiApplication::clipboard()->setText(QString()); },
        [] { QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32)); },
    };
    for (const auto &emptyClipboard : noText) {
        emptyClipboard();
        ASSERT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
        Form->BAcceptFromGoogle->click();
        EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("Aus der Zwischenablage"));
        EXPECT_EQ(row->text(3), QStringLiteral("Aus der Zwischenablage"));
        EXPECT_EQ(ItemOfRow(row)->TranslateState(), tsTranslated);
        EXPECT_EQ(RowImageIndex(row), 5);
        EXPECT_EQ(UndoCount(), 1u);
    }
}

TEST_F(ItemEditingTest, AnEditLeavesARowThatNoLongerPassesTheFilterInTheList)
{
    Form->PMFilterTranslated->trigger();
    const int rows = RowCount();
    SelectRow(Row(0));
    Form->Donottranslate1->trigger();
    EXPECT_EQ(RowCount(), rows);
    EXPECT_EQ(ItemOfRow(Row(0))->TranslateState(), tsDontTranslate);
}

// ---------------------------------------------------------------------------------------------------------------
// Undo and redo

TEST_F(ItemEditingTest, UndoAndRedoAcrossSeveralItemsRestoreValuesAndStatesInOrder)
{
    struct TSnap
    {
        QString value;
        tTransState state;
    };
    QTreeWidgetItem *a = FirstRowIn(tsTranslated);
    QTreeWidgetItem *b = FirstRowIn(tsDontTranslate);
    ASSERT_TRUE(a && b);
    TTranslateItem *ia = ItemOfRow(a);
    TTranslateItem *ib = ItemOfRow(b);
    auto snap = [&] { return std::vector<TSnap>{{ia->TranslateValue(), ia->TranslateState()},
                                                {ib->TranslateValue(), ib->TranslateState()}}; };
    std::vector<std::vector<TSnap>> history{snap()};

    ASSERT_TRUE(OpenEditor(a));
    Type("Erste");
    Key(Qt::Key_Return);
    history.push_back(snap());
    SelectRow(b);
    Form->BCopyBase->click();
    history.push_back(snap());
    SelectRow(a);
    Form->FinalTrnslation1->trigger();
    history.push_back(snap());
    SelectRow(b);
    Form->Donottranslate1->trigger();
    history.push_back(snap());
    ASSERT_EQ(UndoCount(), 4u);

    auto expectAt = [&](size_t step) {
        SCOPED_TRACE(step);
        const std::vector<TSnap> &s = history[step];
        EXPECT_EQ(ia->TranslateValue(), s[0].value);
        EXPECT_EQ(ia->TranslateState(), s[0].state);
        EXPECT_EQ(ib->TranslateValue(), s[1].value);
        EXPECT_EQ(ib->TranslateState(), s[1].state);
        EXPECT_EQ(a->text(3), s[0].value);
        EXPECT_EQ(b->text(3), s[1].value);
        EXPECT_EQ(RowImageIndex(a), ia->GetStateIconIDX());
        EXPECT_EQ(RowImageIndex(b), ib->GetStateIconIDX());
    };
    for (size_t step = history.size() - 1; step > 0; --step) {
        EXPECT_TRUE(Form->SBUndo->isEnabled());
        Form->SBUndo->click();
        expectAt(step - 1);
    }
    EXPECT_FALSE(Form->SBUndo->isEnabled());
    for (size_t step = 1; step < history.size(); ++step) {
        EXPECT_TRUE(Form->SBREdo->isEnabled());
        Form->SBREdo->click();
        expectAt(step);
    }
    EXPECT_FALSE(Form->SBREdo->isEnabled());

    // A new edit after an undo empties the redo list.
    Form->SBUndo->click();
    EXPECT_TRUE(Form->SBREdo->isEnabled());
    SelectRow(a);
    Form->NeedBetter1->trigger();
    EXPECT_FALSE(Form->SBREdo->isEnabled());
}

// ---------------------------------------------------------------------------------------------------------------
// Edit window

TEST_F(ItemEditingTest, EditWindowStoresItsTextOnOkOnlyAndKeepsNoBreakSpaces)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_NE(row, nullptr);
    SelectRow(row);
    TTranslateItem *item = ItemOfRow(row);
    const QString before = item->TranslateValue();

    QString shownSource;
    QString shownTranslation;
    ModalDriver::AnswerNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<TFEditTranslation *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        shownSource = dialog->RESource->toPlainText();
        shownTranslation = dialog->RE->toPlainText();
        dialog->RE->setPlainText(QStringLiteral("Zeile\u00a0eins\nZeile zwei"));
        dialog->reject();
    });
    Form->SBEditInWindow->click();
    EXPECT_EQ(shownSource, item->FBaseValue);
    EXPECT_EQ(shownTranslation, before);
    EXPECT_EQ(item->TranslateValue(), before);
    EXPECT_EQ(UndoCount(), 0u);

    ModalDriver::AnswerNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<TFEditTranslation *>(w);
        if (!dialog) {
            w->close();
            return;
        }
        dialog->RE->setPlainText(QStringLiteral("Zeile\u00a0eins\nZeile zwei"));
        dialog->BitBtn1->click();
    });
    Form->SBEditInWindow->click();
    EXPECT_EQ(item->TranslateValue(), QStringLiteral("Zeile\u00a0eins\nZeile zwei"));
    EXPECT_EQ(row->text(3), item->TranslateValue());
    EXPECT_EQ(UndoCount(), 1u);
}

TEST_F(ItemEditingTest, DoubleClickOpensTheEditWindowOnlyWithARowSelected)
{
    LV()->clearSelection();
    Form->SetControls();
    bool shown = false;
    ModalDriver::AnswerNextModal([&](QWidget *w) {
        shown = true;
        w->close();
    }, 300);
    Form->LVDblClick();
    QTest::qWait(400);
    EXPECT_FALSE(shown);

    QTreeWidgetItem *row = Row(2);
    SelectRow(row);
    ModalDriver::AnswerNextModal([&](QWidget *w) {
        shown = qobject_cast<TFEditTranslation *>(w) != nullptr;
        w->close();
    }, 3000);
    // As a mouse sends it: a click, then the second press as a double click.
    QTest::mouseClick(LV()->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(row, 1));
    QTest::mouseDClick(LV()->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(row, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }, 3000));
}

// ---------------------------------------------------------------------------------------------------------------
// In-place editor

TEST_F(ItemEditingTest, ClickOnTheTranslationCellOpensTheEditorOverItWithTheTextSelected)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(OpenEditor(row));
    EXPECT_EQ(Editor()->text(), row->text(3));
    EXPECT_EQ(Editor()->selectedText(), row->text(3));
    EXPECT_TRUE(Editor()->hasFocus());
    const QRect rowRect = LV()->visualItemRect(row);
    EXPECT_EQ(Editor()->geometry(),
              QRect(LV()->header()->sectionViewportPosition(3), rowRect.top(), LV()->header()->sectionSize(3),
                    rowRect.height()));
}

TEST_F(ItemEditingTest, EnterStoresTheTypedTextAndClosesTheEditor)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Type("Neuer Text");
    Key(Qt::Key_Return);
    EXPECT_EQ(row->text(3), QStringLiteral("Neuer Text"));
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("Neuer Text"));
    EXPECT_EQ(ItemOfRow(row)->TranslateState(), tsTranslated);
    EXPECT_EQ(UndoCount(), 1u);
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_TRUE(Form->SBUndo->isEnabled());
}

TEST_F(ItemEditingTest, EscDropsTheTypedTextAndGivesTheListTheFocus)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    const QString before = row->text(3);
    ASSERT_TRUE(OpenEditor(row));
    Type("verworfen");
    Key(Qt::Key_Escape);
    EXPECT_EQ(row->text(3), before);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), before);
    EXPECT_EQ(Editor()->text(), before);
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_TRUE(LV()->hasFocus());
    EXPECT_EQ(UndoCount(), 0u);
}

TEST_F(ItemEditingTest, StoringTheUnchangedTextAddsNoUndoEntry)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Key(Qt::Key_Return);
    EXPECT_EQ(UndoCount(), 0u);
    EXPECT_FALSE(Editor()->isVisible());
}

struct TArrowCase
{
    const char *name;
    Qt::Key key;
    int from; // -1: the last row
    int to;   // -1: the last row
};

TEST_F(ItemEditingTest, UpAndDownStoreAndReopenTheEditorOnTheNextRowOrTheSameAtTheEnds)
{
    const TArrowCase cases[] = {
        {"Down in the middle", Qt::Key_Down, 3, 4},
        {"Up in the middle", Qt::Key_Up, 3, 2},
        {"Down on the last row", Qt::Key_Down, -1, -1},
        {"Up on the first row", Qt::Key_Up, 0, 0},
    };
    for (const TArrowCase &c : cases) {
        SCOPED_TRACE(c.name);
        const int last = RowCount() - 1;
        QTreeWidgetItem *from = Row(c.from < 0 ? last : c.from);
        QTreeWidgetItem *to = Row(c.to < 0 ? last : c.to);
        ASSERT_TRUE(OpenEditor(from));
        const QString typed = QStringLiteral("Pfeil %1").arg(QLatin1String(c.name));
        Type(typed);
        Key(c.key);
        EXPECT_EQ(from->text(3), typed);
        EXPECT_EQ(ItemOfRow(from)->TranslateValue(), typed);
        ASSERT_TRUE(WaitEditing(to));
        EXPECT_EQ(Editor()->text(), to->text(3));
        EXPECT_EQ(Editor()->selectedText(), to->text(3));
        Key(Qt::Key_Escape);
    }
}

TEST_F(ItemEditingTest, TabStoresTheTypedTextAndClosesTheEditor)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Type("Tabulator");
    Key(Qt::Key_Tab);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("Tabulator"));
    EXPECT_EQ(row->text(3), QStringLiteral("Tabulator"));
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_FALSE(Editor()->isVisible());
    // The focus moves on from the list, to the commands below it.
    EXPECT_EQ(QApplication::focusWidget(), Form->BAcceptFromGoogle);

    // What is typed next goes where the focus is, not into a hidden editor.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("weiter"));
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(Editor()->text().indexOf(QStringLiteral("weiter")), -1);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("Tabulator"));
}

struct TLeaveCase
{
    const char *name;
    std::function<void(ItemEditingTest &)> leave;
};

TEST_F(ItemEditingTest, LeavingTheEditorAnyWayButEscStoresTheTypedTextBeforeTheCommandRuns)
{
    // Menu entries and tool buttons take no focus from the editor; the others do.
    const TLeaveCase cases[] = {
        {"a click on another row", [](ItemEditingTest &t) { t.Click(t.Row(0), 2); }},
        {"a click on another row's Translation cell", [](ItemEditingTest &t) { t.Click(t.Row(0), 3); }},
        {"the focus to another control", [](ItemEditingTest &t) { t.Form->RENotepad->setFocus(Qt::MouseFocusReason); }},
        {"a click on a node of the tree",
         [](ItemEditingTest &t) {
             QTreeWidgetItem *group = t.FileTreeNode("de")->parent();
             QTest::mouseClick(t.Form->TVProject->viewport(), Qt::LeftButton, Qt::NoModifier,
                               t.Form->TVProject->visualItemRect(group).center());
         }},
        {"another file selected in the tree",
         [](ItemEditingTest &t) { t.Form->TVProject->setCurrentItem(t.FileTreeNode("fr")); }},
        {"a mark from the menu", [](ItemEditingTest &t) { t.Form->FinalTrnslation1->trigger(); }},
        {"a filter chosen", [](ItemEditingTest &t) { t.Form->PMFilterAll->trigger(); }},
        {"the expand button", [](ItemEditingTest &t) { t.Form->SBExpand->click(); }},
        {"a column header clicked",
         [](ItemEditingTest &t) {
             QHeaderView *h = t.LV()->header();
             QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                               QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
         }},
        {"the collapse button", [](ItemEditingTest &t) { t.Form->SBColapse->click(); }},
    };
    TTransResourceFileNode *german = File();
    auto *french = dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(FileTreeNode("fr")));
    ASSERT_NE(french, nullptr);
    // A row below the first, so that the first is another row to click.
    QString id;
    for (int i = 1; i < RowCount() && id.isEmpty(); ++i)
        if (ItemOfRow(Row(i))->TranslateState() == tsTranslated)
            id = Row(i)->text(1);
    ASSERT_FALSE(id.isEmpty());
    TTranslateItem *item = ItemOf(id);
    int n = 0;
    for (const TLeaveCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(SelectFile("de"), german);
        QTreeWidgetItem *row = RowOf(id);
        ASSERT_TRUE(OpenEditor(row));
        const QString typed = QStringLiteral("getippt %1").arg(++n);
        Type(typed);
        c.leave(*this);
        QCoreApplication::processEvents();
        EXPECT_EQ(item->TranslateValue(), typed);
        // The undo record goes to the file edited, whichever file the tree shows by now.
        EXPECT_TRUE(!german->UndoList.empty() && german->UndoList.back() == item);
        EXPECT_TRUE(french->UndoList.empty());
        if (File() == german)
            EXPECT_EQ(Cell(id), typed);
        EXPECT_NE(Form->LItem, RowOf(id));
        if (Form->LItem)
            Key(Qt::Key_Escape);
    }
}

TEST_F(ItemEditingTest, UndoWhileEditingStoresTheTypedTextFirstAndRedoBringsItBack)
{
    QTreeWidgetItem *other = Row(0);
    SelectRow(other);
    Form->FinalTrnslation1->trigger();
    ASSERT_TRUE(Form->SBUndo->isEnabled());
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    TTranslateItem *item = ItemOfRow(row);
    const QString before = item->TranslateValue();
    ASSERT_TRUE(OpenEditor(row));
    Type("vor dem Rückgängig");
    Form->SBUndo->click();
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(item->TranslateValue(), before);
    EXPECT_EQ(row->text(3), before);
    EXPECT_EQ(ItemOfRow(other)->TranslateState(), tsFinalTrnaslation);
    Form->SBREdo->click();
    EXPECT_EQ(item->TranslateValue(), QStringLiteral("vor dem Rückgängig"));
    EXPECT_EQ(row->text(3), QStringLiteral("vor dem Rückgängig"));
}

TEST_F(ItemEditingTest, TheSelectionFollowsTheEditorSoAMarkGoesToTheRowInSight)
{
    const TArrowCase cases[] = {
        {"Down", Qt::Key_Down, 3, 4},
        {"Up", Qt::Key_Up, 3, 2},
    };
    for (const TArrowCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTreeWidgetItem *from = Row(c.from);
        QTreeWidgetItem *to = Row(c.to);
        const tTransState fromState = ItemOfRow(from)->TranslateState();
        ASSERT_NE(ItemOfRow(to)->TranslateState(), tsNeedBetter);
        ASSERT_TRUE(OpenEditor(from));
        Key(c.key);
        ASSERT_TRUE(WaitEditing(to));
        EXPECT_EQ(LV()->currentItem(), to);
        EXPECT_TRUE(to->isSelected());
        EXPECT_FALSE(from->isSelected());
        Form->NeedBetter1->trigger();
        EXPECT_EQ(ItemOfRow(to)->TranslateState(), tsNeedBetter);
        EXPECT_EQ(RowImageIndex(to), 4);
        EXPECT_EQ(ItemOfRow(from)->TranslateState(), fromState);
    }
}

TEST_F(ItemEditingTest, AnotherWindowInFrontDoesNotEndTheEdit)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Type("bleibt");
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(Form->LItem, row);
    other.close();
    ASSERT_TRUE(Activate());
    EXPECT_EQ(Form->LItem, row);
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("bleibt"));
}

TEST_F(ItemEditingTest, TheMouseWheelStoresTheTypedTextAndHidesTheEditor)
{
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Type("per Rad");
    const QPoint at = LV()->viewport()->rect().center();
    QWheelEvent wheel(at, LV()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(LV()->viewport(), &wheel);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("per Rad"));
    EXPECT_EQ(row->text(3), QStringLiteral("per Rad"));
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_EQ(UndoCount(), 1u);
}

TEST_F(ItemEditingTest, AStalePostedRequestOpensNoEditor)
{
    QCoreApplication::postEvent(Form.get(), new TEditSubItemEvent(RowCount() + 5));
    QCoreApplication::postEvent(Form.get(), new TEditSubItemEvent(-1));
    QCoreApplication::processEvents();
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_FALSE(Editor()->isVisible());
}

TEST_F(ItemEditingTest, AListWithoutATranslationColumnOpensNoEditor)
{
    LV()->headerItem()->setText(3, QStringLiteral("translation"));
    EXPECT_EQ(Form->GetTranslationColumn(), -1);
    Click(Row(1), 3);
    QCoreApplication::processEvents();
    Form->WMEditSubItem(1);
    EXPECT_EQ(Form->LItem, nullptr);
    EXPECT_FALSE(Editor()->isVisible());
}

class TThrowingSettings : public TModelSettingsProvider
{
public:
    bool ReplaceWhiteSpaces() const override { throw std::runtime_error("settings unavailable"); }
    bool DoNotWriteBOM() const override { return true; }
    bool KeepWhiteSpaces() const override { return true; }
};

TEST_F(ItemEditingTest, AFailedStoreBeepsAndLeavesTheEditOpen)
{
    int beeps = 0;
    SetBeepHook([&] { ++beeps; });
    TThrowingSettings settings;
    QTreeWidgetItem *row = FirstRowIn(tsTranslated);
    ASSERT_TRUE(OpenEditor(row));
    Type("geht nicht");
    ModelSettings::SetProvider(&settings);
    Key(Qt::Key_Return);
    ModelSettings::SetProvider(nullptr);
    SetBeepHook({});
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(Form->LItem, row);
    EXPECT_TRUE(Editor()->isVisible());
    Key(Qt::Key_Return);
    EXPECT_EQ(ItemOfRow(row)->TranslateValue(), QStringLiteral("geht nicht"));
}

} // namespace
