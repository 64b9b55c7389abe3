#include "GlossmillXml.h"

#include "Glossmill_Misc.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace {

// Stands in the tree for a "&#0160;" that a translation holds, so that the writer can put the reference itself
// into the file. U+FDD0 is a noncharacter: real text never holds it.
const QChar RefSentinel(0xFDD0);
const char RefSentinelUtf8[] = "\xEF\xB7\x90";
const QString NbspReference = QStringLiteral("&#0160;");

const unsigned DocumentParseFlags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment
    | pugi::parse_declaration | pugi::parse_comments | pugi::parse_doctype | pugi::parse_pi;
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

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsWhitespaceOnly(const char *s)
{
    for (; *s; ++s)
        if (!IsXmlSpace(*s))
            return false;
    return true;
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

// The general entities that a doctype's internal subset declares ("<!ENTITY name ...>", not "<!ENTITY % name ...>").
std::unordered_set<std::string> DeclaredEntities(const char *Doctype)
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

// Whether a single-byte (or other non-Unicode) encoding can hold a character; answers are kept, since a file repeats
// few distinct characters.
class TCharsetProbe
{
public:
    // Codec empty: Latin-1 when MaxChar is 0xFF, ASCII when it is 0x7F.
    TCharsetProbe(const QByteArray &Codec, char32_t MaxChar) : FCodec(Codec), FMaxChar(MaxChar) {}

    bool CanHold(char32_t c) const
    {
        if (c < 0x80)
            return true;
        if (FCodec.isEmpty())
            return c <= FMaxChar;
        const auto known = FKnown.find(c);
        if (known != FKnown.end())
            return known->second;
        // Held when the character comes back from its bytes unchanged; a substitute ("?") does not.
        const QString text = c > 0xFFFF ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)));
        QStringEncoder encoder(FCodec.constData());
        const QByteArray bytes = encoder.encode(text);
        bool held = !encoder.hasError() && !bytes.isEmpty();
        if (held) {
            QStringDecoder decoder(FCodec.constData());
            const QString back = decoder.decode(bytes);
            held = !decoder.hasError() && back == text;
        }
        FKnown.emplace(c, held);
        return held;
    }

private:
    QByteArray FCodec;
    char32_t FMaxChar;
    mutable std::unordered_map<char32_t, bool> FKnown;
};

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
    void Write(const pugi::xml_node &Start)
    {
        pugi::xml_node n = Start;
        for (;;) {
            if (FOut.size() > FLimit)
                return;
            if (FOmit && FOmit->count(n.internal_object())) {
                // Left out: as if it were an empty leaf.
            } else if (Open(n)) {
                n = n.first_child();
                continue;
            }
            for (;;) {
                if (n == Start)
                    return;
                const pugi::xml_node next = n.next_sibling();
                if (next) {
                    n = next;
                    break;
                }
                n = n.parent();
                Close(n);
            }
        }
    }

private:
    // True when the node's children follow.
    bool Open(const pugi::xml_node &n)
    {
        switch (n.type()) {
        case pugi::node_document:
            return bool(n.first_child());
        case pugi::node_element:
            FOut += '<';
            FOut += n.name();
            Attributes(n);
            if (n.first_child()) {
                FOut += '>';
                return true;
            }
            if (FEmptyTag) {
                const auto form = FEmptyTag->find(n.internal_object());
                if (form != FEmptyTag->end()) {
                    if (form->second == TXmlLayout::ExplicitEnd) {
                        FOut += "></";
                        FOut += n.name();
                        FOut += '>';
                    } else {
                        FOut += form->second;
                        FOut += "/>";
                    }
                    return false;
                }
            }
            FOut += FSpaceBeforeSlash ? " />" : "/>";
            return false;
        case pugi::node_pcdata:
            Escaped(n.value(), 0);
            return false;
        case pugi::node_cdata:
            CData(n.value());
            return false;
        case pugi::node_comment:
            Comment(n.value());
            return false;
        case pugi::node_pi:
            FOut += "<?";
            FOut += n.name();
            if (*n.value()) {
                FOut += ' ';
                FOut += n.value();
            }
            FOut += "?>";
            return false;
        case pugi::node_declaration:
            FOut += "<?";
            FOut += n.name();
            Attributes(n, true);
            FOut += "?>";
            return false;
        case pugi::node_doctype:
            FOut += "<!DOCTYPE";
            if (*n.value()) {
                FOut += ' ';
                FOut += n.value();
            }
            FOut += '>';
            return false;
        default:
            return false;
        }
    }

    void Close(const pugi::xml_node &n)
    {
        if (n.type() != pugi::node_element)
            return;
        FOut += "</";
        FOut += n.name();
        FOut += '>';
    }

    // Raw: the declaration's values, in which no reference stands for a character.
    void Attributes(const pugi::xml_node &n, bool Raw = false)
    {
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            const auto space = FAttrSpace ? FAttrSpace->find(a.internal_object()) : TLayoutMap::const_iterator();
            if (FAttrSpace && space != FAttrSpace->end())
                FOut += space->second;
            else
                FOut += ' ';
            FOut += a.name();
            const char quote = FSingleQuoted && FSingleQuoted->count(a.internal_object()) ? '\'' : '"';
            FOut += '=';
            FOut += quote;
            if (Raw)
                FOut += a.value();
            else
                Escaped(a.value(), quote);
            FOut += quote;
        }
    }

    void Reference(char32_t c)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "&#%u;", unsigned(c));
        FOut += buf;
    }

    // Quote is the attribute's quote character, 0 for text.
    void Escaped(const char *s, char Quote)
    {
        const char *run = s;
        const bool InAttribute = Quote != 0;
        auto flush = [&](const char *upTo) {
            FOut.append(run, size_t(upTo - run));
        };
        while (*s) {
            const unsigned char c = static_cast<unsigned char>(*s);
            const char *replacement = nullptr;
            if (c == '&' && FEntities && IsDeclaredReference(s)) {
                ++s;
                continue;
            }
            if (c == '&')
                replacement = "&amp;";
            else if (c == '<')
                replacement = "&lt;";
            else if (c == '>' && !InAttribute)
                replacement = "&gt;";
            else if (c == '"' && Quote == '"')
                replacement = "&quot;";
            else if (c == '\'' && Quote == '\'')
                replacement = "&apos;";
            if (replacement) {
                flush(s);
                FOut += replacement;
                run = ++s;
                continue;
            }
            if (c < 0x20) {
                if (c == '\r' || (InAttribute && (c == '\t' || c == '\n')) || (c != '\t' && c != '\n')) {
                    flush(s);
                    Reference(c);
                    run = ++s;
                    continue;
                }
                ++s;
                continue;
            }
            if (c < 0x80) {
                ++s;
                continue;
            }
            if (std::strncmp(s, RefSentinelUtf8, 3) == 0) {
                flush(s);
                FOut += "&#0160;";
                s += 3;
                run = s;
                continue;
            }
            int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            for (int i = 1; i < len; ++i)
                if (!s[i]) {
                    len = i;
                    break;
                }
            if (FCharset) {
                char32_t cp = len == 1 ? c : (c & (0xFF >> (len + 1)));
                for (int i = 1; i < len; ++i)
                    cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
                if (!FCharset->CanHold(cp)) {
                    flush(s);
                    Reference(cp);
                    s += len;
                    run = s;
                    continue;
                }
            }
            s += len;
        }
        flush(s);
    }

    // S starts with "&": true when "&name;" follows and the document declares name.
    bool IsDeclaredReference(const char *s) const
    {
        const char *end = s + 1;
        while (*end && *end != ';' && !IsXmlSpace(*end) && *end != '&' && *end != '<' && end - s < 256)
            ++end;
        return *end == ';' && end > s + 1 && FEntities->count(std::string(s + 1, size_t(end - s - 1)));
    }

    // "--" and a final "-" would end a comment too early.
    void Comment(const char *s)
    {
        FOut += "<!--";
        for (; *s; ++s) {
            FOut += *s;
            if (*s == '-' && (s[1] == '-' || !s[1]))
                FOut += ' ';
        }
        FOut += "-->";
    }

    void CData(const char *s)
    {
        // "]]>" cannot stand inside a section, and a reference only outside one.
        std::string value(s);
        FOut += "<![CDATA[";
        size_t pos = 0;
        for (;;) {
            const size_t end = value.find("]]>", pos);
            const size_t ref = value.find(RefSentinelUtf8, pos);
            if (end == std::string::npos && ref == std::string::npos)
                break;
            if (ref < end) {
                FOut.append(value, pos, ref - pos);
                FOut += "]]>&#0160;<![CDATA[";
                pos = ref + 3;
            } else {
                FOut.append(value, pos, end - pos);
                FOut += "]]]]><![CDATA[>";
                pos = end + 3;
            }
        }
        FOut.append(value, pos, std::string::npos);
        FOut += "]]>";
    }

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
};

// Checks UTF-8 and the characters XML 1.0 forbids (controls other than TAB, LF and CR).
void CheckUtf8Text(std::string_view Text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(Text.data());
    const auto *end = p + Text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c >= 0x20 && c < 0x80) {
            ++p;
            continue;
        }
        if (c < 0x80) {
            if (c != '\t' && c != '\n' && c != '\r')
                throw EXmlError("not a text file: control character at offset " + std::to_string(p - reinterpret_cast<const unsigned char *>(Text.data())));
            ++p;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            throw EXmlError("invalid UTF-8 at offset " + std::to_string(p - reinterpret_cast<const unsigned char *>(Text.data())));
        }
        if (end - p < len)
            throw EXmlError("truncated UTF-8 at the end of the file");
        for (int i = 1; i < len; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                throw EXmlError("invalid UTF-8 at offset " + std::to_string(p - reinterpret_cast<const unsigned char *>(Text.data())));
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            throw EXmlError("invalid UTF-8 at offset " + std::to_string(p - reinterpret_cast<const unsigned char *>(Text.data())));
        p += len;
    }
}

// The "encoding" value of an XML declaration at the start of an ASCII-compatible text, empty without one.
QString DeclaredEncoding(const QByteArray &Bytes)
{
    if (!Bytes.startsWith("<?xml"))
        return QString();
    const qsizetype end = Bytes.indexOf("?>");
    if (end < 0)
        return QString();
    const QByteArray decl = Bytes.left(end);
    const qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return QString();
    qsizetype i = at + 8;
    while (i < decl.size() && IsXmlSpace(decl[i]))
        ++i;
    if (i >= decl.size() || decl[i] != '=')
        return QString();
    ++i;
    while (i < decl.size() && IsXmlSpace(decl[i]))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return QString();
    const char quote = decl[i];
    const qsizetype close = decl.indexOf(quote, i + 1);
    if (close < 0)
        return QString();
    return QString::fromLatin1(decl.mid(i + 1, close - i - 1)).trimmed();
}

QString NormalEncodingName(const QString &Name)
{
    return Name.trimmed().toUpper().remove(QLatin1Char('_'));
}

bool IsUtf8Name(const QString &n)
{
    return n.isEmpty() || n == "UTF-8" || n == "UTF8";
}

bool IsLatin1Name(const QString &n)
{
    return n == "ISO-8859-1" || n == "LATIN1" || n == "LATIN-1" || n == "ISO8859-1" || n == "L1";
}

bool IsAsciiName(const QString &n)
{
    return n == "US-ASCII" || n == "ASCII";
}

std::string Decode(QStringDecoder &Decoder, const QByteArray &Bytes, const char *What)
{
    const QString text = Decoder.decode(Bytes);
    if (Decoder.hasError())
        throw EXmlError(std::string("the file is not valid ") + What);
    return text.toStdString();
}

// How a document's text becomes bytes, chosen so that the reader takes the same encoding back.
struct TTargetEncoding
{
    enum TKind { Utf8, Utf16, Utf32, Latin1, Codec } Kind = Utf8;
    bool BigEndian = false;
    bool Bom = false;            // UTF-8 only; UTF-16 and UTF-32 always get one
    char32_t MaxChar = 0x10FFFF; // Latin1: 0xFF, or 0x7F for ASCII
    QByteArray CodecName;
};

TTargetEncoding TargetEncoding(const QString &Declared, const QString &Detected, bool WriteBOM)
{
    TTargetEncoding target;
    const QString name = NormalEncodingName(Declared);
    if (name.startsWith("UTF-16") || name.startsWith("UTF16") || name == "UCS-2") {
        target.Kind = TTargetEncoding::Utf16;
        target.BigEndian = name.endsWith("BE") || (!name.endsWith("LE") && Detected == "UTF-16BE");
    } else if (name.startsWith("UTF-32") || name.startsWith("UTF32")) {
        target.Kind = TTargetEncoding::Utf32;
        target.BigEndian = name.endsWith("BE") || (!name.endsWith("LE") && Detected == "UTF-32BE");
    } else if (IsUtf8Name(name)) {
        target.Bom = WriteBOM;
    } else if (IsLatin1Name(name) || IsAsciiName(name)) {
        target.Kind = TTargetEncoding::Latin1;
        target.MaxChar = IsAsciiName(name) ? 0x7F : 0xFF;
    } else {
        // The reader looks the declared name up as it stands in the file.
        const QByteArray codec = Declared.trimmed().toUtf8();
        const QStringDecoder decoder(codec.constData());
        if (decoder.isValid() && QStringEncoder(codec.constData()).isValid()) {
            // Codec names are matched loosely ("u\uFEFFtf-8" is UTF-8 to the reader as well).
            if (qstrcmp(decoder.name(), "UTF-8") == 0) {
                target.Bom = WriteBOM;
            } else {
                target.Kind = TTargetEncoding::Codec;
                target.CodecName = codec;
            }
        } else if (NormalEncodingName(Detected) != name) {
            // A name no codec knows: the file was read by its byte-order mark, and is written so again.
            target = TargetEncoding(Detected, Detected, true);
            target.Bom = true;
        } else {
            target.Bom = true;
        }
    }
    return target;
}

// The declared entities of the document's doctype, empty without one.
std::unordered_set<std::string> DocumentEntities(const pugi::xml_document &Doc)
{
    for (pugi::xml_node child = Doc.first_child(); child && child.type() != pugi::node_element; child = child.next_sibling())
        if (child.type() == pugi::node_doctype)
            return DeclaredEntities(child.value());
    return {};
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

TXmlDocument::TXmlDocument()
{
    FDetectedEncoding = QStringLiteral("UTF-8");
    NewGeneration();
}

void TXmlDocument::NewGeneration()
{
    static unsigned long long last = 0;
    FGeneration = ++last;
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
    NewGeneration();
    FDoc.reset();
    FLayout = TXmlLayout();
    FDetectedEncoding = QStringLiteral("UTF-8");
    FCRLF = false;
    FSpaceBeforeSlash = true;
}

void TXmlDocument::LoadFromFile(const QString &FileName)
{
    QByteArray bytes;
    QString error;
    if (!ReadRegularFile(FileName, bytes, error))
        throw EXmlError("can not read file " + FileName.toStdString() + ": " + error.toStdString());
    LoadFromBytes(bytes);
}

void TXmlDocument::LoadFromBytes(const QByteArray &Bytes)
{
    Clear();
    const auto *b = reinterpret_cast<const unsigned char *>(Bytes.constData());
    const qsizetype n = Bytes.size();
    std::string utf8;
    auto starts = [&](std::initializer_list<unsigned char> prefix) {
        if (n < qsizetype(prefix.size()))
            return false;
        qsizetype i = 0;
        for (unsigned char c : prefix)
            if (b[i++] != c)
                return false;
        return true;
    };
    std::string_view text;
    if (starts({0xEF, 0xBB, 0xBF})) {
        FDetectedEncoding = QStringLiteral("UTF-8");
        text = std::string_view(Bytes.constData() + 3, size_t(n - 3));
    } else if (starts({0xFF, 0xFE, 0x00, 0x00}) || starts({0x00, 0x00, 0xFE, 0xFF})) {
        const bool le = b[0] == 0xFF;
        FDetectedEncoding = le ? QStringLiteral("UTF-32LE") : QStringLiteral("UTF-32BE");
        QStringDecoder decoder(le ? QStringConverter::Utf32LE : QStringConverter::Utf32BE);
        utf8 = Decode(decoder, Bytes.mid(4), "UTF-32");
    } else if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF}) || starts({0x3C, 0x00, 0x3F, 0x00}) || starts({0x00, 0x3C, 0x00, 0x3F})) {
        const bool le = b[0] == 0xFF || b[0] == 0x3C;
        const bool bom = b[0] == 0xFF || b[0] == 0xFE;
        FDetectedEncoding = le ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16BE");
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        utf8 = Decode(decoder, bom ? Bytes.mid(2) : Bytes, "UTF-16");
    } else {
        const QString declared = DeclaredEncoding(Bytes);
        const QString name = NormalEncodingName(declared);
        if (IsUtf8Name(name)) {
            FDetectedEncoding = QStringLiteral("UTF-8");
            text = std::string_view(Bytes.constData(), size_t(n));
        } else if (IsLatin1Name(name) || IsAsciiName(name)) {
            FDetectedEncoding = declared;
            utf8 = QString::fromLatin1(Bytes).toStdString();
        } else {
            QStringDecoder decoder(declared.toLatin1().constData());
            if (!decoder.isValid())
                throw EXmlError("unsupported encoding " + declared.toStdString());
            FDetectedEncoding = declared;
            utf8 = Decode(decoder, Bytes, declared.toLatin1().constData());
        }
    }
    if (text.data() == nullptr)
        text = utf8;
    CheckUtf8Text(text);
    ParseUtf8(text);
}

void TXmlDocument::LoadFromString(const QString &Text)
{
    Clear();
    const std::string utf8 = Text.toStdString();
    CheckUtf8Text(utf8);
    ParseUtf8(utf8);
}

void TXmlDocument::ParseUtf8(std::string_view Text)
{
    FSizeHint = Text.size();
    const size_t firstLf = Text.find('\n');
    FCRLF = firstLf != std::string::npos && firstLf > 0 && Text[firstLf - 1] == '\r';
    size_t spaced = 0, tight = 0;
    for (size_t pos = Text.find("/>"); pos != std::string::npos; pos = Text.find("/>", pos + 2))
        (pos > 0 && Text[pos - 1] == ' ' ? spaced : tight)++;
    FSpaceBeforeSlash = spaced >= tight;

    const pugi::xml_parse_result result = FDoc.load_buffer(Text.data(), Text.size(), DocumentParseFlags, pugi::encoding_utf8);
    if (!result)
        throw EXmlError(std::string("malformed XML: ") + result.description() + " at offset " + std::to_string(result.offset));

    // Fragment parsing keeps the layout around the root; what it lets through beyond one document is refused here.
    int elements = 0;
    bool first = true;
    for (pugi::xml_node child = FDoc.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_element:
            ++elements;
            break;
        case pugi::node_pcdata:
            if (!IsWhitespaceOnly(child.value()))
                throw EXmlError("malformed XML: text outside the root element");
            break;
        case pugi::node_cdata:
            throw EXmlError("malformed XML: CDATA outside the root element");
        case pugi::node_declaration:
            if (!first)
                throw EXmlError("malformed XML: misplaced XML declaration");
            break;
        default:
            break;
        }
        first = false;
    }
    if (elements != 1)
        throw EXmlError(elements == 0 ? "malformed XML: no root element" : "malformed XML: more than one root element");

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

QByteArray TXmlDocument::Encode(const std::string &Utf8) const
{
    const TTargetEncoding target = TargetEncoding(Encoding(), FDetectedEncoding, FWriteBOM);
    QByteArray out;
    switch (target.Kind) {
    case TTargetEncoding::Utf16: {
        QStringEncoder encoder(target.BigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        out = encoder.encode(QString::fromStdString(Utf8));
        break;
    }
    case TTargetEncoding::Utf32: {
        QStringEncoder encoder(target.BigEndian ? QStringConverter::Utf32BE : QStringConverter::Utf32LE, QStringConverter::Flag::WriteBom);
        out = encoder.encode(QString::fromStdString(Utf8));
        break;
    }
    case TTargetEncoding::Utf8:
        if (target.Bom)
            out = QByteArray("\xEF\xBB\xBF");
        out.append(Utf8.data(), qsizetype(Utf8.size()));
        break;
    case TTargetEncoding::Latin1:
        out = QString::fromStdString(Utf8).toLatin1();
        break;
    case TTargetEncoding::Codec: {
        QStringEncoder encoder(target.CodecName.constData());
        out = encoder.encode(QString::fromStdString(Utf8));
        break;
    }
    }
    return out;
}

bool TXmlDocument::Serialize(std::string &Out, const TOmitSet *Omit) const
{
    const TTargetEncoding target = TargetEncoding(Encoding(), FDetectedEncoding, FWriteBOM);
    std::unique_ptr<TCharsetProbe> charset;
    if (target.Kind == TTargetEncoding::Latin1)
        charset = std::make_unique<TCharsetProbe>(QByteArray(), target.MaxChar);
    else if (target.Kind == TTargetEncoding::Codec)
        charset = std::make_unique<TCharsetProbe>(target.CodecName, 0);
    const std::unordered_set<std::string> entities = DocumentEntities(FDoc);
    Out.clear();
    Out.reserve(FSizeHint + FSizeHint / 8 + 256);
    TXmlWriter(Out, FSpaceBeforeSlash, std::string::npos, charset.get(), &FLayout, Omit, &entities).Write(FDoc);
    if (FCRLF) {
        std::string crlf;
        crlf.reserve(Out.size() + Out.size() / 16);
        for (size_t i = 0; i < Out.size(); ++i) {
            if (Out[i] == '\n' && (i == 0 || Out[i - 1] != '\r'))
                crlf += '\r';
            crlf += Out[i];
        }
        Out.swap(crlf);
    }
    FSizeHint = Out.size();
    return target.Kind == TTargetEncoding::Utf8 && !target.Bom;
}

QByteArray TXmlDocument::SaveToBytes(const TOmitSet *Omit) const
{
    Built();
    std::string text;
    Serialize(text, Omit);
    return Encode(text);
}

QString TXmlDocument::SaveToString() const
{
    Built();
    std::string text;
    const std::unordered_set<std::string> entities = DocumentEntities(FDoc);
    TXmlWriter(text, FSpaceBeforeSlash, std::string::npos, nullptr, &FLayout, nullptr, &entities).Write(FDoc);
    return QString::fromStdString(text);
}

void TXmlDocument::SaveToFile(const QString &FileName, const TOmitSet *Omit, bool CreateNew) const
{
    Built();
    std::string text;
    QByteArray encoded;
    const char *data;
    qint64 size;
    if (Serialize(text, Omit)) {
        data = text.data();
        size = qint64(text.size());
    } else {
        encoded = Encode(text);
        data = encoded.constData();
        size = encoded.size();
    }
    QString error;
    if (!WriteRegularFile(FileName, data, size, CreateNew, error))
        throw EXmlError("can not write file " + FileName.toStdString() + ": " + error.toStdString());
}

void TXmlDocument::Swap(TXmlDocument &Other)
{
    Built();
    Other.Built();
    pugi::xml_document doc(std::move(FDoc));
    FDoc = std::move(Other.FDoc);
    Other.FDoc = std::move(doc);
    std::swap(FLayout, Other.FLayout);
    std::swap(FDetectedEncoding, Other.FDetectedEncoding);
    std::swap(FCRLF, Other.FCRLF);
    std::swap(FSpaceBeforeSlash, Other.FSpaceBeforeSlash);
    std::swap(FWriteBOM, Other.FWriteBOM);
    std::swap(FSizeHint, Other.FSizeHint);
    NewGeneration();
    Other.NewGeneration();
}

void TXmlDocument::Assign(const TXmlDocument &Source, std::vector<pugi::xml_node> *Map)
{
    Source.Built();
    FBuild = nullptr;
    NewGeneration();
    FDoc.reset(Source.FDoc);
    FLayout = TXmlLayout();
    CopyLayout(Source, Source.FDoc, FDoc, Map);
    FDetectedEncoding = Source.FDetectedEncoding;
    FCRLF = Source.FCRLF;
    FSpaceBeforeSlash = Source.FSpaceBeforeSlash;
    FWriteBOM = Source.FWriteBOM;
    FSizeHint = Source.FSizeHint;
}

void TXmlDocument::AssignFrame(const TXmlDocument &Source)
{
    Source.Built();
    Clear();
    const pugi::xml_node sourceRoot = Source.FDoc.document_element();
    for (pugi::xml_node child = Source.FDoc.first_child(); child; child = child.next_sibling()) {
        if (child != sourceRoot) {
            FDoc.append_copy(child);
            continue;
        }
        pugi::xml_node root = FDoc.append_child(child.name());
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute())
            root.append_copy(a);
        // The root alone: its children's layout stays behind with them.
        const auto emptyTag = Source.FLayout.EmptyTag.find(child.internal_object());
        if (emptyTag != Source.FLayout.EmptyTag.end())
            FLayout.EmptyTag.emplace(root.internal_object(), emptyTag->second);
        for (pugi::xml_attribute a = child.first_attribute(), b = root.first_attribute(); a && b;
             a = a.next_attribute(), b = b.next_attribute()) {
            const auto space = Source.FLayout.AttrSpace.find(a.internal_object());
            if (space != Source.FLayout.AttrSpace.end())
                FLayout.AttrSpace.emplace(b.internal_object(), space->second);
            if (Source.FLayout.SingleQuoted.count(a.internal_object()))
                FLayout.SingleQuoted.insert(b.internal_object());
        }
    }
    FDetectedEncoding = Source.FDetectedEncoding;
    FCRLF = Source.FCRLF;
    FSpaceBeforeSlash = Source.FSpaceBeforeSlash;
    FWriteBOM = Source.FWriteBOM;
    FSizeHint = Source.FSizeHint;
}

pugi::xml_node TXmlDocument::AppendCopy(pugi::xml_node Parent, const TXmlDocument &SourceDoc, const pugi::xml_node &Source)
{
    Built();
    SourceDoc.Built();
    pugi::xml_node copy = Parent.append_copy(Source);
    if (copy)
        CopyLayout(SourceDoc, Source, copy);
    return copy;
}

void TXmlDocument::CopyLayout(const TXmlDocument &FromDoc, const pugi::xml_node &From, const pugi::xml_node &To,
                              std::vector<pugi::xml_node> *Map)
{
    const TXmlLayout &source = FromDoc.FLayout;
    const bool layout = !source.AttrSpace.empty() || !source.EmptyTag.empty() || !source.SingleQuoted.empty();
    size_t mapped = 0;
    const size_t toMap = Map ? Map->size() : 0;
    if (!layout) {
        // Nothing to carry over: only the way to the nodes of Map is walked.
        if (toMap)
            GlossmillXml::MapCounterparts(From, To, *Map);
        return;
    }
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
        if (mapped < toMap && (*Map)[mapped] == from)
            (*Map)[mapped++] = to;
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
    // Nodes not met in the walk (not in From's tree, or out of order) have no counterpart.
    for (; mapped < toMap; ++mapped)
        (*Map)[mapped] = pugi::xml_node();
}

pugi::xml_node TXmlDocument::ReplaceWithCopy(pugi::xml_node Target, const TXmlDocument &SourceDoc, const pugi::xml_node &Source)
{
    Built();
    SourceDoc.Built();
    pugi::xml_node parent = Target.parent();
    pugi::xml_node copy = parent.insert_copy_after(Source, Target);
    if (!copy)
        return Target;
    NewGeneration();
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

void MapCounterparts(const pugi::xml_node &From, const pugi::xml_node &To, std::vector<pugi::xml_node> &Nodes)
{
    // One level per ancestor on the way down: its children in both trees, side by side.
    struct TLevel
    {
        pugi::xml_node Parent, From, To;
    };
    std::vector<TLevel> levels{{From, From.first_child(), To.first_child()}};
    size_t i = 0;
    while (i < Nodes.size() && !levels.empty()) {
        TLevel &level = levels.back();
        pugi::xml_node top = Nodes[i];
        while (top && top.parent() != level.Parent)
            top = top.parent();
        if (!top) {
            levels.pop_back();
            continue;
        }
        while (level.From && level.From != top) {
            level.From = level.From.next_sibling();
            level.To = level.To.next_sibling();
        }
        if (!level.From || !level.To) {
            Nodes[i++] = pugi::xml_node();
        } else if (Nodes[i] == level.From) {
            Nodes[i++] = level.To;
        } else {
            const TLevel down{level.From, level.From.first_child(), level.To.first_child()};
            levels.push_back(down);
        }
    }
    for (; i < Nodes.size(); ++i)
        Nodes[i] = pugi::xml_node();
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

std::string ElementXml(const pugi::xml_node &Node, size_t Limit)
{
    std::string out;
    TXmlWriter(out, false, Limit).Write(Node);
    return out;
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

// Whether a value comes back byte for byte from QString and through the reference sentinels: well-formed UTF-8 with
// no "&#0160;" in it; as an Android value, also no apostrophe that EscapeAndroidApostrophes would escape.
bool ValueRoundTrips(const char *Value, bool AndroidValue)
{
    // 0: a byte that needs no look; 1: one that may (the end, "&", a backslash or a quote); 2: the start of a
    // multi-byte sequence or a byte that cannot start one.
    static const auto classes = [] {
        std::array<unsigned char, 256> table{};
        for (int c = 0x80; c < 0x100; ++c)
            table[size_t(c)] = 2;
        for (const unsigned char c : {'\0', '&', '\\', '"', '\''})
            table[c] = 1;
        return table;
    }();
    bool inQuotes = false;
    const auto *p = reinterpret_cast<const unsigned char *>(Value);
    for (;;) {
        while (classes[*p] == 0)
            ++p;
        const unsigned char c = *p;
        if (c == 0)
            return true;
        if (c < 0x80) {
            if (c == '&') {
                if (std::strncmp(reinterpret_cast<const char *>(p), "&#0160;", 7) == 0)
                    return false;
            } else if (AndroidValue) {
                if (c == '\\' && p[1] && p[1] < 0x80) {
                    p += 2;
                    continue;
                }
                if (c == '"')
                    inQuotes = !inQuotes;
                else if (c == '\'' && !inQuotes)
                    return false;
            }
            ++p;
            continue;
        }
        // Well-formed UTF-8 only: no overlong form, no surrogate, nothing beyond U+10FFFF. A NUL where a
        // continuation byte belongs fails the test before anything after it is read.
        auto continuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
        if (c < 0xC2) {
            return false;
        } else if (c < 0xE0) {
            if (!continuation(p[1]))
                return false;
            p += 2;
        } else if (c < 0xF0) {
            const unsigned char low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
            if (p[1] < low || p[1] > high || !continuation(p[2]))
                return false;
            p += 3;
        } else if (c < 0xF5) {
            const unsigned char low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
            if (p[1] < low || p[1] > high || !continuation(p[2]) || !continuation(p[3]))
                return false;
            p += 4;
        } else {
            return false;
        }
    }
}

bool IsSplitSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

bool ContentRoundTrips(const pugi::xml_node &Element, tContentKind Kind)
{
    const pugi::xml_node child = Element.first_child();
    if (!child)
        return Kind != ckCData && Kind != ckMarkup;
    if (child.next_sibling())
        return false;
    switch (Kind) {
    case ckPlain:
    case ckEscapedMarkup:
        return child.type() == pugi::node_pcdata && ValueRoundTrips(child.value(), true);
    case ckCData: {
        // Written back as whitespace, a section and whitespace: one section with no whitespace at its ends.
        const char *value = child.value();
        const size_t size = std::strlen(value);
        return child.type() == pugi::node_cdata && size > 0 && !IsSplitSpace(value[0]) && !IsSplitSpace(value[size - 1])
            && ValueRoundTrips(value, true);
    }
    default:
        return false;
    }
}

bool AttributeRoundTrips(const pugi::xml_attribute &Attr)
{
    return ValueRoundTrips(Attr.value(), false);
}

namespace {

// Parses Text as element content; false unless it is well-formed and safe to put inside an element.
bool ParseFragment(const std::string &Text, pugi::xml_document &Fragment, bool NeedElement)
{
    const pugi::xml_parse_result result = Fragment.load_buffer(Text.data(), Text.size(), FragmentParseFlags, pugi::encoding_utf8);
    if (!result)
        return false;
    bool element = false;
    for (pugi::xml_node n = Fragment.first_child(); n; n = NextNode(n, Fragment)) {
        switch (n.type()) {
        case pugi::node_declaration:
        case pugi::node_doctype:
            return false;
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
            if (AndroidValue)
                EscapeTextNodes(Element);
            return;
        }
    }
    bool inQuotes = false;
    if (Kind == ckCData) {
        QString header, core, trailer;
        SplitWhiteSpace(text, header, trailer, core);
        if (AndroidValue)
            core = EscapeAndroidApostrophes(core, inQuotes);
        if (!header.isEmpty())
            Element.append_child(pugi::node_pcdata).set_value(ToU8(header).c_str());
        Element.append_child(pugi::node_cdata).set_value(ToU8(core).c_str());
        if (!trailer.isEmpty())
            Element.append_child(pugi::node_pcdata).set_value(ToU8(trailer).c_str());
        return;
    }
    const QString value = AndroidValue ? EscapeAndroidApostrophes(text, inQuotes) : text;
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

std::vector<pugi::xml_node> FindEqualElementsAmong(const std::vector<pugi::xml_node> &Candidates,
                                                   const std::vector<pugi::xml_node> &Targets)
{
    std::vector<pugi::xml_node> found;
    const TEqualTargets targets(Targets);
    if (targets.Empty())
        return found;
    for (const pugi::xml_node &candidate : Candidates)
        if (targets.Matches(candidate))
            found.push_back(candidate);
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

TXmlDocument::TOmitSet OmitWithTheirLines(const std::vector<pugi::xml_node> &Elements)
{
    TXmlDocument::TOmitSet omit;
    omit.reserve(Elements.size() * 2);
    for (const pugi::xml_node &element : Elements) {
        omit.insert(element.internal_object());
        if (const pugi::xml_node indent = LineIndentOf(element))
            omit.insert(indent.internal_object());
    }
    return omit;
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

QString PrefixUri(const QString &Prefix, const QHash<QString, QString> &Known)
{
    static const QHash<QString, QString> android = {
        {QStringLiteral("android"), QStringLiteral("http://schemas.android.com/apk/res/android")},
        {QStringLiteral("tools"), QStringLiteral("http://schemas.android.com/tools")},
        {QStringLiteral("app"), QStringLiteral("http://schemas.android.com/apk/res-auto")},
        {QStringLiteral("xliff"), QStringLiteral("urn:oasis:names:tc:xliff:document:1.2")},
    };
    if (Prefix == QLatin1String("xml") || Prefix == QLatin1String("xmlns"))
        return QString();
    return Known.value(Prefix, android.value(Prefix));
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
