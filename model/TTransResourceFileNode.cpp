#include "Glossmill_types.h"

#include "Glossmill_Misc.h"

#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include <sys/stat.h>

namespace {

// The file's last-write time in nanoseconds since 1970, following a link; 0 when it cannot be read. Whole
// milliseconds would miss a change that another program makes within the same millisecond as a save.
qint64 LastWriteTimeNs(const QString &Path)
{
    struct stat st {};
    if (Path.isEmpty() || ::stat(QFile::encodeName(Path).constData(), &st) != 0)
        return 0;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

namespace {

bool PassesFilter(const TTranslateItem &Item, tTransState Filter)
{
    if (Item.FBaseValue.isEmpty())
        return false;
    return Filter == tsUnknown || Item.FTranslateState == Filter
        || (Filter == tsBaseNotPresent && Item.FTranslateState != tsDontTranslate);
}

QTreeWidgetItem *NewRow(const QString &ID, const QString &Translation, const QString &Default, TTranslateItem *Item)
{
    auto *row = new QTreeWidgetItem();
    SetRowItem(row, Item);
    row->setText(1, TrimControls(ID));
    row->setText(2, TrimControls(Default));
    row->setText(LVTranslationColumn, TrimControls(Translation));
    return row;
}

// Removes a file or a link (the link itself); a folder or anything else stays.
void DeleteIfExists(const QString &FileName)
{
    try {
        const tPathKind kind = PathKindNoFollow(FileName);
        if (kind == pkRegular || kind == pkLink)
            QFile::remove(FileName);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

} // namespace

std::unique_ptr<TTransResourceFileNode> CreateResourceFileNode(tResourceType Type)
{
    std::unique_ptr<TTransResourceFileNode> node;
    if (Type == rtAndroid_menu)
        node = std::make_unique<TTransResourceFileNode_Menu>();
    else
        node = std::make_unique<TTransResourceFileNode_Value>();
    node->ResType = Type;
    return node;
}

TTransResourceFileNode::TTransResourceFileNode()
{
    LocaleDesc.LocaleName = QStringLiteral("default");
}

TTransResourceFileNode::~TTransResourceFileNode()
{
    ClearItems();
    if (!IsBase())
        DeleteTempXMFile();
}

bool (*TTransResourceFileNode::RenameFile)(const QString &From, const QString &To) = MoveFileNoReplace;
bool TTransResourceFileNode::SpliceWriting = true;
int TTransResourceFileNode::TreeWrittenFiles = 0;

void TTransResourceFileNode::ClearItems()
{
    // The history names these items; it goes first so that nothing follows it into freed items.
    ClearUndo();
    ClearRedo();
    // The parts and the layout name items by their places.
    FParts.reset();
    FLayout.reset();
    Items.clear();
    FRawIDs.Clear();
    FTexts.Clear();
    FIDs.Clear();
    FPairing.End();
    FMissingElements.clear();
}

bool TTransResourceFileNode::IsBase() const
{
    return LocaleDesc.LocaleName == QLatin1String("default");
}

TTranslateItem *TTransResourceFileNode::GetItemByID(const QString &ID)
{
    const int index = FIDs.IndexOf(Items, ID);
    return index < 0 ? nullptr : Items[size_t(index)].get();
}

TTranslateItem *TTransResourceFileNode::ItemForElement(const QString &ID, QHash<QString, int> &Seen)
{
    // Without two items of one identifier every element of it takes that one item.
    if (!FIDs.Duplicates(Items))
        return GetItemByID(ID);
    const int index = FIDs.NthOf(Items, ID, Seen[ID]++);
    return index < 0 ? nullptr : Items[size_t(index)].get();
}

TTranslateItem *TTransResourceFileNode::AppendItem(std::unique_ptr<TTranslateItem> Item, tContentKind Kind)
{
    TTranslateItem *item = Item.get();
    item->Changed.CountIn(&FUnsaved);
    item->FContentKind = Kind;
    Items.push_back(std::move(Item));
    return item;
}

tContentKind TTransResourceFileNode::ContentKindOf(const TTranslateItem *Item) const
{
    return tContentKind(Item->FContentKind);
}

bool TTransResourceFileNode_Value::IsSite(const pugi::xml_node &Element, QString *ID) const
{
    if (!GlossmillXml::LocalNameIs(Element.name(), "string"))
        return false;
    const pugi::xml_attribute name = GlossmillXml::FindAttribute(Element, "name");
    if (name && ID)
        *ID = GlossmillXml::ReadAttribute(name);
    return bool(name);
}

bool TTransResourceFileNode_Menu::IsSite(const pugi::xml_node &Element, QString *ID) const
{
    if (!GlossmillXml::LocalNameIs(Element.name(), "item"))
        return false;
    const pugi::xml_attribute id = GlossmillXml::FindAttribute(Element, "id");
    if (!id || !*id.value())
        return false;
    if (ID)
        *ID = GlossmillXml::ReadAttribute(id);
    return true;
}

QString TTransResourceFileNode::GetTreeText()
{
    const qsizetype cut = std::max(ResourceFileName.lastIndexOf(QLatin1Char('/')), ResourceFileName.lastIndexOf(QLatin1Char(':')));
    return ResourceFileName.mid(cut + 1);
}

void TTransResourceFileNode::SetTreeIcon(QTreeWidget *Tree)
{
    SetTreeImages(Tree, 4);
}

void TTransResourceFileNode_Value::SetTreeIcon(QTreeWidget *Tree)
{
    SetTreeImages(Tree, 4);
}

void TTransResourceFileNode_Menu::SetTreeIcon(QTreeWidget *Tree)
{
    SetTreeImages(Tree, 4);
}

bool TTransResourceFileNode::NeedSave()
{
    return FUnsaved.Value() > 0;
}

void TTransResourceFileNode::AddAllToListView()
{
    if (!LV)
        return;
    LV->clear();
    // Rows are finished before one insertion for all: a row changed inside the list makes the list look its
    // position up, and that grows with the rows before it.
    const QList<QIcon> images = ListImages(LV);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(Items.size()));
    for (const auto &item : Items)
        if (PassesFilter(*item, FActiveFilter)) {
            QTreeWidgetItem *row = NewRow(item->ID, item->FTranslatedValue.get(), item->FBaseValue, item.get());
            SetRowImageIndex(row, item->GetStateIconIDX(), images);
            rows.append(row);
        }
    LV->addTopLevelItems(rows);
}

void TTransResourceFileNode::AddItemToListView(const QString &ID, const QString &Translation, const QString &Default, TTranslateItem *Item)
{
    if (!LV)
        return;
    QTreeWidgetItem *row = NewRow(ID, Translation, Default, Item);
    SetRowImageIndex(row, Item ? Item->GetStateIconIDX() : 0, ListImages(LV));
    LV->addTopLevelItem(row);
}

void TTransResourceFileNode::AddToUndoList(TTranslateItem *Item)
{
    ClearRedo();
    UndoList.push_back(Item);
}

void TTransResourceFileNode::DoUndo()
{
    if (UndoList.empty())
        return;
    TTranslateItem *item = UndoList.back();
    item->DoUndo();
    RedoList.push_back(item);
    UndoList.pop_back();
}

void TTransResourceFileNode::DoRedo()
{
    if (RedoList.empty())
        return;
    TTranslateItem *item = RedoList.back();
    item->DoRedo();
    UndoList.push_back(item);
    RedoList.pop_back();
}

bool TTransResourceFileNode::CanUndo() const
{
    return !UndoList.empty();
}

bool TTransResourceFileNode::CanRedo() const
{
    return !RedoList.empty();
}

void TTransResourceFileNode::ClearUndo()
{
    for (TTranslateItem *item : UndoList)
        item->ClearUndo();
    UndoList.clear();
}

void TTransResourceFileNode::ClearRedo()
{
    for (TTranslateItem *item : RedoList)
        item->ClearRedo();
    RedoList.clear();
}

void TTransResourceFileNode::EnableDisablUndoMode(bool Enabled)
{
    for (const auto &item : Items)
        item->EnableUndoMode = Enabled;
}

void TTransResourceFileNode::RepainAllAfterUndoOrRedo(QTreeWidget *LV)
{
    for (const auto &item : Items)
        if (item->RepaintAfterUndoOrRedo) {
            item->RepaintInLV(LV);
            item->RepaintAfterUndoOrRedo = false;
        }
}

void TTransResourceFileNode::RememberFileTime()
{
    const qint64 time = LastWriteTimeNs(ResourceFileName);
    if (time > 0)
        SourceFileStamp = time;
}

void TTransResourceFileNode::RememberBaseFileTime()
{
    if (FBaseTemplate)
        FBaseTemplate->RememberFileTime();
}

bool TTransResourceFileNode::CheckFileTimeChanged()
{
    const qint64 time = LastWriteTimeNs(ResourceFileName);
    return time > 0 && SourceFileStamp > 0 && time > SourceFileStamp;
}

bool TTransResourceFileNode::CheckBaseFileTimeChanged()
{
    if (IsBase() || !FBaseTemplate)
        return false;
    return FBaseTemplate->CheckFileTimeChanged();
}

void TTransResourceFileNode::DeleteTempXMFile()
{
    const QString stem = StripFileExtension(ResourceFileName);
    if (!FGuard.WorkOnlyCopy && !FGuard.WorkFileForeign) {
        DeleteIfExists(stem + QStringLiteral(".tmp"));
        FGuard.WorkFileOurs = false;
    }
    if (!FGuard.BackupOnlyCopy)
        DeleteIfExists(stem + QStringLiteral(".bck"));
}
