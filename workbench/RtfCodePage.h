#pragma once
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <map>

// Windows code pages as RTF names them: Windows-1252 for the writer, and the code page of each font's character
// set with decoding of its bytes for the reader.

// The Windows-1252 byte of `u`, -1 when Windows-1252 has none; the five unassigned bytes are never given.
int Cp1252Byte(ushort u);

// The code page of an RTF \fcharset number; 0 for the default character set and for numbers Windows does not
// define, which leave the document's \ansicpg in force.
int CodePageOfCharset(int charset);

// Decodes bytes of Windows code pages, double-byte ones (932, 936, 949, 950) included. A code page this system
// cannot decode is read as Windows-1252. Each call stands alone: a lead byte without its trail byte is dropped.
class TCodePageDecoder
{
public:
    QString Decode(int codePage, const QByteArray &bytes);

private:
    std::map<int, QStringDecoder> m_decoders; // opened once per code page
};
