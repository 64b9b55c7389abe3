#include "GlossmillXml.h"

#include "Glossmill_Misc.h"
#include "GlossmillXmlLayout.h"
#include "GlossmillXmlShared.h"

#include <QStringDecoder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

using namespace GlossmillXml::Impl;

// Memory from pugixml's allocator, so that a document can take it over and parse it in place.
class TXmlDocument::TParseBuffer
{
public:
    TParseBuffer() = default;
    TParseBuffer(const TParseBuffer &) = delete;
    TParseBuffer &operator=(const TParseBuffer &) = delete;
    ~TParseBuffer()
    {
        if (FData)
            pugi::get_memory_deallocation_function()(FData);
    }

    // Room for Room bytes that begins with what the buffer's room held, as far as it fits.
    char *Reserve(size_t Room)
    {
        auto *data = static_cast<char *>(pugi::get_memory_allocation_function()(std::max<size_t>(Room, 1)));
        if (!data)
            throw std::bad_alloc();
        if (FData) {
            std::memcpy(data, FData, std::min(FRoom, Room));
            pugi::get_memory_deallocation_function()(FData);
        }
        FData = data;
        FRoom = std::max<size_t>(Room, 1);
        FSize = std::min(FSize, Room);
        return data;
    }
    void Assign(const char *Data, size_t Size)
    {
        Reserve(Size + 1);
        if (Size)
            std::memcpy(FData, Data, Size);
        FSize = Size;
    }
    void SetSize(size_t Size) { FSize = Size; }
    // Leaves out the first Count bytes.
    void DropFront(size_t Count)
    {
        std::memmove(FData, FData + Count, FSize - Count);
        FSize -= Count;
    }
    const char *Data() const { return FData; }
    size_t Size() const { return FSize; }
    // The memory, the text followed by a NUL, now the caller's to free with pugixml's deallocator.
    char *ReleaseTerminated()
    {
        if (FRoom <= FSize)
            Reserve(FSize + 1);
        FData[FSize] = 0;
        char *data = FData;
        FData = nullptr;
        FSize = FRoom = 0;
        return data;
    }

private:
    char *FData = nullptr;
    size_t FSize = 0;
    size_t FRoom = 0;
};

namespace {

const unsigned DocumentParseFlags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment
    | pugi::parse_declaration | pugi::parse_comments | pugi::parse_doctype | pugi::parse_pi;

// What the layout needs to know of a whole text.
struct TTextFacts
{
    bool CrLf = false;      // the first LF has a CR before it
    size_t SpacedSlash = 0; // "/>" with a space before it
    size_t TightSlash = 0;  // "/>" with anything else before it
    bool Sentinel = false;  // U+FDD0 stands in the text (RefSentinelUtf8)
};

[[noreturn]] void RefuseText(const char *What, const unsigned char *Begin, const unsigned char *At)
{
    throw EXmlError(What + std::to_string(At - Begin));
}

// Checks UTF-8 and the characters XML 1.0 forbids (controls other than TAB, LF and CR), noting on the way what the
// layout needs to know of the text.
class TTextCheck
{
public:
    explicit TTextCheck(std::string_view Text)
        : FBegin(reinterpret_cast<const unsigned char *>(Text.data())), FEnd(FBegin + Text.size()), FSlashFrom(FBegin)
    {
    }

    TTextFacts Run()
    {
#if defined(__SSE2__)
        return RunWide();
#else
        return RunWords();
#endif
    }

private:
#if defined(__SSE2__)
    // Sixteen bytes at a time: those from 0x80 up or below 0x20 but for TAB, LF and CR are looked at one by one, and
    // "/>" counted where it stands. The first LF is found beforehand, so that LF needs no look of its own.
    TTextFacts RunWide()
    {
        if (const auto *lf = static_cast<const unsigned char *>(std::memchr(FBegin, '\n', size_t(FEnd - FBegin)))) {
            FLfSeen = true;
            FFacts.CrLf = lf > FBegin && lf[-1] == '\r';
        }
        const unsigned char *p = FBegin;
        if (p < FEnd)
            p = *p >= 0x20 && *p < 0x80 && *p != '>' ? p + 1 : Take(p);
        const __m128i space = _mm_set1_epi8(' '), below = _mm_set1_epi8(0x20), tab = _mm_set1_epi8('\t'),
                      lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), slash = _mm_set1_epi8('/'),
                      gt = _mm_set1_epi8('>');
        while (FEnd - p >= 17) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            // Signed, a byte from 0x80 up is below 0x20 as well.
            const __m128i blank = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, tab), _mm_cmpeq_epi8(x, lf)), _mm_cmpeq_epi8(x, cr));
            const unsigned marked = unsigned(_mm_movemask_epi8(_mm_andnot_si128(blank, _mm_cmplt_epi8(x, below))));
            size_t advance = 16;
            if (marked) {
                const unsigned char *at = p + __builtin_ctz(marked);
                advance = size_t((*at >= 0x80 ? Characters(at) : Take(at)) - p);
            }
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
            unsigned pairs = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(x, slash), _mm_cmpeq_epi8(next, gt))));
            if (advance < 16)
                pairs &= (1u << advance) - 1;
            if (pairs) {
                const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p - 1));
                const unsigned spaced = pairs & unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(before, space)));
                FFacts.SpacedSlash += size_t(__builtin_popcount(spaced));
                FFacts.TightSlash += size_t(__builtin_popcount(pairs & ~spaced));
            }
            p += advance;
        }
        // The slashes before here are counted.
        FSlashFrom = p;
        while (p < FEnd)
            p = *p >= 0x20 && *p < 0x80 && *p != '>' ? p + 1 : Take(p);
        return FFacts;
    }
#endif

    TTextFacts RunWords()
    {
        // Eight bytes at a time; per byte, exactly (no carry crosses into the next byte), the high bit is set from
        // 0x80 up, below 0x20 (a byte plus 0x60 stays under 0x80) and for ">" (the byte XOR ">" is zero). Only the
        // bytes so marked are looked at one by one.
        constexpr uint64_t Ones = 0x0101010101010101ull, High = Ones * 0x80, Low7 = Ones * 0x7F;
        const unsigned char *p = FBegin;
        while (FEnd - p >= 8) {
            uint64_t x;
            std::memcpy(&x, p, 8);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            x = __builtin_bswap64(x); // the first byte in the lowest bits
#endif
            const uint64_t gt = x ^ (Ones * '>');
            uint64_t marked = (x | ~((x & Low7) + Ones * 0x60) | ~(((gt & Low7) + Low7) | gt)) & High;
            if (!marked) {
                p += 8;
                continue;
            }
            const unsigned char *next = p; // the first byte not yet taken
            do {
                const unsigned char *at = p + (__builtin_ctzll(marked) >> 3);
                marked &= marked - 1;
                if (at < next)
                    continue; // a byte of a sequence already taken
                // The common cases here, the rest (and every fault) in Take.
                const unsigned char c = *at;
                if (c >= 0x80) {
                    next = Characters(at);
                } else if (c == '>' || (c == '\n' && FLfSeen)) {
                    if (c == '>' && at > FBegin && at[-1] == '/')
                        ++(at - 1 > FBegin && at[-2] == ' ' ? FFacts.SpacedSlash : FFacts.TightSlash);
                    next = at + 1;
                } else {
                    next = Take(at);
                }
            } while (marked);
            p = std::max(next, p + 8);
        }
        while (p < FEnd)
            p = *p >= 0x20 && *p < 0x80 && *p != '>' ? p + 1 : Take(p);
        return FFacts;
    }

    // The characters of two and three bytes from p on, one after the other, as long as they run on: a script other
    // than Latin is mostly such a run. Where the first byte not taken stands; anything else goes to Take.
    const unsigned char *Characters(const unsigned char *p)
    {
        while (FEnd - p >= 3) {
            const unsigned char c = *p;
            if (c >= 0xC2 && c <= 0xDF && (p[1] & 0xC0) == 0x80) {
                p += 2;
            } else if ((c & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
                const char32_t cp = char32_t(c & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
                if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFDD0)
                    return Take(p);
                p += 3;
            } else if (c < 0x80) {
                return p;
            } else {
                return Take(p);
            }
        }
        return p < FEnd && *p >= 0x80 ? Take(p) : p;
    }

    // The byte at p is a control character, a ">" or starts a multi-byte sequence; where the next one starts.
    const unsigned char *Take(const unsigned char *p)
    {
        const unsigned char c = *p;
        if (c >= 0x80)
            return Sequence(p);
        if (c == '>') {
            if (p > FBegin && p[-1] == '/' && p - 1 >= FSlashFrom)
                ++(p - 1 > FBegin && p[-2] == ' ' ? FFacts.SpacedSlash : FFacts.TightSlash);
        } else if (c == '\n') {
            if (!FLfSeen) {
                FLfSeen = true;
                FFacts.CrLf = p > FBegin && p[-1] == '\r';
            }
        } else if (c < 0x20 && c != '\t' && c != '\r') {
            RefuseText("not a text file: control character at offset ", FBegin, p);
        }
        return p + 1;
    }

    const unsigned char *Sequence(const unsigned char *p)
    {
        const unsigned char c = *p;
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
            RefuseText("invalid UTF-8 at offset ", FBegin, p);
        }
        if (FEnd - p < len)
            throw EXmlError("truncated UTF-8 at the end of the file");
        for (int i = 1; i < len; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                RefuseText("invalid UTF-8 at offset ", FBegin, p);
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            RefuseText("invalid UTF-8 at offset ", FBegin, p);
        FFacts.Sentinel = FFacts.Sentinel || cp == 0xFDD0;
        return p + len;
    }

    const unsigned char *FBegin;
    const unsigned char *FEnd;
    TTextFacts FFacts;
    bool FLfSeen = false;
    const unsigned char *FSlashFrom; // "/>" with its slash before this is counted elsewhere
};

// The character references in Value that pugixml decodes ("&#" decimal or "&#x" hexadecimal digits, or none, then
// ";") and that a save would not write back: 1 when one is a surrogate, beyond U+10FFFF or U+FDD0 (RefSentinelUtf8),
// 2 when one is 0, or both; 0 for none.
int UnwritableReferences(const char *Text, const char *End)
{
    int found = 0;
    for (const char *p = Text; (p = static_cast<const char *>(std::memchr(p, '&', size_t(End - p)))); ++p) {
        if (End - p < 3 || p[1] != '#')
            continue;
        const bool hex = p[2] == 'x';
        const char *q = p + (hex ? 3 : 2);
        uint32_t value = 0;
        for (; q < End; ++q) {
            const char c = *q;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && (c | ' ') >= 'a' && (c | ' ') <= 'f')
                digit = (c | ' ') - 'a' + 10;
            if (digit < 0)
                break;
            value = std::min<uint32_t>(value * (hex ? 16 : 10) + uint32_t(digit), 0x110000);
        }
        if (q < End && *q == ';')
            found |= value == 0 ? 2 : (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF || value == 0xFDD0 ? 1 : 0;
    }
    return found;
}

int UnwritableReferences(const char *Value)
{
    return UnwritableReferences(Value, Value + std::strlen(Value));
}

// Notes the texts and attribute values of Doc whose counterparts in Raw, the same text parsed without decoding
// references, hold a reference that a save would not write back.
void NoteUnwritableReferences(const pugi::xml_document &Raw, const pugi::xml_document &Doc,
                              std::vector<TXmlDocument::TUnwritable> &Found)
{
    for (pugi::xml_node r = Raw.first_child(), d = Doc.first_child(); r && d;
         r = GlossmillXml::NextNode(r, Raw), d = GlossmillXml::NextNode(d, Doc)) {
        if (r.type() == pugi::node_pcdata)
            if (const int kinds = UnwritableReferences(r.value()))
                Found.push_back({d, pugi::xml_attribute(), (kinds & 2) != 0});
        for (pugi::xml_attribute a = r.first_attribute(), b = d.first_attribute(); a && b;
             a = a.next_attribute(), b = b.next_attribute())
            if (const int kinds = UnwritableReferences(a.value()))
                Found.push_back({d, b, (kinds & 2) != 0});
    }
}

// Notes the texts and attribute values of Doc that hold U+FDD0 as it stands.
void NoteSentinels(const pugi::xml_document &Doc, std::vector<TXmlDocument::TUnwritable> &Found)
{
    for (pugi::xml_node n = Doc.first_child(); n; n = GlossmillXml::NextNode(n, Doc)) {
        if (n.type() == pugi::node_pcdata && std::strstr(n.value(), RefSentinelUtf8))
            Found.push_back({n, pugi::xml_attribute(), false});
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
            if (std::strstr(a.value(), RefSentinelUtf8))
                Found.push_back({n, a, false});
    }
}

// The "encoding" value of an XML declaration at the start of an ASCII-compatible text, empty without one. A
// declaration is what pugixml takes for one: the target "xml" in any case, then a blank or "?"; "<?xmlfoo" is none.
QString DeclaredEncoding(const QByteArray &Bytes)
{
    if (Bytes.size() < 6 || !Bytes.startsWith("<?") || QByteArray(Bytes.constData() + 2, 3).toLower() != "xml"
        || (Bytes[5] != '?' && !IsXmlSpace(Bytes[5])))
        return QString();
    // The attributes one by one, as the parser reads them: a name ending in "encoding" is another attribute, and a
    // "?>" in quotes ends nothing.
    const qsizetype n = Bytes.size();
    for (qsizetype i = 5;;) {
        while (i < n && IsXmlSpace(Bytes[i]))
            ++i;
        const qsizetype name = i;
        while (i < n && !IsXmlSpace(Bytes[i]) && Bytes[i] != '=' && Bytes[i] != '?')
            ++i;
        if (i == name)
            return QString();
        const QByteArray attribute = Bytes.mid(name, i - name);
        while (i < n && IsXmlSpace(Bytes[i]))
            ++i;
        if (i >= n || Bytes[i] != '=')
            return QString();
        ++i;
        while (i < n && IsXmlSpace(Bytes[i]))
            ++i;
        if (i >= n || (Bytes[i] != '"' && Bytes[i] != '\''))
            return QString();
        const qsizetype close = Bytes.indexOf(Bytes[i], i + 1);
        if (close < 0)
            return QString();
        if (attribute == "encoding")
            return QString::fromLatin1(Bytes.mid(i + 1, close - i - 1)).trimmed();
        i = close + 1;
    }
}

QByteArray Decode(QStringDecoder &Decoder, QByteArrayView Bytes, const char *What)
{
    const QString text = Decoder.decode(Bytes);
    if (Decoder.hasError())
        throw EXmlError(std::string("the file is not valid ") + What);
    return text.toUtf8();
}

} // namespace

void TXmlDocument::LoadFromFile(const QString &FileName, qint64 *LastWrite, bool KnownRegular, bool LayoutLater)
{
    TParseBuffer buffer;
    QString error;
    const qint64 size = ReadRegularFileInto(
        FileName, [&buffer](qint64 Room) { return buffer.Reserve(size_t(Room)); }, error, LastWrite, KnownRegular);
    if (size < 0)
        throw EXmlError("can not read file " + FileName.toStdString() + ": " + error.toStdString());
    buffer.SetSize(size_t(size));
    LoadBytes(QByteArrayView(buffer.Data(), qsizetype(size)), &buffer, LayoutLater);
}

void TXmlDocument::LoadFromBytes(const QByteArray &Bytes)
{
    LoadBytes(Bytes, nullptr);
}

void TXmlDocument::LoadBytes(QByteArrayView Bytes, TParseBuffer *Owned, bool LayoutLater)
{
    Clear();
    const auto *b = reinterpret_cast<const unsigned char *>(Bytes.data());
    const qsizetype n = Bytes.size();
    auto starts = [&](std::initializer_list<unsigned char> prefix) {
        if (n < qsizetype(prefix.size()))
            return false;
        qsizetype i = 0;
        for (unsigned char c : prefix)
            if (b[i++] != c)
                return false;
        return true;
    };
    QByteArray utf8;
    qsizetype skip = -1; // the text is Bytes from here on
    if (starts({0xEF, 0xBB, 0xBF})) {
        FDetectedEncoding = QStringLiteral("UTF-8");
        skip = 3;
    } else if (starts({0xFF, 0xFE, 0x00, 0x00}) || starts({0x00, 0x00, 0xFE, 0xFF})) {
        const bool le = b[0] == 0xFF;
        FDetectedEncoding = le ? QStringLiteral("UTF-32LE") : QStringLiteral("UTF-32BE");
        QStringDecoder decoder(le ? QStringConverter::Utf32LE : QStringConverter::Utf32BE);
        utf8 = Decode(decoder, Bytes.sliced(4), "UTF-32");
    } else if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF}) || starts({0x3C, 0x00, 0x3F, 0x00}) || starts({0x00, 0x3C, 0x00, 0x3F})) {
        const bool le = b[0] == 0xFF || b[0] == 0x3C;
        const bool bom = b[0] == 0xFF || b[0] == 0xFE;
        FDetectedEncoding = le ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16BE");
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        utf8 = Decode(decoder, bom ? Bytes.sliced(2) : Bytes, "UTF-16");
    } else {
        const QString declared = DeclaredEncoding(QByteArray::fromRawData(Bytes.data(), n));
        const QString name = NormalEncodingName(declared);
        if (IsUtf8Name(name)) {
            FDetectedEncoding = QStringLiteral("UTF-8");
            skip = 0;
        } else if (IsLatin1Name(name) || IsAsciiName(name)) {
            FDetectedEncoding = declared;
            utf8 = QString::fromLatin1(Bytes).toUtf8();
        } else {
            QStringDecoder decoder(declared.toLatin1().constData());
            if (!decoder.isValid())
                throw EXmlError("unsupported encoding " + declared.toStdString());
            FDetectedEncoding = declared;
            utf8 = Decode(decoder, Bytes, declared.toLatin1().constData());
        }
    }
    TParseBuffer copy;
    TParseBuffer *text = &copy;
    if (skip < 0) {
        copy.Assign(utf8.constData(), size_t(utf8.size()));
    } else if (!Owned) {
        copy.Assign(Bytes.data() + skip, size_t(n - skip));
    } else {
        text = Owned;
        if (skip > 0)
            text->DropFront(size_t(skip));
    }
    ParseUtf8(*text, -1, LayoutLater);
}

void TXmlDocument::LoadFromString(const QString &Text)
{
    Clear();
    const QByteArray utf8 = Text.toUtf8();
    TParseBuffer text;
    text.Assign(utf8.constData(), size_t(utf8.size()));
    ParseUtf8(text);
}

void TXmlDocument::LoadPiece(const std::string &Text, bool SpaceBeforeSlash, bool CRLF)
{
    Clear();
    TParseBuffer text;
    text.Assign(Text.data(), Text.size());
    ParseUtf8(text, SpaceBeforeSlash ? 1 : 0);
    FCRLF = CRLF;
}

void TXmlDocument::ParseUtf8(TParseBuffer &Text, int SpaceBeforeSlash, bool LayoutLater)
{
    const std::string_view text(Text.Data(), Text.Size());
    const TTextFacts facts = TTextCheck(text).Run();
    // Where a reference that a save would not write back stands is found on a second parse that keeps references as
    // they are, taken before the text is parsed in place.
    std::unique_ptr<pugi::xml_document> raw;
    if (UnwritableReferences(text.data(), text.data() + text.size())) {
        raw = std::make_unique<pugi::xml_document>();
        if (!raw->load_buffer(text.data(), text.size(), DocumentParseFlags & ~pugi::parse_escapes, pugi::encoding_utf8))
            raw.reset();
    }
    FSizeHint = text.size();
    FCRLF = facts.CrLf;
    FSpaceBeforeSlash = SpaceBeforeSlash >= 0 ? SpaceBeforeSlash == 1 : facts.SpacedSlash >= facts.TightSlash;
    FHeldReferences = text.find("&#") != std::string_view::npos;

    // Parsed in place, the text becomes the document's; where its layout cannot be found before, from a copy. Either
    // way the parser sees the text with a NUL after it, so that the last character is never its end marker. Its layout
    // read later, the text as read stays for that.
    TLayoutScan scan;
    if (LayoutLater)
        FRawText.assign(text);
    else
        scan = ScanLayout(text, FSpaceBeforeSlash);
    pugi::xml_parse_result result;
    const char *parsed = text.data();
    if (LayoutLater || scan.Complete) {
        parsed = Text.ReleaseTerminated();
        result = FDoc.load_buffer_inplace_own(const_cast<char *>(parsed), text.size() + 1, DocumentParseFlags, pugi::encoding_utf8);
    } else {
        result = FDoc.load_buffer(text.data(), text.size(), DocumentParseFlags, pugi::encoding_utf8);
    }
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

    if (LayoutLater) {
        FParsedText = parsed;
        FLayoutPending = true;
    } else if (scan.Complete) {
        ApplyLayout(scan, parsed, text.size(), Root(), FLayout);
    } else {
        ReadLayout(text, Root(), FSpaceBeforeSlash, FLayout);
    }
    if (raw)
        NoteUnwritableReferences(*raw, FDoc, FUnwritable);
    if (facts.Sentinel)
        NoteSentinels(FDoc, FUnwritable);
}

void TXmlDocument::EnsureLayout() const
{
    if (!FLayoutPending)
        return;
    FLayoutPending = false;
    const TLayoutScan scan = ScanLayout(FRawText, FSpaceBeforeSlash);
    if (scan.Complete)
        ApplyLayout(scan, FParsedText, FRawText.size(), FDoc.document_element(), FLayout);
    else
        ReadLayout(FRawText, FDoc.document_element(), FSpaceBeforeSlash, FLayout);
    FRawText = std::string();
}

std::string_view TXmlDocument::SourceText(const pugi::xml_node &Element) const
{
    if (!FLayoutPending && FRawText.empty())
        return std::string_view();
    const size_t size = FRawText.size();
    // Where a node's text starts in the text read, size for a node made since.
    auto offset = [&](const char *At, size_t Before) {
        const size_t at = size_t(At - FParsedText);
        return At >= FParsedText && at < size && at >= Before ? at - Before : size;
    };
    const size_t start = offset(Element.name(), 1);
    size_t end = size;
    const pugi::xml_node next = Element.next_sibling();
    switch (next.type()) {
    case pugi::node_pcdata:
        end = offset(next.value(), 0);
        break;
    case pugi::node_element:
        end = offset(next.name(), 1);
        break;
    case pugi::node_comment:
        end = offset(next.value(), 4);
        break;
    case pugi::node_cdata:
        end = offset(next.value(), 9);
        break;
    default:
        break;
    }
    if (start >= end || end > size || FRawText[start] != '<' || FRawText[end - 1] != '>')
        return std::string_view();
    return std::string_view(FRawText).substr(start, end - start);
}
