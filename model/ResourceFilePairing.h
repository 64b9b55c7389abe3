#pragma once
// A language file's pairing with its default file while it is parsed: the default's item each of its items belongs
// to, and its item for each of the default's; and the default's identifiers by their bytes, so that a language's
// identifier is found, and its text shared, without a conversion.
#include <QHash>
#include <QString>
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
        BaseIndex = std::vector<int>();
        Paired = std::vector<int>();
        OwnIDs = QHash<QString, int>();
    }
};

// A default file's identifiers as the bytes of its document's attributes (valid while the document is the one
// parsed): the first item of each.
using TRawIDs = std::unordered_map<std::string_view, int>;
