#include "RtfCodePage.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
const ushort kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The five unassigned bytes give the C1 control of the same number.
QChar Cp1252Char(int byte)
{
    byte &= 0xFF;
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(kCp1252High[byte - 0x80]);
    return QChar(ushort(byte));
}

QStringDecoder OpenDecoder(int codePage)
{
    constexpr auto stateless = QStringConverter::Flag::Stateless;
    if (codePage == 65001)
        return QStringDecoder(QStringConverter::Utf8, stateless);
    if (codePage == 10000)
        return QStringDecoder("macintosh", stateless);
    const QByteArray number = QByteArray::number(codePage);
    for (const QByteArray &prefix : {QByteArray("windows-"), QByteArray("cp"), QByteArray("ibm-")}) {
        QStringDecoder decoder((prefix + number).constData(), stateless);
        if (decoder.isValid())
            return decoder;
    }
    return QStringDecoder();
}

} // namespace

int Cp1252Byte(ushort u)
{
    if (u >= 0xA0 && u <= 0xFF)
        return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u >= 0x100)
            return 0x80 + i;
    return -1;
}

int CodePageOfCharset(int charset)
{
    static const struct
    {
        int charset;
        int codePage;
    } kCharsets[] = {
        {0, 1252},    // ANSI
        {2, 1252},    // symbol fonts keep their bytes as Western letters
        {77, 10000},  // Mac Roman
        {128, 932},   // Shift-JIS
        {129, 949},   // Hangul
        {130, 1361},  // Johab
        {134, 936},   // GB2312
        {136, 950},   // Big5
        {161, 1253},  // Greek
        {162, 1254},  // Turkish
        {163, 1258},  // Vietnamese
        {177, 1255},  // Hebrew
        {178, 1256},  // Arabic
        {186, 1257},  // Baltic
        {204, 1251},  // Cyrillic
        {222, 874},   // Thai
        {238, 1250},  // Central European
        {255, 437},   // OEM
    };
    for (const auto &entry : kCharsets)
        if (entry.charset == charset)
            return entry.codePage;
    return 0;
}

QString TCodePageDecoder::Decode(int codePage, const QByteArray &bytes)
{
    bool ascii = true;
    for (const char c : bytes)
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) // every Windows code page keeps ASCII as it is
        return QString::fromLatin1(bytes);

    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end())
        it = m_decoders.emplace(codePage, OpenDecoder(codePage)).first;
    if (it->second.isValid())
        return it->second.decode(bytes);
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text += Cp1252Char(uchar(c));
    return text;
}
