// Item list editing: the state filter, marks, undo and redo, filling and pasting, the edit window and the in-place
// editor over the Translation cell.
#include "Glossmill_MainForm.h"

#include "AppImages.h"
#include "Glossmill_EditDialog.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "PlatformBeep.h"
#include "TTranslateItem.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <optional>

namespace {

// The list's selected row, nullptr when none is selected.
QTreeWidgetItem *SelectedRow(const QTreeWidget *LV)
{
    QTreeWidgetItem *row = LV->currentItem();
    return row && row->isSelected() ? row : nullptr;
}

// Runs SetControls when the command ends, also when it ends by an exception.
struct TSetControlsAtEnd
{
    TGlossmillMainForm *Form;
    ~TSetControlsAtEnd() { Form->SetControls(); }
};

// The button shows image `index` of its image list, with image 1 when it is disabled.
void SetSplitButtonImage(QPushButton *button, int index)
{
    button->setIcon(AppImages::ListSplitButtonIcon(index));
    button->setProperty("ImageIndex", index);
}

// The run's edit window; a window made without the start-up (as in tests) gets one of its own.
TFEditTranslation *EditDialog(TGlossmillMainForm *form)
{
    if (FEditTranslation)
        return FEditTranslation;
    static QPointer<TFEditTranslation> own;
    if (!own)
        own = new TFEditTranslation(form);
    return own;
}

// One edit of the selected item. `change(item, cell)` alters the item through its writers and may give the text for
// its Translation cell; false means nothing was changed. Then the undo record and the row's image follow, and the
// commands are refreshed. Without a selected file and item nothing happens but the refresh.
template <typename F>
void EditSelectedItem(TGlossmillMainForm *form, F change)
{
    TSetControlsAtEnd end{form};
    try {
        // A menu entry takes no focus: the typed text is stored before the command reads or replaces it.
        form->StorePendingEdit();
        TTransResourceFileNode *file = form->SelectedFileNode();
        QTreeWidgetItem *row = SelectedRow(form->LV);
        TTranslateItem *item = ItemOfRow(row);
        if (!file || !item)
            return;
        std::optional<QString> cell;
        if (!change(item, cell))
            return;
        if (item->UndoAffected())
            form->RememberUndo(file, item);
        SetRowImageIndex(row, item->GetStateIconIDX());
        const int col = form->GetTranslationColumn();
        if (cell && col >= 0)
            row->setText(col, *cell);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

// Undo or redo of one step of the selected file; the rows of the items it touched are redrawn where they are shown.
void StepFileHistory(TGlossmillMainForm *form, void (TTransResourceFileNode::*step)())
{
    TTransResourceFileNode *file = form->SelectedFileNode();
    if (!file)
        return;
    TSetControlsAtEnd end{form};
    try {
        // The buttons take no focus: an edit in progress becomes the step undone, and redo brings it back.
        form->StorePendingEdit();
        (file->*step)();
        file->RepainAllAfterUndoOrRedo(form->LV);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Filter

void TGlossmillMainForm::SetFilter(QAction *entry, tTransState state)
{
    StorePendingEdit();
    // Without a file shown the choice still goes to the menu and the button: the next file shown takes it.
    TTransResourceFileNode *file = SelectedFileNode();
    if (file)
        file->setActiveFilter(state);
    BFilter->setText(state == tsUnknown ? QStringLiteral("Filter")
                                        : QStringLiteral("Filter [") + TransStateCaptions[state] + QStringLiteral("]"));
    int image = 0;
    switch (state) {
    case tsFinalTrnaslation:
        image = 4;
        break;
    case tsNeedBetter:
        image = 3;
        break;
    case tsDontTranslate:
        image = 5;
        break;
    case tsTranslated:
        image = 2;
        break;
    default:
        break;
    }
    SetSplitButtonImage(BFilter, image);
    for (QAction *a : PMFilter->actions())
        a->setChecked(false);
    entry->setChecked(true);
    if (file)
        TVProjectChange(TVProject->currentItem());
}

void TGlossmillMainForm::PMFilterAllClick()
{
    SetFilter(PMFilterAll, tsUnknown);
    PMFilterAll->setChecked(true);
}

void TGlossmillMainForm::PMFilterAllexcludemarkedasDonttranslateClick()
{
    SetFilter(PMFilterAllexcludemarkedasDonttranslate, tsBaseNotPresent);
    PMFilterAllexcludemarkedasDonttranslate->setChecked(true);
}

void TGlossmillMainForm::PMFilterTranslatedClick()
{
    SetFilter(PMFilterTranslated, tsTranslated);
    PMFilterTranslated->setChecked(true);
}

void TGlossmillMainForm::PMFilterNeedbeterClick()
{
    SetFilter(PMFilterNeedbeter, tsNeedBetter);
    PMFilterNeedbeter->setChecked(true);
}

void TGlossmillMainForm::PMFilterFinalClick()
{
    SetFilter(PMFilterFinal, tsFinalTrnaslation);
    PMFilterFinal->setChecked(true);
}

void TGlossmillMainForm::PMFilterDontTransClick()
{
    SetFilter(PMFilterDontTrans, tsDontTranslate);
    PMFilterDontTrans->setChecked(true);
}

void TGlossmillMainForm::BFilterClick()
{
    PopupMenuUnderControl(BFilter);
}

void TGlossmillMainForm::BMarkAsClick()
{
    PopupMenuUnderControl(BMarkAs);
}

// ---------------------------------------------------------------------------------------------------------------
// Edits of the selected item

void TGlossmillMainForm::RememberUndo(TTransResourceFileNode *file, TTranslateItem *item)
{
    if (!item)
        return;
    item->ResetUndoFlag();
    if (file)
        file->AddToUndoList(item);
}

void TGlossmillMainForm::MarkTranslation(tTransState state)
{
    EditSelectedItem(this, [state](TTranslateItem *item, std::optional<QString> &cell) {
        item->setTranslateState(state);
        if (state == tsDontTranslate) {
            item->setTranslateValue(QString());
            cell = item->TranslateValue();
        }
        return true;
    });
}

void TGlossmillMainForm::FinalTrnslation1Click()
{
    MarkTranslation(tsFinalTrnaslation);
}

void TGlossmillMainForm::NeedBetter1Click()
{
    MarkTranslation(tsNeedBetter);
}

void TGlossmillMainForm::Donottranslate1Click()
{
    MarkTranslation(tsDontTranslate);
}

bool TGlossmillMainForm::CanUndo() const
{
    const TTransResourceFileNode *file = SelectedFileNode();
    return file && file->CanUndo();
}

bool TGlossmillMainForm::CanRedo() const
{
    const TTransResourceFileNode *file = SelectedFileNode();
    return file && file->CanRedo();
}

void TGlossmillMainForm::DoUndo()
{
    StepFileHistory(this, &TTransResourceFileNode::DoUndo);
}

void TGlossmillMainForm::DoRedo()
{
    StepFileHistory(this, &TTransResourceFileNode::DoRedo);
}

void TGlossmillMainForm::SBUndoClick()
{
    DoUndo();
}

void TGlossmillMainForm::SBREdoClick()
{
    DoRedo();
}

void TGlossmillMainForm::CopyDefaultValue()
{
    EditSelectedItem(this, [](TTranslateItem *item, std::optional<QString> &cell) {
        item->CopyFromBase();
        cell = item->TranslateValue();
        return true;
    });
}

void TGlossmillMainForm::BCopyBaseClick()
{
    CopyDefaultValue();
}

void TGlossmillMainForm::BAcceptFromGoogleClick()
{
    EditSelectedItem(this, [](TTranslateItem *item, std::optional<QString> &cell) {
        // No text on the clipboard is nothing to paste, not an empty translation that wipes the item.
        if (QGuiApplication::clipboard()->text().isEmpty())
            return false;
        item->setTranslateValue(QGuiApplication::clipboard()->text());
        // The cell shows the clipboard as it is, whatever the writer made of its spaces.
        cell = QGuiApplication::clipboard()->text();
        return true;
    });
}

void TGlossmillMainForm::EditInWindow()
{
    EditSelectedItem(this, [this](TTranslateItem *item, std::optional<QString> &cell) {
        // A reload run from the activation when the window closes would free the item.
        const TFileCheckHold hold(this);
        TFEditTranslation *dialog = EditDialog(this);
        dialog->Fill(item->TranslateValue(), item->FBaseValue);
        if (dialog->exec() != QDialog::Accepted)
            return false;
        item->setTranslateValue(dialog->Translation());
        cell = item->TranslateValue();
        return true;
    });
}

void TGlossmillMainForm::SBEditInWindowClick()
{
    if (BCopyBase->isEnabled())
        EditInWindow();
}

void TGlossmillMainForm::LVDblClick()
{
    if (BCopyBase->isEnabled())
        EditInWindow();
}

// ---------------------------------------------------------------------------------------------------------------
// In-place editor

int TGlossmillMainForm::GetTranslationColumn() const
{
    const QTreeWidgetItem *header = LV->headerItem();
    for (int c = 0; c < LV->columnCount(); ++c)
        if (header->text(c) == QStringLiteral("Translation"))
            return c;
    return -1;
}

void TGlossmillMainForm::LVClick(const QPoint &globalPos)
{
    const int col = GetTranslationColumn();
    if (col < 0)
        return;
    const QPoint pos = LV->viewport()->mapFromGlobal(globalPos);
    QTreeWidgetItem *row = LV->itemAt(pos);
    if (!row || LV->header()->logicalIndexAt(pos.x()) != col) {
        ListViewEditor->hide();
        return;
    }
    QCoreApplication::postEvent(this, new TEditSubItemEvent(LV->indexOfTopLevelItem(row)));
}

void TGlossmillMainForm::WMEditSubItem(int row)
{
    const int col = GetTranslationColumn();
    if (col < 0 || row < 0 || row >= LV->topLevelItemCount())
        return;
    QTreeWidgetItem *item = LV->topLevelItem(row);
    // The row being edited is the selected row, so that the commands below the list act on the row in sight.
    if (LV->currentItem() != item || !item->isSelected())
        LV->setCurrentItem(item);
    // The cell must be in sight for the editor over it to be usable.
    LV->scrollToItem(item);
    const QRect rowRect = LV->visualItemRect(item);
    const QRect cell(LV->header()->sectionViewportPosition(col), rowRect.top(), LV->header()->sectionSize(col),
                     rowRect.height());
    LItem = item;
    FEditFile = SelectedFileNode();
    ListViewEditor->setText(item->text(col));
    ListViewEditor->setGeometry(cell);
    ListViewEditor->show();
    ListViewEditor->setFocus();
    ListViewEditor->selectAll();
}

void TGlossmillMainForm::ListViewEditorKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    if (!LItem) {
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && LV->hasFocus()) {
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(LV, &down);
        }
        return;
    }
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const int i = LV->indexOfTopLevelItem(LItem);
        EndListEdit(0);
        const int n = LV->topLevelItemCount();
        int next = i;
        if (key == Qt::Key_Down && i < n - 1)
            next = i + 1;
        else if (key == Qt::Key_Up && i > 0)
            next = i - 1;
        key = 0;
        if (next >= 0 && next < n)
            QCoreApplication::postEvent(this, new TEditSubItemEvent(next));
        break;
    }
    case Qt::Key_Tab:
        // Stored and hidden as with Enter: an editor left open over no row would take typing and drop it. The key
        // then moves the focus on from the list to the next control.
        EndListEdit(2);
        if (LV->isVisible() && LV->isEnabled())
            LV->setFocus(Qt::TabFocusReason);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EndListEdit(2);
        break;
    case Qt::Key_Escape:
        EndListEdit(1);
        if (LV->isVisible() && LV->isEnabled())
            LV->setFocus();
        break;
    default:
        break;
    }
}

void TGlossmillMainForm::EndListEdit(int mode)
{
    const int col = GetTranslationColumn();
    if (col < 0 || !LItem)
        return;
    try {
        QTreeWidgetItem *row = LItem;
        switch (mode) {
        case 0:
        case 2: {
            const QString text = ListViewEditor->text();
            if (TTranslateItem *item = ItemOfRow(row)) {
                item->setTranslateValue(text);
                if (item->UndoAffected())
                    RememberUndo(FEditFile, item);
                SetRowImageIndex(row, item->GetStateIconIDX());
            }
            // Only a stored text is shown in the cell: after a failed store it would pass for saved.
            row->setText(col, text);
            break;
        }
        case 1:
            ListViewEditor->setText(row->text(col));
            break;
        default:
            break;
        }
        // Ended before the editor hides: hiding moves the focus on, and that focus-out must find no edit.
        LItem = nullptr;
        FEditFile = nullptr;
        if (mode == 1 || mode == 2)
            ListViewEditor->hide();
        SetControls();
    } catch (...) {
        PlatformBeep();
    }
}

bool TGlossmillMainForm::StorePendingEdit()
{
    if (!LItem)
        return true;
    EndListEdit(2);
    return !LItem || GetTranslationColumn() < 0;
}

void TGlossmillMainForm::LVExit()
{
    // Leaving the editor for another control keeps what was typed; only Esc drops it.
    StorePendingEdit();
}

bool TGlossmillMainForm::HandleMouseWheel(Qt::KeyboardModifiers shift, int wheelDelta, const QPoint &mousePos)
{
    Q_UNUSED(shift);
    Q_UNUSED(wheelDelta);
    Q_UNUSED(mousePos);
    const bool editorHadFocus = ListViewEditor->hasFocus();
    EndListEdit(0);
    // Focus leaves the editor for its list, so that hiding it does not pass the focus on along the chain.
    if (editorHadFocus)
        LV->setFocus();
    ListViewEditor->hide();
    // The wheel then scrolls as it would without the editor.
    return false;
}

void TGlossmillMainForm::ListRowsGoing(int first, int last)
{
    if (!LItem)
        return;
    const int row = LV->indexOfTopLevelItem(LItem);
    if (row < first || row > last)
        return;
    // The row is about to be freed: whatever was typed over it has no cell to go to.
    LItem = nullptr;
    FEditFile = nullptr;
    ListViewEditor->hide();
}
