#include "TTranslateItem.h"

#include "ModelSettings.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>

const QString TransStateCaptions[6] = {
    QString(),
    QStringLiteral("All (exclude Don't translate)"),
    QStringLiteral("Final Translation"),
    QStringLiteral("Need Better Translation"),
    QStringLiteral("Don't translate.."),
    QStringLiteral("Translated"),
};

tTransState GetStateAfterValueChange(bool IsEmpty, tTransState OldState)
{
    if (IsEmpty)
        return tsDontTranslate;
    if (OldState == tsFinalTrnaslation || OldState == tsNeedBetter)
        return OldState;
    return tsTranslated;
}

namespace {

const int RowItemRole = Qt::UserRole;
const int RowImageRole = Qt::UserRole + 1;
const char ListImagesProperty[] = "SmallImages";

QString ReplaceDoubleSpaces(QString Value)
{
    const QString pair = QStringLiteral("  ");
    while (Value.contains(pair))
        Value.replace(pair, QStringLiteral("&#0160;&#0160;"));
    return Value;
}

} // namespace

void TSnapshotStack::push_back(std::unique_ptr<TTranslateItem> Item)
{
    if (!FItems)
        FItems = std::make_unique<std::vector<std::unique_ptr<TTranslateItem>>>();
    FItems->push_back(std::move(Item));
}

TSideSpace &TSideSpace::operator=(const QString &Text)
{
    if (Text.isEmpty())
        FText.reset();
    else if (FText)
        *FText = Text;
    else
        FText = std::make_unique<QString>(Text);
    return *this;
}

const QString &TSideSpace::get() const
{
    static const QString none;
    return FText ? *FText : none;
}

TTranslateItem::TTranslateItem() = default;

TTranslateItem::~TTranslateItem()
{
    ClearUndo();
    ClearRedo();
}

std::unique_ptr<TTranslateItem> TTranslateItem::Snapshot() const
{
    auto snapshot = std::make_unique<TTranslateItem>();
    snapshot->Assign(*this);
    return snapshot;
}

void TTranslateItem::WriteTranslateValue(const QString &NewValue)
{
    UndoAffectedVal = false;
    if (NewValue == FTranslatedValue)
        return;
    ClearRedo();
    if (EnableUndoMode) {
        UndoAffectedVal = true;
        UndoList.push_back(Snapshot());
    }
    FPrevTranslateValue = FTranslatedValue;
    FTranslatedValue = ModelSettings::ReplaceWhiteSpaces() ? ReplaceDoubleSpaces(NewValue) : NewValue;
    Changed = true;

    // The snapshot above already holds the old state, so the state change takes none of its own.
    const bool undoMode = EnableUndoMode;
    EnableUndoMode = false;
    struct Restore {
        bool &flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{EnableUndoMode, undoMode};
    WriteTranslateState(GetStateAfterValueChange(NewValue.isEmpty(), FTranslateState));
}

void TTranslateItem::WriteTranslateState(tTransState NewState)
{
    UndoAffectedState = false;
    if (NewState == FTranslateState)
        return;
    ClearRedo();
    if (EnableUndoMode) {
        UndoAffectedState = true;
        UndoList.push_back(Snapshot());
    }
    FTranslateState = NewState;
    Changed = true;
    if (NewState == tsDontTranslate)
        FTranslatedValue.clear();
}

void TTranslateItem::ResetUndoFlag()
{
    UndoAffectedVal = false;
    UndoAffectedState = false;
}

void TTranslateItem::StepHistory(TTranslateItem &Item, TSnapshotStack &From, TSnapshotStack &To)
{
    if (From.empty())
        return;
    To.push_back(Item.Snapshot());
    const TTranslateItem &newest = *From.back();
    Item.FTranslatedValue = newest.FTranslatedValue;
    Item.FTranslateState = newest.FTranslateState;
    From.pop_back();
    Item.RepaintAfterUndoOrRedo = true;
}

void TTranslateItem::DoUndo()
{
    StepHistory(*this, UndoList, RedoList);
}

void TTranslateItem::DoRedo()
{
    StepHistory(*this, RedoList, UndoList);
}

void TTranslateItem::ClearUndo()
{
    UndoList.clear();
}

void TTranslateItem::ClearRedo()
{
    RedoList.clear();
}

void TTranslateItem::Assign(const TTranslateItem &CloneFrom)
{
    ID = CloneFrom.ID;
    WriteTranslateState(CloneFrom.FTranslateState);
    FBaseValue = CloneFrom.FBaseValue;
    FTranslatedValue = CloneFrom.FTranslatedValue;
    FPrevTranslateValue = CloneFrom.FPrevTranslateValue;
    Changed = CloneFrom.Changed;
}

void TTranslateItem::CopyFromBase()
{
    WriteTranslateValue(FBaseValue);
}

QString TTranslateItem::GetFinalValueToSave(bool IncludeWHSpaces) const
{
    if (IncludeWHSpaces)
        return WhSpaceHeader.get() + FTranslatedValue + WhSpaceTrailer.get();
    return FTranslatedValue;
}

int TTranslateItem::GetStateIconIDX() const
{
    switch (FTranslateState) {
    case tsFinalTrnaslation:
        return 2;
    case tsNeedBetter:
        return 4;
    case tsDontTranslate:
        return 1;
    case tsTranslated:
        return 5;
    default:
        return 0;
    }
}

void TTranslateItem::RepaintInLV(QTreeWidget *LV)
{
    if (!LV)
        return;
    for (int i = 0; i < LV->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = LV->topLevelItem(i);
        const TTranslateItem *item = ItemOfRow(row);
        if (item && item->ID == ID) {
            row->setText(LVTranslationColumn, FTranslatedValue);
            SetRowImageIndex(row, GetStateIconIDX());
            RepaintAfterUndoOrRedo = false;
            return;
        }
    }
}

TTranslateItem *ItemOfRow(const QTreeWidgetItem *Row)
{
    if (!Row)
        return nullptr;
    return reinterpret_cast<TTranslateItem *>(Row->data(0, RowItemRole).value<quintptr>());
}

void SetRowItem(QTreeWidgetItem *Row, TTranslateItem *Item)
{
    if (Row)
        Row->setData(0, RowItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(Item)));
}

void SetListImages(QTreeWidget *LV, const QList<QIcon> &Images)
{
    if (LV)
        LV->setProperty(ListImagesProperty, QVariant::fromValue(Images));
}

QList<QIcon> ListImages(const QTreeWidget *LV)
{
    return LV ? LV->property(ListImagesProperty).value<QList<QIcon>>() : QList<QIcon>();
}

void SetRowImageIndex(QTreeWidgetItem *Row, int Index, const QList<QIcon> &Images)
{
    if (!Row)
        return;
    Row->setData(0, RowImageRole, Index);
    Row->setIcon(0, Index >= 0 && Index < Images.size() ? Images.at(Index) : QIcon());
}

void SetRowImageIndex(QTreeWidgetItem *Row, int Index)
{
    if (Row)
        SetRowImageIndex(Row, Index, ListImages(Row->treeWidget()));
}

int RowImageIndex(const QTreeWidgetItem *Row)
{
    if (!Row)
        return -1;
    const QVariant index = Row->data(0, RowImageRole);
    return index.isValid() ? index.toInt() : -1;
}
