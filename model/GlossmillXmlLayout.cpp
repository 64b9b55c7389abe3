#include "GlossmillXml.h"

#include "GlossmillXmlShared.h"

#include <cstring>

using namespace GlossmillXml::Impl;

void TXmlDocument::ReadLayout(std::string_view Text)
{
    // Names stay where they stood in the parsed copy of Text, so the layout around them can be read from Text.
    const std::string usualSlash = FSpaceBeforeSlash ? " " : "";
    const pugi::xml_node root = Root();
    for (pugi::xml_node n = root; n; n = GlossmillXml::NextNode(n, root)) {
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
                FLayout.AttrSpace.emplace(a.internal_object(), Text.substr(size_t(from), size_t(at - from)));
            const size_t quote = Text.find_first_of("\"'", size_t(at));
            if (quote == std::string::npos)
                break;
            const size_t close = Text.find(Text[quote], quote + 1);
            if (close == std::string::npos)
                break;
            if (Text[quote] == '\'')
                FLayout.SingleQuoted.insert(a.internal_object());
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
            FLayout.EmptyTag.emplace(n.internal_object(), std::move(form));
    }
}

void TXmlDocument::CopyLayout(const TXmlDocument &FromDoc, const pugi::xml_node &From, const pugi::xml_node &To)
{
    const TXmlLayout &source = FromDoc.FLayout;
    if (source.AttrSpace.empty() && source.EmptyTag.empty() && source.SingleQuoted.empty())
        return;
    auto copy = [](const std::unordered_map<const void *, std::string> &Map, const void *Key,
                   std::unordered_map<const void *, std::string> &Into, const void *NewKey) {
        const auto found = Map.find(Key);
        if (found != Map.end())
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
