// The splice writer (see SpliceWriter.h): a default file's layout made once from the text its save writes, a
// language file's parts made from its own document when it is rebuilt, each save of that file storing its items into
// the parts and writing the default's bytes with them put in, and the tree made from the parts when something needs
// the file as a document.
#include "Glossmill_types.h"

#include "Glossmill_Misc.h"
#include "ModelSettings.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_set>

using namespace GlossmillXml;

namespace {

const char StatesMarker[] = "Glossmill - item states storage";

void AddOnce(std::vector<std::string> &List, std::string Prefix)
{
    if (std::find(List.begin(), List.end(), Prefix) == List.end())
        List.push_back(std::move(Prefix));
}

// The prefix of a name ("a:b" gives "a"), empty without one.
std::string PrefixOf(const char *Name)
{
    const char *colon = std::strchr(Name, ':');
    return colon ? std::string(Name, size_t(colon - Name)) : std::string();
}

// What an element's own name and attributes use and declare, as PrefixesIn counts them.
void ElementPrefixes(const pugi::xml_node &Element, std::vector<std::string> &Used, std::vector<std::string> &Declared)
{
    if (std::string prefix = PrefixOf(Element.name()); !prefix.empty())
        AddOnce(Used, std::move(prefix));
    for (pugi::xml_attribute a = Element.first_attribute(); a; a = a.next_attribute()) {
        if (std::strncmp(a.name(), "xmlns:", 6) == 0)
            AddOnce(Declared, a.name() + 6);
        else if (std::string prefix = PrefixOf(a.name()); !prefix.empty())
            AddOnce(Used, std::move(prefix));
    }
}

bool HoldsSentinel(const pugi::xml_node &Start)
{
    // Written as "&#0160;", the stand-in would not read back as itself.
    for (pugi::xml_node n = Start; n; n = NextNode(n, Start)) {
        if (std::strstr(n.value(), "\xEF\xB7\x90"))
            return true;
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
            if (std::strstr(a.value(), "\xEF\xB7\x90"))
                return true;
    }
    return false;
}

// The value a site takes for an item: the text with its whitespace, where that is kept and there is any.
TItemText ValueToWrite(const TTranslateItem &Item, bool Keep)
{
    if (!Keep || (Item.WhSpaceHeader.isEmpty() && Item.WhSpaceTrailer.isEmpty()))
        return Item.FTranslatedValue;
    TItemText value;
    value = Item.GetFinalValueToSave(true);
    return value;
}

// The value's UTF-8, from its bytes where it is still raw.
const char *Utf8Of(const TItemText &Value, std::string &Buffer)
{
    if (const char *raw = Value.RawUtf8())
        return raw;
    Buffer = Value.get().toStdString();
    return Buffer.c_str();
}

// A value written as plain text (WriteContent makes one text node of it): not CDATA, no markup to be parsed.
bool IsPlainText(const char *Utf8, tContentKind Kind)
{
    return Kind != ckCData && (Kind == ckEscapedMarkup || !std::strchr(Utf8, '<'));
}

// A text that begins with "@" or "?", blanks aside: WriteContent escapes that mark unless the text is a reference.
bool MayNeedReferenceMarkEscaped(const char *Utf8)
{
    while (*Utf8 == ' ' || *Utf8 == '\t' || *Utf8 == '\n' || *Utf8 == '\r')
        ++Utf8;
    return *Utf8 == '@' || *Utf8 == '?';
}

// "&#0160;" as the stand-in that the writer turns back into the reference, as WriteContent and WriteAttribute keep it.
const char *WithReferenceSentinels(const char *Utf8, std::string &Buffer)
{
    if (!std::strstr(Utf8, "&#0160;"))
        return Utf8;
    Buffer = Utf8;
    for (size_t at = Buffer.find("&#0160;"); at != std::string::npos; at = Buffer.find("&#0160;", at + 3))
        Buffer.replace(at, 7, "\xEF\xB7\x90");
    return Buffer.c_str();
}

// Records where the parts of a default's document lie as its text is written.
class TLayoutMarks : public TWriteMarks
{
public:
    TLayoutMarks(TSpliceLayout &Layout, const pugi::xml_node &Root, bool Values,
                 const std::function<bool(const pugi::xml_node &, QString *)> &IsSite)
        : FLayout(Layout), FRoot(Root), FValues(Values), FIsSite(IsSite)
    {
    }

    // The elements of the sites, in their order.
    std::vector<pugi::xml_node> SiteElements;
    std::vector<QString> SiteIDs;

    void NodeStart(const pugi::xml_node &Node, size_t At) override
    {
        const uint32_t at = uint32_t(At);
        switch (Node.type()) {
        case pugi::node_pcdata:
            FText = Node;
            FTextStart = at;
            return;
        case pugi::node_comment:
            if (!FRootStarted)
                FCommentStart = at;
            return;
        case pugi::node_element:
            break;
        default:
            return;
        }
        if (Node == FRoot) {
            FRootStarted = true;
            FLayout.RootStart = at;
        }
        if (Node.parent() == FRoot) {
            const TCollectionKey key = CollectionKeyOf(Node);
            if (key.Tag) {
                FLayout.Collections.push_back({at, 0, key.Tag, std::string(key.Name), false, TPrefixUse()});
                FCollection = Node;
            }
        }
        QString id;
        const bool site = FIsSite(Node, &id);
        const bool inContent = FValues && !FOpen.empty();
        // Prefixes: a collection's go with it, a values content's with its site, the rest stay.
        std::vector<std::string> used, declared;
        ElementPrefixes(Node, used, declared);
        if (FCollection) {
            TPrefixUse &use = FLayout.Collections.back().Prefixes;
            for (std::string &p : used)
                AddOnce(use.Used, std::move(p));
            for (std::string &p : declared)
                AddOnce(use.Declared, std::move(p));
        } else if (inContent) {
            TPrefixUse &use = FLayout.ContentPrefixes[FOpen.back().second];
            for (std::string &p : used)
                AddOnce(use.Used, std::move(p));
            for (std::string &p : declared)
                AddOnce(use.Declared, std::move(p));
        } else {
            for (std::string &p : used)
                if (FOutside.insert(p).second)
                    FLayout.Used.push_back({at, std::move(p)});
            for (std::string &p : declared)
                AddOnce(FLayout.Declared, std::move(p));
        }
        if (!site)
            return;
        if (FCollection)
            FLayout.Collections.back().HoldsSite = true;
        // Saving a values string replaces what lies inside it, and with it any string inside.
        if (FValues && (inContent || Node == FRoot))
            FLayout.Usable = false;
        TSpliceLayout::TSite s;
        s.Start = at;
        s.LineStart = at;
        const pugi::xml_node before = Node.previous_sibling();
        if (before && before == FText && before.type() == pugi::node_pcdata && std::strchr(before.value(), '\n')) {
            bool blank = true;
            for (const char *c = before.value(); *c && blank; ++c)
                blank = *c == ' ' || *c == '\t' || *c == '\n' || *c == '\r';
            if (blank)
                s.LineStart = FTextStart;
        }
        s.NameSize = uint16_t(std::min<size_t>(std::strlen(Node.name()), 0xFFFF));
        FLayout.Sites.push_back(s);
        SiteElements.push_back(Node);
        SiteIDs.push_back(id);
        FCurrentSite = Node;
        FCurrentIndex = int(FLayout.Sites.size()) - 1;
        FOpen.emplace_back(Node, FCurrentIndex);
    }

    void NodeEnd(const pugi::xml_node &Node, size_t At) override
    {
        const uint32_t at = uint32_t(At);
        if (Node.type() == pugi::node_comment && !FRootStarted && std::strstr(Node.value(), StatesMarker)) {
            FLayout.StateComments.push_back({FCommentStart, at});
            FStateCommentValues.push_back(Node.value());
        }
        if (Node.type() != pugi::node_element)
            return;
        if (Node == FCollection) {
            FLayout.Collections.back().End = at;
            FCollection = pugi::xml_node();
        }
        if (!FOpen.empty() && FOpen.back().first == Node) {
            FLayout.Sites[size_t(FOpen.back().second)].End = at;
            FOpen.pop_back();
        }
    }

    void AttributesEnd(const pugi::xml_node &Element, size_t At) override
    {
        if (Element == FRoot)
            FLayout.RootAttributesEnd = uint32_t(At);
        if (Element == FCurrentSite) {
            TSpliceLayout::TSite &s = FLayout.Sites[size_t(FCurrentIndex)];
            s.AttributesEnd = uint32_t(At);
            if (Element.first_child())
                s.ContentStart = uint32_t(At) + 1;
        }
    }

    void ContentEnd(const pugi::xml_node &Element, size_t At) override
    {
        if (!FOpen.empty() && FOpen.back().first == Element)
            FLayout.Sites[size_t(FOpen.back().second)].ContentEnd = uint32_t(At);
    }

    void AttributeValue(const pugi::xml_attribute &Attr, size_t Start, size_t End) override
    {
        if (FValues || !FCurrentSite || Attr != FindAttribute(FCurrentSite, "title"))
            return;
        TSpliceLayout::TSite &s = FLayout.Sites[size_t(FCurrentIndex)];
        s.ValueStart = uint32_t(Start);
        s.ValueEnd = uint32_t(End);
        s.Quote = '"'; // told apart from a single quote once the text is there
    }

    std::vector<std::string> FStateCommentValues;

private:
    TSpliceLayout &FLayout;
    pugi::xml_node FRoot;
    bool FValues;
    const std::function<bool(const pugi::xml_node &, QString *)> &FIsSite;
    bool FRootStarted = false;
    uint32_t FCommentStart = 0;
    pugi::xml_node FText;
    uint32_t FTextStart = 0;
    pugi::xml_node FCollection;
    pugi::xml_node FCurrentSite;
    int FCurrentIndex = -1;
    std::vector<std::pair<pugi::xml_node, int>> FOpen; // the sites whose elements are open, innermost last
    std::unordered_set<std::string> FOutside;
};

} // namespace

std::string_view TPieceStore::Find(uint32_t Key, bool *Found) const
{
    const auto at = std::lower_bound(FIndex.begin(), FIndex.end(), Key, [](const TEntry &E, uint32_t K) { return E.Key < K; });
    const bool found = at != FIndex.end() && at->Key == Key;
    if (Found)
        *Found = found;
    return found ? std::string_view(FBytes).substr(at->Start, at->Size) : std::string_view();
}

void TPieceStore::Put(uint32_t Key, std::string_view Bytes)
{
    const auto at = std::lower_bound(FIndex.begin(), FIndex.end(), Key, [](const TEntry &E, uint32_t K) { return E.Key < K; });
    const TEntry entry{Key, uint32_t(FBytes.size()), uint32_t(Bytes.size())};
    FBytes.append(Bytes);
    if (at != FIndex.end() && at->Key == Key)
        *at = entry;
    else
        FIndex.insert(at, entry);
}

void TPieceStore::Erase(uint32_t Key)
{
    const auto at = std::lower_bound(FIndex.begin(), FIndex.end(), Key, [](const TEntry &E, uint32_t K) { return E.Key < K; });
    if (at != FIndex.end() && at->Key == Key)
        FIndex.erase(at);
}

void TPieceStore::Shrink()
{
    // The pieces written anew are kept at the end: the room of those they replaced goes as well.
    std::string bytes;
    size_t size = 0;
    for (const TEntry &entry : FIndex)
        size += entry.Size;
    bytes.reserve(size);
    for (TEntry &entry : FIndex) {
        const uint32_t start = uint32_t(bytes.size());
        bytes.append(FBytes, entry.Start, entry.Size);
        entry.Start = start;
    }
    FBytes.swap(bytes);
    FIndex.shrink_to_fit();
}

std::string_view TSpliceLayout::EmptyEnd(int Site) const
{
    if (!Sites[size_t(Site)].UsualEmptyEnd) {
        const auto found = EmptyEnds.find(Site);
        if (found != EmptyEnds.end())
            return found->second;
    }
    return Style.SpaceBeforeSlash ? " />" : "/>";
}

std::shared_ptr<const TSpliceLayout> TTransResourceFileNode::SpliceLayout()
{
    if (FLayout)
        return FLayout;
    auto layout = std::make_shared<TSpliceLayout>();
    layout->Style = XmlFile.Style();
    layout->Encoding = XmlFile.Encoding();
    const pugi::xml_node root = XmlFile.Root();
    if (!root || !layout->Style.Utf8) {
        layout->Usable = false;
        FLayout = layout;
        return FLayout;
    }
    for (pugi::xml_node child = XmlFile.Document().first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration)
            layout->Declaration = true;
        if (child.type() != pugi::node_pcdata)
            break;
    }
    const std::function<bool(const pugi::xml_node &, QString *)> isSite = [this](const pugi::xml_node &e, QString *ID) {
        return IsSite(e, ID);
    };
    TLayoutMarks marks(*layout, root, SiteContentIsWritten(), isSite);
    layout->Bytes = XmlFile.MarkedText(marks);
    if (layout->Bytes.size() >= std::numeric_limits<uint32_t>::max())
        layout->Usable = false;
    layout->StateCommentValues = std::move(marks.FStateCommentValues);

    // Which of the default's items each site takes, as ItemForElement gives them; the groups of one identifier.
    const bool duplicates = FIDs.Duplicates(Items);
    QHash<QString, int> seen, groups;
    std::unordered_map<int, int> groupSize;
    for (size_t k = 0; k < layout->Sites.size(); ++k) {
        TSpliceLayout::TSite &site = layout->Sites[k];
        const QString &id = marks.SiteIDs[k];
        site.Occurrence = seen[id]++;
        site.First = FIDs.IndexOf(Items, id);
        site.Nth = duplicates ? FIDs.NthOf(Items, id, site.Occurrence) : site.First;
        if (site.First < 0 || site.Nth < 0)
            layout->IDs.emplace(int(k), id);
        site.Group = groups.value(id, int(k));
        groups.insert(id, site.Group);
        ++groupSize[site.Group];
        if (site.Quote && site.ValueStart > 0)
            site.Quote = layout->Bytes[site.ValueStart - 1];
        const std::string emptyEnd = XmlFile.EmptyEnd(marks.SiteElements[k]);
        if (emptyEnd != (layout->Style.SpaceBeforeSlash ? " />" : "/>")) {
            site.UsualEmptyEnd = false;
            layout->EmptyEnds.emplace(int(k), emptyEnd);
        }
    }
    // The start tags of sites that share an identifier, to tell an element equal to a scrapped one.
    for (size_t k = 0; k < layout->Sites.size(); ++k) {
        if (groupSize[layout->Sites[k].Group] < 2)
            continue;
        pugi::xml_document scratch;
        pugi::xml_node tag = scratch.append_child(marks.SiteElements[k].name());
        for (pugi::xml_attribute a = marks.SiteElements[k].first_attribute(); a; a = a.next_attribute())
            tag.append_copy(a);
        std::string xml = ElementXml(tag);
        xml.resize(xml.size() - 2); // "/>"
        layout->TagXml.emplace(int(k), std::move(xml));
    }
    FLayout = layout;
    return FLayout;
}

bool TTransResourceFileNode::MakeSpliceParts(const std::shared_ptr<const TSpliceLayout> &Layout, const TXmlDocument &Language)
{
    FParts.reset();
    if (!Layout->Usable)
        return false;
    // A doctype of the language's own would take the default's place.
    for (const pugi::xml_node &node : Language.Prolog())
        if (node.type() == pugi::node_doctype)
            return false;
    auto parts = std::make_unique<TSpliceParts>();
    parts->Layout = Layout;
    const size_t sites = Layout->Sites.size();
    parts->SiteItems.assign(sites, -1);
    parts->Written.resize(sites);
    parts->Wrote.assign(sites, false);
    // This file's items of an identifier pair with the default's in order; where the default has none, the
    // identifier decides.
    const bool duplicates = FPairing.Repeats || FBaseTemplate->FIDs.Duplicates(FBaseTemplate->Items);
    for (size_t k = 0; k < sites; ++k) {
        const TSpliceLayout::TSite &site = Layout->Sites[k];
        int first, nth;
        if (site.First >= 0 && site.Nth >= 0) {
            first = FPairing.Paired[size_t(site.First)];
            nth = FPairing.Paired[size_t(site.Nth)];
        } else {
            const QString &id = Layout->IDs.at(int(k));
            first = FIDs.IndexOf(Items, id);
            nth = first < 0 ? -1 : FIDs.NthOf(Items, id, site.Occurrence);
        }
        parts->SiteItems[k] = duplicates ? nth : first;
    }
    // The language's own plurals and arrays in place of the default's of the same tag and name.
    parts->CollectionAt.assign(Layout->Collections.size(), -1);
    if (const pugi::xml_node languageRoot = Language.Root()) {
        // A values file's were found as it was parsed.
        const auto found = SiteContentIsWritten() ? decltype(FPairing.Collections)() : CollectionsOf(languageRoot);
        const auto &translated = SiteContentIsWritten() ? FPairing.Collections : found;
        std::unordered_map<const void *, int> taken;
        for (size_t c = 0; c < Layout->Collections.size() && !translated.empty(); ++c) {
            const TSpliceLayout::TCollection &collection = Layout->Collections[c];
            const auto found = translated.find({collection.Tag, collection.Name});
            if (found == translated.end())
                continue;
            const pugi::xml_node element = found->second;
            bool holdsSite = collection.HoldsSite;
            ForEachElement(element, [&](const pugi::xml_node &e) { holdsSite = holdsSite || IsSite(e, nullptr); });
            if (holdsSite || HoldsSentinel(element))
                return false;
            const auto known = taken.find(element.internal_object());
            if (known != taken.end()) {
                parts->CollectionAt[c] = known->second;
                continue;
            }
            const int number = int(taken.size());
            // The bytes as the file held them, where writing them would give the same.
            const std::string_view source = Language.SourceText(element);
            if (!source.empty() && WrittenAsItStands(source, Layout->Style, Language.SpaceBeforeSlash()))
                parts->Collections.Put(uint32_t(number), source);
            else
                parts->Collections.Put(uint32_t(number), Language.NodeText(element, Layout->Style));
            parts->CollectionAt[c] = number;
            taken.emplace(element.internal_object(), number);
        }
    }
    parts->Collections.Shrink();
    parts->CheckPrefixes = !parts->Collections.Empty();
    parts->StateComments = Layout->StateCommentValues;
    FParts = std::move(parts);
    return true;
}

bool TTransResourceFileNode::PartsServe() const
{
    if (!SiteContentIsWritten())
        return true;
    // A text written as markup may bring a string element of its own, which the tree writer's walk writes into too.
    for (const auto &item : Items) {
        if (!item->Changed)
            continue;
        if (const char *raw = item->FTranslatedValue.RawUtf8()) {
            if (std::strchr(raw, '<') && std::strstr(raw, "string"))
                return false;
        } else if (item->FTranslatedValue.get().contains(QLatin1Char('<'))
                   && item->FTranslatedValue.get().contains(QLatin1String("string"))) {
            return false;
        }
    }
    return true;
}

bool TTransResourceFileNode::SaveSpliced(const QString &NewResFile, bool WriteNothing)
{
    TSpliceParts &parts = *FParts;
    const TSpliceLayout &layout = *parts.Layout;
    const bool values = SiteContentIsWritten();

    // The state comment: every comment before the root that holds the marker takes the text, else one is added.
    const std::string states = ToU8(GetItemStatesText());
    bool found = false;
    for (std::vector<std::string> *comments : {&parts.StateComments, &parts.AddedComments})
        for (std::string &comment : *comments)
            if (comment.find(StatesMarker) != std::string::npos) {
                comment = states;
                found = true;
            }
    if (!found && !states.empty())
        parts.AddedComments.push_back(states);

    // The items into their sites, as StoreToXMLNode writes them into their elements.
    const bool keep = ModelSettings::KeepWhiteSpaces();
    std::vector<bool> leftOut(layout.Sites.size(), false);
    bool anyLeftOut = false;
    std::string buffer;
    for (size_t k = 0; k < layout.Sites.size(); ++k) {
        const int index = parts.SiteItems[k];
        if (index < 0)
            continue;
        TTranslateItem *item = Items[size_t(index)].get();
        if (values) {
            if (item->FTranslateState == tsDontTranslate)
                leftOut[k] = anyLeftOut = true;
            if (!item->Changed)
                continue;
        } else if (!layout.Sites[k].Quote) {
            continue; // a menu item without a title
        }
        parts.Wrote[k] = true;
        // A menu item's title as the tree writer has it: a default's title for one left untranslated, a mark escaped.
        parts.Written[k] = values ? ValueToWrite(*item, keep) : TItemText(TitleToSave(item, keep));
        const char *utf8 = Utf8Of(parts.Written[k], buffer);
        if (values && (!IsPlainText(utf8, ContentKindOf(item)) || MayNeedReferenceMarkEscaped(utf8))) {
            // Markup, CDATA and a mark to escape as WriteContent makes them, written once.
            pugi::xml_document scratch;
            pugi::xml_node element = scratch.append_child("content");
            // The value itself stays as it is: a string made of it goes with the piece.
            WriteContent(element, QString::fromUtf8(utf8), ContentKindOf(item), true);
            std::string bytes;
            {
                TPieceWriter writer(bytes, layout.Style);
                for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
                    writer.Node(child);
            }
            parts.Pieces.Put(uint32_t(k), bytes);
        } else if (!parts.Pieces.Empty()) {
            parts.Pieces.Erase(uint32_t(k));
        }
        StoreItem(item);
    }
    // Items no site took, as the tree writer has them.
    for (const auto &item : Items) {
        if (!item->Changed)
            continue;
        const bool untranslated = values && item->FTranslateState == tsDontTranslate;
        if (!item->FBaseValue.isEmpty() && !untranslated)
            throw EXmlError("the string " + ToU8(item->ID) + " has no place in " + ToU8(ResourceFileName));
        StoreItem(item.get());
    }
    if (!FStoredItems.empty() || parts.CheckPrefixes) {
        DeclareSplicedPrefixes();
        parts.CheckPrefixes = false;
    }

    // Every kept site equal to a scrapped one of its identifier goes as well, as the tree writer finds them.
    if (anyLeftOut && !layout.TagXml.empty()) {
        auto content = [&](size_t k) {
            if (!parts.Wrote[k]) {
                const TSpliceLayout::TSite &site = layout.Sites[k];
                return std::string("\x01") + (site.ContentStart ? layout.Bytes.substr(site.ContentStart, site.ContentEnd - site.ContentStart) : "");
            }
            bool isPiece = false;
            const std::string_view piece = parts.Pieces.Find(uint32_t(k), &isPiece);
            if (isPiece)
                return std::string(piece);
            std::string utf8buffer, sentinelBuffer, escaped;
            AppendEscapedApostrophes(escaped, WithReferenceSentinels(Utf8Of(parts.Written[k], utf8buffer), sentinelBuffer));
            return escaped;
        };
        std::unordered_map<int, std::vector<size_t>> scrappedOf;
        for (size_t k = 0; k < layout.Sites.size(); ++k)
            if (leftOut[k] && layout.TagXml.count(int(k)))
                scrappedOf[layout.Sites[k].Group].push_back(k);
        for (size_t k = 0; k < layout.Sites.size(); ++k) {
            if (leftOut[k] || !layout.TagXml.count(int(k)))
                continue;
            const auto targets = scrappedOf.find(layout.Sites[k].Group);
            if (targets == scrappedOf.end())
                continue;
            const std::string &tag = layout.TagXml.at(int(k));
            const std::string mine = content(k);
            for (const size_t t : targets->second)
                if (layout.TagXml.at(int(t)) == tag && content(t) == mine) {
                    leftOut[k] = true;
                    break;
                }
        }
    }

    if (WriteNothing)
        return true;
    std::string text = SplicedText(leftOut);
    if (layout.Style.CRLF)
        AddCarriageReturns(text);
    const bool bom = !ModelSettings::DoNotWriteBOM();
    return WriteOut(NewResFile, [&](const QString &FileName, bool CreateNew) {
        QString error;
        bool ok;
        if (bom) {
            const std::string withBom = "\xEF\xBB\xBF" + text;
            ok = WriteRegularFile(FileName, withBom.data(), qint64(withBom.size()), CreateNew, error);
        } else {
            ok = WriteRegularFile(FileName, text.data(), qint64(text.size()), CreateNew, error);
        }
        if (!ok)
            throw EXmlError("can not write file " + FileName.toStdString() + ": " + error.toStdString());
    });
}

std::string TTransResourceFileNode::SplicedText(const std::vector<bool> &LeftOut) const
{
    const TSpliceParts &parts = *FParts;
    const TSpliceLayout &layout = *parts.Layout;
    const std::string &bytes = layout.Bytes;
    const bool values = SiteContentIsWritten();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8 + 256);
    {
        TPieceWriter writer(out, layout.Style);
        size_t at = 0;
        auto copyTo = [&](size_t To) {
            writer.Bytes(bytes.data() + at, To - at);
            at = To;
        };
        // The first comment added brings a declaration where the prolog has none.
        if (!layout.Declaration && !parts.AddedComments.empty())
            writer.Bytes("<?xml version=\"1.0\"?>\n");
        for (size_t c = 0; c < layout.StateComments.size(); ++c) {
            copyTo(layout.StateComments[c].Start);
            writer.Comment(parts.StateComments[c].c_str());
            at = layout.StateComments[c].End;
        }
        copyTo(layout.RootStart);
        for (const std::string &comment : parts.AddedComments) {
            writer.Comment(comment.c_str());
            writer.Bytes("\n", 1);
        }
        copyTo(layout.RootAttributesEnd);
        for (const auto &[prefix, uri] : parts.Declarations) {
            writer.Bytes(" xmlns:" + prefix + "=\"");
            writer.AttributeValue(uri.c_str(), '"');
            writer.Bytes("\"", 1);
        }
        std::string utf8Buffer, sentinelBuffer;
        TPieceStore::TCursor pieces(parts.Pieces);
        size_t s = 0, c = 0;
        const auto &sites = layout.Sites;
        const auto &collections = layout.Collections;
        while (s < sites.size() || c < collections.size()) {
            if (c < collections.size() && (s == sites.size() || collections[c].Start < sites[s].Start)) {
                if (parts.CollectionAt[c] >= 0) {
                    copyTo(collections[c].Start);
                    writer.Bytes(parts.Collections.Find(uint32_t(parts.CollectionAt[c])));
                    at = collections[c].End;
                }
                ++c;
                continue;
            }
            const size_t k = s++;
            const TSpliceLayout::TSite &site = sites[k];
            if (LeftOut[k]) {
                copyTo(site.LineStart);
                at = site.End;
                continue;
            }
            if (!parts.Wrote[k])
                continue;
            const char *utf8 = WithReferenceSentinels(Utf8Of(parts.Written[k], utf8Buffer), sentinelBuffer);
            if (!values) {
                copyTo(site.ValueStart);
                writer.AttributeValue(utf8, site.Quote);
                at = site.ValueEnd;
                continue;
            }
            copyTo(site.AttributesEnd);
            at = site.End;
            bool isPiece = false;
            const std::string_view piece = pieces.Find(uint32_t(k), isPiece);
            if (isPiece ? piece.empty() : !*utf8) {
                writer.Bytes(layout.EmptyEnd(int(k)));
                continue;
            }
            writer.Bytes(">", 1);
            if (isPiece) {
                writer.Bytes(piece);
            } else {
                writer.AndroidText(utf8);
            }
            writer.Bytes("</", 2);
            writer.Bytes(layout.Name(site));
            writer.Bytes(">", 1);
        }
        copyTo(bytes.size());
    }
    return out;
}

void TTransResourceFileNode::DeclareSplicedPrefixes()
{
    TSpliceParts &parts = *FParts;
    const TSpliceLayout &layout = *parts.Layout;
    // Only a prefix with a URI that nothing declares outside the parts can come to be declared; unless the parts may
    // use one, there is nothing to declare.
    std::vector<std::string> candidates;
    for (std::string &prefix : PrefixesWithUri(FNamespaces)) {
        const bool declared = std::find(layout.Declared.begin(), layout.Declared.end(), prefix) != layout.Declared.end()
            || std::any_of(parts.Declarations.begin(), parts.Declarations.end(),
                           [&](const auto &D) { return D.first == prefix; });
        if (!declared)
            candidates.push_back(std::move(prefix) + ':');
    }
    auto candidate = [&](const std::string &Prefix) {
        return std::find(candidates.begin(), candidates.end(), Prefix + ':') != candidates.end();
    };
    auto mentions = [&](std::string_view Bytes) {
        return std::any_of(candidates.begin(), candidates.end(),
                           [&](const std::string &C) { return Bytes.find(C) != std::string_view::npos; });
    };
    bool maybe = mentions(parts.Pieces.Bytes()) || mentions(parts.Collections.Bytes());
    for (size_t i = 0; i < layout.Used.size() && !maybe; ++i)
        maybe = candidate(layout.Used[i].Prefix);
    for (auto it = layout.ContentPrefixes.begin(); it != layout.ContentPrefixes.end() && !maybe; ++it)
        if (!parts.Wrote[size_t(it->first)])
            maybe = std::any_of(it->second.Used.begin(), it->second.Used.end(), candidate);
    for (size_t c = 0; c < layout.Collections.size() && !maybe; ++c)
        if (parts.CollectionAt[c] < 0)
            maybe = std::any_of(layout.Collections[c].Prefixes.Used.begin(), layout.Collections[c].Prefixes.Used.end(), candidate);
    if (!maybe)
        return;
    // Where each use stands in the document, so that the prefixes come in the order a walk of it meets them.
    struct TUse
    {
        uint32_t At;
        const std::string *Prefix;
    };
    std::vector<TUse> uses;
    std::vector<std::string> declared = layout.Declared;
    auto add = [&](uint32_t At, const TPrefixUse &Use) {
        for (const std::string &prefix : Use.Used)
            uses.push_back({At, &prefix});
        for (const std::string &prefix : Use.Declared)
            AddOnce(declared, prefix);
    };
    for (const TSpliceLayout::TPrefixAt &use : layout.Used)
        uses.push_back({use.At, &use.Prefix});
    std::vector<TPrefixUse> written; // of the pieces, which the uses point into
    written.reserve(layout.Sites.size() + layout.Collections.size());
    TPieceStore::TCursor pieces(parts.Pieces);
    for (size_t k = 0; k < layout.Sites.size(); ++k) {
        const uint32_t at = layout.Sites[k].AttributesEnd;
        if (parts.Wrote[k]) {
            bool isPiece = false;
            const std::string_view piece = pieces.Find(uint32_t(k), isPiece);
            if (isPiece && piece.find(':') != std::string_view::npos) {
                written.push_back(PrefixesInText(piece));
                add(at, written.back());
            }
        } else {
            const auto content = layout.ContentPrefixes.find(int(k));
            if (content != layout.ContentPrefixes.end())
                add(at, content->second);
        }
    }
    for (size_t c = 0; c < layout.Collections.size(); ++c) {
        if (parts.CollectionAt[c] < 0) {
            add(layout.Collections[c].Start, layout.Collections[c].Prefixes);
            continue;
        }
        written.push_back(PrefixesInText(parts.Collections.Find(uint32_t(parts.CollectionAt[c]))));
        add(layout.Collections[c].Start, written.back());
    }
    for (const auto &declaration : parts.Declarations)
        AddOnce(declared, declaration.first);
    std::stable_sort(uses.begin(), uses.end(), [](const TUse &A, const TUse &B) { return A.At < B.At; });
    // Declared in the order of a hash set filled in the order first used, as DeclareUsedPrefixes declares them.
    std::vector<std::string> used;
    for (const TUse &use : uses)
        AddOnce(used, *use.Prefix);
    std::unordered_set<std::string> set;
    for (const std::string &prefix : used)
        set.insert(prefix);
    for (const std::string &prefix : set) {
        if (std::find(declared.begin(), declared.end(), prefix) != declared.end())
            continue;
        const QString uri = PrefixUri(QString::fromStdString(prefix), FNamespaces);
        if (!uri.isEmpty())
            parts.Declarations.emplace_back(prefix, ToU8(uri));
    }
}

void TTransResourceFileNode::TreeFromParts()
{
    if (!FParts)
        return;
    const std::unique_ptr<TSpliceParts> owned = std::move(FParts);
    const TSpliceParts &parts = *owned;
    const TSpliceLayout &layout = *parts.Layout;
    // The default's document as the layout was made from it: a copy while it is still so, else read back from its
    // text (which a stand-in of "&#0160;" outside the strings does not survive).
    TXmlDocument doc;
    if (FBaseTemplate && FBaseTemplate->FLayout == owned->Layout)
        doc.Assign(FBaseTemplate->XmlFile);
    else
        doc.LoadPiece(layout.Bytes, layout.Style.SpaceBeforeSlash, layout.Style.CRLF);
    const pugi::xml_node root = doc.Root();
    std::vector<pugi::xml_node> sites, collections;
    ForEachElement(root, [&](const pugi::xml_node &e) {
        if (IsSite(e, nullptr))
            sites.push_back(e);
    });
    for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling())
        if (CollectionKeyOf(e).Tag)
            collections.push_back(e);
    if (sites.size() != layout.Sites.size() || collections.size() != layout.Collections.size())
        throw std::logic_error("the parts of " + ResourceFileName.toStdString() + " do not match their default");
    for (size_t k = 0; k < sites.size(); ++k) {
        if (!parts.Wrote[k])
            continue;
        if (SiteContentIsWritten())
            WriteContent(sites[k], parts.Written[k].get(), ContentKindOf(Items[size_t(parts.SiteItems[k])].get()), true);
        else
            WriteAttribute(FindAttribute(sites[k], "title"), parts.Written[k].get());
    }
    for (size_t c = 0; c < collections.size(); ++c) {
        if (parts.CollectionAt[c] < 0)
            continue;
        TXmlDocument piece;
        piece.LoadPiece(std::string(parts.Collections.Find(uint32_t(parts.CollectionAt[c]))), layout.Style.SpaceBeforeSlash, false);
        doc.ReplaceWithCopy(collections[c], piece, piece.Root());
    }
    size_t comment = 0;
    for (pugi::xml_node node : doc.Prolog())
        if (node.type() == pugi::node_comment && std::strstr(node.value(), StatesMarker) && comment < parts.StateComments.size())
            node.set_value(parts.StateComments[comment++].c_str());
    for (const std::string &added : parts.AddedComments)
        doc.AddPrologComment(QString::fromStdString(added));
    pugi::xml_node docRoot = doc.Root();
    for (const auto &[prefix, uri] : parts.Declarations)
        docRoot.append_attribute(("xmlns:" + prefix).c_str()).set_value(uri.c_str());
    doc.setWriteBOM(!ModelSettings::DoNotWriteBOM());
    FCheckPrefixes = parts.CheckPrefixes;
    XmlFile.Clear();
    XmlFile.Swap(doc);
}
