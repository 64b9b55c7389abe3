#pragma once
// The layout that the reader finds and the writer keeps (TXmlLayout): how it is read from a file's text. Not for use
// outside the XML layer's files.
#include "GlossmillXml.h"

#include <string>
#include <string_view>
#include <vector>

namespace GlossmillXml::Impl {

// What a scan of a file's text finds of the layout of its start tags, keyed by where each name stands in the text,
// so that it can be matched with the tree parsed in place from that same text.
struct TLayoutScan
{
    struct TAttribute
    {
        size_t Offset; // of the attribute's name
        bool Spaced;   // the whitespace before it is other than one space: Space holds it
        bool SingleQuoted;
        std::string Space;
    };
    struct TEmptyTag
    {
        size_t Offset; // of the element's name
        std::string Form; // as TXmlLayout::EmptyTag holds it
    };
    // False when the text holds what the scan does not follow (a doctype, or what the parser refuses anyway): the
    // layout is then read from an unparsed copy of the text.
    bool Complete = true;
    std::vector<TAttribute> Attributes; // only those other than one space before and double quotes around
    std::vector<TEmptyTag> EmptyTags;   // only those other than the usual form
};

// Scans Text, not yet parsed, for the layout of its start tags; SpaceBeforeSlash is the usual form of empty ones.
TLayoutScan ScanLayout(std::string_view Text, bool SpaceBeforeSlash);
// Records in Layout what Scan found, for the elements and attributes of Root's tree, parsed in place from the text
// that starts at Text and has Size bytes; nodes made since (their names elsewhere) get none.
void ApplyLayout(const TLayoutScan &Scan, const char *Text, size_t Size, const pugi::xml_node &Root, TXmlLayout &Layout);
// Records in Layout the layout of Root's tree, parsed from a copy of Text: names stand in the copy where they stood
// in Text.
void ReadLayout(std::string_view Text, const pugi::xml_node &Root, bool SpaceBeforeSlash, TXmlLayout &Layout);

} // namespace GlossmillXml::Impl
