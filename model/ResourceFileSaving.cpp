#include "Glossmill_types.h"

#include "Glossmill_Misc.h"
#include "ModelSettings.h"

#include <QFile>

using namespace GlossmillXml;

namespace {

const QString StatesMarker = QStringLiteral("Glossmill - item states storage");

} // namespace

QString TTransResourceFileNode::GetItemStateEntry(TTranslateItem *Item)
{
    if (Item->FTranslateState != tsFinalTrnaslation && Item->FTranslateState != tsNeedBetter)
        return QString();
    return Item->ID + QLatin1Char('=') + QString::number(int(Item->FTranslateState)) + QLatin1Char(';');
}

QString TTransResourceFileNode::GetItemStatesText()
{
    QString entries;
    for (const auto &item : Items)
        entries += GetItemStateEntry(item.get());
    if (entries.isEmpty())
        return QString();
    return StatesMarker + QLatin1Char(';') + entries + QStringLiteral("\r\n");
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
    ForEachElement(Element, [&](pugi::xml_node e) {
        if (!LocalNameIs(e.name(), "string"))
            return;
        const pugi::xml_attribute name = FindAttribute(e, "name");
        if (!name)
            return;
        TTranslateItem *item = GetItemByID(ReadAttribute(name));
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
    ForEachElement(Element, [&](pugi::xml_node e) {
        if (!LocalNameIs(e.name(), "item"))
            return;
        const pugi::xml_attribute id = FindAttribute(e, "id");
        const QString identifier = id ? ReadAttribute(id) : QString();
        if (identifier.isEmpty())
            return;
        const pugi::xml_attribute title = FindAttribute(e, "title");
        if (!title)
            return;
        if (TTranslateItem *item = GetItemByID(identifier)) {
            WriteAttribute(title, item->GetFinalValueToSave(keep));
            StoreItem(item);
        }
    });
}

bool TTransResourceFileNode::SaveFile(const QString &NewResFile)
{
    bool result = true;
    FStoredItems.clear();
    // Only this save fills the scrap list; handles from an earlier document must not reach it.
    ScrapXmlNodeContainer.clear();
    try {
        const pugi::xml_node root = XmlFile.Root();
        if (root) {
            const QString states = GetItemStatesText();
            bool found = false;
            for (pugi::xml_node node : XmlFile.Prolog())
                if (node.type() == pugi::node_comment && ToQ(node.value()).contains(StatesMarker)) {
                    node.set_value(ToU8(states).c_str());
                    found = true;
                }
            if (!found && !states.isEmpty())
                XmlFile.AddPrologComment(states);
            StoreToXMLNode(root);
            XmlFile.setWriteBOM(!ModelSettings::DoNotWriteBOM());
            DeclareUsedPrefixes(XmlFile, FNamespaces);

            TXmlDocument copy;
            const TXmlDocument *written = &XmlFile;
            if (!ScrapXmlNodeContainer.empty()) {
                copy.Assign(XmlFile);
                DeleteEqualElements(copy.Root(), ScrapXmlNodeContainer);
                ScrapXmlNodeContainer.clear();
                written = &copy;
            }

            if (!NewResFile.isEmpty()) {
                written->SaveToFile(NewResFile);
            } else if (TempWorkFileName.isEmpty()) {
                written->SaveToFile(ResourceFileName);
            } else if (FWorkOnlyCopy && FReloadedSinceFailure) {
                // The document was read again since the failed save: the work file holds content it lacks.
                LogException(nullptr, QStringLiteral("the work file ") + TempWorkFileName
                                          + QStringLiteral(" holds the only copy of a failed save; it is not overwritten"));
                result = false;
            } else {
                written->SaveToFile(TempWorkFileName);
                const QString backup = StripFileExtension(ResourceFileName) + QStringLiteral(".bck");
                // After a failed second rename the backup already holds the last saved content.
                if (!FBackupOnlyCopy) {
                    if (!MoveFileNoReplace(ResourceFileName, backup)) {
                        LogException(nullptr, QStringLiteral("can not rename file from ") + ResourceFileName
                                                  + QStringLiteral(" to ") + backup);
                        FWorkOnlyCopy = true;
                        result = false;
                    } else {
                        FBackupOnlyCopy = true;
                    }
                }
                if (result && !MoveFileNoReplace(TempWorkFileName, ResourceFileName)) {
                    LogException(nullptr, QStringLiteral("can not rename file from ") + TempWorkFileName
                                              + QStringLiteral(" to ") + ResourceFileName);
                    FWorkOnlyCopy = true;
                    result = false;
                }
                if (result) {
                    FWorkOnlyCopy = false;
                    FBackupOnlyCopy = false;
                    FReloadedSinceFailure = false;
                    QFile::remove(backup);
                    TempWorkFileName.clear();
                }
            }
            if (result) {
                ClearUndo();
                ClearRedo();
            }
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
    FStoredItems.clear();
    ScrapXmlNodeContainer.clear();
    RememberFileTime();
    return result;
}
