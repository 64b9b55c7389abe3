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

TItemText::TItemText(const TItemText &Other) : FBits(Other.FBits)
{
    if (IsShared())
        ++Shared()->Refs;
}

TItemText &TItemText::operator=(const TItemText &Other)
{
    if (Other.IsShared())
        ++Other.Shared()->Refs;
    Release();
    FBits = Other.FBits;
    return *this;
}

TItemText &TItemText::operator=(const QString &Text)
{
    if (Text.isEmpty()) {
        clear();
    } else if (IsShared() && Shared()->Refs == 1) {
        Shared()->Text = Text;
    } else {
        auto *shared = new TShared{1, Text};
        Release();
        FBits = reinterpret_cast<uintptr_t>(shared) + 1;
    }
    return *this;
}

TItemText::~TItemText()
{
    Release();
}

void TItemText::Release()
{
    if (IsShared() && --Shared()->Refs == 0)
        delete Shared();
    FBits = 0;
}

void TItemText::clear()
{
    Release();
}

void TItemText::SetRawUtf8(const char *Utf8)
{
    Release();
    if (Utf8 && *Utf8)
        FBits = reinterpret_cast<uintptr_t>(Utf8);
}

const QString &TItemText::get() const
{
    static const QString none;
    if (!FBits)
        return none;
    if (!IsShared()) {
        // Converted once; the bytes stay with the file for whoever else holds them.
        auto *shared = new TShared{1, QString::fromUtf8(reinterpret_cast<const char *>(FBits))};
        FBits = reinterpret_cast<uintptr_t>(shared) + 1;
    }
    return Shared()->Text;
}

namespace {

// The counts by number (0 stands for none), and the numbers free again. Never freed: a count may be given back
// after static objects are gone.
struct TUnsavedCounts
{
    std::vector<int> Values{0};
    std::vector<uint32_t> Free;
};

TUnsavedCounts &UnsavedCounts()
{
    static auto *counts = new TUnsavedCounts;
    return *counts;
}

} // namespace

TUnsavedCount::TUnsavedCount()
{
    TUnsavedCounts &counts = UnsavedCounts();
    if (counts.Free.empty()) {
        FNumber = uint32_t(counts.Values.size());
        counts.Values.push_back(0);
    } else {
        FNumber = counts.Free.back();
        counts.Free.pop_back();
    }
}

TUnsavedCount::~TUnsavedCount()
{
    TUnsavedCounts &counts = UnsavedCounts();
    counts.Values[FNumber] = 0;
    counts.Free.push_back(FNumber);
}

int TUnsavedCount::Value() const
{
    return UnsavedCounts().Values[FNumber];
}

void TUnsavedCount::Add(uint32_t Number, int Delta)
{
    if (Number)
        UnsavedCounts().Values[Number] += Delta;
}

TChangedFlag &TChangedFlag::operator=(bool Value)
{
    if (Value != bool(*this)) {
        TUnsavedCount::Add(FBits >> 1, Value ? 1 : -1);
        FBits = (FBits & ~uint32_t(1)) | uint32_t(Value);
    }
    return *this;
}

TChangedFlag::~TChangedFlag()
{
    *this = false;
}

void TChangedFlag::CountIn(const TUnsavedCount *Count)
{
    const bool value = *this;
    *this = false;
    FBits = (Count ? Count->Number() : 0) << 1;
    *this = value;
}

namespace {

// Equal slots for items, taken from blocks and given back to a free list; the blocks go when the last item does.
// Under the address sanitizer every item is a heap block of its own, so that a use after free is still seen.
class TItemSlots
{
public:
    void *Take(std::size_t Size)
    {
#if defined(__SANITIZE_ADDRESS__)
        return ::operator new(Size);
#else
        if (Size != sizeof(TTranslateItem))
            return ::operator new(Size);
        if (!FFree) {
            if (FNext == FEnd)
                NewBlock();
            FFree = reinterpret_cast<TSlot *>(FNext);
            FFree->Next = nullptr;
            FNext += sizeof(TTranslateItem);
        }
        TSlot *slot = FFree;
        FFree = slot->Next;
        ++FLive;
        return slot;
#endif
    }

    void Give(void *Item)
    {
#if defined(__SANITIZE_ADDRESS__)
        ::operator delete(Item);
#else
        auto *slot = static_cast<TSlot *>(Item);
        slot->Next = FFree;
        FFree = slot;
        if (--FLive == 0) {
            for (char *block : FBlocks)
                ::operator delete(block);
            FBlocks.clear();
            FFree = nullptr;
            FNext = FEnd = nullptr;
        }
#endif
    }

private:
    struct TSlot
    {
        TSlot *Next;
    };
    static constexpr std::size_t SlotsPerBlock = 512;

    void NewBlock()
    {
        char *block = static_cast<char *>(::operator new(SlotsPerBlock * sizeof(TTranslateItem)));
        FBlocks.push_back(block);
        FNext = block;
        FEnd = block + SlotsPerBlock * sizeof(TTranslateItem);
    }

    TSlot *FFree = nullptr;
    char *FNext = nullptr;
    char *FEnd = nullptr;
    std::vector<char *> FBlocks;
    std::size_t FLive = 0;
};

TItemSlots &ItemSlots()
{
    static TItemSlots store;
    return store;
}

} // namespace

void *TTranslateItem::operator new(std::size_t Size)
{
    return ItemSlots().Take(Size);
}

void TTranslateItem::operator delete(void *Item)
{
    if (Item)
        ItemSlots().Give(Item);
}

TTranslateItem::TTranslateItem()
    : UndoAffectedState(false), UndoAffectedVal(false), EnableUndoMode(false), RepaintAfterUndoOrRedo(false)
{
}

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
    if (NewValue == FTranslatedValue.get())
        return;
    ClearRedo();
    if (EnableUndoMode) {
        UndoAffectedVal = true;
        UndoList.push_back(Snapshot());
    }
    FPrevTranslateValue = FTranslatedValue;
    if (ModelSettings::ReplaceWhiteSpaces())
        FTranslatedValue = ReplaceDoubleSpaces(NewValue);
    else
        FTranslatedValue = NewValue;
    Changed = true;

    // The snapshot above already holds the old state, so the state change takes none of its own.
    struct TRestore
    {
        TTranslateItem &Item;
        bool Value;
        ~TRestore() { Item.EnableUndoMode = Value; }
    } restore{*this, EnableUndoMode};
    EnableUndoMode = false;
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
    // The copy may outlive the file whose bytes the texts still are: it takes them as strings.
    CloneFrom.FTranslatedValue.get();
    CloneFrom.FPrevTranslateValue.get();
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
        return WhSpaceHeader.get() + FTranslatedValue.get() + WhSpaceTrailer.get();
    return FTranslatedValue.get();
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
            row->setText(LVTranslationColumn, FTranslatedValue.get());
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
