#include "RtfText.h"

#include "RtfCodePage.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

namespace {

// Fonts and colours in order of first use; colour 0 is the reader's automatic colour.
struct TRtfTables
{
    QStringList fonts;
    QList<QColor> colors;

    int FontIndex(const QString &family)
    {
        int i = fonts.indexOf(family);
        if (i < 0) {
            fonts.append(family);
            i = int(fonts.size()) - 1;
        }
        return i;
    }

    int ColorIndex(const QColor &color)
    {
        const QRgb rgb = color.rgb();
        for (int i = 0; i < colors.size(); ++i)
            if (colors.at(i).rgb() == rgb)
                return i + 1;
        colors.append(color);
        return int(colors.size());
    }
};

void AppendRtfText(QByteArray &out, const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator || u == '\n' || u == '\r') {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u < 0x20 || u == 0x7F || u == QChar::ObjectReplacementCharacter) {
            // Control characters and embedded objects have no text to keep.
        } else if (const int byte = Cp1252Byte(u); byte >= 0) {
            out += "\\'";
            out += QByteArray::number(byte, 16);
        } else {
            out += "\\u";
            out += QByteArray::number(qint16(u));
            out += "\\'3f"; // the "?" of readers without \u; a plain one is lost by some that have it
        }
    }
}

QString FormatFamily(const QTextCharFormat &format, const QFont &defaultFont)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? defaultFont.family() : family;
}

double FormatPointSize(const QTextCharFormat &format, const QFont &defaultFont)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    // Pasted HTML may size text in pixels; RTF knows only points.
    if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
        return format.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    if (defaultFont.pointSizeF() > 0)
        return defaultFont.pointSizeF();
    if (defaultFont.pixelSize() > 0)
        return defaultFont.pixelSize() * 72.0 / 96.0;
    return 12.0;
}

const char *AlignmentWord(Qt::Alignment alignment)
{
    const Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignJustify)
        return "\\qj";
    if (h & Qt::AlignHCenter)
        return "\\qc";
    if (h & Qt::AlignRight)
        return "\\qr";
    return "\\ql";
}

void AppendFragment(QByteArray &out, const QTextFragment &fragment, const QFont &defaultFont, TRtfTables &tables)
{
    const QTextCharFormat format = fragment.charFormat();
    out += "{\\f" + QByteArray::number(tables.FontIndex(FormatFamily(format, defaultFont)));
    const int halfPoints = qMax(1, int(std::lround(FormatPointSize(format, defaultFont) * 2)));
    out += "\\fs" + QByteArray::number(halfPoints);
    if (format.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (format.fontItalic())
        out += "\\i";
    if (format.fontUnderline())
        out += "\\ul";
    if (format.fontStrikeOut())
        out += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        out += "\\cf" + QByteArray::number(tables.ColorIndex(format.foreground().color()));
    out += ' ';
    AppendRtfText(out, fragment.text());
    out += '}';
}

} // namespace

QByteArray DocumentToRtf(const QTextDocument *doc)
{
    const QFont defaultFont = doc->defaultFont();
    TRtfTables tables;
    tables.FontIndex(defaultFont.family());

    QByteArray body;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        body += "\\pard";
        body += AlignmentWord(block.blockFormat().alignment());
        body += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid())
                AppendFragment(body, it.fragment(), defaultFont, tables);
        if (block.next().isValid())
            body += "\\par\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < tables.fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        AppendRtfText(out, QString(tables.fonts.at(i)).replace(QLatin1Char(';'), QLatin1Char(' ')));
        out += ";}";
    }
    out += "}\n{\\colortbl ;";
    for (const QColor &c : std::as_const(tables.colors))
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
               QByteArray::number(c.blue()) + ';';
    out += "}\n";
    out += body;
    out += "\n}\n";
    return out;
}
