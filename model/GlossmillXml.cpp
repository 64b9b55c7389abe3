#include "GlossmillXml.h"

#include "Glossmill_Misc.h"
#include "GlossmillXmlShared.h"
#include "GlossmillXmlWriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

using namespace GlossmillXml::Impl;

namespace {

// RefSentinelUtf8 as a character.
const QChar RefSentinel(0xFDD0);
const QString NbspReference = QStringLiteral("&#0160;");

const unsigned FragmentParseFlags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment
    | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration | pugi::parse_doctype;

QString ToReferenceSentinels(const QString &Text)
{
    if (!Text.contains(NbspReference))
        return Text;
    QString result = Text;
    result.replace(NbspReference, QString(RefSentinel));
    return result;
}

QString FromReferenceSentinels(const QString &Text)
{
    if (!Text.contains(RefSentinel))
        return Text;
    QString result = Text;
    result.replace(RefSentinel, NbspReference);
    return result;
}

// Walks a doctype's text, passing over quoted literals and comments, and calls Declaration at each "<!ENTITY".
template <typename F>
void ForEachEntityDeclaration(const char *Doctype, F Declaration)
{
    for (const char *p = Doctype; *p;) {
        if (*p == '"' || *p == '\'') {
            const char *close = std::strchr(p + 1, *p);
            if (!close)
                return;
            p = close + 1;
        } else if (std::strncmp(p, "<!--", 4) == 0) {
            const char *close = std::strstr(p + 4, "-->");
            if (!close)
                return;
            p = close + 3;
        } else if (std::strncmp(p, "<!ENTITY", 8) == 0 && IsXmlSpace(p[8])) {
            p = Declaration(p);
        } else {
            ++p;
        }
    }
}

// The name a general entity declaration at p declares (empty for a parameter entity), and where the declaration ends.
std::string EntityDeclarationName(const char *p, const char **End)
{
    p += 8;
    while (IsXmlSpace(*p))
        ++p;
    std::string name;
    if (*p != '%') {
        const char *start = p;
        while (*p && !IsXmlSpace(*p) && *p != '>' && *p != '"' && *p != '\'')
            ++p;
        name.assign(start, size_t(p - start));
    }
    // The declaration runs to its ">" outside quotes.
    while (*p && *p != '>') {
        if (*p == '"' || *p == '\'') {
            const char *close = std::strchr(p + 1, *p);
            if (!close) {
                p += std::strlen(p);
                break;
            }
            p = close;
        }
        ++p;
    }
    *End = *p ? p + 1 : p;
    return name;
}

} // namespace

std::unordered_set<std::string> GlossmillXml::Impl::DeclaredEntities(const char *Doctype)
{
    std::unordered_set<std::string> names;
    ForEachEntityDeclaration(Doctype, [&names](const char *p) {
        const char *end = nullptr;
        std::string name = EntityDeclarationName(p, &end);
        if (!name.empty())
            names.insert(std::move(name));
        return end;
    });
    return names;
}

// ---------------------------------------------------------------------------------------------------------------

TXmlDocument::TXmlDocument()
{
    FDetectedEncoding = QStringLiteral("UTF-8");
}

void TXmlDocument::Defer(std::function<void(TXmlDocument &)> Build)
{
    Clear();
    FBuild = std::move(Build);
}

void TXmlDocument::Built() const
{
    if (!FBuild)
        return;
    const std::function<void(TXmlDocument &)> build = std::move(FBuild);
    FBuild = nullptr;
    build(const_cast<TXmlDocument &>(*this));
}

void TXmlDocument::Clear()
{
    FBuild = nullptr;
    FUnwritable.clear();
    FDoc.reset();
    FLayout = TXmlLayout();
    FLayoutPending = false;
    FRawText = std::string();
    FParsedText = nullptr;
    FDetectedEncoding = QStringLiteral("UTF-8");
    FCRLF = false;
    FSpaceBeforeSlash = true;
    FHeldReferences = false;
}

void TXmlDocument::Swap(TXmlDocument &Other)
{
    Built();
    Other.Built();
    pugi::xml_document doc(std::move(FDoc));
    FDoc = std::move(Other.FDoc);
    Other.FDoc = std::move(doc);
    std::swap(FLayout, Other.FLayout);
    std::swap(FLayoutPending, Other.FLayoutPending);
    std::swap(FRawText, Other.FRawText);
    std::swap(FParsedText, Other.FParsedText);
    std::swap(FDetectedEncoding, Other.FDetectedEncoding);
    std::swap(FCRLF, Other.FCRLF);
    std::swap(FSpaceBeforeSlash, Other.FSpaceBeforeSlash);
    std::swap(FWriteBOM, Other.FWriteBOM);
    std::swap(FHeldReferences, Other.FHeldReferences);
    std::swap(FSizeHint, Other.FSizeHint);
    std::swap(FUnwritable, Other.FUnwritable);
}

void TXmlDocument::Assign(const TXmlDocument &Source)
{
    Source.Built();
    Source.EnsureLayout();
    FBuild = nullptr;
    FUnwritable.clear();
    FDoc.reset(Source.FDoc);
    FLayout = TXmlLayout();
    CopyLayout(Source, Source.FDoc, FDoc);
    FDetectedEncoding = Source.FDetectedEncoding;
    FCRLF = Source.FCRLF;
    FSpaceBeforeSlash = Source.FSpaceBeforeSlash;
    FWriteBOM = Source.FWriteBOM;
    FSizeHint = Source.FSizeHint;
}

pugi::xml_node TXmlDocument::ReplaceWithCopy(pugi::xml_node Target, const TXmlDocument &SourceDoc, const pugi::xml_node &Source)
{
    Built();
    SourceDoc.Built();
    pugi::xml_node parent = Target.parent();
    pugi::xml_node copy = parent.insert_copy_after(Source, Target);
    if (!copy)
        return Target;
    parent.remove_child(Target);
    CopyLayout(SourceDoc, Source, copy);
    return copy;
}

pugi::xml_node TXmlDocument::Root() const
{
    Built();
    return FDoc.document_element();
}

std::vector<pugi::xml_node> TXmlDocument::Prolog() const
{
    Built();
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node child = FDoc.first_child(); child && child.type() != pugi::node_element; child = child.next_sibling())
        if (child.type() != pugi::node_pcdata)
            nodes.push_back(child);
    return nodes;
}

pugi::xml_node TXmlDocument::EnsureDeclaration()
{
    for (pugi::xml_node child = FDoc.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration)
            return child;
        if (child.type() != pugi::node_pcdata)
            break;
    }
    pugi::xml_node decl = FDoc.prepend_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    FDoc.insert_child_after(pugi::node_pcdata, decl).set_value("\n");
    return decl;
}

pugi::xml_node TXmlDocument::AddPrologComment(const QString &Text)
{
    Built();
    EnsureDeclaration();
    const std::string text = GlossmillXml::ToU8(Text);
    const pugi::xml_node root = Root();
    if (!root) {
        pugi::xml_node comment = FDoc.append_child(pugi::node_comment);
        comment.set_value(text.c_str());
        return comment;
    }
    pugi::xml_node comment = FDoc.insert_child_before(pugi::node_comment, root);
    comment.set_value(text.c_str());
    FDoc.insert_child_after(pugi::node_pcdata, comment).set_value("\n");
    return comment;
}

namespace {

pugi::xml_node DoctypeOf(const pugi::xml_document &Doc)
{
    for (pugi::xml_node child = Doc.first_child(); child && child.type() != pugi::node_element; child = child.next_sibling())
        if (child.type() == pugi::node_doctype)
            return child;
    return pugi::xml_node();
}

} // namespace

void TXmlDocument::TakeDoctype(const TXmlDocument &From)
{
    Built();
    From.Built();
    const pugi::xml_node source = DoctypeOf(From.FDoc);
    const pugi::xml_node root = Root();
    if (!source || !root)
        return;
    std::string value = source.value();
    pugi::xml_node own = DoctypeOf(FDoc);
    if (own) {
        // Entities that only this document declares may be used by what it holds beyond From's strings.
        const std::unordered_set<std::string> declared = DeclaredEntities(value.c_str());
        std::string extra;
        ForEachEntityDeclaration(own.value(), [&](const char *p) {
            const char *end = nullptr;
            const std::string name = EntityDeclarationName(p, &end);
            if (!name.empty() && !declared.count(name))
                extra.append(p, size_t(end - p));
            return end;
        });
        if (!extra.empty()) {
            const size_t close = value.rfind(']');
            if (close != std::string::npos && value.find('[') < close)
                value.insert(close, extra);
            else
                value += " [" + extra + "]";
        }
    } else {
        own = FDoc.insert_child_before(pugi::node_doctype, root);
        FDoc.insert_child_after(pugi::node_pcdata, own).set_value("\n");
    }
    own.set_value(value.c_str());
}

QString TXmlDocument::Encoding() const
{
    Built();
    for (pugi::xml_node child = FDoc.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration) {
            const pugi::xml_attribute enc = child.attribute("encoding");
            if (enc && *enc.value())
                return GlossmillXml::ToQ(enc.value());
            break;
        }
        if (child.type() != pugi::node_pcdata)
            break;
    }
    return FDetectedEncoding;
}

void TXmlDocument::setEncoding(const QString &Value)
{
    Built();
    pugi::xml_node decl = EnsureDeclaration();
    pugi::xml_attribute enc = decl.attribute("encoding");
    if (!enc)
        enc = decl.append_attribute("encoding");
    enc.set_value(GlossmillXml::ToU8(Value).c_str());
}

// ---------------------------------------------------------------------------------------------------------------

namespace GlossmillXml {

QString ToQ(const char *Utf8)
{
    return QString::fromUtf8(Utf8);
}

std::string ToU8(const QString &Text)
{
    return Text.toStdString();
}

namespace {

QString AfterColon(const char *Name)
{
    const char *colon = std::strchr(Name, ':');
    return ToQ(colon ? colon + 1 : Name);
}

QString BeforeColon(const char *Name)
{
    const char *colon = std::strchr(Name, ':');
    return colon ? QString::fromUtf8(Name, colon - Name) : QString();
}

} // namespace

QString LocalName(const pugi::xml_node &Node) { return AfterColon(Node.name()); }
QString Prefix(const pugi::xml_node &Node) { return BeforeColon(Node.name()); }
QString LocalName(const pugi::xml_attribute &Attr) { return AfterColon(Attr.name()); }
QString Prefix(const pugi::xml_attribute &Attr) { return BeforeColon(Attr.name()); }

bool LocalNameIs(const char *Name, const char *Local)
{
    const char *colon = std::strchr(Name, ':');
    return std::strcmp(colon ? colon + 1 : Name, Local) == 0;
}

pugi::xml_attribute FindAttribute(const pugi::xml_node &Element, const char *Local)
{
    for (pugi::xml_attribute a = Element.first_attribute(); a; a = a.next_attribute())
        if (LocalNameIs(a.name(), Local))
            return a;
    return pugi::xml_attribute();
}

pugi::xml_node NextNode(const pugi::xml_node &Node, const pugi::xml_node &Start, bool Descend)
{
    // Each step asks pugixml once: every walk of a document goes through here.
    if (Descend)
        if (const pugi::xml_node child = Node.first_child())
            return child;
    for (pugi::xml_node n = Node; n && n != Start; n = n.parent())
        if (const pugi::xml_node sibling = n.next_sibling())
            return sibling;
    return pugi::xml_node();
}


TXmlContent ReadContent(const pugi::xml_node &Element)
{
    TXmlContent content;
    // Most strings are one piece of text: converted once, looked at as bytes.
    const pugi::xml_node first = Element.first_child();
    if (!first)
        return content;
    if (first.type() == pugi::node_pcdata && !first.next_sibling()) {
        const char *value = first.value();
        content.Text = QString::fromUtf8(value);
        if (std::strstr(value, RefSentinelUtf8))
            content.Text = FromReferenceSentinels(content.Text);
        content.Kind = std::strchr(value, '<') ? ckEscapedMarkup : ckPlain;
        return content;
    }
    bool markup = false, cdata = false;
    for (pugi::xml_node child = Element.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node_type type = child.type();
        if (type == pugi::node_cdata)
            cdata = true;
        else if (type != pugi::node_pcdata)
            markup = true;
    }
    std::string text;
    if (markup) {
        content.Kind = ckMarkup;
        for (pugi::xml_node child = Element.first_child(); child; child = child.next_sibling())
            TXmlWriter(text, false).Write(child);
        content.Text = QString::fromStdString(text);
        return content;
    }
    for (pugi::xml_node child = Element.first_child(); child; child = child.next_sibling())
        text += child.value();
    content.Text = FromReferenceSentinels(QString::fromStdString(text));
    content.Kind = cdata ? ckCData : content.Text.contains(QLatin1Char('<')) ? ckEscapedMarkup : ckPlain;
    return content;
}

namespace {

bool IsSplitSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where the "@" or "?" that makes the build take Text for a reference stands, when it is none; -1 otherwise.
qsizetype ReferenceMarkToEscape(QStringView Text, bool SkipSpace)
{
    const auto space = [](QChar c) { return c.unicode() < 0x80 && IsSplitSpace(char(c.unicode())); };
    qsizetype start = 0, end = Text.size();
    if (SkipSpace) {
        while (start < end && space(Text[start]))
            ++start;
        while (end > start && space(Text[end - 1]))
            --end;
    }
    if (start == end || (Text[start] != QLatin1Char('@') && Text[start] != QLatin1Char('?')))
        return -1;
    return IsAndroidReference(Text.sliced(start, end - start)) ? -1 : start;
}

// Parses Text as element content; false unless it is well-formed and safe to put inside an element.
bool ParseFragment(const std::string &Text, pugi::xml_document &Fragment, bool NeedElement)
{
    // pugixml drops a "<" that ends the text; written as parsed, the typed text would lose it.
    if (!Text.empty() && Text.back() == '<')
        return false;
    const pugi::xml_parse_result result = Fragment.load_buffer(Text.data(), Text.size(), FragmentParseFlags, pugi::encoding_utf8);
    if (!result)
        return false;
    bool element = false;
    for (pugi::xml_node n = Fragment.first_child(); n; n = NextNode(n, Fragment)) {
        switch (n.type()) {
        case pugi::node_declaration:
        case pugi::node_doctype:
            return false;
        case pugi::node_comment:
        case pugi::node_pi:
            // What a comment or an instruction cannot hold as it stands, so that the writer would change it: a control
            // character, and in a comment "--" or a final "-".
            for (const char *v : {n.name(), n.value()})
                for (const char *c = v; *c; ++c)
                    if ((static_cast<unsigned char>(*c) < 0x20 && !IsXmlSpace(*c))
                        || (n.type() == pugi::node_comment && *c == '-' && (c[1] == '-' || !c[1])))
                        return false;
            break;
        case pugi::node_element: {
            element = true;
            // Duplicate attributes would make the file malformed.
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
                for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute())
                    if (std::strcmp(a.name(), b.name()) == 0)
                        return false;
            break;
        }
        default:
            break;
        }
    }
    return element || !NeedElement;
}

// The build reads the text of markup without its tags: a reference mark at its start is escaped in the text node
// that begins it.
void EscapeFirstReferenceMark(pugi::xml_node Start)
{
    QString text;
    pugi::xml_node first;
    for (pugi::xml_node n = Start.first_child(); n; n = NextNode(n, Start))
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
            if (!first && !IsWhitespaceOnly(n.value()))
                first = n;
            text += ToQ(n.value());
        }
    if (!first || ReferenceMarkToEscape(text, true) < 0)
        return;
    QString value = ToQ(first.value());
    const qsizetype at = ReferenceMarkToEscape(value, true);
    if (at < 0)
        return;
    value.insert(at, QLatin1Char('\\'));
    first.set_value(ToU8(value).c_str());
}

void EscapeTextNodes(pugi::xml_node Start)
{
    bool inQuotes = false;
    for (pugi::xml_node n = Start.first_child(); n; n = NextNode(n, Start)) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
            const QString value = ToQ(n.value());
            const QString escaped = EscapeAndroidApostrophes(value, inQuotes);
            if (escaped.size() != value.size())
                n.set_value(ToU8(escaped).c_str());
        }
    }
}

} // namespace

void WriteContent(pugi::xml_node Element, const QString &Text, tContentKind Kind, bool AndroidValue)
{
    Element.remove_children();
    const QString text = ToReferenceSentinels(Text);
    if (text.isEmpty())
        return;
    if ((Kind == ckMarkup || Kind == ckPlain) && text.contains(QLatin1Char('<'))) {
        pugi::xml_document fragment;
        if (ParseFragment(ToU8(text), fragment, Kind == ckPlain)) {
            for (pugi::xml_node child = fragment.first_child(); child; child = child.next_sibling())
                Element.append_copy(child);
            if (AndroidValue) {
                EscapeTextNodes(Element);
                EscapeFirstReferenceMark(Element);
            }
            return;
        }
    }
    bool inQuotes = false;
    if (Kind == ckCData) {
        QString header, core, trailer;
        SplitWhiteSpace(text, header, trailer, core);
        if (AndroidValue)
            core = EscapeReferenceMark(EscapeAndroidApostrophes(core, inQuotes), false);
        if (!header.isEmpty())
            Element.append_child(pugi::node_pcdata).set_value(ToU8(header).c_str());
        Element.append_child(pugi::node_cdata).set_value(ToU8(core).c_str());
        if (!trailer.isEmpty())
            Element.append_child(pugi::node_pcdata).set_value(ToU8(trailer).c_str());
        return;
    }
    const QString value = AndroidValue ? EscapeReferenceMark(EscapeAndroidApostrophes(text, inQuotes), true) : text;
    Element.append_child(pugi::node_pcdata).set_value(ToU8(value).c_str());
}

void WriteAttribute(pugi::xml_attribute Attr, const QString &Value)
{
    Attr.set_value(ToU8(ToReferenceSentinels(Value)).c_str());
}

QString ReadAttribute(const pugi::xml_attribute &Attr)
{
    return FromReferenceSentinels(ToQ(Attr.value()));
}

QString EscapeAndroidApostrophes(const QString &Text, bool &InQuotes)
{
    if (!Text.contains(QLatin1Char('\'')) && !Text.contains(QLatin1Char('"')))
        return Text;
    QString out;
    out.reserve(Text.size() + 4);
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('\\')) {
            out += c;
            if (i + 1 < Text.size())
                out += Text[++i];
            continue;
        }
        if (c == QLatin1Char('"'))
            InQuotes = !InQuotes;
        else if (c == QLatin1Char('\'') && !InQuotes)
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

bool IsAndroidReference(QStringView Text)
{
    if (Text == u"@null" || Text == u"@empty")
        return true;
    const qsizetype n = Text.size();
    if (n < 2 || (Text[0] != QLatin1Char('@') && Text[0] != QLatin1Char('?')))
        return false;
    const bool attribute = Text[0] == QLatin1Char('?');
    auto name = [&Text, n](qsizetype i) {
        while (i < n && (Text[i].isLetterOrNumber() || Text[i] == QLatin1Char('_') || Text[i] == QLatin1Char('.')
                         || Text[i] == QLatin1Char('-')))
            ++i;
        return i;
    };
    qsizetype i = 1;
    if (!attribute && Text[i] == QLatin1Char('+'))
        ++i;
    if (i < n && Text[i] == QLatin1Char('*'))
        ++i;
    qsizetype end = name(i);
    if (end < n && Text[end] == QLatin1Char(':')) {
        if (end == i)
            return false;
        i = end + 1;
        end = name(i);
    }
    if (end < n && Text[end] == QLatin1Char('/')) {
        if (end == i)
            return false;
        i = end + 1;
        end = name(i);
    } else if (!attribute) {
        return false;
    }
    return end == n && end > i;
}

QString EscapeReferenceMark(const QString &Text, bool SkipSpace)
{
    const qsizetype at = ReferenceMarkToEscape(Text, SkipSpace);
    if (at < 0)
        return Text;
    QString out = Text;
    out.insert(at, QLatin1Char('\\'));
    return out;
}

void AppendEscapedApostrophes(std::string &Out, const char *Value)
{
    bool inQuotes = false;
    for (const char *p = Value;;) {
        const size_t run = std::strcspn(p, "\\\"'");
        Out.append(p, run);
        p += run;
        const char c = *p;
        if (!c)
            return;
        if (c == '\'' && !inQuotes)
            Out.push_back('\\');
        Out.push_back(c);
        ++p;
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '\\' && *p && static_cast<unsigned char>(*p) < 0x80) {
            // A byte of a multi-byte character is never a quote: only an ASCII one needs skipping.
            Out.push_back(*p++);
        }
    }
}

pugi::xml_node AppendChildElement(pugi::xml_node Parent, const char *Name)
{
    pugi::xml_node last;
    for (pugi::xml_node child = Parent.last_child(); child; child = child.previous_sibling())
        if (child.type() == pugi::node_element) {
            last = child;
            break;
        }
    if (last) {
        // The new line repeats the indentation that stands before the last sibling element.
        std::string lineBreak = "\n";
        const pugi::xml_node before = last.previous_sibling();
        if (before.type() == pugi::node_pcdata && IsWhitespaceOnly(before.value())) {
            const std::string ws = before.value();
            const size_t lf = ws.rfind('\n');
            if (lf != std::string::npos)
                lineBreak = ws.substr(lf);
        }
        pugi::xml_node space = Parent.insert_child_after(pugi::node_pcdata, last);
        space.set_value(lineBreak.c_str());
        return Parent.insert_child_after(Name, space);
    }
    std::string indent;
    const pugi::xml_node before = Parent.previous_sibling();
    if (before.type() == pugi::node_pcdata && IsWhitespaceOnly(before.value())) {
        const std::string ws = before.value();
        const size_t lf = ws.rfind('\n');
        if (lf != std::string::npos)
            indent = ws.substr(lf + 1);
    }
    const bool onlySpace = !Parent.first_child()
        || (Parent.first_child() == Parent.last_child() && Parent.first_child().type() == pugi::node_pcdata
            && IsWhitespaceOnly(Parent.first_child().value()));
    if (onlySpace) {
        Parent.remove_children();
        Parent.append_child(pugi::node_pcdata).set_value(("\n" + indent + "  ").c_str());
        pugi::xml_node element = Parent.append_child(Name);
        Parent.append_child(pugi::node_pcdata).set_value(("\n" + indent).c_str());
        return element;
    }
    return Parent.append_child(Name);
}

namespace {

// A hash of the element's name and attributes: what two equal elements must share.
size_t ElementKey(const pugi::xml_node &Element)
{
    size_t hash = 1469598103934665603ull;
    auto mix = [&hash](const char *s) {
        for (; *s; ++s)
            hash = (hash ^ static_cast<unsigned char>(*s)) * 1099511628211ull;
        hash = (hash ^ 0xFF) * 1099511628211ull;
    };
    mix(Element.name());
    for (pugi::xml_attribute a = Element.first_attribute(); a; a = a.next_attribute()) {
        mix(a.name());
        mix(a.value());
    }
    return hash;
}

} // namespace

namespace {

// The XML texts of the target elements. Name and attributes sort out nearly every element cheaply; only those that
// agree are written out, and no further than the longest target, so that deep trees of look-alikes cost no more
// than the targets.
class TEqualTargets
{
public:
    explicit TEqualTargets(const std::vector<pugi::xml_node> &Targets)
    {
        for (const pugi::xml_node &target : Targets) {
            if (!target || target.type() != pugi::node_element)
                continue;
            FKeys.insert(ElementKey(target));
            std::string text = ElementXml(target);
            FLongest = std::max(FLongest, text.size());
            FTexts.insert(std::move(text));
        }
    }

    bool Empty() const { return FTexts.empty(); }

    bool Matches(const pugi::xml_node &Node) const
    {
        if (Node.type() != pugi::node_element || !FKeys.count(ElementKey(Node)))
            return false;
        const std::string text = ElementXml(Node, FLongest);
        return text.size() <= FLongest && FTexts.count(text);
    }

private:
    std::unordered_set<size_t> FKeys;
    std::unordered_set<std::string> FTexts;
    size_t FLongest = 0;
};

} // namespace

std::vector<pugi::xml_node> FindEqualElements(const pugi::xml_node &Start, const std::vector<pugi::xml_node> &Targets)
{
    std::vector<pugi::xml_node> found;
    if (!Start || Targets.empty())
        return found;
    const TEqualTargets targets(Targets);
    if (targets.Empty())
        return found;
    pugi::xml_node n = Start.first_child();
    while (n) {
        const bool match = targets.Matches(n);
        if (match)
            found.push_back(n);
        n = NextNode(n, Start, n.type() == pugi::node_element && !match);
    }
    return found;
}

namespace {

// The whitespace that indents the element's line, or a null node.
pugi::xml_node LineIndentOf(const pugi::xml_node &Element)
{
    const pugi::xml_node before = Element.previous_sibling();
    if (before.type() == pugi::node_pcdata && IsWhitespaceOnly(before.value()) && std::strchr(before.value(), '\n'))
        return before;
    return pugi::xml_node();
}

} // namespace

int DeleteEqualElements(pugi::xml_node Start, const std::vector<pugi::xml_node> &Targets)
{
    const std::vector<pugi::xml_node> found = FindEqualElements(Start, Targets);
    for (const pugi::xml_node &element : found) {
        pugi::xml_node parent = element.parent();
        if (const pugi::xml_node indent = LineIndentOf(element))
            parent.remove_child(indent);
        parent.remove_child(element);
    }
    return int(found.size());
}

std::vector<pugi::xml_node> WithTheirLines(const std::vector<pugi::xml_node> &Elements)
{
    std::vector<pugi::xml_node> nodes;
    nodes.reserve(Elements.size() * 2);
    for (const pugi::xml_node &element : Elements) {
        if (const pugi::xml_node indent = LineIndentOf(element))
            nodes.push_back(indent);
        nodes.push_back(element);
    }
    return nodes;
}

TXmlDocument::TOmitSet OmitWithTheirLines(const std::vector<pugi::xml_node> &Elements)
{
    TXmlDocument::TOmitSet omit;
    for (const pugi::xml_node &node : WithTheirLines(Elements))
        omit.insert(node.internal_object());
    return omit;
}

TCollectionKey CollectionKeyOf(const pugi::xml_node &Element)
{
    if (Element.type() != pugi::node_element)
        return TCollectionKey();
    // Most children are strings: a look at the first letters sends them on.
    const char *name = Element.name();
    const int tag = *name == 'p' ? 1 : *name == 's' ? 2 : *name == 'i' ? 3 : *name == 'a' ? 4 : 0;
    if (tag == 2 && std::strcmp(name, "string") == 0)
        return TCollectionKey();
    static const char *const tags[] = {"", "plurals", "string-array", "integer-array", "array"};
    if (!tag || std::strcmp(name, tags[tag]) != 0)
        return TCollectionKey();
    const pugi::xml_attribute attr = Element.attribute("name");
    return attr ? TCollectionKey{tag, attr.value()} : TCollectionKey();
}

std::unordered_map<TCollectionKey, pugi::xml_node, TCollectionKey::THash> CollectionsOf(const pugi::xml_node &Root)
{
    std::unordered_map<TCollectionKey, pugi::xml_node, TCollectionKey::THash> found;
    for (pugi::xml_node e = Root.first_child(); e; e = e.next_sibling()) {
        const TCollectionKey key = CollectionKeyOf(e);
        if (key.Tag)
            found.emplace(key, e);
    }
    return found;
}

QHash<QString, QString> NamespaceDeclarations(const pugi::xml_node &Element)
{
    QHash<QString, QString> result;
    for (pugi::xml_attribute a = Element.first_attribute(); a; a = a.next_attribute())
        if (std::strncmp(a.name(), "xmlns:", 6) == 0)
            result.insert(ToQ(a.name() + 6), ToQ(a.value()));
    return result;
}

namespace {

void AddOnce(std::vector<std::string> &List, const char *Name, size_t Size)
{
    for (const std::string &known : List)
        if (known.size() == Size && std::memcmp(known.data(), Name, Size) == 0)
            return;
    List.emplace_back(Name, Size);
}

} // namespace

TPrefixUse PrefixesIn(const pugi::xml_node &Start)
{
    TPrefixUse use;
    auto used = [&use](const char *Name) {
        if (const char *colon = std::strchr(Name, ':'))
            AddOnce(use.Used, Name, size_t(colon - Name));
    };
    for (pugi::xml_node n = Start; n; n = NextNode(n, Start)) {
        if (n.type() != pugi::node_element)
            continue;
        used(n.name());
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            if (std::strncmp(a.name(), "xmlns:", 6) == 0) {
                AddOnce(use.Declared, a.name() + 6, std::strlen(a.name() + 6));
                use.DeclaredBelow = use.DeclaredBelow || n != Start;
            } else {
                used(a.name());
            }
        }
    }
    return use;
}

TPrefixUse PrefixesInText(std::string_view Xml)
{
    TPrefixUse use;
    const char *p = Xml.data(), *end = p + Xml.size();
    auto skipPast = [&](const char *From, std::string_view Close) {
        const std::string_view rest(From, size_t(end - From));
        const size_t at = rest.find(Close);
        return at == std::string_view::npos ? end : From + at + Close.size();
    };
    auto name = [&](const char *&At) {
        const char *start = At;
        while (At < end && !IsXmlSpace(*At) && *At != '=' && *At != '/' && *At != '>')
            ++At;
        return std::string_view(start, size_t(At - start));
    };
    auto used = [&](std::string_view Name) {
        const size_t colon = Name.find(':');
        if (colon != std::string_view::npos)
            AddOnce(use.Used, Name.data(), colon);
    };
    bool first = true;
    while ((p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)))) != nullptr) {
        ++p;
        const std::string_view rest(p, size_t(end - p));
        if (rest.substr(0, 3) == "!--") {
            p = skipPast(p, "-->");
            continue;
        }
        if (rest.substr(0, 8) == "![CDATA[") {
            p = skipPast(p, "]]>");
            continue;
        }
        if (p < end && (*p == '?' || *p == '/' || *p == '!')) {
            p = skipPast(p, *p == '?' ? "?>" : ">");
            continue;
        }
        used(name(p));
        for (;;) {
            while (p < end && IsXmlSpace(*p))
                ++p;
            if (p >= end || *p == '/' || *p == '>')
                break;
            const std::string_view attribute = name(p);
            while (p < end && *p != '"' && *p != '\'')
                ++p;
            if (p >= end)
                break;
            const char quote = *p;
            const char *close = static_cast<const char *>(std::memchr(p + 1, quote, size_t(end - p - 1)));
            p = close ? close + 1 : end;
            if (attribute.substr(0, 6) == "xmlns:") {
                AddOnce(use.Declared, attribute.data() + 6, attribute.size() - 6);
                use.DeclaredBelow = use.DeclaredBelow || !first;
            } else {
                used(attribute);
            }
        }
        first = false;
    }
    return use;
}

namespace {

const QHash<QString, QString> &AndroidPrefixes()
{
    static const QHash<QString, QString> android = {
        {QStringLiteral("android"), QStringLiteral("http://schemas.android.com/apk/res/android")},
        {QStringLiteral("tools"), QStringLiteral("http://schemas.android.com/tools")},
        {QStringLiteral("app"), QStringLiteral("http://schemas.android.com/apk/res-auto")},
        {QStringLiteral("xliff"), QStringLiteral("urn:oasis:names:tc:xliff:document:1.2")},
    };
    return android;
}

} // namespace

QString PrefixUri(const QString &Prefix, const QHash<QString, QString> &Known)
{
    if (Prefix == QLatin1String("xml") || Prefix == QLatin1String("xmlns"))
        return QString();
    return Known.value(Prefix, AndroidPrefixes().value(Prefix));
}

std::vector<std::string> PrefixesWithUri(const QHash<QString, QString> &Known)
{
    std::vector<std::string> prefixes;
    for (const QHash<QString, QString> *table : {&Known, &AndroidPrefixes()})
        for (auto it = table->cbegin(); it != table->cend(); ++it)
            if (!PrefixUri(it.key(), Known).isEmpty())
                AddOnce(prefixes, it.key().toUtf8().constData(), size_t(it.key().toUtf8().size()));
    return prefixes;
}

TPrefixUse DeclareUsedPrefixes(TXmlDocument &Doc, const QHash<QString, QString> &Known)
{
    pugi::xml_node root = Doc.Root();
    if (!root)
        return TPrefixUse();
    const TPrefixUse use = PrefixesIn(root);
    // Declared in the order of a hash set filled in the order first used, as files written before have them.
    std::unordered_set<std::string> used;
    for (const std::string &prefix : use.Used)
        used.insert(prefix);
    for (const std::string &prefix : used) {
        if (std::find(use.Declared.begin(), use.Declared.end(), prefix) != use.Declared.end())
            continue;
        const QString uri = PrefixUri(QString::fromStdString(prefix), Known);
        if (uri.isEmpty())
            continue;
        root.append_attribute(("xmlns:" + prefix).c_str()).set_value(ToU8(uri).c_str());
    }
    return use;
}

} // namespace GlossmillXml
