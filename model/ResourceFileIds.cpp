#include "ResourceFileIds.h"

void TIdIndex::Clear()
{
    FEntries.clear();
    FNext.clear();
    FIndexed = 0;
    FDuplicates = false;
}

int TIdIndex::IndexNext(const TItems &Items)
{
    const int index = int(FIndexed++);
    TEntry &entry = FEntries[Items[size_t(index)]->ID];
    FNext.push_back(-1);
    if (entry.First < 0) {
        entry.First = index;
    } else {
        FNext[size_t(entry.Last)] = index;
        FDuplicates = true;
    }
    entry.Last = index;
    return entry.Count++;
}

void TIdIndex::Update(const TItems &Items)
{
    if (FIndexed > Items.size())
        Clear();
    while (FIndexed < Items.size())
        IndexNext(Items);
}

int TIdIndex::IndexOf(const TItems &Items, const QString &ID)
{
    Update(Items);
    const auto found = FEntries.constFind(ID);
    if (found == FEntries.constEnd())
        return -1;
    if (Items[size_t(found->First)]->ID == ID)
        return found->First;
    // An identifier changed after its item was indexed: index again.
    Clear();
    Update(Items);
    return FEntries.value(ID).First;
}

int TIdIndex::NextOfSame(const TItems &Items, int Index)
{
    Update(Items);
    return Index >= 0 && size_t(Index) < FNext.size() ? FNext[size_t(Index)] : -1;
}

int TIdIndex::NthOf(const TItems &Items, const QString &ID, int Occurrence)
{
    int index = IndexOf(Items, ID);
    while (index >= 0 && Occurrence-- > 0)
        index = NextOfSame(Items, index);
    return index;
}

int TIdIndex::CountOf(const TItems &Items, const QString &ID)
{
    return IndexOf(Items, ID) < 0 ? 0 : FEntries.value(ID).Count;
}

bool TIdIndex::Duplicates(const TItems &Items)
{
    Update(Items);
    return FDuplicates;
}
