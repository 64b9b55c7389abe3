#include "GlossmillXmlWriter.h"

#include "Glossmill_Misc.h"
#include "GlossmillXmlShared.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>
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

void TXmlWriter::Write(const pugi::xml_node &Start)
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

bool TXmlWriter::Open(const pugi::xml_node &n)
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

void TXmlWriter::Close(const pugi::xml_node &n)
{
    if (n.type() != pugi::node_element)
        return;
    FOut += "</";
    FOut += n.name();
    FOut += '>';
}

void TXmlWriter::Attributes(const pugi::xml_node &n, bool Raw)
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

void TXmlWriter::Reference(char32_t c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "&#%u;", unsigned(c));
    FOut += buf;
}

void TXmlWriter::Escaped(const char *s, char Quote)
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
    for (; *s; ++s) {
        FOut += *s;
        if (*s == '-' && (s[1] == '-' || !s[1]))
            FOut += ' ';
    }
    FOut += "-->";
}

void TXmlWriter::CData(const char *s)
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
    std::string text;
    Serialize(text, Omit);
    return Encode(text);
}

QString TXmlDocument::SaveToString() const
{
    std::string text;
    const std::unordered_set<std::string> entities = DocumentEntities(FDoc);
    TXmlWriter(text, FSpaceBeforeSlash, std::string::npos, nullptr, &FLayout, nullptr, &entities).Write(FDoc);
    return QString::fromStdString(text);
}

void TXmlDocument::SaveToFile(const QString &FileName, const TOmitSet *Omit, bool CreateNew) const
{
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

} // namespace GlossmillXml
