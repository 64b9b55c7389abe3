#pragma once
// A language file's pairing with its default file while it is parsed: the default's item each of its items belongs
// to, and its item for each of the default's; and the default's identifiers by their bytes, so that a language's
// identifier is found, and its text shared, without a conversion.
#include <QHash>
#include <QString>

#include "GlossmillXml.h"
#include <string_view>
#include <unordered_map>
#include <vector>

struct TPairing
{
    bool Active = false;
    std::vector<int> BaseIndex;  // per item: the default's (-1 for none, -2 for none although the default has the ID)
    std::vector<int> Paired;     // per item of the default: this file's, -1 for none
    QHash<QString, int> OwnIDs;  // the first item of each identifier the default lacks
    bool Repeats = false;        // the file has an identifier twice
    int NextRaw = 0;             // the default's item to look at first for the next identifier (TRawIDs)
    // A values file's own plurals and arrays among its root's children, the first of each tag and name, as the parse
    // met them.
    std::unordered_map<GlossmillXml::TCollectionKey, pugi::xml_node, GlossmillXml::TCollectionKey::THash> Collections;

    void Start(size_t DefaultItems)
    {
        End();
        Active = true;
        Paired.assign(DefaultItems, -1);
    }
    void End()
    {
        Active = false;
        Repeats = false;
        NextRaw = 0;
        Collections.clear();
        BaseIndex = std::vector<int>();
        Paired = std::vector<int>();
        OwnIDs = QHash<QString, int>();
    }
};

// A default file's identifiers as the bytes of its document's attributes (valid while the document is the one
// parsed): for each item its identifier and the first item of it. A language file mostly lists its strings in the
// default's order, so that the item after the one found last is asked first.
class TRawIDs
{
public:
    void Clear()
    {
        FFirst.clear();
        FIDs.clear();
        FFirstOf.clear();
    }
    // The next item of the default goes by these bytes.
    void Add(const char *Bytes)
    {
        const int index = int(FIDs.size());
        const auto known = FFirst.emplace(Bytes, index).first;
        FIDs.emplace_back(Bytes);
        FFirstOf.push_back(known->second);
    }
    // The first item of the identifier with these bytes, -1 for none; Hint: the item to look at first, then the one
    // found (a place to start the next look from).
    int FirstOf(const char *Bytes, int &Hint) const
    {
        if (Hint >= 0 && size_t(Hint) < FIDs.size() && FIDs[size_t(Hint)] == Bytes)
            return FFirstOf[size_t(Hint++)];
        const auto found = FFirst.find(Bytes);
        if (found == FFirst.end())
            return -1;
        Hint = found->second + 1;
        return found->second;
    }

private:
    std::unordered_map<std::string_view, int> FFirst;
    std::vector<std::string_view> FIDs;
    std::vector<int> FFirstOf;
};
