#pragma once
// The writer of the XML layer: nodes as XML text. Not for use outside the layer's files.
#include "GlossmillXml.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace GlossmillXml::Impl {

class TCharsetProbe;

// What a writer appends to a string: the string's room is written through a pointer and its length set once, when
// the output goes, so that a piece costs a copy rather than a call.
class TOutput
{
public:
    explicit TOutput(std::string &Text) : FText(Text), FSize(Text.size()) { Grow(0); }
    ~TOutput() { FText.resize(FSize); }
    TOutput(const TOutput &) = delete;
    TOutput &operator=(const TOutput &) = delete;

    size_t size() const { return FSize; }
    void append(const char *s, size_t n)
    {
        if (n > FRoom - FSize)
            Grow(n);
        std::memcpy(FData + FSize, s, n);
        FSize += n;
    }
    TOutput &operator+=(char c)
    {
        if (FSize == FRoom)
            Grow(1);
        FData[FSize++] = c;
        return *this;
    }
    TOutput &operator+=(const char *s)
    {
        append(s, std::strlen(s));
        return *this;
    }
    TOutput &operator+=(const std::string &s)
    {
        append(s.data(), s.size());
        return *this;
    }

private:
    void Grow(size_t n)
    {
        FText.resize(std::max({FSize + n, FRoom * 2, FText.capacity(), FSize + 64}));
        FData = &FText[0];
        FRoom = FText.size();
    }

    std::string &FText;
    size_t FSize;
    char *FData = nullptr;
    size_t FRoom = 0;
};

// Writes nodes as XML text. Text and attribute values get their markup characters as entities, except the "&" of a
// reference to an entity that the document declares; characters that Charset cannot hold become character references.
// Out has its final text when the writer is gone.
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
    // From now on tells Marks where each node stands (nullptr: no one).
    void SetMarks(TWriteMarks *Marks) { FMarks = Marks; }

    // Pieces: bytes as they are, a text or an attribute value escaped, a comment.
    void Bytes(const char *Data, size_t Size) { FOut.append(Data, Size); }
    void Text(const char *s) { Escaped(s, 0); }
    // An Android value's text: an apostrophe outside double quotes and not escaped gets a backslash as well.
    void AndroidText(const char *s) { Escaped(s, 0, true); }
    void AttributeValue(const char *s, char Quote) { Escaped(s, Quote); }
    void WriteComment(const char *s) { Comment(s); }
    size_t Size() const { return FOut.size(); }
    // What OpenElement writes after the attributes of an element without children.
    std::string EmptyEnd(const pugi::xml_node &n) const;

private:
    // The node's first child when its children follow, else a null node.
    pugi::xml_node Open(const pugi::xml_node &n);
    // An element's start tag, or the whole element when it has no children; returns HasChildren.
    bool OpenElement(const pugi::xml_node &n, bool HasChildren);
    // Layout entries of a node or an attribute; nullptr / false for none.
    const std::string *AttrSpaceOf(const void *Attr) const;
    const std::string *EmptyTagOf(const void *Node) const;
    bool SingleQuoted(const void *Attr) const;
    // The end tag of an element.
    void Close(const pugi::xml_node &n);
    // Raw: the declaration's values, in which no reference stands for a character.
    void Attributes(const pugi::xml_node &n, bool Raw = false);
    void Reference(char32_t c);
    // Quote is the attribute's quote character, 0 for text; Android: text with its apostrophes escaped.
    void Escaped(const char *s, char Quote, bool Android = false);
    // S starts with "&": true when "&name;" follows and the document declares name.
    bool IsDeclaredReference(const char *s) const;
    // "--" and a final "-" would end a comment too early.
    void Comment(const char *s);
    void CData(const char *s);

    TOutput FOut;
    bool FSpaceBeforeSlash;
    using TLayoutMap = std::unordered_map<const void *, std::string>;
    size_t FLimit;
    const TCharsetProbe *FCharset;
    const std::unordered_set<std::string> *FEntities;
    const TXmlDocument::TOmitSet *FOmit;
    const TLayoutMap *FAttrSpace;
    const TLayoutMap *FEmptyTag;
    const std::unordered_set<const void *> *FSingleQuoted;
    TWriteMarks *FMarks = nullptr;
};

} // namespace GlossmillXml::Impl
