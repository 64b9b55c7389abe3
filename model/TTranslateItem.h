#pragma once
#include <QIcon>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// The numbers are stored in the item-state comment and serve as list filter values.
enum tTransState : unsigned char {
    tsUnknown = 0,
    tsBaseNotPresent = 1,
    tsFinalTrnaslation = 2,
    tsNeedBetter = 3,
    tsDontTranslate = 4,
    tsTranslated = 5,
};

// Captions of the filter button, indexed by tTransState.
extern const QString TransStateCaptions[6];

// The state an item takes after its translation changed to an empty or non-empty text.
tTransState GetStateAfterValueChange(bool IsEmpty, tTransState OldState);

class TTranslateItem;

// The whitespace that stood around a parsed text. Most texts have none: it takes a pointer's room until it is set.
class TSideSpace
{
public:
    TSideSpace() = default;
    TSideSpace(const TSideSpace &) = delete;
    TSideSpace &operator=(const TSideSpace &) = delete;
    TSideSpace &operator=(const QString &Text);

    const QString &get() const;
    operator const QString &() const { return get(); }
    bool isEmpty() const { return !FText; }

private:
    std::unique_ptr<QString> FText;
};

inline bool operator==(const TSideSpace &Space, const QString &Text) { return Space.get() == Text; }

// A stack of snapshots (owned), newest last. It takes a pointer's room until the first one is pushed: most items
// are never edited.
class TSnapshotStack
{
public:
    bool empty() const { return !FItems || FItems->empty(); }
    size_t size() const { return FItems ? FItems->size() : 0; }
    // The newest; the stack must not be empty.
    const std::unique_ptr<TTranslateItem> &back() const { return FItems->back(); }
    void push_back(std::unique_ptr<TTranslateItem> Item);
    void pop_back() { FItems->pop_back(); }
    void clear() { FItems.reset(); }

private:
    std::unique_ptr<std::vector<std::unique_ptr<TTranslateItem>>> FItems;
};

// One string of a resource file, with its own undo and redo stacks of snapshots.
class TTranslateItem
{
public:
    TTranslateItem();
    ~TTranslateItem();
    TTranslateItem(const TTranslateItem &) = delete;
    TTranslateItem &operator=(const TTranslateItem &) = delete;

    QString ID;
    QString FBaseValue;
    QString FTranslatedValue;
    QString FPrevTranslateValue;
    TSnapshotStack UndoList;
    TSnapshotStack RedoList;
    TSideSpace WhSpaceHeader;
    TSideSpace WhSpaceTrailer;
    // The small fields together, so that they share one word.
    bool Changed = false;
    bool UndoAffectedState = false;
    bool UndoAffectedVal = false;
    tTransState FTranslateState = tsUnknown;
    bool EnableUndoMode = false;
    bool RepaintAfterUndoOrRedo = false;

    QString TranslateValue() const { return FTranslatedValue; }
    void setTranslateValue(const QString &NewValue) { WriteTranslateValue(NewValue); }
    tTransState TranslateState() const { return FTranslateState; }
    void setTranslateState(tTransState NewState) { WriteTranslateState(NewState); }
    QString BaseText() const { return FBaseValue; }
    void setBaseText(const QString &Value) { FBaseValue = Value; }
    QString PrevTranslateValue() const { return ReadPrevTranslateValue(); }
    QString ReadPrevTranslateValue() const { return FPrevTranslateValue; }

    // Equal text: nothing changes but UndoAffectedVal goes false. Takes at most one snapshot, in undo mode.
    void WriteTranslateValue(const QString &NewValue);
    // tsDontTranslate empties the translation without touching the previous one.
    void WriteTranslateState(tTransState NewState);

    bool UndoAffected() const { return UndoAffectedVal || UndoAffectedState; }
    void ResetUndoFlag();
    // Empty stack: nothing happens. Restores translation and state only.
    void DoUndo();
    void DoRedo();
    void ClearUndo();
    void ClearRedo();

    // Meant for fresh items: snapshots and copies of default-file items.
    void Assign(const TTranslateItem &CloneFrom);
    void CopyFromBase();
    QString GetFinalValueToSave(bool IncludeWHSpaces) const;
    int GetStateIconIDX() const;
    // Rewrites the Translation cell and image of the first row whose item has this ID; no such row: nothing.
    void RepaintInLV(QTreeWidget *LV);

private:
    std::unique_ptr<TTranslateItem> Snapshot() const;
    static void StepHistory(TTranslateItem &Item, TSnapshotStack &From, TSnapshotStack &To);
};

// Item list rows: column 0 carries the item (not owned) and the state image; column 3 is the Translation.
constexpr int LVTranslationColumn = 3;

// The item attached to a row, nullptr for none (or no row).
TTranslateItem *ItemOfRow(const QTreeWidgetItem *Row);
void SetRowItem(QTreeWidgetItem *Row, TTranslateItem *Item);

// The list's state images (its small image list), indexed by GetStateIconIDX.
void SetListImages(QTreeWidget *LV, const QList<QIcon> &Images);
// Sets the row's image index; the icon comes from its list's images once the row is in a list.
void SetRowImageIndex(QTreeWidgetItem *Row, int Index);
// The same with the icon from Images, for a row about to be added to the list those images belong to: a row that
// is not in a list yet costs the list no update.
void SetRowImageIndex(QTreeWidgetItem *Row, int Index, const QList<QIcon> &Images);
// The list's state images; empty for none, or no list.
QList<QIcon> ListImages(const QTreeWidget *LV);
// -1 when the row has none.
int RowImageIndex(const QTreeWidgetItem *Row);
