#pragma once
#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "GlossmillXml.h"
#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "ResourceFileIds.h"
#include "ResourceFilePairing.h"
#include "SpliceWriter.h"
#include "TTranslateItem.h"
#include "TextStore.h"
#include "WorkFileGuard.h"

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

// One resource XML file: a default file (LocaleDesc.LocaleName "default") or a language's copy of one. Owns its items,
// its document and its lists; BaseTemplate, LV and the entries of the undo, redo and scrap lists are references. A
// language file rebuilt on its default keeps no document of its own: its saves are written by splicing its texts into
// the default's bytes (SpliceWriter.h), and XmlFile is made, whole, only when something asks for it.
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
    // As cheap for a file of many items as for one of few.
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
    // Language files are written by splicing where they can be; off, every one is written by the tree writer.
    static bool SpliceWriting;
    // How many times a language file was written by the tree writer although splicing was on: the exception.
    static int TreeWrittenFiles;

    // How the item's text stood in its own file (plain for an item read from no file).
    tContentKind ContentKindOf(const TTranslateItem *Item) const;

protected:
    // Appends to Items, counting the item among this file's unsaved ones while its Changed is set.
    TTranslateItem *AppendItem(std::unique_ptr<TTranslateItem> Item, tContentKind Kind);
    // A parsed item of a language file (Text: its UTF-8 text, whitespace included) or of a default file; its default
    // text and state follow, and it is appended. Plain: the translation is stored as the value writer stores it (a
    // values file), else as it stands (a menu file).
    void AddParsedItem(const TItemText &ID, const char *Text, size_t Size, tContentKind Kind, int BaseFirst, bool ThroughWriter);
    // The identifier an attribute gives, and for a language file the default's first item of it (-1 for none).
    TItemText ParsedID(const pugi::xml_attribute &Attr, int &BaseFirst);
    // A default file: the last item parsed goes by these bytes.
    void NoteRawID(const char *Bytes) { FRawIDs.Add(Bytes); }
    // A language file being parsed: Element, a child of its root, is one of its plurals or arrays when its tag says so.
    void NoteCollection(const pugi::xml_node &Element)
    {
        if (FPairing.Active)
            if (const GlossmillXml::TCollectionKey key = GlossmillXml::CollectionKeyOf(Element); key.Tag)
                FPairing.Collections.emplace(key, Element);
    }
    // A string whose text is markup: the prefixes declared around it go wherever that markup is written.
    void NoteMarkupNamespaces(const pugi::xml_node &Element);
    // GetItemByID for the items parsed so far, by way of the pairing while a language file is parsed.
    TTranslateItem *ParsedItemByID(const QString &ID);
    // Whether a text (Attribute null) or an attribute of the document is an item's text, read as text and written anew
    // from the item (a values string's content outside plurals and arrays, a menu item's title).
    bool HoldsItemText(const pugi::xml_node &Node, const pugi::xml_attribute &Attribute) const;
    // Adds a copy of every default item this file lacks, in State; values files also get an empty element each.
    void AddMissingItems(tTransState State, bool AddElements);
    // Clears the item's Changed as writing it into its place does, noting it for a failed save.
    void StoreItem(TTranslateItem *Item);
    // The item an element of this identifier belongs to: the k-th element of an identifier in document order takes
    // the k-th item of it (Seen counts the elements met so far). nullptr for none.
    TTranslateItem *ItemForElement(const QString &ID, QHash<QString, int> &Seen);
    // Calls Visit for every element of Element's tree in document order, Element first.
    template <typename F>
    static void ForEachElement(pugi::xml_node Element, F Visit);

    // Whether saving writes an item into the element, and the identifier it goes by.
    virtual bool IsSite(const pugi::xml_node &Element, QString *ID) const = 0;
    // Whether saving replaces the content of a site's element (values), rather than an attribute (menus).
    virtual bool SiteContentIsWritten() const = 0;

    std::vector<TTranslateItem *> FStoredItems; // items whose Changed the save in progress cleared

private:
    // SaveFile; with WriteNothing, the file is brought up to date as for a save and nothing is written.
    bool SaveFileTo(const QString &NewResFile, bool WriteNothing);
    // The tree writer: the items stored into XmlFile by a walk, written without the scrapped strings.
    bool SaveTree(const QString &NewResFile, bool WriteNothing);
    // Writes through Write (given the file and whether nothing may stand there yet) where NewResFile says: a target,
    // the language file, or on the first save the work file put in the language file's place. False after a failed
    // rename.
    bool WriteOut(const QString &NewResFile, const std::function<void(const QString &, bool)> &Write);
    // Moves what stands where the work (and, with Backup, the backup) file goes out of the way, unless it is this
    // node's own work file, a folder, or a file equal to the language file (which goes). The regular files moved;
    // WorkKind, when given, receives what stands at the work file's name afterwards.
    QStringList SetAsideLeftovers(bool Backup, tPathKind *WorkKind = nullptr);
    // Writes the first save's file to the work file, and renames it into the language file's place.
    bool ReplaceThroughWorkFile(const std::function<void(const QString &, bool)> &Write);
    // The language's own plurals and arrays put in place of the default's of the same tag and name in XmlFile, the
    // default's copy. False when an element with a site was replaced or brought in.
    bool ReplaceTranslatedCollections(const TXmlDocument &LanguageDoc);
    // Appends the elements of the missing strings that AddMissingItems left for later, when the document was not
    // rebuilt after all.
    void AppendMissingElements();
    // A default file: its items stored into its document as a language's rebuild needs them, once.
    bool PrepareAsDefault();

    // The splice writer (SpliceWriter.cpp). A default file's layout, made when a language file first needs it.
    std::shared_ptr<const TSpliceLayout> SpliceLayout();
    // Makes FParts for this language file rebuilt on Layout, its own plurals and arrays taken from Language; false
    // (and no parts) where the splice writer cannot serve.
    bool MakeSpliceParts(const std::shared_ptr<const TSpliceLayout> &Layout, const TXmlDocument &Language);
    // Whether the parts can take the changed items: no text typed as markup brings a string element of its own.
    bool PartsServe() const;
    // SaveFile through the parts.
    bool SaveSpliced(const QString &NewResFile, bool WriteNothing);
    // The file's text, with the scrapped strings (and those equal to one) left out.
    std::string SplicedText(const std::vector<bool> &LeftOut) const;
    // Declares on the root the prefixes that the parts use and nothing declares, as DeclareUsedPrefixes would.
    void DeclareSplicedPrefixes();
    // XmlFile made whole from the parts, which then go: from now on the tree writer writes the file.
    void TreeFromParts();

    TTransResourceFileNode *FBaseTemplate = nullptr;
    tTransState FActiveFilter = tsUnknown;
    TUnsavedCount FUnsaved; // of the items whose Changed is set; it outlives them
    std::vector<std::unique_ptr<TTranslateItem>> Items;
    TIdIndex FIDs;          // ResourceFileIds.h
    TPairing FPairing;      // ResourceFilePairing.h
    TRawIDs FRawIDs;        // a default file's
    TTextStore FTexts;      // TextStore.h
    std::shared_ptr<const TSpliceLayout> FLayout; // a default file's, while its document stays as it was made from
    std::unique_ptr<TSpliceParts> FParts;         // a language file written by splicing
    TWorkFileGuard FGuard;  // WorkFileGuard.h
    QHash<QString, QString> FNamespaces; // declarations of the language file's own root
    std::vector<int> FMissingElements;   // items whose empty element AddMissingItems left for later
    qint64 FReadStamp = 0;  // the last write of the file as it was read
    bool FLoadFailed = false;
    bool FCheckPrefixes = false; // the document took over elements from another since its last save
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
    bool SiteContentIsWritten() const override { return true; }
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
    bool SiteContentIsWritten() const override { return false; }
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
