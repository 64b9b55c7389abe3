#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <pugixml.hpp>
#include <functional>
#include <memory>
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

namespace GlossmillXml {
class TWriteMarks;
namespace Impl {
class TXmlWriter;
}
} // namespace GlossmillXml

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
    // LastWrite, when given, receives the file's last write as it was read (ns since 1970). KnownRegular: the caller
    // has just seen a regular file (not a link) there. LayoutLater: the file's layout is read only when something first
    // needs it, and until then its text as read stays (SourceText).
    void LoadFromFile(const QString &FileName, qint64 *LastWrite = nullptr, bool KnownRegular = false,
                      bool LayoutLater = false);
    // The text of an element of the file loaded with LayoutLater, as the file held it; empty where that cannot be told
    // (its layout read since, an element made since, one with nothing after it among its siblings).
    std::string_view SourceText(const pugi::xml_node &Element) const;
    bool SpaceBeforeSlash() const { return FSpaceBeforeSlash; }
    // The encoding is detected from the byte-order mark and the XML declaration, as for a file.
    void LoadFromBytes(const QByteArray &Bytes);
    void LoadFromString(const QString &Text);

    // Nodes (by internal object) that a save leaves out of what it writes; the document keeps them.
    using TOmitSet = std::unordered_set<const void *>;

    // Writes in the declaration's encoding, else the one detected on load (UTF-8 for a new document); a declared name
    // no codec knows is written as it was read, by its byte-order mark. Characters the encoding cannot hold become
    // character references. Throws EXmlError when the file cannot be written: never through a link or into anything
    // but a regular file, and with CreateNew never over anything already there.
    void SaveToFile(const QString &FileName, const TOmitSet *Omit = nullptr, bool CreateNew = false) const;
    QByteArray SaveToBytes(const TOmitSet *Omit = nullptr) const;
    QString SaveToString() const;

    // What a text put together from pieces (TPieceWriter) needs to come out as a save of this document writes it.
    struct TStyle
    {
        bool SpaceBeforeSlash = true; // the usual form of an empty element
        bool CRLF = false;            // line ends are written CR LF
        bool Utf8 = true;             // written in UTF-8 (a byte-order mark aside): no charset to hold the text to
        std::unordered_set<std::string> Entities; // declared by the doctype: references to them stay references
    };
    TStyle Style() const;
    // The text a save writes, before its line ends and its encoding; Marks is told where each node stands in it.
    std::string MarkedText(GlossmillXml::TWriteMarks &Marks) const;
    // A node of this document with its descendants and their layout, as a save of a document of Style would write it.
    std::string NodeText(const pugi::xml_node &Node, const TStyle &Style) const;
    // The size of the text last read or written, in UTF-8.
    size_t TextSize() const { return FSizeHint; }
    // The text read held a character reference, which may stand for what no well-formed UTF-8 holds (a lone
    // surrogate): only then can a value of the tree be ill-formed.
    bool HeldReferences() const { return FHeldReferences; }
    // How the element would end if it had no content: its empty-element form, as this document writes it.
    std::string EmptyEnd(const pugi::xml_node &Element) const;
    // Loads UTF-8 text that a document of that style wrote (one element, or a whole document before its line ends):
    // its layout is read against the usual empty element given, and its line ends are written CR LF when CRLF is set,
    // so that writing it again in that style gives the text back.
    void LoadPiece(const std::string &Text, bool SpaceBeforeSlash, bool CRLF);

    // Copies the whole tree and the writing style of Source.
    void Assign(const TXmlDocument &Source);
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
    // Carries the layout of From's tree (in FromDoc) over to To's tree, a copy of the same shape.
    void CopyLayout(const TXmlDocument &FromDoc, const pugi::xml_node &From, const pugi::xml_node &To);
    // Makes a deferred tree now.
    void Built() const;
    class TParseBuffer;
    // Owned: the buffer that holds Bytes, for the document to take over; null when they are the caller's.
    void LoadBytes(QByteArrayView Bytes, TParseBuffer *Owned, bool LayoutLater = false);
    // Text is UTF-8; the document takes it over when it can parse it in place. SpaceBeforeSlash: 1 or 0 to take that
    // as the usual form of empty elements, -1 to count which form the text uses more.
    void ParseUtf8(TParseBuffer &Text, int SpaceBeforeSlash = -1, bool LayoutLater = false);
    // Reads the layout that a load with LayoutLater left for later.
    void EnsureLayout() const;
    // The file's text in UTF-8, line ends as the file had them; true when those are already the file's bytes.
    bool Serialize(std::string &Out, const TOmitSet *Omit) const;
    QByteArray Encode(const std::string &Utf8) const;

    pugi::xml_document FDoc;
    mutable TXmlLayout FLayout;
    // While the layout waits: the text as read, and where the tree's names lie in the text parsed in place.
    mutable bool FLayoutPending = false;
    mutable std::string FRawText;
    const char *FParsedText = nullptr;
    QString FDetectedEncoding;
    bool FCRLF = false;            // the file's line ends were CR LF
    bool FSpaceBeforeSlash = true; // empty elements are written "<x />" rather than "<x/>"
    bool FWriteBOM = false;
    bool FHeldReferences = false;
    mutable size_t FSizeHint = 0; // the last text's size, to write the next one without regrowing
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
// The same for XML text as a writer writes it (its start tags' names and attributes), in the same order.
TPrefixUse PrefixesInText(std::string_view Xml);
// The URI a prefix is declared with: from Known, else the one Android files use; empty for xml, xmlns and the unknown.
QString PrefixUri(const QString &Prefix, const QHash<QString, QString> &Known);
// Every prefix that PrefixUri gives a URI for.
std::vector<std::string> PrefixesWithUri(const QHash<QString, QString> &Known);
// Declares on the root every prefix that the document uses but declares nowhere, taking the URI from PrefixUri; a
// prefix of unknown URI stays as it is. Returns what the root's tree used and declared before.
TPrefixUse DeclareUsedPrefixes(TXmlDocument &Doc, const QHash<QString, QString> &Known);

// A plurals or array element among a resources root's children, known by its tag (1 plurals, 2 string-array,
// 3 integer-array, 4 array; 0 for any other element) and its name's bytes (valid while its document is).
struct TCollectionKey
{
    int Tag = 0;
    std::string_view Name;
    bool operator==(const TCollectionKey &Other) const { return Tag == Other.Tag && Name == Other.Name; }
    struct THash
    {
        size_t operator()(const TCollectionKey &Key) const { return std::hash<std::string_view>()(Key.Name) ^ size_t(Key.Tag); }
    };
};
TCollectionKey CollectionKeyOf(const pugi::xml_node &Element);
// The first element of each key among Root's children.
std::unordered_map<TCollectionKey, pugi::xml_node, TCollectionKey::THash> CollectionsOf(const pugi::xml_node &Root);

// Told where a writer stands in its text (offsets) as it writes a document, for a caller that keeps where the
// document's parts lie in the bytes. Each node is told in document order; a node left out of the text is not.
class TWriteMarks
{
public:
    virtual ~TWriteMarks() = default;
    virtual void NodeStart(const pugi::xml_node &Node, size_t At) = 0;
    // After the node's last byte.
    virtual void NodeEnd(const pugi::xml_node &Node, size_t At) = 0;
    // An element's start tag after its last attribute, before its ">" (or the end of an empty element).
    virtual void AttributesEnd(const pugi::xml_node &Element, size_t At) = 0;
    // Before an element's end tag.
    virtual void ContentEnd(const pugi::xml_node &Element, size_t At) = 0;
    // Between the quotes.
    virtual void AttributeValue(const pugi::xml_attribute &Attr, size_t Start, size_t End) = 0;
};

// Appends to a text piece by piece in a document's style (TXmlDocument::TStyle): bytes as they are, and texts,
// attribute values, comments and nodes escaped and written as a save of that document writes them (nodes without
// layout of their own). Out has its final text when the writer is gone.
class TPieceWriter
{
public:
    TPieceWriter(std::string &Out, const TXmlDocument::TStyle &Style);
    ~TPieceWriter();
    TPieceWriter(const TPieceWriter &) = delete;
    TPieceWriter &operator=(const TPieceWriter &) = delete;

    void Bytes(const char *Data, size_t Size);
    void Bytes(std::string_view Data) { Bytes(Data.data(), Data.size()); }
    // The text of an element, escaped.
    void Text(const char *Utf8);
    // The same for an Android value: its apostrophes escaped as well, as EscapeAndroidApostrophes does.
    void AndroidText(const char *Utf8);
    // An attribute's value between quotes of the kind given.
    void AttributeValue(const char *Utf8, char Quote);
    // A whole comment with this value.
    void Comment(const char *Utf8);
    // The node with everything below it.
    void Node(const pugi::xml_node &Node);
    size_t Size() const;

private:
    std::unique_ptr<Impl::TXmlWriter> FWriter;
};

// Whether a save of a document of Style writes an element as the text a file held it in (Source, the element whole),
// read with its layout in a file whose usual empty element had a space before its slash or not: nothing in it that
// the reading would change (references, entities but the predefined and declared ones, ">" in text, blanks in a tag
// that no layout keeps, line ends of CR, processing instructions) and no empty element of the file's usual form that
// the document writes otherwise.
bool WrittenAsItStands(std::string_view Source, const TXmlDocument::TStyle &Style, bool SourceSpaceBeforeSlash);

// Gives every LF that no CR stands before a CR, as a save of a document with CR LF line ends does.
void AddCarriageReturns(std::string &Text);

} // namespace GlossmillXml
