#include "GlossmillXml.h"

#include "Glossmill_Misc.h"
#include "GlossmillXmlShared.h"

#include <QStringDecoder>

using namespace GlossmillXml::Impl;

namespace {

const unsigned DocumentParseFlags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment
    | pugi::parse_declaration | pugi::parse_comments | pugi::parse_doctype | pugi::parse_pi;

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

std::string Decode(QStringDecoder &Decoder, const QByteArray &Bytes, const char *What)
{
    const QString text = Decoder.decode(Bytes);
    if (Decoder.hasError())
        throw EXmlError(std::string("the file is not valid ") + What);
    return text.toStdString();
}

} // namespace

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

    ReadLayout(Text);
}
