#include "GlossmillXmlWriter.h"

#include "Glossmill_Misc.h"
#include "GlossmillXmlShared.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstring>
#include <memory>

namespace GlossmillXml::Impl {

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
        if (c < FSmall.size() && FSmall[c])
            return FSmall[c] > 0;
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
        if (c < FSmall.size())
            FSmall[c] = held ? 1 : -1;
        else
            FKnown.emplace(c, held);
        return held;
    }

private:
    QByteArray FCodec;
    char32_t FMaxChar;
    // The alphabets of the code pages, looked up without hashing: 1 held, -1 not, 0 not asked yet.
    mutable std::array<signed char, 0x800> FSmall{};
    mutable std::unordered_map<char32_t, bool> FKnown;
};

namespace {

// What a byte of a text or attribute value asks of the writer.
enum TByteClass : unsigned char {
    bcPlain = 0,    // copied as it is
    bcEnd,          // the terminating NUL
    bcAmp,
    bcLt,
    bcGt,
    bcQuot,
    bcApos,
    bcReference,    // a control character, written as a character reference
    bcSentinelLead, // 0xEF: may start RefSentinelUtf8
    bcMultiByte,    // starts a character that the target's charset may not hold
    bcBackslash,    // an Android value's: the character after it stands as it is
    bcTextQuote,    // an Android value's: starts or ends a quoted part
    bcTextApos,     // an Android value's: escaped outside a quoted part
};

// One table per kind of value (text, attribute in double quotes, in single quotes) and target (UTF-8, or a charset
// that needs every non-ASCII character checked), so that the writer finds the next byte that needs work with one
// look-up per byte.
struct TEscapeTables
{
    unsigned char Class[7][256] = {};

    constexpr TEscapeTables()
    {
        for (int table = 0; table < 6; ++table) {
            const int quote = table % 3; // 0 text, 1 '"', 2 '\''
            const bool charset = table >= 3;
            unsigned char *c = Class[table];
            c[0] = bcEnd;
            for (int b = 1; b < 0x20; ++b)
                if (quote != 0 || (b != '\t' && b != '\n'))
                    c[b] = bcReference;
            c['&'] = bcAmp;
            c['<'] = bcLt;
            if (quote == 0)
                c['>'] = bcGt;
            if (quote == 1)
                c['"'] = bcQuot;
            if (quote == 2)
                c['\''] = bcApos;
            if (charset)
                for (int b = 0x80; b < 0x100; ++b)
                    c[b] = bcMultiByte;
            c[0xEF] = bcSentinelLead;
        }
        // Text of an Android value in UTF-8.
        unsigned char *android = Class[6];
        for (int b = 0; b < 256; ++b)
            android[b] = Class[0][b];
        android['\\'] = bcBackslash;
        android['"'] = bcTextQuote;
        android['\''] = bcTextApos;
    }

    const unsigned char *For(char Quote, bool Charset) const
    {
        return Class[(Quote == '"' ? 1 : Quote == '\'' ? 2 : 0) + (Charset ? 3 : 0)];
    }
};

constexpr TEscapeTables EscapeTables;

} // namespace

void TXmlWriter::Write(const pugi::xml_node &Start)
{
    // Only the document can be the parent that is not an element, and only when the walk starts there.
    const bool startIsDocument = Start.type() == pugi::node_document;
    pugi::xml_node n = Start;
    for (;;) {
        if (FOut.size() > FLimit)
            return;
        if (!FOmit || !FOmit->count(n.internal_object())) {
            if (FMarks && n != Start)
                FMarks->NodeStart(n, FOut.size());
            const pugi::xml_node child = Open(n);
            if (child) {
                n = child;
                continue;
            }
            if (FMarks && n != Start)
                FMarks->NodeEnd(n, FOut.size());
        }
        // Left out, or done with: on to what follows it.
        for (;;) {
            if (n == Start)
                return;
            const pugi::xml_node next = n.next_sibling();
            if (next) {
                n = next;
                break;
            }
            n = n.parent();
            if (n != Start || !startIsDocument)
                Close(n);
        }
    }
}

pugi::xml_node TXmlWriter::Open(const pugi::xml_node &n)
{
    switch (n.type()) {
    case pugi::node_document:
        return n.first_child();
    case pugi::node_element:
    {
        const pugi::xml_node first = n.first_child();
        OpenElement(n, bool(first));
        return first;
    }
    case pugi::node_pcdata:
        Escaped(n.value(), 0);
        break;
    case pugi::node_cdata:
        CData(n.value());
        break;
    case pugi::node_comment:
        Comment(n.value());
        break;
    case pugi::node_pi:
        FOut += "<?";
        FOut += n.name();
        if (*n.value()) {
            FOut += ' ';
            FOut += n.value();
        }
        FOut += "?>";
        break;
    case pugi::node_declaration:
        FOut += "<?";
        FOut += n.name();
        Attributes(n, true);
        FOut += "?>";
        break;
    case pugi::node_doctype:
        FOut += "<!DOCTYPE";
        if (*n.value()) {
            FOut += ' ';
            FOut += n.value();
        }
        FOut += '>';
        break;
    default:
        break;
    }
    return pugi::xml_node();
}

bool TXmlWriter::OpenElement(const pugi::xml_node &n, bool HasChildren)
{
    const char *name = n.name();
    FOut += '<';
    FOut += name;
    Attributes(n);
    if (FMarks)
        FMarks->AttributesEnd(n, FOut.size());
    if (HasChildren) {
        FOut += '>';
        return true;
    }
    if (const std::string *form = EmptyTagOf(n.internal_object())) {
        if (*form == TXmlLayout::ExplicitEnd) {
            FOut += "></";
            FOut += name;
            FOut += '>';
        } else {
            FOut += *form;
            FOut += "/>";
        }
        return false;
    }
    FOut += FSpaceBeforeSlash ? " />" : "/>";
    return false;
}

const std::string *TXmlWriter::AttrSpaceOf(const void *Attr) const
{
    if (!FAttrSpace)
        return nullptr;
    const auto found = FAttrSpace->find(Attr);
    return found == FAttrSpace->end() ? nullptr : &found->second;
}

const std::string *TXmlWriter::EmptyTagOf(const void *Node) const
{
    if (!FEmptyTag)
        return nullptr;
    const auto found = FEmptyTag->find(Node);
    return found == FEmptyTag->end() ? nullptr : &found->second;
}

bool TXmlWriter::SingleQuoted(const void *Attr) const
{
    return FSingleQuoted && FSingleQuoted->count(Attr);
}

std::string TXmlWriter::EmptyEnd(const pugi::xml_node &n) const
{
    if (const std::string *form = EmptyTagOf(n.internal_object()))
        return *form == TXmlLayout::ExplicitEnd ? "></" + std::string(n.name()) + ">" : *form + "/>";
    return FSpaceBeforeSlash ? " />" : "/>";
}

void TXmlWriter::Close(const pugi::xml_node &n)
{
    if (FMarks)
        FMarks->ContentEnd(n, FOut.size());
    FOut += "</";
    FOut += n.name();
    FOut += '>';
    if (FMarks)
        FMarks->NodeEnd(n, FOut.size());
}

void TXmlWriter::Attributes(const pugi::xml_node &n, bool Raw)
{
    const bool layout = FAttrSpace || FSingleQuoted;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        const std::string *space = layout ? AttrSpaceOf(a.internal_object()) : nullptr;
        if (space)
            FOut += *space;
        else
            FOut += ' ';
        FOut += a.name();
        char quote = layout && SingleQuoted(a.internal_object()) ? '\'' : '"';
        // A raw value is written as it stands, so in the quotes it does not hold.
        if (Raw && std::strchr(a.value(), quote))
            quote = quote == '"' ? '\'' : '"';
        FOut += '=';
        FOut += quote;
        const size_t start = FOut.size();
        if (Raw)
            FOut += a.value();
        else
            Escaped(a.value(), quote);
        if (FMarks)
            FMarks->AttributeValue(a, start, FOut.size());
        FOut += quote;
    }
}

void TXmlWriter::Reference(char32_t c)
{
    char digits[10];
    int at = sizeof digits;
    do {
        digits[--at] = char('0' + c % 10);
        c /= 10;
    } while (c);
    FOut += "&#";
    FOut.append(digits + at, sizeof digits - size_t(at));
    FOut += ';';
}

void TXmlWriter::Escaped(const char *s, char Quote, bool Android)
{
    const unsigned char *table = Android ? EscapeTables.Class[6] : EscapeTables.For(Quote, FCharset != nullptr);
    bool inQuotes = false;
    const auto at = [table](const char *p) { return table[static_cast<unsigned char>(*p)]; };
    const char *run = s;
    for (;;) {
        // Whole runs of bytes that need nothing; the NUL at the end stops the scan, so no byte past it is read.
        for (;;) {
            if (at(s))
                break;
            if (at(s + 1)) {
                s += 1;
                break;
            }
            if (at(s + 2)) {
                s += 2;
                break;
            }
            if (at(s + 3)) {
                s += 3;
                break;
            }
            s += 4;
        }
        const char *replacement = nullptr;
        switch (at(s)) {
        case bcEnd:
            FOut.append(run, size_t(s - run));
            return;
        case bcAmp:
            if (FEntities && IsDeclaredReference(s)) {
                ++s;
                continue;
            }
            replacement = "&amp;";
            break;
        case bcLt:
            replacement = "&lt;";
            break;
        case bcGt:
            replacement = "&gt;";
            break;
        case bcQuot:
            replacement = "&quot;";
            break;
        case bcApos:
            replacement = "&apos;";
            break;
        case bcReference:
            FOut.append(run, size_t(s - run));
            Reference(static_cast<unsigned char>(*s));
            run = ++s;
            continue;
        case bcBackslash:
            // As EscapeAndroidApostrophes: a quote, an apostrophe or a backslash after it is no quote of its own.
            ++s;
            if (*s == '"' || *s == '\'' || *s == '\\')
                ++s;
            continue;
        case bcTextQuote:
            inQuotes = !inQuotes;
            ++s;
            continue;
        case bcTextApos:
            if (inQuotes) {
                ++s;
                continue;
            }
            FOut.append(run, size_t(s - run));
            FOut += "\\'";
            run = ++s;
            continue;
        case bcSentinelLead:
            if (s[1] == RefSentinelUtf8[1] && s[2] == RefSentinelUtf8[2]) {
                FOut.append(run, size_t(s - run));
                FOut += "&#0160;";
                s += 3;
                run = s;
                continue;
            }
            [[fallthrough]];
        default: {
            // A character of one to four bytes, cut short only by the end of the text.
            const unsigned char c = static_cast<unsigned char>(*s);
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
                    FOut.append(run, size_t(s - run));
                    Reference(cp);
                    s += len;
                    run = s;
                    continue;
                }
            }
            s += len;
            continue;
        }
        }
        FOut.append(run, size_t(s - run));
        FOut += replacement;
        run = ++s;
    }
}

bool TXmlWriter::IsDeclaredReference(const char *s) const
{
    const char *end = s + 1;
    while (*end && *end != ';' && !IsXmlSpace(*end) && *end != '&' && *end != '<' && end - s < 256)
        ++end;
    return *end == ';' && end > s + 1 && FEntities->count(std::string(s + 1, size_t(end - s - 1)));
}

void TXmlWriter::Comment(const char *s)
{
    FOut += "<!--";
    for (;;) {
        const char *dash = std::strchr(s, '-');
        if (!dash)
            break;
        FOut.append(s, size_t(dash + 1 - s));
        if (dash[1] == '-' || !dash[1])
            FOut += ' ';
        s = dash + 1;
    }
    FOut += s;
    FOut += "-->";
}

void TXmlWriter::CData(const char *s)
{
    // "]]>" cannot stand inside a section, and a reference only outside one: so the no-break space, the control
    // characters that XML holds only as references and a carriage return, which reading would make a line feed (a
    // typed text may have them), go between two sections.
    FOut += "<![CDATA[";
    for (const char *p = s;; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!c)
            break;
        if (c == ']' && p[1] == ']' && p[2] == '>') {
            FOut.append(s, size_t(p - s));
            FOut += "]]]]><![CDATA[>";
            s = p + 3;
            p += 2;
        } else if (c == 0xEF && p[1] == RefSentinelUtf8[1] && p[2] == RefSentinelUtf8[2]) {
            FOut.append(s, size_t(p - s));
            FOut += "]]>&#0160;<![CDATA[";
            s = p + 3;
            p += 2;
        } else if (c < 0x20 && c != '\t' && c != '\n') {
            FOut.append(s, size_t(p - s));
            FOut += "]]>";
            Reference(c);
            FOut += "<![CDATA[";
            s = p + 1;
        }
    }
    FOut += s;
    FOut += "]]>";
}

} // namespace GlossmillXml::Impl

using namespace GlossmillXml::Impl;

namespace {

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

namespace {

std::unique_ptr<TCharsetProbe> CharsetFor(const TTargetEncoding &Target)
{
    if (Target.Kind == TTargetEncoding::Latin1)
        return std::make_unique<TCharsetProbe>(QByteArray(), Target.MaxChar);
    if (Target.Kind == TTargetEncoding::Codec)
        return std::make_unique<TCharsetProbe>(Target.CodecName, 0);
    return nullptr;
}

} // namespace

bool TXmlDocument::Serialize(std::string &Out, const TOmitSet *Omit) const
{
    const TTargetEncoding target = TargetEncoding(Encoding(), FDetectedEncoding, FWriteBOM);
    const std::unique_ptr<TCharsetProbe> charset = CharsetFor(target);
    const std::unordered_set<std::string> entities = DocumentEntities(FDoc);
    EnsureLayout();
    Out.clear();
    Out.reserve(FSizeHint + FSizeHint / 8 + 256);
    TXmlWriter(Out, FSpaceBeforeSlash, std::string::npos, charset.get(), &FLayout, Omit, &entities).Write(FDoc);
    if (FCRLF)
        GlossmillXml::AddCarriageReturns(Out);
    FSizeHint = Out.size();
    return target.Kind == TTargetEncoding::Utf8 && !target.Bom;
}

TXmlDocument::TStyle TXmlDocument::Style() const
{
    Built();
    TStyle style;
    style.SpaceBeforeSlash = FSpaceBeforeSlash;
    style.CRLF = FCRLF;
    style.Utf8 = TargetEncoding(Encoding(), FDetectedEncoding, FWriteBOM).Kind == TTargetEncoding::Utf8;
    style.Entities = DocumentEntities(FDoc);
    return style;
}

std::string TXmlDocument::MarkedText(GlossmillXml::TWriteMarks &Marks) const
{
    Built();
    const TTargetEncoding target = TargetEncoding(Encoding(), FDetectedEncoding, FWriteBOM);
    const std::unique_ptr<TCharsetProbe> charset = CharsetFor(target);
    const std::unordered_set<std::string> entities = DocumentEntities(FDoc);
    EnsureLayout();
    std::string text;
    text.reserve(FSizeHint + FSizeHint / 8 + 256);
    {
        TXmlWriter writer(text, FSpaceBeforeSlash, std::string::npos, charset.get(), &FLayout, nullptr, &entities);
        writer.SetMarks(&Marks);
        writer.Write(FDoc);
    }
    return text;
}

std::string TXmlDocument::NodeText(const pugi::xml_node &Node, const TStyle &Style) const
{
    Built();
    EnsureLayout();
    std::string text;
    TXmlWriter(text, Style.SpaceBeforeSlash, std::string::npos, nullptr, &FLayout, nullptr, &Style.Entities).Write(Node);
    return text;
}

std::string TXmlDocument::EmptyEnd(const pugi::xml_node &Element) const
{
    Built();
    EnsureLayout();
    std::string unused;
    return TXmlWriter(unused, FSpaceBeforeSlash, std::string::npos, nullptr, &FLayout).EmptyEnd(Element);
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
    EnsureLayout();
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

namespace GlossmillXml {

std::string ElementXml(const pugi::xml_node &Node, size_t Limit)
{
    std::string out;
    TXmlWriter(out, false, Limit).Write(Node);
    return out;
}

TPieceWriter::TPieceWriter(std::string &Out, const TXmlDocument::TStyle &Style)
    : FWriter(std::make_unique<TXmlWriter>(Out, Style.SpaceBeforeSlash, std::string::npos, nullptr, nullptr, nullptr,
                                           &Style.Entities))
{
}

TPieceWriter::~TPieceWriter() = default;

void TPieceWriter::Bytes(const char *Data, size_t Size)
{
    FWriter->Bytes(Data, Size);
}

void TPieceWriter::Text(const char *Utf8)
{
    FWriter->Text(Utf8);
}

void TPieceWriter::AndroidText(const char *Utf8)
{
    FWriter->AndroidText(Utf8);
}

void TPieceWriter::AttributeValue(const char *Utf8, char Quote)
{
    FWriter->AttributeValue(Utf8, Quote);
}

void TPieceWriter::Comment(const char *Utf8)
{
    FWriter->WriteComment(Utf8);
}

void TPieceWriter::Node(const pugi::xml_node &Node)
{
    FWriter->Write(Node);
}

size_t TPieceWriter::Size() const
{
    return FWriter->Size();
}

bool WrittenAsItStands(std::string_view Source, const TXmlDocument::TStyle &Style, bool SourceSpaceBeforeSlash)
{
    const char *p = Source.data();
    const char *const end = p + Source.size();
    auto starts = [&](const char *At, std::string_view What) {
        return size_t(end - At) >= What.size() && std::memcmp(At, What.data(), What.size()) == 0;
    };
    auto find = [&](const char *From, std::string_view What) -> const char * {
        const size_t at = std::string_view(From, size_t(end - From)).find(What);
        return at == std::string_view::npos ? nullptr : From + at;
    };
    auto nameEnd = [&](const char *At) {
        while (At < end && !IsXmlSpace(*At) && *At != '/' && *At != '>' && *At != '=')
            ++At;
        return At;
    };
    // Where a name and ";" after From that the writer takes for a reference to a declared entity end, nullptr for none.
    auto declared = [&](const char *From) -> const char * {
        const char *semi = From;
        while (semi < end && *semi != ';' && !IsXmlSpace(*semi) && *semi != '&' && *semi != '<' && semi - From < 255)
            ++semi;
        if (semi < end && *semi == ';' && semi > From && Style.Entities.count(std::string(From, size_t(semi - From))))
            return semi + 1;
        return nullptr;
    };
    // The end of a reference at At that reads back and is written as it stands, nullptr for one that is not. An "&amp;"
    // before what looks like a declared one is read as "&" and written as that reference.
    auto reference = [&](const char *At, char Quote) -> const char * {
        if (starts(At, "&amp;"))
            return Style.Entities.empty() || !declared(At + 5) ? At + 5 : nullptr;
        if (starts(At, "&lt;"))
            return At + 4;
        if (!Quote && starts(At, "&gt;"))
            return At + 4;
        if (Quote && starts(At, Quote == '"' ? "&quot;" : "&apos;"))
            return At + 6;
        return declared(At + 1);
    };
    const std::string_view sourceUsual = SourceSpaceBeforeSlash ? " " : "";
    const std::string_view targetUsual = Style.SpaceBeforeSlash ? " " : "";
    while (p < end) {
        const char c = *p;
        if (c == '&') {
            p = reference(p, 0);
            if (!p)
                return false;
            continue;
        }
        if (c == '>' || c == '\r')
            return false;
        if (c != '<') {
            ++p;
            continue;
        }
        if (starts(p, "<!--")) {
            const char *close = find(p + 4, "-->");
            if (!close || find(p + 4, "--") != close || close[-1] == '-')
                return false;
            p = close + 3;
            continue;
        }
        if (starts(p, "<![CDATA[")) {
            const char *close = find(p + 9, "]]>");
            if (!close)
                return false;
            p = close + 3;
            continue;
        }
        if (starts(p, "<?") || starts(p, "<!"))
            return false;
        if (starts(p, "</")) {
            const char *name = nameEnd(p + 2);
            if (name >= end || *name != '>')
                return false;
            p = name + 1;
            continue;
        }
        p = nameEnd(p + 1);
        for (;;) {
            // The blanks before an attribute or an empty element's end are kept; those before ">" are not.
            const char *blank = p;
            while (p < end && IsXmlSpace(*p))
                ++p;
            if (p >= end)
                return false;
            if (*p == '>') {
                if (p != blank)
                    return false;
                ++p;
                break;
            }
            if (*p == '/') {
                const std::string_view form(blank, size_t(p - blank));
                if (!starts(p, "/>") || (form == sourceUsual && form != targetUsual))
                    return false;
                p += 2;
                break;
            }
            const char *name = nameEnd(p);
            if (p == blank || name == p || name >= end || *name != '=' || name + 1 >= end || (name[1] != '"' && name[1] != '\''))
                return false;
            const char quote = name[1];
            p = name + 2;
            while (p < end && *p != quote) {
                if (*p == '\t' || *p == '\n' || *p == '\r' || *p == '<')
                    return false;
                if (*p == '&') {
                    p = reference(p, quote);
                    if (!p)
                        return false;
                    continue;
                }
                ++p;
            }
            if (p >= end)
                return false;
            ++p;
        }
    }
    return true;
}

void AddCarriageReturns(std::string &Text)
{
    std::string crlf;
    crlf.reserve(Text.size() + Text.size() / 16);
    size_t from = 0;
    for (size_t lf = Text.find('\n'); lf != std::string::npos; lf = Text.find('\n', lf + 1)) {
        if (lf > 0 && Text[lf - 1] == '\r')
            continue;
        crlf.append(Text, from, lf - from);
        crlf += '\r';
        from = lf;
    }
    crlf.append(Text, from, std::string::npos);
    Text.swap(crlf);
}

} // namespace GlossmillXml
