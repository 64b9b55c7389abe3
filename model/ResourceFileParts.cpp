// A language file kept as parts put into its default file's document: its own prolog and root, the contents written
// into the default's string elements, the collections it took over. Nothing of the default's document is copied until
// something needs the whole (Realize).
#include "Glossmill_types.h"

using namespace GlossmillXml;

void TTransResourceFileNode::EndVirtual()
{
    FVirtual = false;
    FOverlay.Clear();
    FHolders.clear();
    FTexts.clear();
    FTextArena = std::string();
    FTakenOver.clear();
}

std::vector<pugi::xml_node> TTransResourceFileNode::BuildWhole(TXmlDocument &Into, std::vector<pugi::xml_node> *Nodes)
{
    const TXmlDocument &base = FBaseTemplate->XmlFile;
    Into.Assign(base);
    pugi::xml_document &doc = Into.Document();
    pugi::xml_node root = doc.document_element();
    const pugi::xml_node frame = FOverlay.Root();

    std::vector<pugi::xml_node> sites(FSites.size()), taken;
    for (size_t k = 0; k < FSites.size(); ++k)
        sites[k] = FSites[k].Element;
    for (const auto &collection : FTakenOver)
        taken.push_back(collection.first);
    MapCounterparts(base.Document(), doc, sites);
    MapCounterparts(base.Document(), doc, taken);
    if (Nodes)
        MapCounterparts(base.Document(), doc, *Nodes);

    // The prolog as this file has it; what follows the root is the default's.
    for (pugi::xml_node child = doc.first_child(); child && child != root;) {
        const pugi::xml_node next = child.next_sibling();
        doc.remove_child(child);
        child = next;
    }
    for (pugi::xml_node child = FOverlay.Document().first_child(); child && child != frame; child = child.next_sibling())
        doc.insert_copy_before(child, root);
    // Saves only ever add attributes to the root, after the default's.
    pugi::xml_attribute own = root.first_attribute();
    for (pugi::xml_attribute a = frame.first_attribute(); a; a = a.next_attribute()) {
        if (own)
            own = own.next_attribute();
        else
            root.append_copy(a);
    }

    for (size_t k = 0; k < FHolders.size() && k < sites.size(); ++k) {
        if (!sites[k] || (!FHolders[k] && !FTexts[k].Set))
            continue;
        sites[k].remove_children();
        if (!FHolders[k]) {
            const char *text = FTextArena.c_str() + FTexts[k].Offset;
            if (*text)
                sites[k].append_child(FTexts[k].CData ? pugi::node_cdata : pugi::node_pcdata).set_value(text);
            continue;
        }
        for (pugi::xml_node child = FHolders[k].first_child(); child; child = child.next_sibling())
            sites[k].append_copy(child);
    }
    for (size_t j = 0; j < taken.size(); ++j)
        if (taken[j])
            Into.ReplaceWithCopy(taken[j], FOverlay, FTakenOver[j].second);
    Into.setWriteBOM(FOverlay.WriteBOM());
    return sites;
}

void TTransResourceFileNode::Realize()
{
    if (!FVirtual)
        return;
    const std::vector<pugi::xml_node> sites = BuildWhole(XmlFile, nullptr);
    for (size_t k = 0; k < FSites.size(); ++k)
        FSites[k].Element = sites[k];
    const bool sitesServe = SitesValid();
    const bool prefixesKnown = FPrefixGeneration == FOverlay.Generation() && FPrefixParts.empty();
    EndVirtual();
    FSitesGeneration = sitesServe ? XmlFile.Generation() : 0;
    FPrefixGeneration = prefixesKnown ? XmlFile.Generation() : 0;
}

TXmlDocument::TParts TTransResourceFileNode::Parts(const std::vector<pugi::xml_node> &LeftOut) const
{
    TXmlDocument::TParts parts;
    parts.Body = &FBaseTemplate->XmlFile;
    for (size_t k = 0; k < FHolders.size() && k < FSites.size(); ++k)
        if (FHolders[k])
            parts.Contents.emplace_back(FSites[k].Element, FHolders[k]);
        else if (FTexts[k].Set)
            parts.Texts.push_back({FSites[k].Element, FTextArena.c_str() + FTexts[k].Offset, FTexts[k].CData});
    parts.Replacements = FTakenOver;
    parts.LeftOut = LeftOut;
    return parts;
}

namespace {

TXmlDocument::TOmitSet OmitSet(const std::vector<pugi::xml_node> &Nodes)
{
    TXmlDocument::TOmitSet omit;
    for (const pugi::xml_node &node : Nodes)
        omit.insert(node.internal_object());
    return omit;
}

} // namespace

void TTransResourceFileNode::WriteDocument(const QString &FileName, const std::vector<pugi::xml_node> &LeftOut, bool CreateNew)
{
    if (!FVirtual) {
        const TXmlDocument::TOmitSet omit = OmitSet(LeftOut);
        XmlFile.SaveToFile(FileName, &omit, CreateNew);
        return;
    }
    const TXmlDocument::TParts parts = Parts(LeftOut);
    FOverlay.SaveToFile(FileName, nullptr, CreateNew, &parts);
}

QByteArray TTransResourceFileNode::DocumentBytes(const std::vector<pugi::xml_node> &LeftOut)
{
    if (!FVirtual) {
        const TXmlDocument::TOmitSet omit = OmitSet(LeftOut);
        return XmlFile.SaveToBytes(&omit);
    }
    const TXmlDocument::TParts parts = Parts(LeftOut);
    return FOverlay.SaveToBytes(nullptr, &parts);
}
