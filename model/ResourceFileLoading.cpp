#include "Glossmill_types.h"

#include "Glossmill_Misc.h"
#include "ModelSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QAnyStringView>

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

bool IsSplitSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// SplitWhiteSpace on bytes: the core's first byte and its end; all whitespace, or none, stays whole.
void SplitBytes(const char *Text, size_t Size, size_t &CoreStart, size_t &CoreEnd)
{
    size_t start = 0, end = Size;
    while (start < Size && IsSplitSpace(Text[start]))
        ++start;
    while (end > start && IsSplitSpace(Text[end - 1]))
        --end;
    if (start == end) {
        start = 0;
        end = Size;
    }
    CoreStart = start;
    CoreEnd = end;
}

// Whether the bytes are well-formed UTF-8. A reference can decode to what is not (a lone surrogate).
bool IsWellFormedUtf8(const char *Text, size_t Size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(Text);
    const unsigned char *end = p + Size;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if (*p >= 0xC2 && *p <= 0xDF) {
            len = 2;
            cp = *p & 0x1F;
        } else if (*p >= 0xE0 && *p <= 0xEF) {
            len = 3;
            cp = *p & 0x0F;
        } else if (*p >= 0xF0 && *p <= 0xF4) {
            len = 4;
            cp = *p & 0x07;
        } else {
            return false;
        }
        if (end - p < len)
            return false;
        for (int i = 1; i < len; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += len;
    }
    return true;
}

// Whether the UTF-8 bytes hold exactly the string's characters; most texts part at their first ones.
bool SameText(const QString &Text, const char *Utf8, size_t Size)
{
    const size_t units = size_t(Text.size());
    if (Size < units || Size > 3 * units)
        return false;
    const char16_t *u = reinterpret_cast<const char16_t *>(Text.utf16());
    const char16_t *uEnd = u + units;
    const auto *p = reinterpret_cast<const unsigned char *>(Utf8);
    const auto *end = p + Size;
    for (; u < uEnd && p < end && *p < 0x80; ++u, ++p)
        if (*u != *p)
            return false;
    if (u == uEnd || p == end)
        return u == uEnd && p == end;
    return QAnyStringView::equal(QStringView(u, uEnd - u), QUtf8StringView(reinterpret_cast<const char *>(p), end - p));
}

// A text as the model reads it from UTF-8 the document holds: the stand-in of "&#0160;" as that reference again, and
// what is not well-formed as a string makes it. Checked: the document held references, which alone can make it so.
const char *ModelText(const char *Value, size_t &Size, std::string &Buffer, bool Checked)
{
    Size = std::strlen(Value);
    const bool wellFormed = !Checked || IsWellFormedUtf8(Value, Size);
    const void *lead = std::memchr(Value, 0xEF, Size);
    if (wellFormed && (!lead || !std::strstr(static_cast<const char *>(lead), "\xEF\xB7\x90")))
        return Value;
    Buffer = wellFormed ? std::string(Value, Size) : QString::fromUtf8(Value, qsizetype(Size)).toStdString();
    for (size_t at = Buffer.find("\xEF\xB7\x90"); at != std::string::npos; at = Buffer.find("\xEF\xB7\x90", at + 7))
        Buffer.replace(at, 3, "&#0160;");
    Size = Buffer.size();
    return Buffer.c_str();
}

} // namespace

tLoadResFileResult TTransResourceFileNode::LoadResFile(const QString &ResFileName)
{
    const tPathKind kind = PathKindNoFollow(ResFileName);
    if (kind == pkNone)
        return lrfNotExists;
    if (FGuard.WorkOnlyCopy || FGuard.BackupOnlyCopy)
        FGuard.ReloadedSinceFailure = true;
    FParts.reset();
    FLayout.reset();
    FRawIDs.Clear();
    try {
        ResourceFileName = ResFileName;
        // Saving writes and renames files beside a language file: through a linked folder they would land elsewhere.
        if (!IsBase() && PathKindNoFollow(QFileInfo(ResFileName).path()) == pkLink)
            throw EXmlError("the folder of " + ResFileName.toStdString() + " is a link");
        // A language file rebuilt by splicing takes little of its layout: it is read when needed.
        XmlFile.LoadFromFile(ResFileName, &FReadStamp, kind == pkRegular, !IsBase());
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
    FReadStamp = 0;
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

void TTransResourceFileNode::NoteMarkupNamespaces(const pugi::xml_node &Element)
{
    AddNamespacesAround(Element, XmlFile.Root(), FNamespaces);
}

bool TTransResourceFileNode::Parse()
{
    try {
        // The parts were made from the document as it was read; it is read again from the whole.
        if (FParts)
            TreeFromParts();
        ClearItems();
        if (FLoadFailed)
            return false;
        if (!IsBase() && FBaseTemplate) {
            FPairing.Start(FBaseTemplate->Items.size());
            // Parsed and missing items together: as many as the default has, as a rule.
            Items.reserve(FBaseTemplate->Items.size());
            FPairing.BaseIndex.reserve(FBaseTemplate->Items.size());
            FTexts.Reserve(XmlFile.TextSize() / 2, FBaseTemplate->Items.size() * 2);
        }
        if (const pugi::xml_node root = XmlFile.Root())
            ParseXMLNode(root);
        if (IsBase()) {
            Items.shrink_to_fit();
            return true;
        }
        AddMissingItemsFromBaseTemplate();
        // Strings of its own beyond the default's make the list grow past what it keeps.
        Items.shrink_to_fit();
        const bool result = RecreateFileFromBase();
        FPairing.End();
        return result;
    } catch (...) {
        FTexts.Finish();
        FPairing.End();
        return false;
    }
}

void TTransResourceFileNode::ParseXMLNode(pugi::xml_node)
{
    // Every text of the file is in: the items get their bytes.
    FTexts.Finish();
    if (!IsBase())
        LoadItemStates();
}

TItemText TTransResourceFileNode::ParsedID(const pugi::xml_attribute &Attr, int &BaseFirst)
{
    BaseFirst = -1;
    if (!FPairing.Active)
        return TItemText(ReadAttribute(Attr));
    // The default's own identifier when the bytes are the same: no conversion, and the text is shared.
    const int raw = FBaseTemplate->FRawIDs.FirstOf(Attr.value(), FPairing.NextRaw);
    if (raw >= 0) {
        BaseFirst = raw;
        return FBaseTemplate->Items[size_t(raw)]->ID;
    }
    const TItemText id(ReadAttribute(Attr));
    BaseFirst = FBaseTemplate->FIDs.IndexOf(FBaseTemplate->Items, id);
    return id;
}

TTranslateItem *TTransResourceFileNode::ParsedItemByID(const QString &ID)
{
    if (!FPairing.Active)
        return GetItemByID(ID);
    // The first item of an identifier the default has is the one paired with the default's first.
    const int d = FBaseTemplate->FIDs.IndexOf(FBaseTemplate->Items, ID);
    const int index = d >= 0 ? FPairing.Paired[size_t(d)] : FPairing.OwnIDs.value(ID, -1);
    return index < 0 ? nullptr : Items[size_t(index)].get();
}

void TTransResourceFileNode::AddParsedItem(const TItemText &ID, const char *Text, size_t Size, tContentKind Kind,
                                           int BaseFirst, bool ThroughWriter)
{
    size_t coreStart = 0, coreEnd = 0;
    SplitBytes(Text, Size, coreStart, coreEnd);
    const char *core = Text + coreStart;
    const size_t coreSize = coreEnd - coreStart;
    const int index = int(Items.size());
    auto owned = std::make_unique<TTranslateItem>();
    TTranslateItem *item = owned.get();
    item->ID = ID;
    AppendItem(std::move(owned), Kind);

    if (IsBase()) {
        // The default's texts serve every language file: strings from the start.
        const QString text = QString::fromUtf8(core, qsizetype(coreSize));
        if (coreStart > 0)
            item->WhSpaceHeader = QString::fromUtf8(Text, qsizetype(coreStart));
        if (coreEnd < Size)
            item->WhSpaceTrailer = QString::fromUtf8(Text + coreEnd, qsizetype(Size - coreEnd));
        if (ThroughWriter)
            item->setTranslateValue(text);
        else
            item->FTranslatedValue = text;
        item->FPrevTranslateValue = text;
        item->FBaseValue = text;
        FIDs.IndexNext(Items);
        return;
    }

    int base = BaseFirst;
    if (FPairing.Active) {
        // The k-th string of one name belongs to the default's k-th string of that name, the first of them not yet
        // taken; beyond the default's count it has none, like a string the default lacks.
        if (base >= 0) {
            while (base >= 0 && FPairing.Paired[size_t(base)] >= 0) {
                base = FBaseTemplate->FIDs.NextOfSame(FBaseTemplate->Items, base);
                FPairing.Repeats = true;
            }
        } else if (FPairing.OwnIDs.contains(ID)) {
            FPairing.Repeats = true;
        } else {
            FPairing.OwnIDs.insert(ID, index);
        }
        if (base >= 0) {
            item->FBaseValue = FBaseTemplate->Items[size_t(base)]->FBaseValue;
            FPairing.Paired[size_t(base)] = index;
        }
        FPairing.BaseIndex.resize(size_t(index), -1);
        FPairing.BaseIndex.push_back(base >= 0 ? base : BaseFirst >= 0 ? -2 : -1);
    } else {
        FIDs.IndexNext(Items);
    }

    const bool replaced = ThroughWriter && coreSize && ModelSettings::ReplaceWhiteSpaces()
        && std::string_view(core, coreSize).find("  ") != std::string_view::npos;
    bool same = false;
    if (replaced) {
        // The value writer stores this text changed: it goes through it.
        item->setTranslateValue(QString::fromUtf8(core, qsizetype(coreSize)));
        FTexts.Bind(item->FPrevTranslateValue, FTexts.Add(core, coreSize));
    } else {
        // A text the same as the default's shares it; any other stays the file's bytes, bound once all are read.
        same = coreSize && SameText(item->FBaseValue, core, coreSize);
        if (same) {
            item->FTranslatedValue = item->FBaseValue;
            item->FPrevTranslateValue = item->FBaseValue;
        } else {
            const size_t place = FTexts.Add(core, coreSize);
            FTexts.Bind(item->FTranslatedValue, place);
            FTexts.Bind(item->FPrevTranslateValue, place);
        }
        // What the value writer does with a text on a fresh item, snapshots aside.
        if (ThroughWriter && coreSize) {
            item->FTranslateState = tsTranslated;
            item->Changed = true;
        }
    }
    FTexts.Bind(item->WhSpaceHeader, FTexts.Add(Text, coreStart));
    FTexts.Bind(item->WhSpaceTrailer, FTexts.Add(Text + coreEnd, Size - coreEnd));
    // The translation as stored, against the default text.
    if (replaced)
        same = item->FTranslatedValue.get() == item->FBaseValue;
    item->setTranslateState(!coreSize ? tsDontTranslate : same ? tsNeedBetter : tsTranslated);
}

void TTransResourceFileNode_Value::ParseXMLNode(pugi::xml_node Element)
{
    if (Element) {
        std::string buffer;
        // The whole tree in one walk, an element before its descendants; the state comment follows once, after it.
        ForEachElement(Element, [&](const pugi::xml_node &e) {
            if (!LocalNameIs(e.name(), "string")) {
                if (e.parent() == Element)
                    NoteCollection(e);
                return;
            }
            const pugi::xml_attribute name = FindAttribute(e, "name");
            if (!name)
                return;
            int baseFirst = -1;
            const TItemText id = ParsedID(name, baseFirst);
            const pugi::xml_node first = e.first_child();
            size_t size = 0;
            const char *text = "";
            tContentKind kind = ckPlain;
            if (first && first.type() == pugi::node_pcdata && !first.next_sibling()) {
                // Most strings are one piece of text, looked at as bytes.
                text = ModelText(first.value(), size, buffer, XmlFile.HeldReferences());
                kind = std::memchr(text, '<', size) ? ckEscapedMarkup : ckPlain;
            } else if (first) {
                const TXmlContent content = ReadContent(e);
                buffer = content.Text.toStdString();
                text = buffer.c_str();
                size = buffer.size();
                kind = content.Kind;
                if (kind == ckMarkup)
                    NoteMarkupNamespaces(e);
            }
            AddParsedItem(id, text, size, kind, baseFirst, true);
            if (IsBase())
                NoteRawID(name.value());
        });
    }
    TTransResourceFileNode::ParseXMLNode(Element);
}

void TTransResourceFileNode_Menu::ParseXMLNode(pugi::xml_node Element)
{
    if (Element) {
        std::string buffer;
        ForEachElement(Element, [&](const pugi::xml_node &e) {
            if (!LocalNameIs(e.name(), "item"))
                return;
            const char *title = "";
            pugi::xml_attribute idAttr;
            for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
                if (LocalNameIs(a.name(), "id"))
                    idAttr = a;
                else if (LocalNameIs(a.name(), "title"))
                    title = a.value();
                if (*idAttr.value() && *title)
                    break;
            }
            if (!*idAttr.value())
                return;
            int baseFirst = -1;
            const TItemText id = ParsedID(idAttr, baseFirst);
            size_t size = 0;
            const char *text = ModelText(title, size, buffer, XmlFile.HeldReferences());
            AddParsedItem(id, text, size, ckPlain, baseFirst, false);
            if (IsBase())
                NoteRawID(idAttr.value());
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
    FPairing.Paired.resize(baseItems.size(), -1);
    for (size_t d = 0; d < baseItems.size(); ++d) {
        if (FPairing.Paired[d] >= 0)
            continue;
        const TTranslateItem &base = *baseItems[d];
        auto item = std::make_unique<TTranslateItem>();
        // What Assign, the state writer and emptying the translation leave on a fresh item.
        item->ID = base.ID;
        item->FBaseValue = base.FBaseValue;
        item->FPrevTranslateValue = base.FPrevTranslateValue;
        item->FTranslateState = State;
        item->Changed = State != base.FTranslateState || base.Changed;
        const int index = int(Items.size());
        FPairing.Paired[d] = index;
        FPairing.BaseIndex.resize(size_t(index), -1);
        FPairing.BaseIndex.push_back(int(d));
        AppendItem(std::move(item), FBaseTemplate->ContentKindOf(&base));
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
}

void TTransResourceFileNode_Value::AddMissingItemsFromBaseTemplate()
{
    AddMissingItems(tsDontTranslate, true);
}

void TTransResourceFileNode_Menu::AddMissingItemsFromBaseTemplate()
{
    AddMissingItems(tsBaseNotPresent, false);
}

bool TTransResourceFileNode::ReplaceTranslatedCollections(const TXmlDocument &LanguageDoc)
{
    // The default file's structure keeps the language's own plurals and arrays in their places.
    const pugi::xml_node root = XmlFile.Root();
    const pugi::xml_node languageRoot = LanguageDoc.Root();
    if (!root || !languageRoot)
        return true;
    const std::unordered_map<TCollectionKey, pugi::xml_node, TCollectionKey::THash> translated = CollectionsOf(languageRoot);
    if (translated.empty())
        return true;
    auto holdsSite = [this](const pugi::xml_node &Start) {
        bool found = false;
        ForEachElement(Start, [&](const pugi::xml_node &e) { found = found || IsSite(e, nullptr); });
        return found;
    };
    bool sitesKept = true;
    for (pugi::xml_node e = root.first_child(); e;) {
        const pugi::xml_node next = e.next_sibling();
        if (e.type() == pugi::node_element) {
            const TCollectionKey k = CollectionKeyOf(e);
            const auto found = k.Tag ? translated.find(k) : translated.end();
            if (found != translated.end()) {
                if (holdsSite(e) || holdsSite(found->second))
                    sitesKept = false;
                XmlFile.ReplaceWithCopy(e, LanguageDoc, found->second);
                FCheckPrefixes = true;
            }
        }
        e = next;
    }
    return sitesKept;
}

QStringList TTransResourceFileNode::SetAsideLeftovers(bool Backup, tPathKind *WorkKind)
{
    QStringList kept;
    const QString stem = StripFileExtension(ResourceFileName);
    QByteArray language;
    bool languageRead = false, languageTried = false;
    for (const QString &path : {stem + QStringLiteral(".tmp"), stem + QStringLiteral(".bck")}) {
        if (!Backup && path.endsWith(QLatin1String(".bck")))
            break;
        const bool work = path.endsWith(QLatin1String(".tmp"));
        const tPathKind kind = PathKindNoFollow(path);
        if (work && WorkKind)
            *WorkKind = kind;
        if (kind == pkNone || kind == pkFolder || (FGuard.WorkFileOurs && path == TempWorkFileName))
            continue;
        if (kind == pkRegular) {
            if (!languageTried) {
                QString error;
                languageRead = ReadRegularFile(ResourceFileName, language, error);
                languageTried = true;
            }
            if (languageRead && SameContent(path, language) && QFile::remove(path)) {
                if (work && WorkKind)
                    *WorkKind = pkNone;
                continue;
            }
        }
        // It may hold the only copy of earlier work, or be a link to anywhere: it is neither written nor removed.
        const QString aside = SetFileAside(path);
        if (aside.isEmpty()) {
            LogException(nullptr, QStringLiteral("can not move ") + path + QStringLiteral(" out of the way"));
            if (work)
                FGuard.WorkFileForeign = true;
            continue;
        }
        if (work && WorkKind)
            *WorkKind = pkNone;
        LogException(nullptr, path + QStringLiteral(" was found as the project was opened; it is kept as ") + aside);
        if (kind == pkRegular)
            kept << aside;
    }
    return kept;
}

bool TTransResourceFileNode::PrepareAsDefault()
{
    // Saving stores the default's items into its document as they stand; once done, it stays so until one changes.
    if (FLayout && !NeedSave())
        return true;
    FLayout.reset();
    return SaveFileTo(QString(), true);
}

bool TTransResourceFileNode::RecreateFileFromBase()
{
    if (IsBase())
        return true;
    try {
        if (FGuard.WorkOnlyCopy) {
            AppendMissingElements();
            LogException(nullptr, QStringLiteral("the work file of ") + ResourceFileName
                                      + QStringLiteral(" holds the only copy of a failed save; it is not rebuilt"));
            return false;
        }
        TempWorkFileName = StripFileExtension(ResourceFileName) + QStringLiteral(".tmp");
        if (!FBaseTemplate)
            throw std::logic_error("a language file has no default file to be rebuilt on");
        tPathKind workKind = pkNone;
        const QStringList kept = SetAsideLeftovers(true, &workKind);
        // Where a folder stands in its place, or the language file had no folder to be read from, nothing is written.
        if (workKind == pkFolder || (!FReadStamp && !QFileInfo(TempWorkFileName).absoluteDir().exists())) {
            AppendMissingElements();
            LogException(nullptr, QStringLiteral("can not write file ") + TempWorkFileName);
            FBaseTemplate->RememberFileTime();
            return true;
        }
        // The default file's document as its save would write it; the work file is written once, by this file's own
        // save below.
        if (!FBaseTemplate->PrepareAsDefault()) {
            AppendMissingElements();
            return true;
        }
        const QString encoding = XmlFile.Encoding();
        TXmlDocument language;
        language.Swap(XmlFile);
        // The rebuilt document holds the default's elements of the strings this file lacks.
        FMissingElements.clear();
        const std::shared_ptr<const TSpliceLayout> layout = SpliceWriting ? FBaseTemplate->SpliceLayout() : nullptr;
        if (!layout || layout->Encoding.compare(encoding, Qt::CaseInsensitive) != 0
            || !MakeSpliceParts(layout, language)) {
            if (SpliceWriting)
                ++TreeWrittenFiles;
            // The tree writer's rebuild: a copy of the default's document with this file's plurals and arrays.
            XmlFile.Assign(FBaseTemplate->XmlFile);
            // The default's own declaration stays as it is when it already names that encoding.
            if (XmlFile.Encoding().compare(encoding, Qt::CaseInsensitive) != 0)
                XmlFile.setEncoding(encoding);
            ReplaceTranslatedCollections(language);
            XmlFile.TakeDoctype(language);
        }
        // Every item the default has a string of goes into the rebuilt document.
        for (size_t i = 0; i < Items.size(); ++i)
            if (FPairing.BaseIndex[i] != -1)
                Items[i]->Changed = true;
        bool result;
        if (!FGuard.WorkFileOurs && (!FolderWritable(TempWorkFileName) || workKind != pkNone)) {
            // A project the user may only read opens all the same: the rebuild stays in memory, and only a save,
            // which has to write the work file, fails.
            result = SaveFileTo(TempWorkFileName, true);
        } else {
            result = SaveFile(TempWorkFileName);
            // A file set aside that holds just what the rebuild wrote holds nothing of its own.
            if (result && !kept.isEmpty()) {
                QByteArray work;
                QString error;
                if (ReadRegularFile(TempWorkFileName, work, error))
                    for (const QString &path : kept)
                        if (SameContent(path, work))
                            QFile::remove(path);
            }
        }
        // Written by splicing, the file needs no document of its own until something asks for one; the pieces of
        // its rebuild are all in.
        if (FParts) {
            FParts->Pieces.Shrink();
            XmlFile.Defer([this](TXmlDocument &) { TreeFromParts(); });
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
