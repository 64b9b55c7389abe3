#pragma once
// The writer of the XML layer: nodes as XML text. Not for use outside the layer's files.
#include "GlossmillXml.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace GlossmillXml::Impl {

class TCharsetProbe;

// Writes nodes as XML text. Text and attribute values get their markup characters as entities, except the "&" of a
// reference to an entity that the document declares; characters that Charset cannot hold become character references.
class TXmlWriter
{
public:
    TXmlWriter(std::string &Out, bool SpaceBeforeSlash, size_t Limit = std::string::npos,
               const TCharsetProbe *Charset = nullptr, const TXmlLayout *Layout = nullptr,
               const TXmlDocument::TOmitSet *Omit = nullptr, const std::unordered_set<std::string> *Entities = nullptr)
        : FOut(Out), FSpaceBeforeSlash(SpaceBeforeSlash), FLimit(Limit), FCharset(Charset),
          FEntities(Entities && !Entities->empty() ? Entities : nullptr), FOmit(Omit && !Omit->empty() ? Omit : nullptr),
          FAttrSpace(Layout && !Layout->AttrSpace.empty() ? &Layout->AttrSpace : nullptr),
          FEmptyTag(Layout && !Layout->EmptyTag.empty() ? &Layout->EmptyTag : nullptr),
          FSingleQuoted(Layout && !Layout->SingleQuoted.empty() ? &Layout->SingleQuoted : nullptr)
    {
    }

    // Writes Start with everything below it; the document node writes only its children. Walks without recursion.
    void Write(const pugi::xml_node &Start);
    // Writes a document of parts (TXmlDocument::TParts): FrameDoc's nodes, its root element with BodyRoot's children.
    // Layout is looked up in the layout given above, then in Second (the body's).
    void WriteParts(const pugi::xml_node &FrameDoc, const pugi::xml_node &BodyRoot, const TXmlDocument::TParts &Parts,
                    const TXmlLayout &Second);

private:
    // The node's first child when its children follow, else a null node.
    pugi::xml_node Open(const pugi::xml_node &n);
    // An element's start tag, or the whole element when it has no children (its own, or what stands in for them);
    // returns HasChildren.
    bool OpenElement(const pugi::xml_node &n, bool HasChildren);
    // The body of WriteParts: BodyRoot's children, the parts put in.
    void WriteBody(const pugi::xml_node &BodyRoot, const TXmlDocument::TParts &Parts);
    // Layout entries of a node or an attribute, from either layout; nullptr / false for none.
    const std::string *AttrSpaceOf(const void *Attr) const;
    const std::string *EmptyTagOf(const void *Node) const;
    bool SingleQuoted(const void *Attr) const;
    // The end tag of an element.
    void Close(const pugi::xml_node &n);
    // Raw: the declaration's values, in which no reference stands for a character.
    void Attributes(const pugi::xml_node &n, bool Raw = false);
    void Reference(char32_t c);
    // Quote is the attribute's quote character, 0 for text.
    void Escaped(const char *s, char Quote);
    // S starts with "&": true when "&name;" follows and the document declares name.
    bool IsDeclaredReference(const char *s) const;
    // "--" and a final "-" would end a comment too early.
    void Comment(const char *s);
    void CData(const char *s);

    std::string &FOut;
    bool FSpaceBeforeSlash;
    using TLayoutMap = std::unordered_map<const void *, std::string>;
    size_t FLimit;
    const TCharsetProbe *FCharset;
    const std::unordered_set<std::string> *FEntities;
    const TXmlDocument::TOmitSet *FOmit;
    const TLayoutMap *FAttrSpace;
    const TLayoutMap *FEmptyTag;
    const std::unordered_set<const void *> *FSingleQuoted;
    const TXmlLayout *FSecond = nullptr;
};

} // namespace GlossmillXml::Impl
