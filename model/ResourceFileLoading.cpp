#include "Glossmill_types.h"

#include "Glossmill_Misc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include <fcntl.h>
#include <unistd.h>

using namespace GlossmillXml;

namespace {

const QString StatesMarker = QStringLiteral("Glossmill - item states storage");

// The entries of the state comment, split as a delimited text with ";" and quoted entries.
QStringList SplitStateEntries(const QString &Text)
{
    QStringList entries;
    const qsizetype n = Text.size();
    auto blank = [&](qsizetype i) { return i < n && Text[i].unicode() >= 1 && Text[i].unicode() <= 32; };
    qsizetype i = 0;
    while (blank(i))
        ++i;
    while (i < n && Text[i].unicode() != 0) {
        QString entry;
        if (Text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (Text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && Text[i + 1] == QLatin1Char('"')) {
                        entry += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                // Quoted entries carry "--" as "-&#45;" (a comment cannot hold it) and "&" as "&amp;".
                if (Text[i] == QLatin1Char('&')) {
                    const QStringView rest = QStringView(Text).mid(i);
                    if (rest.startsWith(u"&#45;")) {
                        entry += QLatin1Char('-');
                        i += 5;
                        continue;
                    }
                    if (rest.startsWith(u"&amp;")) {
                        entry += QLatin1Char('&');
                        i += 5;
                        continue;
                    }
                }
                entry += Text[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && Text[i].unicode() > 32 && Text[i] != QLatin1Char(';'))
                ++i;
            entry = Text.mid(start, i - start);
        }
        entries << entry;
        while (blank(i))
            ++i;
        if (i < n && Text[i] == QLatin1Char(';')) {
            if (i + 1 == n)
                entries << QString();
            do
                ++i;
            while (blank(i));
        }
    }
    return entries;
}

// Whether a file can be written there: its folder exists and no folder stands in its place.
bool WorkFileWritable(const QString &Path)
{
    const QFileInfo info(Path);
    return info.absoluteDir().exists() && PathKindNoFollow(Path) != pkFolder;
}

// Whether this user may create files in the folder of Path.
bool FolderWritable(const QString &Path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(Path).absolutePath());
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool SameContent(const QString &Path, const QByteArray &Bytes)
{
    QByteArray content;
    QString error;
    return QFileInfo(Path).size() == Bytes.size() && ReadRegularFile(Path, content, error) && content == Bytes;
}

// Markup may use prefixes that its string, or an element around it below the root, declares: their URIs join the
// root's, so that the file that markup goes into can declare them.
void AddNamespacesAround(const pugi::xml_node &Element, const pugi::xml_node &Root, QHash<QString, QString> &Known)
{
    for (pugi::xml_node up = Element; up && up != Root && up.type() == pugi::node_element; up = up.parent())
        for (pugi::xml_attribute a = up.first_attribute(); a; a = a.next_attribute())
            if (std::strncmp(a.name(), "xmlns:", 6) == 0 && !Known.contains(ToQ(a.name() + 6)))
                Known.insert(ToQ(a.name() + 6), ToQ(a.value()));
}

QString EntryName(const QString &Entry)
{
    const qsizetype eq = Entry.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : Entry.left(eq);
}

} // namespace

tLoadResFileResult TTransResourceFileNode::LoadResFile(const QString &ResFileName)
{
    if (PathKindNoFollow(ResFileName) == pkNone)
        return lrfNotExists;
    if (FWorkOnlyCopy || FBackupOnlyCopy)
        FReloadedSinceFailure = true;
    EndVirtual();
    try {
        ResourceFileName = ResFileName;
        // Saving writes and renames files beside a language file: through a linked folder they would land elsewhere.
        if (!IsBase() && PathKindNoFollow(QFileInfo(ResFileName).path()) == pkLink)
            throw EXmlError("the folder of " + ResFileName.toStdString() + " is a link");
        XmlFile.LoadFromFile(ResFileName);
        // A character that a save would not write back as it was read: copied as it stands into what a save writes, a
        // reference to no character would not open again, and U+FDD0 would come back as a no-break space (in an
        // identifier, losing its item's text). Only an item's own text is read as text and written anew, and a
        // reference to 0 cuts even that.
        for (const TXmlDocument::TUnwritable &bad : XmlFile.Unwritable())
            if (bad.CutsText || !HoldsItemText(bad.Node, bad.Attribute))
                throw EXmlError("a character that names no character, or U+FDD0, in " + ResFileName.toStdString());
        FNamespaces = NamespaceDeclarations(XmlFile.Root());
        FLoadFailed = false;
        return lrfOK;
    } catch (const std::exception &e) {
        LogException(&e, QString());
    } catch (...) {
        LogException(nullptr, QString());
    }
    // A part of a file must never be taken for the file: a save would write the part back in its place.
    XmlFile.Clear();
    FNamespaces.clear();
    FLoadFailed = true;
    return lrfError;
}

bool TTransResourceFileNode::HoldsItemText(const pugi::xml_node &Node, const pugi::xml_attribute &Attribute) const
{
    if (!SiteContentIsWritten())
        return Attribute && Attribute == FindAttribute(Node, "title") && IsSite(Node, nullptr);
    if (Attribute)
        return false;
    // A string inside a plural or an array goes with its collection, which a rebuild copies as it stands.
    bool site = false;
    for (pugi::xml_node up = Node.parent(); up && up.type() == pugi::node_element; up = up.parent()) {
        for (const char *collection : {"plurals", "string-array", "integer-array", "array"})
            if (std::strcmp(up.name(), collection) == 0)
                return false;
        site = site || IsSite(up, nullptr);
    }
    return site;
}

bool TTransResourceFileNode::Parse()
{
    try {
        // A file kept as parts is read again from the whole.
        Realize();
        ClearItems();
        if (FLoadFailed)
            return false;
        FPairing = !IsBase() && FBaseTemplate;
        if (FPairing) {
            FBaseTemplate->IndexItems();
            FPaired.assign(FBaseTemplate->Items.size(), -1);
            // Parsed and missing items together: as many as the default has, as a rule.
            Items.reserve(FBaseTemplate->Items.size());
        }
        if (const pugi::xml_node root = XmlFile.Root())
            ParseXMLNode(root);
        FSitesGeneration = FSitesBroken ? 0 : XmlFile.Generation();
        if (IsBase()) {
            Items.shrink_to_fit();
            return true;
        }
        AddMissingItemsFromBaseTemplate();
        const bool result = RecreateFileFromBase();
        EndPairing();
        return result;
    } catch (...) {
        EndPairing();
        return false;
    }
}

void TTransResourceFileNode::EndPairing()
{
    FPairing = false;
    FBaseIndex = std::vector<int>();
    FPaired = std::vector<int>();
    FOwnIDs = QHash<QString, int>();
}

void TTransResourceFileNode::ParseXMLNode(pugi::xml_node)
{
    if (!IsBase())
        LoadItemStates();
}

std::unique_ptr<TTranslateItem> TTransResourceFileNode::NewParsedItem(const QString &ID, const QString &Text, QString &Core)
{
    auto item = std::make_unique<TTranslateItem>();
    item->ID = ID;
    QString header, trailer;
    SplitWhiteSpace(Text, header, trailer, Core);
    item->WhSpaceHeader = header;
    item->WhSpaceTrailer = trailer;
    return item;
}

QString TTransResourceFileNode::ParsedID(const pugi::xml_attribute &Attr, int &BaseFirst)
{
    BaseFirst = -1;
    if (!FPairing)
        return ReadAttribute(Attr);
    // The default's own identifier when the bytes are the same: no conversion, and the text is shared.
    const int d = FBaseTemplate->IndexOfRawID(Attr.value());
    if (d >= 0) {
        BaseFirst = d;
        return FBaseTemplate->Items[size_t(d)]->ID;
    }
    const QString id = ReadAttribute(Attr);
    BaseFirst = FBaseTemplate->IndexOfID(id);
    return id;
}

TTranslateItem *TTransResourceFileNode::ParsedItemByID(const QString &ID)
{
    if (!FPairing)
        return GetItemByID(ID);
    // The first item of an identifier the default has is the one paired with the default's first.
    const int d = FBaseTemplate->IndexOfID(ID);
    const int index = d >= 0 ? FPaired[size_t(d)] : FOwnIDs.value(ID, -1);
    return index < 0 ? nullptr : Items[size_t(index)].get();
}

void TTransResourceFileNode::AddParsedItem(std::unique_ptr<TTranslateItem> Item, const QString &Core, tContentKind Kind,
                                           const pugi::xml_node &Element, TItemSource *Source, int BaseFirst)
{
    const int index = int(Items.size());
    TTranslateItem *item = AppendItem(std::move(Item), Kind, false);
    if (Kind == ckMarkup)
        AddNamespacesAround(Element, XmlFile.Root(), FNamespaces);
    if (FPairing) {
        // The k-th string of one name belongs to the default's k-th string of that name, the first of them not yet
        // taken; beyond the default's count it has none, like a string the default lacks.
        int base = BaseFirst;
        bool later = false;
        if (base >= 0) {
            while (base >= 0 && FPaired[size_t(base)] >= 0) {
                base = FBaseTemplate->NextIndexOfSameID(base);
                later = true;
            }
        } else {
            const auto known = FOwnIDs.constFind(item->ID);
            later = known != FOwnIDs.constEnd();
            if (!later)
                FOwnIDs.insert(item->ID, index);
        }
        if (later)
            FDuplicateIDs = true;
        if (base >= 0) {
            item->FBaseValue = FBaseTemplate->Items[size_t(base)]->FBaseValue;
            FPaired[size_t(base)] = index;
        }
        FBaseIndex.resize(size_t(index) + 1, -1);
        FBaseIndex.back() = base >= 0 ? base : BaseFirst >= 0 ? -2 : -1;
        // The document is rebuilt on the default's; its sites are found there.
        FSitesBroken = true;
    } else {
        const int seen = IndexNextItem();
        if (IsBase())
            item->FBaseValue = Core;
        RecordSite(Element, index, seen);
    }
    if (!IsBase()) {
        const QString &translation = item->FTranslatedValue;
        item->setTranslateState(translation.isEmpty() ? tsDontTranslate
                                : translation == item->FBaseValue ? tsNeedBetter
                                                                 : tsTranslated);
    }
    if (Source) {
        Source->Core = Core;
        FSources.resize(size_t(index) + 1);
        FSources.back() = std::move(*Source);
    }
}

void TTransResourceFileNode_Value::ParseXMLNode(pugi::xml_node Element)
{
    if (Element) {
        // The whole tree in one walk, an element before its descendants; the state comment follows once, after it.
        ForEachElement(Element, [this](const pugi::xml_node &e) {
            if (!LocalNameIs(e.name(), "string"))
                return;
            const pugi::xml_attribute name = FindAttribute(e, "name");
            if (!name)
                return;
            int baseFirst = -1;
            const QString id = ParsedID(name, baseFirst);
            const TXmlContent content = ReadContent(e);
            QString core;
            std::unique_ptr<TTranslateItem> item = NewParsedItem(id, content.Text, core);
            item->setTranslateValue(core);
            item->FPrevTranslateValue = core;
            TItemSource source{e, pugi::xml_attribute(), QString()};
            AddParsedItem(std::move(item), core, content.Kind, e,
                          ContentRoundTrips(e, content.Kind, &source.Escape) ? &source : nullptr, baseFirst);
        });
    }
    TTransResourceFileNode::ParseXMLNode(Element);
}

void TTransResourceFileNode_Menu::ParseXMLNode(pugi::xml_node Element)
{
    if (Element) {
        ForEachElement(Element, [this](const pugi::xml_node &e) {
            if (!LocalNameIs(e.name(), "item"))
                return;
            QString title;
            pugi::xml_attribute idAttr, titleAttr;
            int ids = 0, titles = 0;
            for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
                if (LocalNameIs(a.name(), "id")) {
                    idAttr = a;
                    ++ids;
                } else if (LocalNameIs(a.name(), "title")) {
                    title = ReadAttribute(a);
                    titleAttr = a;
                    ++titles;
                }
                if (*idAttr.value() && !title.isEmpty())
                    break;
            }
            if (!*idAttr.value())
                return;
            int baseFirst = -1;
            const QString id = ParsedID(idAttr, baseFirst);
            QString core;
            std::unique_ptr<TTranslateItem> item = NewParsedItem(id, title, core);
            item->FTranslatedValue = core;
            item->FPrevTranslateValue = core;
            // Saving goes by an element's first "id" and "title"; reading, by the ones the loop above stopped at.
            const bool plain = ids == 1 && titles <= 1;
            TItemSource source{e, titleAttr, QString()};
            AddParsedItem(std::move(item), core, ckPlain, plain ? e : pugi::xml_node(),
                          plain && titleAttr && AttributeRoundTrips(titleAttr) ? &source : nullptr, baseFirst);
        });
    }
    TTransResourceFileNode::ParseXMLNode(Element);
}

void TTransResourceFileNode::LoadItemStates()
{
    try {
        QString text;
        bool found = false;
        for (const pugi::xml_node &node : XmlFile.Prolog()) {
            if (node.type() != pugi::node_comment)
                continue;
            text = ToQ(node.value());
            if (text.contains(StatesMarker)) {
                found = true;
                break;
            }
        }
        if (!found)
            return;
        QString rest = text.mid(StatesMarker.size());
        rest.remove(QLatin1Char('\r'));
        rest.remove(QLatin1Char('\n'));
        const QStringList entries = SplitStateEntries(rest);

        // Of two entries for one identifier the first decides; names match without regard to letter case.
        QHash<QString, QString> numbers;
        for (const QString &entry : entries) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            const QString key = LowerCaseAZ(entry.left(eq));
            if (eq >= 0 && !numbers.contains(key))
                numbers.insert(key, entry.mid(eq + 1));
        }
        for (const QString &entry : entries) {
            const QString name = EntryName(entry);
            TTranslateItem *item = ParsedItemByID(name);
            if (!item)
                continue;
            bool ok = false;
            const QString number = numbers.value(LowerCaseAZ(name));
            const int state = number.trimmed().toInt(&ok);
            if (!ok || state < tsUnknown || state > tsTranslated) {
                const std::invalid_argument error(("'" + number + "' is not a valid item state").toStdString());
                LogException(&error, QString());
                continue;
            }
            item->setTranslateState(tTransState(state));
        }
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

QString TTransResourceFileNode::GetBaseValueFromTemplate(const QString &, const QString &ID)
{
    if (!FBaseTemplate)
        return QString();
    const TTranslateItem *item = FBaseTemplate->GetItemByID(ID);
    return item ? item->FBaseValue : QString();
}

void TTransResourceFileNode::AddMissingItems(tTransState State, bool AddElements)
{
    if (IsBase() || !FBaseTemplate)
        return;
    const auto &baseItems = FBaseTemplate->TransItems();
    FPaired.resize(baseItems.size(), -1);
    // The default's items of each identifier met so far; each of the default's strings of one name needs its own
    // item here, and the items paired with the default's already say which ones this file has.
    std::vector<int> occurrence(baseItems.size(), 0);
    for (size_t d = 0; d < baseItems.size(); ++d) {
        const int next = FBaseTemplate->NextIndexOfSameID(int(d));
        if (next >= 0)
            occurrence[size_t(next)] = occurrence[d] + 1;
        if (FPaired[d] >= 0)
            continue;
        const TTranslateItem &base = *baseItems[d];
        auto item = std::make_unique<TTranslateItem>();
        item->Assign(base);
        item->setTranslateState(State);
        item->FTranslatedValue.clear();
        const int index = int(Items.size());
        FPaired[d] = index;
        FBaseIndex.resize(size_t(index) + 1, -1);
        FBaseIndex.back() = int(d);
        // A second item of one identifier: there was a first (found or added before it in this loop).
        if (occurrence[d] > 0)
            FDuplicateIDs = true;
        AppendItem(std::move(item), FBaseTemplate->ContentKindOf(&base), false);
        if (AddElements)
            FMissingElements.push_back(index);
    }
}

void TTransResourceFileNode::AppendMissingElements()
{
    const pugi::xml_node root = XmlFile.Root();
    if (root)
        for (const int index : FMissingElements)
            AppendChildElement(root, "string").append_attribute("name").set_value(ToU8(Items[size_t(index)]->ID).c_str());
    FMissingElements.clear();
    // The document no longer holds just the elements the sites were taken from.
    FSitesGeneration = 0;
}

void TTransResourceFileNode_Value::AddMissingItemsFromBaseTemplate()
{
    AddMissingItems(tsDontTranslate, true);
}

void TTransResourceFileNode_Menu::AddMissingItemsFromBaseTemplate()
{
    AddMissingItems(tsBaseNotPresent, false);
}

bool TTransResourceFileNode::ReplaceTranslatedCollections(const TXmlDocument &LanguageDoc, std::vector<pugi::xml_node> &Copies)
{
    // The default file's structure keeps the language's own plurals and arrays in their places.
    const pugi::xml_node root = FVirtual ? FBaseTemplate->XmlFile.Root() : XmlFile.Root();
    const pugi::xml_node languageRoot = LanguageDoc.Root();
    if (!root || !languageRoot)
        return true;
    // A collection is known by its tag (1 to 4; 0 for no collection) and its name's bytes.
    struct TKey
    {
        int Tag = 0;
        std::string_view Name;
        bool operator==(const TKey &Other) const { return Tag == Other.Tag && Name == Other.Name; }
    };
    struct THash
    {
        size_t operator()(const TKey &Key) const
        {
            return std::hash<std::string_view>()(Key.Name) ^ size_t(Key.Tag);
        }
    };
    auto key = [](const pugi::xml_node &e) -> TKey {
        // Most children are strings: one look at the first letter sends them on.
        const char *name = e.name();
        const int tag = *name == 'p' ? 1 : *name == 's' ? 2 : *name == 'i' ? 3 : *name == 'a' ? 4 : 0;
        static const char *const tags[] = {"", "plurals", "string-array", "integer-array", "array"};
        if (!tag || std::strcmp(name, tags[tag]) != 0)
            return TKey();
        const pugi::xml_attribute attr = e.attribute("name");
        return attr ? TKey{tag, attr.value()} : TKey();
    };
    auto holdsSite = [this](const pugi::xml_node &Start) {
        bool found = false;
        ForEachElement(Start, [&](const pugi::xml_node &e) { found = found || IsSite(e, nullptr); });
        return found;
    };
    // The first of each key.
    std::unordered_map<TKey, pugi::xml_node, THash> translated;
    for (pugi::xml_node e = languageRoot.first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element)
            continue;
        const TKey k = key(e);
        if (k.Tag)
            translated.emplace(k, e);
    }
    if (translated.empty())
        return true;
    bool sitesKept = true;
    for (pugi::xml_node e = root.first_child(); e;) {
        const pugi::xml_node next = e.next_sibling();
        if (e.type() == pugi::node_element) {
            const TKey k = key(e);
            const auto found = k.Tag ? translated.find(k) : translated.end();
            if (found != translated.end()) {
                const pugi::xml_node source = found->second;
                if (sitesKept && (holdsSite(e) || holdsSite(source)))
                    sitesKept = false;
                if (FVirtual) {
                    const pugi::xml_node copy = FOverlay.AppendCopy(FOverlay.Root(), LanguageDoc, source);
                    FTakenOver.emplace_back(e, copy);
                    Copies.push_back(copy);
                } else {
                    Copies.push_back(XmlFile.ReplaceWithCopy(e, LanguageDoc, source));
                }
                FCheckPrefixes = true;
            }
        }
        e = next;
    }
    return sitesKept;
}

QStringList TTransResourceFileNode::SetAsideLeftovers(bool Backup)
{
    QStringList kept;
    const QString stem = StripFileExtension(ResourceFileName);
    QByteArray language;
    bool languageRead = false, languageTried = false;
    for (const QString &path : {stem + QStringLiteral(".tmp"), stem + QStringLiteral(".bck")}) {
        if (!Backup && path.endsWith(QLatin1String(".bck")))
            break;
        const tPathKind kind = PathKindNoFollow(path);
        if (kind == pkNone || kind == pkFolder || (FWorkFileOurs && path == TempWorkFileName))
            continue;
        if (kind == pkRegular) {
            if (!languageTried) {
                QString error;
                languageRead = ReadRegularFile(ResourceFileName, language, error);
                languageTried = true;
            }
            if (languageRead && SameContent(path, language) && QFile::remove(path))
                continue;
        }
        // It may hold the only copy of earlier work, or be a link to anywhere: it is neither written nor removed.
        const QString aside = SetFileAside(path);
        if (aside.isEmpty()) {
            LogException(nullptr, QStringLiteral("can not move ") + path + QStringLiteral(" out of the way"));
            if (path.endsWith(QLatin1String(".tmp")))
                FWorkFileForeign = true;
            continue;
        }
        LogException(nullptr, path + QStringLiteral(" was found as the project was opened; it is kept as ") + aside);
        if (kind == pkRegular)
            kept << aside;
    }
    return kept;
}

bool TTransResourceFileNode::RecreateFileFromBase()
{
    if (IsBase())
        return true;
    try {
        if (FWorkOnlyCopy) {
            AppendMissingElements();
            LogException(nullptr, QStringLiteral("the work file of ") + ResourceFileName
                                      + QStringLiteral(" holds the only copy of a failed save; it is not rebuilt"));
            return false;
        }
        TempWorkFileName = StripFileExtension(ResourceFileName) + QStringLiteral(".tmp");
        if (!FBaseTemplate)
            throw std::logic_error("a language file has no default file to be rebuilt on");
        const QStringList kept = SetAsideLeftovers(true);
        // The default file's document as its save would write it, taken over in memory rather than through the
        // work file; the work file is written once, by this file's own save below.
        TXmlDocument rebuilt;
        if (!WorkFileWritable(TempWorkFileName)) {
            AppendMissingElements();
            LogException(nullptr, QStringLiteral("can not write file ") + TempWorkFileName);
            FBaseTemplate->RememberFileTime();
            return true;
        }
        // A values file is kept as its parts put into the default's document, when the default's sites can be
        // trusted; otherwise it is rebuilt on a copy of that document.
        std::vector<pugi::xml_node> siteElements;
        bool asParts = SiteContentIsWritten();
        if (asParts && !FBaseTemplate->SaveFileTo(TempWorkFileName, nullptr, nullptr, true)) {
            AppendMissingElements();
            return true;
        }
        // The parts go in below the root: a root that is a string itself is rebuilt whole.
        if (asParts && (!FBaseTemplate->SitesValid() || !FBaseTemplate->XmlFile.Root()
                        || IsSite(FBaseTemplate->XmlFile.Root(), nullptr)))
            asParts = false;
        if (!asParts && !FBaseTemplate->SaveFileTo(TempWorkFileName, &rebuilt, &siteElements)) {
            AppendMissingElements();
            return true;
        }
        const QString encoding = XmlFile.Encoding();
        TXmlDocument language;
        language.Swap(XmlFile);
        if (asParts) {
            FVirtual = true;
            FOverlay.AssignFrame(FBaseTemplate->XmlFile);
            for (const TItemSite &site : FBaseTemplate->FSites)
                siteElements.push_back(site.Element);
        } else {
            XmlFile.Swap(rebuilt);
        }
        // The rebuilt document holds the default's elements of the strings this file lacks.
        FMissingElements.clear();
        // The sources of the items lie in the language's document, which goes when the rebuild is done.
        struct TDropSources
        {
            TTransResourceFileNode &Node;
            ~TDropSources()
            {
                Node.FSources.clear();
                Node.FSources.shrink_to_fit();
                // The texts the rebuild stored are all in: their store keeps no room for more.
                Node.FTextArena.shrink_to_fit();
            }
        } dropSources{*this};
        // The default's own declaration stays as it is when it already names that encoding.
        if (WorkDocument().Encoding().compare(encoding, Qt::CaseInsensitive) != 0)
            WorkDocument().setEncoding(encoding);
        std::vector<pugi::xml_node> collections;
        const bool sitesKept = ReplaceTranslatedCollections(language, collections);
        WorkDocument().TakeDoctype(language);
        bool realized = false;
        if (!sitesKept || !FBaseTemplate->SitesValid() || !DeriveSites(FBaseTemplate->FSites, siteElements)) {
            // Sites inside collections: the whole document, and a walk to find them.
            realized = FVirtual;
            Realize();
            FSitesGeneration = 0;
        }
        if (FVirtual)
            XmlFile.Defer([this](TXmlDocument &) { Realize(); });
        // The prefixes are those of the default's document, but where this file's texts and collections go in.
        const TPrefixUse &basePrefixes = FBaseTemplate->PrefixSummary();
        FPrefixGeneration = WorkDocument().Generation();
        FPrefixDeclaredOnRootOnly = !basePrefixes.DeclaredBelow;
        FPrefixUndeclared.clear();
        for (const std::string &prefix : basePrefixes.Used)
            if (std::find(basePrefixes.Declared.begin(), basePrefixes.Declared.end(), prefix) == basePrefixes.Declared.end())
                FPrefixUndeclared.push_back(prefix);
        FPrefixParts = collections;
        if (realized) {
            // The collections were copied once more into the whole document: its first check walks it all.
            FPrefixGeneration = 0;
            FPrefixParts.clear();
        }
        // Every item the default has a string of goes into the rebuilt document.
        for (size_t i = 0; i < Items.size(); ++i)
            if (FBaseIndex[i] != -1)
                Items[i]->Changed = true;
        if (!FWorkFileOurs && (!FolderWritable(TempWorkFileName) || PathKindNoFollow(TempWorkFileName) != pkNone)) {
            // A project the user may only read opens all the same: the rebuild stays in memory, and only a save,
            // which has to write the work file, fails.
            TXmlDocument unwritten;
            return SaveFileTo(TempWorkFileName, &unwritten);
        }
        const bool result = SaveFile(TempWorkFileName);
        // A file set aside that holds just what the rebuild wrote holds nothing of its own.
        if (result && !kept.isEmpty()) {
            QByteArray work;
            QString error;
            if (ReadRegularFile(TempWorkFileName, work, error))
                for (const QString &path : kept)
                    if (SameContent(path, work))
                        QFile::remove(path);
        }
        return result;
    } catch (const std::exception &e) {
        LogException(&e, QString());
    } catch (...) {
        LogException(nullptr, QString());
    }
    // Not rebuilt: the language's own document holds every string, as after AddMissingItems.
    try {
        if (!FMissingElements.empty())
            AppendMissingElements();
    } catch (...) {
    }
    return false;
}
