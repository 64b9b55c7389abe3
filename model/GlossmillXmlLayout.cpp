#include "GlossmillXmlLayout.h"

#include "GlossmillXmlShared.h"

#include <cstring>

using namespace GlossmillXml::Impl;

namespace {

bool StartsWith(const char *p, const char *End, std::string_view What)
{
    return size_t(End - p) >= What.size() && std::memcmp(p, What.data(), What.size()) == 0;
}

// Where What first stands in [From, End); null when nowhere.
const char *Find(const char *From, const char *End, std::string_view What)
{
    const size_t at = std::string_view(From, size_t(End - From)).find(What);
    return at == std::string_view::npos ? nullptr : From + at;
}

} // namespace

TLayoutScan GlossmillXml::Impl::ScanLayout(std::string_view Text, bool SpaceBeforeSlash)
{
    // The constructs are ended as the parser ends them: a comment by the first "-->", a CDATA section by "]]>", a
    // declaration or processing instruction by "?>", an attribute value by its quote character.
    TLayoutScan scan;
    const char *begin = Text.data();
    const char *end = begin + Text.size();
    const std::string_view usual = SpaceBeforeSlash ? " " : "";
    const char *p = begin;
    for (;;) {
        const char *lt = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)));
        if (!lt || end - lt < 2)
            return scan;
        p = lt + 1;
        if (*p == '!') {
            const char *close = nullptr;
            if (StartsWith(p, end, "!--"))
                close = Find(p + 3, end, "-->");
            else if (StartsWith(p, end, "![CDATA["))
                close = Find(p + 8, end, "]]>");
            else
                scan.Complete = false;
            if (!close)
                return scan;
            p = close + 3;
            continue;
        }
        if (*p == '?' || *p == '/') {
            const char *close = *p == '?' ? Find(p + 1, end, "?>") : static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
            if (!close)
                return scan;
            p = close + (*p == '?' ? 2 : 1);
            continue;
        }
        const char *name = p;
        while (p < end && !IsXmlSpace(*p) && *p != '/' && *p != '>')
            ++p;
        const char *tagEnd = p; // after the name, then after each attribute's closing quote
        for (;;) {
            const char *space = p;
            while (p < end && IsXmlSpace(*p))
                ++p;
            if (p == end)
                return scan;
            if (*p == '/' || *p == '>') {
                std::string form;
                bool empty = true;
                if (*p == '/' && end - p >= 2 && p[1] == '>') {
                    form.assign(tagEnd, size_t(p - tagEnd));
                    ++p;
                } else if (*p == '>' && end - p >= 3 && p[1] == '<' && p[2] == '/') {
                    form = TXmlLayout::ExplicitEnd;
                } else {
                    empty = false; // an element with content, or a "/" the parser refuses
                }
                if (empty && form != usual)
                    scan.EmptyTags.push_back({size_t(name - begin), std::move(form)});
                ++p;
                break;
            }
            const char *attribute = p;
            const char *quote = p;
            while (quote < end && *quote != '"' && *quote != '\'')
                ++quote;
            if (quote == end)
                return scan;
            const char *close = static_cast<const char *>(std::memchr(quote + 1, *quote, size_t(end - quote - 1)));
            if (!close)
                return scan;
            const std::string_view before(space, size_t(attribute - space));
            const bool spaced = before != " ";
            if (spaced || *quote == '\'')
                scan.Attributes.push_back({size_t(attribute - begin), spaced, *quote == '\'', spaced ? std::string(before) : std::string()});
            p = tagEnd = close + 1;
        }
    }
}

void GlossmillXml::Impl::ApplyLayout(const TLayoutScan &Scan, const char *Text, size_t Size, const pugi::xml_node &Root,
                                     TXmlLayout &Layout)
{
    const std::vector<TLayoutScan::TAttribute> &attributes = Scan.Attributes;
    const std::vector<TLayoutScan::TEmptyTag> &emptyTags = Scan.EmptyTags;
    size_t nextAttribute = 0, nextEmptyTag = 0;
    // An element's attributes stand in the text after its name and before the next element's name.
    const auto takeAttributes = [&](const pugi::xml_node &Element, size_t Before) {
        for (pugi::xml_attribute a = Element.first_attribute(); a && nextAttribute < attributes.size(); a = a.next_attribute()) {
            const TLayoutScan::TAttribute &found = attributes[nextAttribute];
            if (found.Offset >= Before)
                return;
            if (size_t(a.name() - Text) != found.Offset)
                continue;
            if (found.Spaced)
                Layout.AttrSpace.emplace(a.internal_object(), found.Space);
            if (found.SingleQuoted)
                Layout.SingleQuoted.insert(a.internal_object());
            ++nextAttribute;
        }
    };
    pugi::xml_node previous;
    for (pugi::xml_node n = Root; n && (nextAttribute < attributes.size() || nextEmptyTag < emptyTags.size());
         n = GlossmillXml::NextNode(n, Root)) {
        if (n.type() != pugi::node_element || n.name() < Text || size_t(n.name() - Text) >= Size)
            continue;
        const size_t at = size_t(n.name() - Text);
        if (previous && nextAttribute < attributes.size() && attributes[nextAttribute].Offset < at)
            takeAttributes(previous, at);
        while (nextAttribute < attributes.size() && attributes[nextAttribute].Offset < at)
            ++nextAttribute; // matches no attribute
        while (nextEmptyTag < emptyTags.size() && emptyTags[nextEmptyTag].Offset < at)
            ++nextEmptyTag;
        if (nextEmptyTag < emptyTags.size() && emptyTags[nextEmptyTag].Offset == at) {
            if (!n.first_child())
                Layout.EmptyTag.emplace(n.internal_object(), emptyTags[nextEmptyTag].Form);
            ++nextEmptyTag;
        }
        previous = n;
    }
    if (previous)
        takeAttributes(previous, std::string::npos);
}

void GlossmillXml::Impl::ReadLayout(std::string_view Text, const pugi::xml_node &Root, bool SpaceBeforeSlash, TXmlLayout &Layout)
{
    const std::string usualSlash = SpaceBeforeSlash ? " " : "";
    for (pugi::xml_node n = Root; n; n = GlossmillXml::NextNode(n, Root)) {
        if (n.type() != pugi::node_element)
            continue;
        const ptrdiff_t base = n.offset_debug();
        if (base < 0)
            continue;
        size_t tagEnd = size_t(base) + std::strlen(n.name());
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            const ptrdiff_t at = base + (a.name() - n.name());
            if (at <= 0 || size_t(at) > Text.size())
                break;
            ptrdiff_t from = at;
            while (from > 0 && IsXmlSpace(Text[size_t(from - 1)]))
                --from;
            if (at - from != 1 || Text[size_t(from)] != ' ')
                Layout.AttrSpace.emplace(a.internal_object(), Text.substr(size_t(from), size_t(at - from)));
            const size_t quote = Text.find_first_of("\"'", size_t(at));
            if (quote == std::string::npos)
                break;
            const size_t close = Text.find(Text[quote], quote + 1);
            if (close == std::string::npos)
                break;
            if (Text[quote] == '\'')
                Layout.SingleQuoted.insert(a.internal_object());
            tagEnd = close + 1;
        }
        if (n.first_child() || tagEnd > Text.size())
            continue;
        size_t after = tagEnd;
        while (after < Text.size() && IsXmlSpace(Text[after]))
            ++after;
        std::string form;
        if (Text.compare(after, 2, "/>") == 0)
            form = Text.substr(tagEnd, after - tagEnd);
        else if (after < Text.size() && Text[after] == '>')
            form = TXmlLayout::ExplicitEnd;
        else
            continue;
        if (form != usualSlash)
            Layout.EmptyTag.emplace(n.internal_object(), std::move(form));
    }
}

void TXmlDocument::CopyLayout(const TXmlDocument &FromDoc, const pugi::xml_node &From, const pugi::xml_node &To)
{
    FromDoc.EnsureLayout();
    EnsureLayout();
    const TXmlLayout &source = FromDoc.FLayout;
    if (source.AttrSpace.empty() && source.EmptyTag.empty() && source.SingleQuoted.empty())
        return;
    auto copy = [](const std::unordered_map<const void *, std::string> &Layout, const void *Key,
                   std::unordered_map<const void *, std::string> &Into, const void *NewKey) {
        const auto found = Layout.find(Key);
        if (found != Layout.end())
            Into[NewKey] = found->second;
        else
            Into.erase(NewKey);
    };
    pugi::xml_node from = From, to = To;
    while (from && to) {
        copy(source.EmptyTag, from.internal_object(), FLayout.EmptyTag, to.internal_object());
        for (pugi::xml_attribute a = from.first_attribute(), b = to.first_attribute(); a && b;
             a = a.next_attribute(), b = b.next_attribute()) {
            copy(source.AttrSpace, a.internal_object(), FLayout.AttrSpace, b.internal_object());
            if (source.SingleQuoted.count(a.internal_object()))
                FLayout.SingleQuoted.insert(b.internal_object());
            else
                FLayout.SingleQuoted.erase(b.internal_object());
        }
        from = GlossmillXml::NextNode(from, From);
        to = GlossmillXml::NextNode(to, To);
    }
}
