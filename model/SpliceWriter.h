#pragma once
// The writer that puts a language file's texts into its default file's bytes. A language file rebuilt on its default
// is written, at its work file and at every save, as the default's text as a save of the default writes it
// (TSpliceLayout, made once per default), copied range by range with this file's parts put in (TSpliceParts): its
// contents where its strings stand, its plurals and arrays in place of the default's, its state comment, the
// namespaces its texts need declared on the root, and its do-not-translate strings left out with their lines. What
// the ranges cannot serve (another encoding, a doctype of the language's own, strings inside strings or collections)
// is written by the tree writer instead (ResourceFileSaving.cpp), which these bytes equal wherever both can write.
#include "GlossmillXml.h"
#include "TTranslateItem.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where the parts of a default file's document lie in the text a save of it writes, before line ends and encoding.
struct TSpliceLayout
{
    std::string Bytes;
    TXmlDocument::TStyle Style;
    QString Encoding; // the declaration's, else the one detected
    // Language files can be written into it: no string inside another or in the root's place, and not too big.
    bool Usable = true;
    bool Declaration = false;        // the prolog has a declaration, so that a comment added brings none
    uint32_t RootStart = 0;          // where a comment added to the prolog goes
    uint32_t RootAttributesEnd = 0;  // where namespaces declared on the root go
    struct TRange
    {
        uint32_t Start = 0, End = 0;
    };
    std::vector<TRange> StateComments; // the prolog's comments that hold the state marker, whole
    std::vector<std::string> StateCommentValues; // their texts

    // An element that saving writes an item into, in document order.
    struct TSite
    {
        uint32_t LineStart = 0;  // the indentation of its line, which leaves with it; Start when there is none
        uint32_t Start = 0;
        uint32_t AttributesEnd = 0;
        uint32_t ContentStart = 0; // 0: the element has no content here
        uint32_t ContentEnd = 0;
        uint32_t End = 0;
        uint32_t ValueStart = 0, ValueEnd = 0; // a menu item's title between its quotes
        int First = -1, Nth = -1; // the default's first item of its identifier, and the one that belongs here
        int Occurrence = 0;       // the sites of its identifier before it
        int Group = -1;           // the first site of its identifier
        uint16_t NameSize = 0;
        char Quote = 0;           // the title's quote; 0 for a site without a title
        bool UsualEmptyEnd = true; // an empty element ends as the document usually writes one, else as EmptyEnds has it
    };
    std::vector<TSite> Sites;
    std::unordered_map<int, std::string> EmptyEnds; // by site
    std::unordered_map<int, QString> IDs;           // by site, where the default has no item for it
    // By site, for identifiers with more than one site: the start tag as ElementXml writes it, to tell equal elements.
    std::unordered_map<int, std::string> TagXml;
    // By site: the namespace prefixes that the default's content uses and declares.
    std::unordered_map<int, GlossmillXml::TPrefixUse> ContentPrefixes;

    // A plurals or array element among the root's children, which a language's own of its tag and name replaces.
    struct TCollection
    {
        uint32_t Start = 0, End = 0;
        int Tag = 0;
        std::string Name;
        bool HoldsSite = false;
        GlossmillXml::TPrefixUse Prefixes;
    };
    std::vector<TCollection> Collections;

    // The first use of each prefix outside the sites' contents and the collections, and the prefixes declared there.
    struct TPrefixAt
    {
        uint32_t At = 0;
        std::string Prefix;
    };
    std::vector<TPrefixAt> Used;
    std::vector<std::string> Declared;

    // The element's name, for its end tag.
    std::string_view Name(const TSite &Site) const { return std::string_view(Bytes).substr(Site.Start + 1, Site.NameSize); }
    // How the site's element ends when it has no content.
    std::string_view EmptyEnd(int Site) const;
};

// Pieces of written text by number, kept end to end in one string: a piece written anew goes at the end, and the one
// it replaces stays there unused.
class TPieceStore
{
public:
    // The piece of Key; Found tells whether there is one (an empty piece is one).
    std::string_view Find(uint32_t Key, bool *Found = nullptr) const;
    void Put(uint32_t Key, std::string_view Bytes);
    void Erase(uint32_t Key);
    bool Empty() const { return FIndex.empty(); }
    // Keeps no room beyond the pieces there are.
    void Shrink();
    // Every piece end to end, those written over among them.
    std::string_view Bytes() const { return FBytes; }

    // Walks the pieces in the order of their keys, for asking keys that only grow.
    class TCursor
    {
    public:
        explicit TCursor(const TPieceStore &Store) : FStore(Store) {}
        std::string_view Find(uint32_t Key, bool &Found)
        {
            while (FAt < FStore.FIndex.size() && FStore.FIndex[FAt].Key < Key)
                ++FAt;
            Found = FAt < FStore.FIndex.size() && FStore.FIndex[FAt].Key == Key;
            return Found ? std::string_view(FStore.FBytes).substr(FStore.FIndex[FAt].Start, FStore.FIndex[FAt].Size)
                         : std::string_view();
        }

    private:
        const TPieceStore &FStore;
        size_t FAt = 0;
    };

private:
    struct TEntry
    {
        uint32_t Key, Start, Size;
    };
    std::string FBytes;
    std::vector<TEntry> FIndex; // by key
};

// What a language file written by splicing puts into its default's text, as its last save left it: every item
// written into its site and every comment and namespace declared stays until a later save writes anew.
struct TSpliceParts
{
    std::shared_ptr<const TSpliceLayout> Layout;
    std::vector<int> SiteItems;     // per site: the index of this file's item saved there, -1 for none
    std::vector<TItemText> Written; // per site: the value last written there (empty: emptied, or Wrote not set)
    std::vector<bool> Wrote;        // per site: a value was written there; else the default's content stands
    TPieceStore Pieces;             // by site: a value written as other than plain text (markup, CDATA), as bytes
    TPieceStore Collections;        // this file's plurals and arrays that took a collection's place, as bytes
    std::vector<int> CollectionAt;  // per collection of the layout: the one of Collections there, -1 for none
    std::vector<std::string> StateComments; // per state comment of the layout: its text now
    std::vector<std::string> AddedComments; // comments that saves added before the root, in order
    std::vector<std::pair<std::string, std::string>> Declarations; // prefixes and URIs that saves declared on the root
    bool CheckPrefixes = true; // collections came in since the last declaring
};
