#pragma once
#include <QIcon>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
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

// A text of an item: a string that copies share (a language file's items share their identifiers and default texts
// with the default's), or, until it is first read as one, UTF-8 bytes that the item's file keeps as it read them (see
// TTextStore), so that a file's texts are converted only when shown, edited or compared. It takes one word.
class TItemText
{
public:
    TItemText() = default;
    explicit TItemText(const QString &Text) { *this = Text; }
    TItemText(const TItemText &Other);
    TItemText &operator=(const TItemText &Other);
    TItemText &operator=(const QString &Text);
    ~TItemText();

    // Raw bytes are converted on the first call.
    const QString &get() const;
    operator const QString &() const { return get(); }
    bool isEmpty() const { return !FBits || (IsShared() && Shared()->Text.isEmpty()); }
    void clear();
    std::string toStdString() const { return get().toStdString(); }

    // The NUL-terminated UTF-8 bytes while the text is raw; nullptr once it is a string (or empty).
    const char *RawUtf8() const { return FBits && !IsShared() ? reinterpret_cast<const char *>(FBits) : nullptr; }
    // Makes the text the bytes at Utf8, NUL-terminated at an even address, which must outlive every copy of it.
    void SetRawUtf8(const char *Utf8);
    // Both hold the very same bytes or string: equal without a comparison.
    bool SameAs(const TItemText &Other) const { return FBits == Other.FBits; }

private:
    struct TShared
    {
        int Refs;
        QString Text;
    };
    bool IsShared() const { return FBits & 1; }
    TShared *Shared() const { return reinterpret_cast<TShared *>(FBits - 1); }
    void Release();

    // 0: empty; odd: a TShared (plus one); even: raw bytes.
    mutable uintptr_t FBits = 0;
};

inline bool operator==(const TItemText &A, const TItemText &B) { return A.SameAs(B) || A.get() == B.get(); }
inline bool operator!=(const TItemText &A, const TItemText &B) { return !(A == B); }
inline bool operator==(const TItemText &A, const QString &B) { return A.get() == B; }
inline bool operator==(const QString &A, const TItemText &B) { return A == B.get(); }
inline bool operator==(const TItemText &A, const char *B) { return A.get() == QString::fromUtf8(B); }
inline bool operator!=(const TItemText &A, const QString &B) { return !(A == B); }
inline bool operator!=(const QString &A, const TItemText &B) { return !(A == B); }

// A count of the unsaved items of one file. Items name it by a number, so that their flag takes four bytes.
class TUnsavedCount
{
public:
    TUnsavedCount();
    ~TUnsavedCount();
    TUnsavedCount(const TUnsavedCount &) = delete;
    TUnsavedCount &operator=(const TUnsavedCount &) = delete;

    int Value() const;
    uint32_t Number() const { return FNumber; }
    // Changes the count of that number (0: none) by Delta.
    static void Add(uint32_t Number, int Delta);

private:
    uint32_t FNumber;
};

// Whether an item differs from what its file holds. The item of a file counts itself among the file's unsaved items
// while it is set, so that asking a file whether it needs saving costs the same however many items it has.
class TChangedFlag
{
public:
    TChangedFlag() = default;
    TChangedFlag(const TChangedFlag &) = delete;
    // The value only: the count stays the one this flag belongs to.
    TChangedFlag &operator=(const TChangedFlag &Other) { return *this = bool(Other); }
    TChangedFlag &operator=(bool Value);
    ~TChangedFlag();
    operator bool() const { return FBits & 1; }

    // Counts the flag in Count from now on (nullptr: in none), taking its present value along.
    void CountIn(const TUnsavedCount *Count);

private:
    uint32_t FBits = 0; // the count's number shifted by one; bit 0 the value
};

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

    TItemText ID;
    TItemText FBaseValue;
    TItemText FTranslatedValue;
    TItemText FPrevTranslateValue;
    TSnapshotStack UndoList;
    TSnapshotStack RedoList;
    TItemText WhSpaceHeader;
    TItemText WhSpaceTrailer;
    // The small fields together, so that they share one word (all false on a new item).
    bool UndoAffectedState : 1;
    bool UndoAffectedVal : 1;
    bool EnableUndoMode : 1;
    bool RepaintAfterUndoOrRedo : 1;
    tTransState FTranslateState = tsUnknown;

private:
    friend class TTransResourceFileNode;
    // How the text stood in its file (a tContentKind), kept by the file's node.
    unsigned char FContentKind = 0;

public:
    TChangedFlag Changed;

    QString TranslateValue() const { return FTranslatedValue.get(); }
    void setTranslateValue(const QString &NewValue) { WriteTranslateValue(NewValue); }
    tTransState TranslateState() const { return FTranslateState; }
    void setTranslateState(tTransState NewState) { WriteTranslateState(NewState); }
    QString BaseText() const { return FBaseValue.get(); }
    void setBaseText(const QString &Value) { FBaseValue = Value; }
    QString PrevTranslateValue() const { return ReadPrevTranslateValue(); }
    QString ReadPrevTranslateValue() const { return FPrevTranslateValue.get(); }

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

    // Items come from a store of equal slots rather than one heap block each: a project holds tens of thousands.
    static void *operator new(std::size_t Size);
    static void operator delete(void *Item);

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
