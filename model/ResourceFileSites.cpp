// Where a file's items stand in its document: the elements that saving writes them into, found once (while parsing,
// or from the default file's when a language file is rebuilt on it) instead of by a walk of the whole document and
// a look-up by identifier at every save.
#include "Glossmill_types.h"

#include "ModelSettings.h"

using namespace GlossmillXml;

bool TTransResourceFileNode_Value::IsSite(const pugi::xml_node &Element, QString *ID) const
{
    if (!LocalNameIs(Element.name(), "string"))
        return false;
    const pugi::xml_attribute name = FindAttribute(Element, "name");
    if (name && ID)
        *ID = ReadAttribute(name);
    return bool(name);
}

bool TTransResourceFileNode_Menu::IsSite(const pugi::xml_node &Element, QString *ID) const
{
    if (!LocalNameIs(Element.name(), "item"))
        return false;
    const pugi::xml_attribute id = FindAttribute(Element, "id");
    if (!id || !*id.value())
        return false;
    if (ID)
        *ID = ReadAttribute(id);
    return true;
}

pugi::xml_attribute TTransResourceFileNode_Value::SiteIdAttribute(const pugi::xml_node &Element) const
{
    return FindAttribute(Element, "name");
}

pugi::xml_attribute TTransResourceFileNode_Menu::SiteIdAttribute(const pugi::xml_node &Element) const
{
    return FindAttribute(Element, "id");
}

int TTransResourceFileNode::IndexOfRawID(const char *Raw)
{
    if (FRawIdsGeneration != XmlFile.Generation() || !SitesValid()) {
        FRawIds.clear();
        FRawIdsGeneration = 0;
        if (!SitesValid())
            return -2;
        // Equal bytes give equal identifiers; each site of an identifier names its first item.
        for (const TItemSite &site : FSites)
            if (site.First >= 0)
                FRawIds.emplace(SiteIdAttribute(site.Element).value(), site.First);
        FRawIdsGeneration = XmlFile.Generation();
    }
    const auto found = FRawIds.find(Raw);
    return found == FRawIds.end() ? -1 : found->second;
}

bool TTransResourceFileNode::SitesValid() const
{
    return FSitesGeneration != 0 && FSitesGeneration == SiteDocument().Generation();
}

void TTransResourceFileNode::RecordSite(const pugi::xml_node &Element, int Index, int Occurrence)
{
    if (!Element) {
        FSitesBroken = true;
        return;
    }
    // Saving a values string replaces what lies inside it, and with it any string inside.
    if (SiteContentIsWritten())
        for (pugi::xml_node up = Element.parent(); up && up.type() == pugi::node_element; up = up.parent())
            if (IsSite(up, nullptr))
                FSitesBroken = true;
    const int first = Occurrence == 0 ? Index : IndexOfID(Items[size_t(Index)]->ID);
    FSites.push_back({Element, first, Index, Occurrence});
}

void TTransResourceFileNode::BuildSitesByWalk()
{
    FSites.clear();
    FSitesGeneration = 0;
    FSitesBroken = false;
    const pugi::xml_node root = XmlFile.Root();
    if (!root)
        return;
    IndexItems();
    QHash<QString, int> seen;
    const bool values = SiteContentIsWritten();
    ForEachElement(root, [&](const pugi::xml_node &e) {
        QString id;
        if (!IsSite(e, &id))
            return;
        if (values)
            for (pugi::xml_node up = e.parent(); up && up.type() == pugi::node_element; up = up.parent())
                if (IsSite(up, nullptr))
                    FSitesBroken = true;
        const int occurrence = seen[id]++;
        const int first = IndexOfID(id);
        FSites.push_back({e, first, first < 0 ? -1 : NthIndexOfID(id, occurrence), occurrence});
    });
    if (!FSitesBroken)
        FSitesGeneration = XmlFile.Generation();
}

bool TTransResourceFileNode::DeriveSites(const std::vector<TItemSite> &BaseSites, const std::vector<pugi::xml_node> &Elements)
{
    FSites.clear();
    FSitesGeneration = 0;
    if (Elements.size() != BaseSites.size())
        return false;
    FSites.reserve(BaseSites.size());
    for (size_t k = 0; k < BaseSites.size(); ++k) {
        const TItemSite &base = BaseSites[k];
        TItemSite site{Elements[k], -1, -1, base.Occurrence};
        if (!site.Element)
            return false;
        // This file's items of an identifier pair with the default's in order; where the default has fewer than
        // there are elements, the identifier decides.
        if (base.First >= 0 && base.Nth >= 0) {
            site.First = FPaired[size_t(base.First)];
            site.Nth = FPaired[size_t(base.Nth)];
        } else {
            QString id;
            IsSite(site.Element, &id);
            site.First = IndexOfID(id);
            site.Nth = site.First < 0 ? -1 : NthIndexOfID(id, base.Occurrence);
        }
        FSites.push_back(site);
    }
    FSitesGeneration = SiteDocument().Generation();
    return true;
}

int TTransResourceFileNode::ItemIndexAtSite(const TItemSite &Site) const
{
    return FDuplicateIDs ? Site.Nth : Site.First;
}

const TItemSource *TTransResourceFileNode::VerbatimSource(const TTranslateItem *Item, int Index, bool Keep) const
{
    if (Index < 0 || size_t(Index) >= FSources.size())
        return nullptr;
    const TItemSource &source = FSources[size_t(Index)];
    if (!source.Element)
        return nullptr;
    if (!Keep && (!Item->WhSpaceHeader.isEmpty() || !Item->WhSpaceTrailer.isEmpty()))
        return nullptr;
    if (!Item->FTranslatedValue.isSharedWith(source.Core) && Item->FTranslatedValue != source.Core)
        return nullptr;
    return &source;
}

void TTransResourceFileNode::WriteItemContent(pugi::xml_node Element, TTranslateItem *Item, int Index, bool Keep)
{
    if (const TItemSource *source = VerbatimSource(Item, Index, Keep)) {
        if (source->Escape) {
            // One node whose apostrophes get their backslashes: written from its bytes, no conversion.
            const pugi::xml_node only = source->Element.first_child();
            const pugi::xml_node_type type = only.type();
            std::string escaped;
            AppendEscapedApostrophes(escaped, only.value());
            if (source->Element == Element)
                FSources[size_t(Index)] = TItemSource();
            Element.remove_children();
            Element.append_child(type).set_value(escaped.c_str());
        } else if (source->Element != Element) {
            Element.remove_children();
            for (pugi::xml_node child = source->Element.first_child(); child; child = child.next_sibling())
                Element.append_copy(child);
        }
        return;
    }
    WriteContent(Element, Item->GetFinalValueToSave(Keep), ContentKindOf(Item), true);
    ++FContentWrites;
    if (size_t(Index) < FSources.size() && FSources[size_t(Index)].Element == Element)
        FSources[size_t(Index)] = TItemSource();
    // Elements written in may use prefixes.
    for (pugi::xml_node child = Element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) {
            FPrefixParts.push_back(Element);
            break;
        }
}

void TTransResourceFileNode::WriteItemTitle(pugi::xml_attribute Title, TTranslateItem *Item, int Index, bool Keep)
{
    // An empty title read from the file is no source for one left untranslated: that takes the default's.
    if (const TItemSource *source = Item->FTranslatedValue.isEmpty() ? nullptr : VerbatimSource(Item, Index, Keep)) {
        if (source->Title != Title)
            Title.set_value(source->Title.value());
        return;
    }
    WriteAttribute(Title, TitleToSave(Item, Keep));
    if (size_t(Index) < FSources.size() && FSources[size_t(Index)].Title == Title)
        FSources[size_t(Index)] = TItemSource();
}

void TTransResourceFileNode::WriteSiteContent(size_t Site, TTranslateItem *Item, int Index, bool Keep)
{
    if (!FVirtual) {
        WriteItemContent(FSites[Site].Element, Item, Index, Keep);
        return;
    }
    if (FHolders.size() < FSites.size()) {
        FHolders.resize(FSites.size());
        FTexts.resize(FSites.size());
    }
    pugi::xml_node &holder = FHolders[Site];
    auto asText = [&](const char *Text, bool CData, bool Escape) {
        if (holder) {
            FOverlay.Root().remove_child(holder);
            holder = pugi::xml_node();
        }
        FTexts[Site] = {FTextArena.size(), CData, true};
        if (Escape)
            AppendEscapedApostrophes(FTextArena, Text);
        else
            FTextArena.append(Text);
        FTextArena.push_back('\0');
    };
    // A text of one piece that reads back as it stood (or with its apostrophes escaped) is kept as the bytes it was
    // read as (escaped); no text at all, as none.
    if (const TItemSource *source = VerbatimSource(Item, Index, Keep))
        if (const pugi::xml_node only = source->Element.first_child())
            return asText(only.value(), only.type() == pugi::node_cdata, source->Escape);
    if (Item->FTranslatedValue.isEmpty() && (!Keep || (Item->WhSpaceHeader.isEmpty() && Item->WhSpaceTrailer.isEmpty())))
        return asText("", false, false);
    FTexts[Site].Set = false;
    if (!holder)
        holder = FOverlay.Root().append_child("content");
    WriteItemContent(holder, Item, Index, Keep);
}

void TTransResourceFileNode_Value::StoreSite(size_t Site, bool Keep)
{
    const int index = ItemIndexAtSite(SiteAt(Site));
    if (index < 0)
        return;
    TTranslateItem *item = TransItems()[size_t(index)].get();
    if (item->FTranslateState == tsDontTranslate)
        AddXMLNodeToScrap(SiteAt(Site).Element);
    if (item->Changed) {
        WriteSiteContent(Site, item, index, Keep);
        StoreItem(item);
    }
}

void TTransResourceFileNode_Menu::StoreSite(size_t Site, bool Keep)
{
    const pugi::xml_attribute title = FindAttribute(SiteAt(Site).Element, "title");
    const int index = ItemIndexAtSite(SiteAt(Site));
    if (!title || index < 0)
        return;
    TTranslateItem *item = TransItems()[size_t(index)].get();
    WriteItemTitle(title, item, index, Keep);
    StoreItem(item);
}

bool TTransResourceFileNode::StoreThroughSites()
{
    if (!SitesValid()) {
        Realize();
        BuildSitesByWalk();
    }
    if (!SitesValid())
        return false;
    const bool keep = ModelSettings::KeepWhiteSpaces();
    // A text written as markup may bring a string element of its own, which the walk would write into as well.
    if (SiteContentIsWritten())
        for (const auto &item : Items)
            if (item->Changed && item->FTranslatedValue.contains(QLatin1Char('<'))
                && item->FTranslatedValue.contains(QLatin1String("string")))
                return false;
    for (size_t k = 0; k < FSites.size(); ++k)
        StoreSite(k, keep);
    return true;
}

std::vector<pugi::xml_node> TTransResourceFileNode::ScrappedAndEqualElements()
{
    // An element equal to a scrapped string is a string of the same identifier, and so a site itself: only the
    // other sites of a scrapped identifier need a comparison. Kinds per identifier (by its first item): 1 a site
    // scrapped, 2 one kept.
    std::vector<unsigned char> kinds(Items.size() + 1, 0);
    std::vector<char> scrapped(FSites.size(), 0);
    bool anyMixed = false;
    for (size_t k = 0; k < FSites.size(); ++k) {
        const int index = ItemIndexAtSite(FSites[k]);
        scrapped[k] = index >= 0 && Items[size_t(index)]->FTranslateState == tsDontTranslate;
        unsigned char &kind = kinds[size_t(FSites[k].First + 1)];
        kind |= scrapped[k] ? 1 : 2;
        anyMixed = anyMixed || kind == 3;
    }
    // Comparing needs the elements whole, with their contents in them.
    if (anyMixed)
        Realize();
    const pugi::xml_node root = SiteDocument().Root();
    std::vector<pugi::xml_node> found, targets, candidates;
    for (size_t k = 0; k < FSites.size(); ++k) {
        const TItemSite &site = FSites[k];
        if (site.Element == root)
            continue;
        const bool mixed = kinds[size_t(site.First + 1)] == 3;
        if (scrapped[k]) {
            found.push_back(site.Element);
            if (mixed)
                targets.push_back(site.Element);
        } else if (mixed) {
            candidates.push_back(site.Element);
        }
    }
    if (!candidates.empty()) {
        const std::vector<pugi::xml_node> equal = FindEqualElementsAmong(candidates, targets);
        found.insert(found.end(), equal.begin(), equal.end());
    }
    return found;
}
