#include "Glossmill_types.h"

#include "Glossmill_Misc.h"
#include "ModelSettings.h"

#include <QFile>

#include <algorithm>

using namespace GlossmillXml;

namespace {

const QString StatesMarker = QStringLiteral("Glossmill - item states storage");

// Whether an identifier would not read back from a plain entry: blanks and ";" end an entry, a leading quote starts
// a quoted one, and "--" cannot stand in a comment at all.
bool NeedsQuotedStateEntry(const QString &ID)
{
    if (ID.startsWith(QLatin1Char('"')) || ID.contains(QLatin1String("--")))
        return true;
    for (const QChar c : ID)
        if (c.unicode() <= 32 || c == QLatin1Char(';'))
            return true;
    return false;
}

// The entry in double quotes (a quote inside doubled); "&" and the second "-" of a pair are written as "&amp;" and
// "&#45;", which the reader turns back inside quoted entries only, so plain entries read as they always did.
QString QuotedStateEntry(const QString &Entry)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : Entry) {
        if (c == QLatin1Char('"'))
            out += QStringLiteral("\"\"");
        else if (c == QLatin1Char('&'))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('-') && out.endsWith(QLatin1Char('-')))
            out += QStringLiteral("&#45;");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

QString TTransResourceFileNode::GetItemStateEntry(TTranslateItem *Item)
{
    if (Item->FTranslateState != tsFinalTrnaslation && Item->FTranslateState != tsNeedBetter)
        return QString();
    const QString entry = Item->ID + QLatin1Char('=') + QString::number(int(Item->FTranslateState));
    return (NeedsQuotedStateEntry(Item->ID) ? QuotedStateEntry(entry) : entry) + QLatin1Char(';');
}

QString TTransResourceFileNode::GetItemStatesText()
{
    QString entries;
    for (const auto &item : Items)
        if (item->FTranslateState == tsFinalTrnaslation || item->FTranslateState == tsNeedBetter)
            entries += GetItemStateEntry(item.get());
    if (entries.isEmpty())
        return QString();
    return StatesMarker + QLatin1Char(';') + entries + QStringLiteral("\r\n");
}

QString TTransResourceFileNode::TitleToSave(const TTranslateItem *Item, bool Keep)
{
    // A menu item left untranslated, or one the language's file lacked, would be a blank entry in the app.
    const bool untranslated = Item->FTranslateState == tsDontTranslate || Item->FTranslateState == tsBaseNotPresent;
    if (IsBase() || !untranslated || !Item->FTranslatedValue.isEmpty())
        return EscapeReferenceMark(Item->GetFinalValueToSave(Keep), false);
    // The default's item of this text, whitespace and all; where identifiers repeat, its text alone.
    const TTranslateItem *base = FBaseTemplate ? FBaseTemplate->GetItemByID(Item->ID) : nullptr;
    if (base && base->FBaseValue == Item->FBaseValue)
        return EscapeReferenceMark(base->GetFinalValueToSave(Keep), false);
    return EscapeReferenceMark(Item->FBaseValue, false);
}

void TTransResourceFileNode::AddXMLNodeToScrap(pugi::xml_node AnXMLNode)
{
    if (!IsBase())
        ScrapXmlNodeContainer.push_back(AnXMLNode);
}

bool TTransResourceFileNode::FindNodeByNodeAndDelete(pugi::xml_node NodeTest, pugi::xml_node NodeToSearch)
{
    if (!NodeTest || !NodeToSearch)
        return false;
    const std::string search = ElementXml(NodeToSearch);
    if (ElementXml(NodeTest, search.size()) == search)
        return true;
    DeleteEqualElements(NodeTest, {NodeToSearch});
    return false;
}

void TTransResourceFileNode::StoreItem(TTranslateItem *Item)
{
    if (Item->Changed)
        FStoredItems.push_back(Item);
    Item->Changed = false;
    Item->FPrevTranslateValue = Item->FTranslatedValue;
}

void TTransResourceFileNode_Value::StoreToXMLNode(pugi::xml_node Element)
{
    if (!Element)
        return;
    const bool keep = ModelSettings::KeepWhiteSpaces();
    QHash<QString, int> seen;
    ForEachElement(Element, [&](pugi::xml_node e) {
        if (!LocalNameIs(e.name(), "string"))
            return;
        const pugi::xml_attribute name = FindAttribute(e, "name");
        if (!name)
            return;
        TTranslateItem *item = ItemForElement(ReadAttribute(name), seen);
        if (!item)
            return;
        if (item->FTranslateState == tsDontTranslate)
            AddXMLNodeToScrap(e);
        if (item->Changed) {
            WriteContent(e, item->GetFinalValueToSave(keep), ContentKindOf(item), true);
            StoreItem(item);
        }
    });
}

void TTransResourceFileNode_Menu::StoreToXMLNode(pugi::xml_node Element)
{
    if (!Element)
        return;
    const bool keep = ModelSettings::KeepWhiteSpaces();
    QHash<QString, int> seen;
    ForEachElement(Element, [&](pugi::xml_node e) {
        if (!LocalNameIs(e.name(), "item"))
            return;
        const pugi::xml_attribute id = FindAttribute(e, "id");
        const QString identifier = id ? ReadAttribute(id) : QString();
        if (identifier.isEmpty())
            return;
        TTranslateItem *item = ItemForElement(identifier, seen);
        const pugi::xml_attribute title = FindAttribute(e, "title");
        if (!title)
            return;
        if (item) {
            WriteAttribute(title, TitleToSave(item, keep));
            StoreItem(item);
        }
    });
}

bool TTransResourceFileNode::ReplaceThroughWorkFile(const std::function<void(const QString &, bool)> &Write)
{
    // A work file this node did not write (one left by an earlier run, or a link) is kept, never written over.
    if (!FGuard.WorkFileOurs)
        SetAsideLeftovers(false);
    Write(TempWorkFileName, !FGuard.WorkFileOurs);
    FGuard.WorkFileOurs = true;
    FGuard.WorkFileForeign = false;
    const QString backup = StripFileExtension(ResourceFileName) + QStringLiteral(".bck");
    // After a failed second rename the backup already holds the last saved content.
    if (!FGuard.BackupOnlyCopy) {
        // A folder, device or FIFO in the language file's place is the user's: it is not renamed away.
        const tPathKind kind = PathKindNoFollow(ResourceFileName);
        if ((kind != pkRegular && kind != pkLink) || !RenameFile(ResourceFileName, backup)) {
            LogException(nullptr, QStringLiteral("can not rename file from ") + ResourceFileName + QStringLiteral(" to ") + backup);
            FGuard.WorkOnlyCopy = true;
            return false;
        }
        FGuard.BackupOnlyCopy = true;
    }
    if (!RenameFile(TempWorkFileName, ResourceFileName)) {
        LogException(nullptr, QStringLiteral("can not rename file from ") + TempWorkFileName + QStringLiteral(" to ") + ResourceFileName);
        FGuard.WorkOnlyCopy = true;
        return false;
    }
    FGuard.WorkOnlyCopy = false;
    FGuard.BackupOnlyCopy = false;
    FGuard.ReloadedSinceFailure = false;
    FGuard.WorkFileOurs = false;
    QFile::remove(backup);
    TempWorkFileName.clear();
    return true;
}

bool TTransResourceFileNode::WriteOut(const QString &NewResFile, const std::function<void(const QString &, bool)> &Write)
{
    if (!NewResFile.isEmpty()) {
        const bool work = NewResFile == TempWorkFileName;
        Write(NewResFile, work && !FGuard.WorkFileOurs);
        if (work) {
            FGuard.WorkFileOurs = true;
            FGuard.WorkFileForeign = false;
        }
        return true;
    }
    if (TempWorkFileName.isEmpty()) {
        Write(ResourceFileName, false);
        return true;
    }
    if (FGuard.WorkOnlyCopy && FGuard.ReloadedSinceFailure) {
        // The document was read again since the failed save: the work file holds content it lacks.
        LogException(nullptr, QStringLiteral("the work file ") + TempWorkFileName
                                  + QStringLiteral(" holds the only copy of a failed save; it is not overwritten"));
        return false;
    }
    return ReplaceThroughWorkFile(Write);
}

bool TTransResourceFileNode::SaveFile(const QString &NewResFile)
{
    return SaveFileTo(NewResFile, false);
}

bool TTransResourceFileNode::SaveFileTo(const QString &NewResFile, bool WriteNothing)
{
    bool result = true;
    FStoredItems.clear();
    // Only this save fills the scrap list; handles from an earlier document must not reach it.
    ScrapXmlNodeContainer.clear();
    // A default's document may change here: the layout made from it goes.
    if (IsBase())
        FLayout.reset();
    try {
        if (FParts && !PartsServe()) {
            ++TreeWrittenFiles;
            TreeFromParts();
        }
        result = FParts ? SaveSpliced(NewResFile, WriteNothing) : SaveTree(NewResFile, WriteNothing);
        if (result) {
            ClearUndo();
            ClearRedo();
        }
    } catch (const std::exception &e) {
        LogException(&e, QString());
        result = false;
    } catch (...) {
        LogException(nullptr, QString());
        result = false;
    }
    // What failed to reach the file still needs saving.
    if (!result)
        for (TTranslateItem *item : FStoredItems)
            item->Changed = true;
    // The first save stores every item: its room is not kept for the few a later save stores.
    FStoredItems = std::vector<TTranslateItem *>();
    ScrapXmlNodeContainer.clear();
    // Writing the work file leaves the language file as it was read.
    if (!NewResFile.isEmpty() && NewResFile == TempWorkFileName && FReadStamp > 0)
        SourceFileStamp = FReadStamp;
    else
        RememberFileTime();
    return result;
}

bool TTransResourceFileNode::SaveTree(const QString &NewResFile, bool WriteNothing)
{
    if (!XmlFile.Root())
        return true;
    const QString states = GetItemStatesText();
    bool found = false;
    for (pugi::xml_node node : XmlFile.Prolog())
        if (node.type() == pugi::node_comment && ToQ(node.value()).contains(StatesMarker)) {
            node.set_value(ToU8(states).c_str());
            found = true;
        }
    if (!found && !states.isEmpty())
        XmlFile.AddPrologComment(states);
    // A default values file with nothing changed has nothing to store and nothing to scrap.
    if (!IsBase() || NeedSave() || !SiteContentIsWritten())
        StoreToXMLNode(XmlFile.Root());
    // Items no element took: a string the default file lacks or one beyond the default's count of its name (both
    // dropped by the rebuild), a menu item without a title. The file holds all of them it can, so they need no save;
    // but a listed string's text that has nowhere to go fails the save rather than vanish. A values string left
    // untranslated has no text to lose (a menu item would have the default's title, which the next open reads as its
    // text).
    for (const auto &item : Items) {
        if (!item->Changed)
            continue;
        const bool untranslated = SiteContentIsWritten() && item->FTranslateState == tsDontTranslate;
        if (!item->FBaseValue.isEmpty() && !IsBase() && !untranslated)
            throw EXmlError("the string " + ToU8(item->ID) + " has no place in " + ToU8(ResourceFileName));
        StoreItem(item.get());
    }
    XmlFile.setWriteBOM(!ModelSettings::DoNotWriteBOM());
    // Written texts and taken-over elements may bring prefixes the document does not declare yet.
    if (!FStoredItems.empty() || FCheckPrefixes) {
        DeclareUsedPrefixes(XmlFile, FNamespaces);
        FCheckPrefixes = false;
    }
    // The scrapped strings, and every element equal to one, are left out of what is written; the document keeps them.
    TXmlDocument::TOmitSet omit;
    if (!ScrapXmlNodeContainer.empty()) {
        omit = OmitWithTheirLines(FindEqualElements(XmlFile.Root(), ScrapXmlNodeContainer));
        ScrapXmlNodeContainer.clear();
    }
    if (WriteNothing)
        return true;
    return WriteOut(NewResFile, [&](const QString &FileName, bool CreateNew) { XmlFile.SaveToFile(FileName, &omit, CreateNew); });
}
