#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <pugixml.hpp>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Raised by the document's file and text operations; what() says what failed and where.
class EXmlError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// How a string's text stood in its own file, so that writing it back keeps that form.
enum tContentKind : unsigned char {
    ckPlain = 0,         // text only
    ckEscapedMarkup = 1, // text only, holding "<" written as "&lt;"
    ckCData = 2,         // text in CDATA sections
    ckMarkup = 3,        // child elements (or comments) among the text
};

// The text of an element as the model sees it: inner XML for markup, decoded characters otherwise.
struct TXmlContent
{
    QString Text;
    tContentKind Kind = ckPlain;
};

// What the tree does not hold of a file's layout, by node: where it differs from the usual, the whitespace before an
// attribute (attributes on lines of their own), and how a childless element closed ("/>" after that whitespace, or
// ExplicitEnd for "<x></x>"), and the attributes in single quotes.
struct TXmlLayout
{
    static constexpr const char *ExplicitEnd = "></";
    std::unordered_map<const void *, std::string> AttrSpace;
    std::unordered_map<const void *, std::string> EmptyTag;
    std::unordered_set<const void *> SingleQuoted;
};

// One resource file held as an XML document over pugixml. Every load decodes the predefined entities and character
// references (a reference to an entity of the file's own doctype stays as it is: no entity, external ones least of
// all, is ever expanded); every save escapes the markup characters of text and attribute values but for such
// references, and keeps the file's own layout (whitespace text is never dropped, nothing is re-indented), its line
// ends and its style of empty-element tags.
class TXmlDocument
{
public:
    TXmlDocument();
    TXmlDocument(const TXmlDocument &) = delete;
    TXmlDocument &operator=(const TXmlDocument &) = delete;

    // An empty document: no prolog, no root.
    void Clear();

    // Unreadable file, or anything but a regular file (a folder, a device, a FIFO): throws before the document changes. Undecodable text or malformed XML (also anything that is
    // not exactly one root element with whitespace around it): throws after; what was parsed so far stays.
    void LoadFromFile(const QString &FileName);
    // The encoding is detected from the byte-order mark and the XML declaration, as for a file.
    void LoadFromBytes(const QByteArray &Bytes);
    void LoadFromString(const QString &Text);

    // Nodes (by internal object) that a save leaves out of what it writes; the document keeps them.
    using TOmitSet = std::unordered_set<const void *>;

    // A document written from parts: this document's nodes around its root and its root's start tag, with the
    // children of Body's root under it; an element of Contents is written with the children of the element paired
    // with it, one of Replacements as that node, one of Texts with that text. Each list in document order of Body's
    // elements, none inside another.

    // An element written with one text (or CDATA section) as its content.
    struct TTextPart
    {
        pugi::xml_node Element;
        const char *Text = nullptr; // empty: the element is written empty
        bool CData = false;
    };
    struct TParts
    {
        const TXmlDocument *Body = nullptr;
        std::vector<std::pair<pugi::xml_node, pugi::xml_node>> Contents, Replacements;
        std::vector<TTextPart> Texts;        // like Contents, with the text itself
        std::vector<pugi::xml_node> LeftOut; // Body's nodes left out of what is written, in document order
    };

    // Writes in the declaration's encoding, else the one detected on load (UTF-8 for a new document); a declared name
    // no codec knows is written as it was read, by its byte-order mark. Characters the encoding cannot hold become
    // character references. Throws EXmlError when the file cannot be written: never through a link or into anything
    // but a regular file, and with CreateNew never over anything already there. With Parts, the document of parts.
    void SaveToFile(const QString &FileName, const TOmitSet *Omit = nullptr, bool CreateNew = false,
                    const TParts *Parts = nullptr) const;
    QByteArray SaveToBytes(const TOmitSet *Omit = nullptr, const TParts *Parts = nullptr) const;
    QString SaveToString() const;

    // Copies the whole tree and the writing style of Source. Map, when given, holds nodes of Source in document order;
    // each becomes its counterpart in the copy.
    void Assign(const TXmlDocument &Source, std::vector<pugi::xml_node> *Map = nullptr);
    // Copies Source's writing style and the nodes around its root, the root element without its children (their
    // layout with them): a frame into which parts of Source's tree can be put.
    void AssignFrame(const TXmlDocument &Source);
    // Appends a copy of Source, a node of SourceDoc, with its layout, as Parent's last child; returns the copy.
    pugi::xml_node AppendCopy(pugi::xml_node Parent, const TXmlDocument &SourceDoc, const pugi::xml_node &Source);
    // Exchanges the contents of two documents; node handles stay with their trees.
    void Swap(TXmlDocument &Other);
    // Puts a copy of Source, an element of SourceDoc, with its layout, in Target's place; returns the copy.
    pugi::xml_node ReplaceWithCopy(pugi::xml_node Target, const TXmlDocument &SourceDoc, const pugi::xml_node &Source);

    // UTF-8 files get a byte-order mark only when this is set; UTF-16 files always get one, as XML wants.
    bool WriteBOM() const
    {
        Built();
        return FWriteBOM;
    }
    void setWriteBOM(bool Value)
    {
        Built();
        FWriteBOM = Value;
    }

    // A document whose tree is made when it is first used: until then it is empty, and Build fills it then. A load
    // or Clear drops Build unused.
    void Defer(std::function<void(TXmlDocument &)> Build);
    bool Deferred() const { return bool(FBuild); }

    // The document element; a null node when the document has none.
    pugi::xml_node Root() const;
    // The declaration, comments, processing instructions and doctype before the root, in document order.
    std::vector<pugi::xml_node> Prolog() const;
    // Appends a comment right before the root, on a line of its own; a declaration is added first when the prolog has
    // none.
    pugi::xml_node AddPrologComment(const QString &Text);

    // Gives this document From's doctype (before the root, in place of its own), so that references to the entities
    // From declares stay references; declarations only this document's doctype has are kept in it. Nothing happens
    // when From has no doctype.
    void TakeDoctype(const TXmlDocument &From);

    // The declaration's "encoding", else the name of the encoding detected on load.
    QString Encoding() const;
    // Sets the declaration's "encoding"; adds a declaration when there is none.
    void setEncoding(const QString &Value);

    // A character in a text or an attribute value of the last load that a save would not write back as it was read: a
    // reference to no character (0, a surrogate, beyond U+10FFFF), which pugixml holds as bytes that are not UTF-8 or,
    // for 0, as the end of that text (CutsText); or U+FDD0, which stands for "&#0160;" inside the writer. Valid until
    // the tree changes.
    struct TUnwritable
    {
        pugi::xml_node Node; // the text, or the element of the attribute
        pugi::xml_attribute Attribute;
        bool CutsText = false;
    };
    const std::vector<TUnwritable> &Unwritable() const { return FUnwritable; }

    // Changes whenever the tree is replaced or a part of it is (a load, Clear, Swap, Assign, ReplaceWithCopy): node
    // handles taken before may then lead nowhere. Never 0.
    unsigned long long Generation() const { return FGeneration; }

    pugi::xml_document &Document()
    {
        Built();
        return FDoc;
    }
    const pugi::xml_document &Document() const
    {
        Built();
        return FDoc;
    }

private:
    pugi::xml_node EnsureDeclaration();
    // Carries the layout of From's tree (in FromDoc) over to To's tree, a copy of the same shape, and turns the nodes of
    // Map (From's, in document order) into To's.
    void CopyLayout(const TXmlDocument &FromDoc, const pugi::xml_node &From, const pugi::xml_node &To,
                    std::vector<pugi::xml_node> *Map = nullptr);
    void NewGeneration();
    // Makes a deferred tree now.
    void Built() const;
    class TParseBuffer;
    // Owned: the buffer that holds Bytes, for the document to take over; null when they are the caller's.
    void LoadBytes(QByteArrayView Bytes, TParseBuffer *Owned);
    // Text is UTF-8; the document takes it over when it can parse it in place.
    void ParseUtf8(TParseBuffer &Text);
    // The file's text in UTF-8, line ends as the file had them; true when those are already the file's bytes.
    bool Serialize(std::string &Out, const TOmitSet *Omit, const TParts *Parts = nullptr) const;
    QByteArray Encode(const std::string &Utf8) const;

    pugi::xml_document FDoc;
    TXmlLayout FLayout;
    QString FDetectedEncoding;
    bool FCRLF = false;            // the file's line ends were CR LF
    bool FSpaceBeforeSlash = true; // empty elements are written "<x />" rather than "<x/>"
    bool FWriteBOM = false;
    mutable size_t FSizeHint = 0; // the last text's size, to write the next one without regrowing
    unsigned long long FGeneration = 0;
    mutable std::function<void(TXmlDocument &)> FBuild;
    std::vector<TUnwritable> FUnwritable;
};

namespace GlossmillXml {

QString ToQ(const char *Utf8);
std::string ToU8(const QString &Text);

// The part of a name after its first colon, and the part before it (empty without a colon).
QString LocalName(const pugi::xml_node &Node);
QString Prefix(const pugi::xml_node &Node);
QString LocalName(const pugi::xml_attribute &Attr);
QString Prefix(const pugi::xml_attribute &Attr);
bool LocalNameIs(const char *Name, const char *Local);

// The first attribute whose local name is exactly Local; a null attribute when there is none.
pugi::xml_attribute FindAttribute(const pugi::xml_node &Element, const char *Local);

// The element alone as XML text, without indentation of its own. When the text would grow beyond Limit bytes the
// result stops there (it is then longer than Limit), which is enough to tell it from any shorter text.
std::string ElementXml(const pugi::xml_node &Node, size_t Limit = std::string::npos);

// Reads the element's content; see tContentKind.
TXmlContent ReadContent(const pugi::xml_node &Element);
// Whether WriteContent, given what ReadContent reads from the element (whitespace included, as an Android value),
// would write back the very content it holds: text and CDATA that need no escape and no reference. Markup is not
// judged: false. Given Escape, a content that differs only by apostrophes to escape counts as well, and sets it:
// AppendEscapedApostrophes on its one node's value gives what WriteContent would write.
bool ContentRoundTrips(const pugi::xml_node &Element, tContentKind Kind, bool *Escape = nullptr);
// The same for WriteAttribute and ReadAttribute.
bool AttributeRoundTrips(const pugi::xml_attribute &Attr);
// Replaces the element's content by Text written in the form Kind: markup is written as markup only when it is a
// well-formed fragment (plain text holding one becomes markup), else as escaped text. "&#0160;" reaches the file
// as that reference. With AndroidValue, an apostrophe outside double quotes and not escaped gets a backslash.
void WriteContent(pugi::xml_node Element, const QString &Text, tContentKind Kind, bool AndroidValue);
// Sets an attribute's value; "&#0160;" reaches the file as that reference.
void WriteAttribute(pugi::xml_attribute Attr, const QString &Value);
// An attribute's value as the model sees it (the counterpart of WriteAttribute).
QString ReadAttribute(const pugi::xml_attribute &Attr);

// The node after Node in document order within Start's tree, entering Node's children only when Descend is set;
// a null node after the last one.
pugi::xml_node NextNode(const pugi::xml_node &Node, const pugi::xml_node &Start, bool Descend = true);

// Turns Nodes (of From's tree, in document order) into their counterparts in To's tree, a copy of the same shape,
// walking only the siblings on the way to them; a node not found that way becomes a null node.
void MapCounterparts(const pugi::xml_node &From, const pugi::xml_node &To, std::vector<pugi::xml_node> &Nodes);

// Adds a backslash before every apostrophe that no backslash escapes and that stands outside a double-quoted
// section; InQuotes carries the quoting state across the pieces of one value.
QString EscapeAndroidApostrophes(const QString &Text, bool &InQuotes);
// The same on a UTF-8 value of one piece, appended to Out.
void AppendEscapedApostrophes(std::string &Out, const char *Value);

// Whether Android's build reads the text as a reference rather than as text: "@null", "@empty",
// "@[+][*][package:]type/name" or "?[*][package:][type/]name", names of letters, digits, "_", "." and "-".
bool IsAndroidReference(QStringView Text);
// A text that begins with "@" or "?" (after whitespace, with SkipSpace) and is no reference gets a backslash before
// that character, so that the build takes it as text; any other text is returned as it is.
QString EscapeReferenceMark(const QString &Text, bool SkipSpace);

// Appends a new empty element as Parent's last child element, indented like its siblings.
pugi::xml_node AppendChildElement(pugi::xml_node Parent, const char *Name);

// Every element below Start (never Start itself) whose XML text equals that of one of Targets, outermost only, in
// document order. Costs one walk over Start's tree.
std::vector<pugi::xml_node> FindEqualElements(const pugi::xml_node &Start, const std::vector<pugi::xml_node> &Targets);
// The same among Candidates alone (in their order): for a caller that knows which elements could be equal to a target.
std::vector<pugi::xml_node> FindEqualElementsAmong(const std::vector<pugi::xml_node> &Candidates,
                                                   const std::vector<pugi::xml_node> &Targets);
// Removes what FindEqualElements finds, each with the indentation of its line; returns the number removed.
int DeleteEqualElements(pugi::xml_node Start, const std::vector<pugi::xml_node> &Targets);
// The nodes to leave out of a save for these elements: each with the indentation of its line.
TXmlDocument::TOmitSet OmitWithTheirLines(const std::vector<pugi::xml_node> &Elements);
// The same as a list: the indentation of each element's line (where there is one) before the element.
std::vector<pugi::xml_node> WithTheirLines(const std::vector<pugi::xml_node> &Elements);

// The namespace declarations ("xmlns:p") on the element, by prefix.
QHash<QString, QString> NamespaceDeclarations(const pugi::xml_node &Element);
// The namespace prefixes that the names of Start's tree (Start included) use, each once in the order first met, and
// those that its "xmlns:" attributes declare; DeclaredBelow: some declaration stands on an element other than Start.
struct TPrefixUse
{
    std::vector<std::string> Used, Declared;
    bool DeclaredBelow = false;
};
TPrefixUse PrefixesIn(const pugi::xml_node &Start);
// The URI a prefix is declared with: from Known, else the one Android files use; empty for xml, xmlns and the unknown.
QString PrefixUri(const QString &Prefix, const QHash<QString, QString> &Known);
// Declares on the root every prefix that the document uses but declares nowhere, taking the URI from PrefixUri; a
// prefix of unknown URI stays as it is. Returns what the root's tree used and declared before.
TPrefixUse DeclareUsedPrefixes(TXmlDocument &Doc, const QHash<QString, QString> &Known);

} // namespace GlossmillXml
