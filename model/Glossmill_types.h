#pragma once
#include <QDateTime>
#include <QHash>
#include <QString>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "GlossmillXml.h"
#include "Glossmill_LocaleConst.h"
#include "TTranslateItem.h"

class QTreeWidget;
class QTreeWidgetItem;

enum tResourceType : unsigned char {
    rtGroupNode = 0, // a fresh node's value; no command sets it
    rtAndroid_menu = 1,
    rtAndroid_values = 2,
};

enum tLoadResFileResult : unsigned char {
    lrfOK = 0,
    lrfNotExists = 1,
    lrfError = 2,
};

// Raised by a node operation that the object's class leaves abstract.
class EAbstractCall : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// The object that a project tree node carries. The root node carries none.
class TTransNode
{
public:
    virtual ~TTransNode() = default;
    virtual QString GetTreeText() = 0;
    // Sets the images of the first tree node that carries this object; none carries it: nothing changes.
    virtual void SetTreeIcon(QTreeWidget *Tree) = 0;
    virtual QString GetBaseInfo() = 0;
    virtual bool SaveFile(const QString &NewResFile) = 0;
    virtual void AddAllToListView() = 0;
    virtual bool NeedSave() = 0;

protected:
    // Gives the first tree node (in the tree's own order) that carries this object the image Index.
    void SetTreeImages(QTreeWidget *Tree, int Index);

private:
    friend void SetTreeItemNode(QTreeWidgetItem *TreeItem, TTransNode *Node);
    // How often the object was attached to a tree node. Never lowered, so at 1 no other node can carry it.
    int FTimesAttached = 0;
};

// One target language.
class TTransLangNode : public TTransNode
{
public:
    TLocaleDesc LocaleDesc;
    bool FNeedSave = false;
    // The folders under res that hold the language's values and menu files, named as on disk; empty while the
    // language has no folder of that type.
    QString ValuesFolder;
    QString MenuFolder;

    QString GetTreeText() override;
    void SetTreeIcon(QTreeWidget *Tree) override;
    QString GetBaseInfo() override;             // abstract: throws EAbstractCall
    bool SaveFile(const QString &NewResFile) override; // abstract: throws EAbstractCall
    void AddAllToListView() override;            // does nothing
    bool NeedSave() override;                    // abstract: throws EAbstractCall
};

// A resource-type group (values or menu) under a language.
class TTransResTypeNode : public TTransNode
{
public:
    tResourceType ResType = rtGroupNode;

    QString GetTreeText() override;
    void SetTreeIcon(QTreeWidget *Tree) override;
    QString GetBaseInfo() override;
    bool SaveFile(const QString &NewResFile) override; // abstract: throws EAbstractCall
    void AddAllToListView() override;                  // does nothing
    bool NeedSave() override;                          // abstract: throws EAbstractCall
};

// An element that saving writes an item into, with the items it may take (indexes into the file's items, -1 for
// none): the first of its identifier, or, where identifiers repeat, the Nth, at the element's place among the
// elements of that identifier (Occurrence, from 0).
struct TItemSite
{
    pugi::xml_node Element;
    int First = -1;
    int Nth = -1;
    int Occurrence = 0;
};

// Where a parsed item's text stood (a values element, or a menu item's title attribute), kept while that content is
// exactly what writing the item's text back would give: then the content can be copied rather than written again.
struct TItemSource
{
    pugi::xml_node Element;
    pugi::xml_attribute Title;
    QString Core; // the text as read
    bool Escape = false; // written back with its apostrophes escaped (AppendEscapedApostrophes)
};

// One resource XML file: a default file (LocaleDesc.LocaleName "default") or a language's copy of one. Owns its items,
// its document and its lists; BaseTemplate, LV and the entries of the undo, redo and scrap lists are references.
class TTransResourceFileNode : public TTransResTypeNode
{
public:
    TTransResourceFileNode();
    ~TTransResourceFileNode() override;
    TTransResourceFileNode(const TTransResourceFileNode &) = delete;
    TTransResourceFileNode &operator=(const TTransResourceFileNode &) = delete;

    TTransResourceFileNode *BaseTemplate() const { return FBaseTemplate; }
    void setBaseTemplate(TTransResourceFileNode *Value) { FBaseTemplate = Value; }
    tTransState ActiveFilter() const { return FActiveFilter; }
    void setActiveFilter(tTransState Value) { FActiveFilter = Value; }
    const std::vector<std::unique_ptr<TTranslateItem>> &TransItems() const { return Items; }

    std::vector<TTranslateItem *> UndoList; // most recent last; an item may stand in it several times
    std::vector<TTranslateItem *> RedoList;
    QTreeWidget *LV = nullptr;
    TXmlDocument XmlFile;
    TLocaleDesc LocaleDesc;
    QString ResourceFileName;
    QString TempWorkFileName;
    std::vector<pugi::xml_node> ScrapXmlNodeContainer; // empty outside a save
    qint64 SourceFileStamp = 0;                        // last write, ns since 1970; 0 until first remembered

    // Frees every item, after emptying the undo and redo lists with the snapshots they name.
    void ClearItems();
    bool IsBase() const;
    // The first item with exactly this identifier, nullptr for none.
    TTranslateItem *GetItemByID(const QString &ID);

    QString GetTreeText() override;
    void SetTreeIcon(QTreeWidget *Tree) override;
    bool SaveFile(const QString &NewResFile) override;
    void AddAllToListView() override;
    bool NeedSave() override;

    // Slots of resource files, after the six of every node.
    virtual void ParseXMLNode(pugi::xml_node Element);
    virtual void StoreToXMLNode(pugi::xml_node Element) = 0;
    virtual void AddMissingItemsFromBaseTemplate() = 0;
    virtual bool RecreateFileFromBase();

    void AddItemToListView(const QString &ID, const QString &Translation, const QString &Default, TTranslateItem *Item);

    void AddToUndoList(TTranslateItem *Item);
    void DoUndo();
    void DoRedo();
    bool CanUndo() const;
    bool CanRedo() const;
    void ClearUndo();
    void ClearRedo();
    void EnableDisablUndoMode(bool Enabled);
    void RepainAllAfterUndoOrRedo(QTreeWidget *LV);

    void RememberFileTime();
    void RememberBaseFileTime();
    bool CheckFileTimeChanged();
    bool CheckBaseFileTimeChanged();

    // Deletes the work and backup files named after ResourceFileName, but never one that holds the only copy of a
    // content after a failed rename or a file found at load that could not be moved out of the way, and never anything
    // but a file or a link.
    void DeleteTempXMFile();

    // A name that leads to anything but a regular file (a folder, a device, a FIFO) is refused like an unreadable file,
    // and so is a language file whose folder is a link: its work and backup files would lie outside the project.
    tLoadResFileResult LoadResFile(const QString &ResFileName);
    // False after any failure, and after a load that ended in lrfError.
    bool Parse();
    void LoadItemStates();
    QString GetBaseValueFromTemplate(const QString &ResorceFileName, const QString &ID);

    QString GetItemStatesText();
    QString GetItemStateEntry(TTranslateItem *Item);
    // The title a save writes for a menu item: its translation, or, for an item left untranslated (tsDontTranslate
    // with no text), the default's title as the default has it, so that the menu shows the default, not a blank;
    // either with its reference mark escaped when it is no reference (EscapeReferenceMark).
    QString TitleToSave(const TTranslateItem *Item, bool Keep);
    void AddXMLNodeToScrap(pugi::xml_node AnXMLNode);
    // Removes every element below NodeTest whose XML text equals NodeToSearch's; true only when NodeTest itself equals.
    bool FindNodeByNodeAndDelete(pugi::xml_node NodeTest, pugi::xml_node NodeToSearch);

    // The rename that saving uses; it never replaces an existing target. Tests may put a failing one in its place.
    static bool (*RenameFile)(const QString &From, const QString &To);

    // How the item's text stood in its own file (plain for an item this node does not own).
    tContentKind ContentKindOf(const TTranslateItem *Item) const;

protected:
    // Appends to Items; with Index, the identifier index is kept up to date now, else when it is next asked.
    TTranslateItem *AppendItem(std::unique_ptr<TTranslateItem> Item, tContentKind Kind, bool Index = true);
    // A new item for a file item (not a default one) with its whitespace split off; Text is its whole text.
    std::unique_ptr<TTranslateItem> NewParsedItem(const QString &ID, const QString &Text, QString &Core);
    // Gives a parsed item its default text (and, in a language file, its state) and appends it; Element is where it
    // stood, Source set when that content is what writing the item back gives, BaseFirst what ParsedID gave.
    void AddParsedItem(std::unique_ptr<TTranslateItem> Item, const QString &Core, tContentKind Kind,
                       const pugi::xml_node &Element, TItemSource *Source, int BaseFirst);
    // The identifier an attribute gives, and for a language file the default's first item of it (-1 for none).
    QString ParsedID(const pugi::xml_attribute &Attr, int &BaseFirst);
    // Drops what only parsing a language file needs.
    void EndPairing();
    // GetItemByID for the items parsed so far, by way of the pairing while a language file is parsed.
    TTranslateItem *ParsedItemByID(const QString &ID);
    // The first item whose identifier has these bytes in the document ("name" or "id"); -1 for none such, -2 when
    // that cannot be told (the sites do not serve), so that the identifier must be compared as text.
    int IndexOfRawID(const char *Raw);
    // Whether a text (Attribute null) or an attribute of the document is an item's text, read as text and written anew
    // from the item (a values string's content outside plurals and arrays, a menu item's title).
    bool HoldsItemText(const pugi::xml_node &Node, const pugi::xml_attribute &Attribute) const;
    // The attribute that gives a site its identifier.
    virtual pugi::xml_attribute SiteIdAttribute(const pugi::xml_node &Element) const = 0;
    // Adds a copy of every default item this file lacks, in State; values files also get an empty element each.
    void AddMissingItems(tTransState State, bool AddElements);
    // Writes the item into the element when it is changed, and notes it for a failed save.
    void StoreItem(TTranslateItem *Item);
    // The item an element of this identifier belongs to: the k-th element of an identifier in document order takes
    // the k-th item of it (Seen counts the elements met so far). nullptr for none.
    TTranslateItem *ItemForElement(const QString &ID, QHash<QString, int> &Seen);
    // The Occurrence-th item (from 0) with exactly this identifier, nullptr for none.
    TTranslateItem *NthItemByID(const QString &ID, int Occurrence);
    // How many items have exactly this identifier.
    int CountItemsByID(const QString &ID);
    // Calls Visit for every element of Element's tree in document order, Element first.
    template <typename F>
    static void ForEachElement(pugi::xml_node Element, F Visit);

    // Whether saving writes an item into the element, and the identifier it goes by.
    virtual bool IsSite(const pugi::xml_node &Element, QString *ID) const = 0;
    // Writes the item of one site (its index in FSites) as StoreToXMLNode does for that element.
    virtual void StoreSite(size_t Site, bool Keep) = 0;
    const TItemSite &SiteAt(size_t Site) const { return FSites[Site]; }
    // Writes the item's text as a site's content: into the site's element, or, kept as parts, into its holder (see
    // FHolders).
    void WriteSiteContent(size_t Site, TTranslateItem *Item, int Index, bool Keep);
    // The index of the item that saving writes into the site's element (as ItemForElement gives it), -1 for none.
    int ItemIndexAtSite(const TItemSite &Site) const;
    // Writes the item's text into Element (values), or Title (menus): a copy of its source when that holds the same,
    // else through WriteContent or WriteAttribute.
    void WriteItemContent(pugi::xml_node Element, TTranslateItem *Item, int Index, bool Keep);
    void WriteItemTitle(pugi::xml_attribute Title, TTranslateItem *Item, int Index, bool Keep);
    // The parsed item's source when its content can stand for the item's text as written now, else nullptr.
    const TItemSource *VerbatimSource(const TTranslateItem *Item, int Index, bool Keep) const;
    // Whether saving replaces the content of a site's element (values), rather than an attribute (menus).
    virtual bool SiteContentIsWritten() const = 0;
    // Notes the element a parsed item came from as its site; Occurrence: the items of its identifier before it. A
    // null Element: the sites cannot be known while parsing.
    void RecordSite(const pugi::xml_node &Element, int Index, int Occurrence);
    // Whether FSites are the sites of the document as it stands.
    bool SitesValid() const;
    // Finds the sites by walking the document.
    void BuildSitesByWalk();
    // The sites of the rebuilt document from the default file's (their elements already turned into the rebuilt
    // document's): each takes this file's item paired with the default's. False when they cannot be trusted.
    bool DeriveSites(const std::vector<TItemSite> &BaseSites, const std::vector<pugi::xml_node> &Elements);
    // Stores through FSites; false (nothing done) when they cannot serve and the walk of StoreToXMLNode must.
    bool StoreThroughSites();
    // After a store through the sites: what FindEqualElements finds below the root for the scrapped elements.
    std::vector<pugi::xml_node> ScrappedAndEqualElements();
    // Index of the first item with exactly this identifier, -1 for none; and of the one after Index with the same.
    int IndexOfID(const QString &ID);
    int NextIndexOfSameID(int Index);
    int NthIndexOfID(const QString &ID, int Occurrence);

    // Declares on the root the prefixes that what was written since the last time brought in, as DeclareUsedPrefixes
    // over the whole document would.
    void DeclarePrefixes();
    // What the document's names use and declare (cached until the document or a content in it changes).
    const GlossmillXml::TPrefixUse &PrefixSummary();

    std::vector<TTranslateItem *> FStoredItems; // items whose Changed this save cleared
    std::vector<TItemSource> FSources;          // parallel to the parsed items; no Element where there is none

private:
    // Moves what stands where the work (and, with Backup, the backup) file goes out of the way, unless it is this
    // node's own work file, a folder, or a file equal to the language file (which goes). The regular files moved.
    QStringList SetAsideLeftovers(bool Backup);
    // SaveFile; with Into, the document that would be written goes there instead of to a file, and SiteElements, when
    // given, receives the elements of this file's sites (FSites, when they serve) in Into. With PrepareOnly, the
    // document is brought up to date as for a save and nothing is written.
    bool SaveFileTo(const QString &NewResFile, TXmlDocument *Into, std::vector<pugi::xml_node> *SiteElements = nullptr,
                    bool PrepareOnly = false);
    // Writes what a save writes; the overlay's parts put into the default's document when the file is kept so.
    // LeftOut: the nodes a save leaves out, in document order.
    void WriteDocument(const QString &FileName, const std::vector<pugi::xml_node> &LeftOut, bool CreateNew);
    QByteArray DocumentBytes(const std::vector<pugi::xml_node> &LeftOut);

    // A language file rebuilt on its default file can be kept without a copy of the default's document: the
    // default's elements, with this file's parts (its prolog and root, the contents written into the sites, the
    // collections taken over) in FOverlay. XmlFile is made from them (Realize) only when something uses it.
    bool FVirtual = false;
    TXmlDocument FOverlay;
    // Per site, what stands in for its content: an element under the overlay's root whose children do, or else a
    // text of one piece, kept in FTextArena (a copy of the text it was read from; empty for no content). Neither:
    // the default's content.
    std::vector<pugi::xml_node> FHolders;
    struct TSiteText
    {
        size_t Offset = 0; // in FTextArena, NUL-terminated
        bool CData = false;
        bool Set = false;
    };
    std::vector<TSiteText> FTexts;
    std::string FTextArena;
    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> FTakenOver; // the default's collection, and its replacement
    // The document saves work on: the overlay while the file is kept as parts.
    TXmlDocument &WorkDocument() { return FVirtual ? FOverlay : XmlFile; }
    const TXmlDocument &SiteDocument() const { return FVirtual ? FBaseTemplate->XmlFile : XmlFile; }
    // The whole document, as the classic rebuild would have it, made into Into; Nodes (of the default's document, in
    // document order) become their counterparts there.
    // Returns the sites' elements there.
    std::vector<pugi::xml_node> BuildWhole(TXmlDocument &Into, std::vector<pugi::xml_node> *Nodes);
    // The parts to write, for TXmlDocument's writer.
    TXmlDocument::TParts Parts(const std::vector<pugi::xml_node> &LeftOut) const;
    // Makes XmlFile whole and ends keeping the file as parts.
    void Realize();
    void EndVirtual();
    // Writes the first save's document to the work file, and renames it into the language file's place.
    bool ReplaceThroughWorkFile(const std::vector<pugi::xml_node> &LeftOut);
    // False when an element with a site was replaced or brought in. The copies brought in go to Copies. Kept as parts,
    // the copies go into the overlay and the default's document stays as it is.
    bool ReplaceTranslatedCollections(const TXmlDocument &LanguageDoc, std::vector<pugi::xml_node> &Copies);
    // Indexes the items not yet in FIdIndex.
    void IndexItems();
    // Indexes the first item not yet indexed; the number of items of its identifier before it.
    int IndexNextItem();
    // Appends the elements of the missing strings that AddMissingItems left for later, when the document was not
    // rebuilt after all.
    void AppendMissingElements();

    TTransResourceFileNode *FBaseTemplate = nullptr;
    tTransState FActiveFilter = tsUnknown;
    std::vector<std::unique_ptr<TTranslateItem>> Items;
    // Identifier index over the first FIndexed items: the first and last item of each identifier, and for each item
    // the next one of its identifier (-1 at the last). Items that AddMissingItems adds are indexed when first asked for.
    struct TIdEntry
    {
        int First = -1;
        int Last = -1;
        int Count = 0;
    };
    QHash<QString, TIdEntry> FIdIndex;
    std::vector<int> FNextSameID;
    size_t FIndexed = 0;
    // A language file's pairing with its default file: the default's item each item belongs to (-1 for none, -2 for
    // none although the default has the identifier), and this file's item for each of the default's (-1 for none).
    bool FPairing = false; // while a language file with a default is parsed
    std::vector<int> FBaseIndex;
    std::vector<int> FPaired;
    QHash<QString, int> FOwnIDs; // while parsing: the first item of each identifier the default lacks
    // The identifiers by their bytes (in the document, while FRawIdsGeneration is its generation): see IndexOfRawID.
    std::unordered_map<std::string_view, int> FRawIds;
    unsigned long long FRawIdsGeneration = 0;
    std::vector<int> FMissingElements; // items whose empty element AddMissingItems left for later
    // The elements that saving writes items into, in document order; they serve while FSitesGeneration is the
    // document's generation. A values document in which one such element lies inside another has none that serve.
    std::vector<TItemSite> FSites;
    unsigned long long FSitesGeneration = 0;
    bool FSitesBroken = false;
    // The prefixes of the document of FPrefixGeneration, as the last declaring left them: declarations on no element
    // but the root, and the prefixes used but declared nowhere; FPrefixParts: subtrees written since.
    unsigned long long FPrefixGeneration = 0;
    bool FPrefixDeclaredOnRootOnly = false;
    std::vector<std::string> FPrefixUndeclared;
    std::vector<pugi::xml_node> FPrefixParts;
    unsigned FContentWrites = 0; // contents written other than by a copy of their source
    GlossmillXml::TPrefixUse FPrefixSummary;
    unsigned long long FPrefixSummaryGeneration = 0;
    unsigned FPrefixSummaryWrites = 0;
    std::unordered_map<const TTranslateItem *, tContentKind> FContentKinds;
    QHash<QString, QString> FNamespaces; // declarations of the language file's own root
    bool FLoadFailed = false;
    bool FCheckPrefixes = false; // the document took over elements from another since its last save
    bool FDuplicateIDs = false;  // two items share an identifier
    bool FWorkFileOurs = false;  // the file at TempWorkFileName is the one this node wrote
    bool FWorkFileForeign = false; // a file found there at load that could not be moved out of the way
    // After a failed rename these files hold content that is nowhere else on disk.
    bool FWorkOnlyCopy = false;
    bool FBackupOnlyCopy = false;
    bool FReloadedSinceFailure = false;
};

// A values file: elements "string" with a "name".
class TTransResourceFileNode_Value : public TTransResourceFileNode
{
public:
    void SetTreeIcon(QTreeWidget *Tree) override;
    void ParseXMLNode(pugi::xml_node Element) override;
    void StoreToXMLNode(pugi::xml_node Element) override;
    void AddMissingItemsFromBaseTemplate() override;

protected:
    bool IsSite(const pugi::xml_node &Element, QString *ID) const override;
    void StoreSite(size_t Site, bool Keep) override;
    bool SiteContentIsWritten() const override { return true; }
    pugi::xml_attribute SiteIdAttribute(const pugi::xml_node &Element) const override;
};

// A menu file: elements "item" with an "id" and a "title".
class TTransResourceFileNode_Menu : public TTransResourceFileNode
{
public:
    void SetTreeIcon(QTreeWidget *Tree) override;
    void ParseXMLNode(pugi::xml_node Element) override;
    void StoreToXMLNode(pugi::xml_node Element) override;
    void AddMissingItemsFromBaseTemplate() override;

protected:
    bool IsSite(const pugi::xml_node &Element, QString *ID) const override;
    void StoreSite(size_t Site, bool Keep) override;
    bool SiteContentIsWritten() const override { return false; }
    pugi::xml_attribute SiteIdAttribute(const pugi::xml_node &Element) const override;
};

template <typename F>
void TTransResourceFileNode::ForEachElement(pugi::xml_node Element, F Visit)
{
    // Walks without recursion: files may nest deeper than the stack allows.
    for (pugi::xml_node n = Element; n; n = GlossmillXml::NextNode(n, Element))
        if (n.type() == pugi::node_element)
            Visit(n);
}

// A new file node of the kind for Type (a menu node for rtAndroid_menu, else a values node), ResType set.
std::unique_ptr<TTransResourceFileNode> CreateResourceFileNode(tResourceType Type);

// The node object a project tree item carries (not owned), nullptr for none.
TTransNode *NodeOfTreeItem(const QTreeWidgetItem *TreeItem);
void SetTreeItemNode(QTreeWidgetItem *TreeItem, TTransNode *Node);
// The image, selected image and expanded image indexes of a tree item (-1 for none set); the icon shown is the
// image from the tree's images (SetListImages).
int TreeItemImageIndex(const QTreeWidgetItem *TreeItem);
int TreeItemSelectedIndex(const QTreeWidgetItem *TreeItem);
int TreeItemExpandedIndex(const QTreeWidgetItem *TreeItem);
void SetTreeItemImages(QTreeWidgetItem *TreeItem, int Image, int Selected, int Expanded);
