#pragma once
// The identifier index of a file's items: the first item of each identifier and, for each item, the next one of the
// same identifier. Items are indexed as they are asked for, in the order they were appended.
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "TTranslateItem.h"

class TIdIndex
{
public:
    using TItems = std::vector<std::unique_ptr<TTranslateItem>>;

    void Clear();
    // Indexes the next item not yet indexed; the number of items of its identifier before it.
    int IndexNext(const TItems &Items);
    // The first item with exactly this identifier, -1 for none; the one after Index with the same identifier; the
    // Occurrence-th (from 0) of the identifier.
    int IndexOf(const TItems &Items, const QString &ID);
    int NextOfSame(const TItems &Items, int Index);
    int NthOf(const TItems &Items, const QString &ID, int Occurrence);
    int CountOf(const TItems &Items, const QString &ID);
    // Two items share an identifier.
    bool Duplicates(const TItems &Items);

private:
    void Update(const TItems &Items);

    struct TEntry
    {
        int First = -1;
        int Last = -1;
        int Count = 0;
    };
    QHash<QString, TEntry> FEntries;
    std::vector<int> FNext; // per indexed item: the next of its identifier, -1 at the last
    size_t FIndexed = 0;
    bool FDuplicates = false;
};
