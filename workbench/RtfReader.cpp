#include "RtfText.h"

#include "RtfCodePage.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

struct TRtfToken
{
    enum TKind { tkEnd, tkOpen, tkClose, tkWord, tkSymbol, tkHex, tkText };
    TKind kind = tkEnd;
    QByteArray word;
    int param = 0;
    bool hasParam = false;
    char ch = 0;
};

class TRtfTokenizer
{
public:
    explicit TRtfTokenizer(const QByteArray &in) : m_in(in) {}

    TRtfToken Next()
    {
        TRtfToken t;
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos);
            if (c == '\r' || c == '\n' || c == '\0') {
                ++m_pos;
                continue;
            }
            if (c == '{' || c == '}') {
                ++m_pos;
                t.kind = c == '{' ? TRtfToken::tkOpen : TRtfToken::tkClose;
                return t;
            }
            if (c != '\\') {
                ++m_pos;
                t.kind = TRtfToken::tkText;
                t.ch = c;
                return t;
            }
            return ReadControl();
        }
        return t;
    }

private:
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    static int HexValue(char c)
    {
        if (IsDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    TRtfToken ReadControl()
    {
        TRtfToken t;
        ++m_pos; // the backslash
        if (m_pos >= m_in.size())
            return t;
        const char d = m_in.at(m_pos);
        if (d == '\'') {
            ++m_pos;
            int value = 0;
            for (int i = 0; i < 2 && m_pos < m_in.size(); ++i) {
                const int h = HexValue(m_in.at(m_pos));
                if (h < 0)
                    break;
                value = value * 16 + h;
                ++m_pos;
            }
            t.kind = TRtfToken::tkHex;
            t.param = value;
            return t;
        }
        if (!IsLetter(d)) {
            ++m_pos;
            t.kind = TRtfToken::tkSymbol;
            t.ch = d;
            return t;
        }
        const int start = m_pos;
        while (m_pos < m_in.size() && IsLetter(m_in.at(m_pos)) && m_pos - start < 32)
            ++m_pos;
        t.kind = TRtfToken::tkWord;
        t.word = m_in.mid(start, m_pos - start);
        bool negative = false;
        if (m_pos < m_in.size() && m_in.at(m_pos) == '-' && m_pos + 1 < m_in.size() && IsDigit(m_in.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < m_in.size() && IsDigit(m_in.at(m_pos))) {
            qint64 value = 0;
            while (m_pos < m_in.size() && IsDigit(m_in.at(m_pos))) {
                if (value < 100000000)
                    value = value * 10 + (m_in.at(m_pos) - '0');
                ++m_pos;
            }
            t.hasParam = true;
            t.param = int(negative ? -value : value);
        }
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos;
        if (t.word == "bin" && t.hasParam && t.param > 0)
            m_pos += qMin<qint64>(t.param, m_in.size() - m_pos); // binary data is never text
        return t;
    }

    const QByteArray &m_in;
    int m_pos = 0;
};

bool LooksLikeRtf(const QByteArray &rtf)
{
    int i = 0;
    while (i < rtf.size() && (rtf.at(i) == ' ' || rtf.at(i) == '\t' || rtf.at(i) == '\r' || rtf.at(i) == '\n'))
        ++i;
    if (!rtf.mid(i, 5).startsWith("{\\rtf"))
        return false;
    TRtfTokenizer tokens(rtf);
    int depth = 0;
    for (TRtfToken t = tokens.Next(); t.kind != TRtfToken::tkEnd; t = tokens.Next()) {
        if (t.kind == TRtfToken::tkOpen)
            ++depth;
        else if (t.kind == TRtfToken::tkClose)
            --depth;
        else if (depth == 0 && !(t.kind == TRtfToken::tkText && (t.ch == ' ' || t.ch == '\t')))
            return false; // only blank space may follow the outer group
        if (depth < 0)
            return false;
    }
    return depth == 0;
}

class TRtfReader
{
public:
    TRtfReader(const QByteArray &rtf, QTextDocument *doc) : m_tokens(rtf), m_cursor(doc) {}

    void Run()
    {
        // One edit block: the document is laid out once, not again after every run of text.
        m_cursor.beginEditBlock();
        int depth = 0;
        for (TRtfToken t = m_tokens.Next(); t.kind != TRtfToken::tkEnd; t = m_tokens.Next()) {
            if (t.kind != TRtfToken::tkText && t.kind != TRtfToken::tkHex && !IsByteSymbol(t))
                DecodeBytes(); // before anything that may change the font, and so the code page
            if (t.kind == TRtfToken::tkOpen) {
                m_stack.append(m_st);
                ++depth;
                m_skipChars = 0;
                continue;
            }
            if (t.kind == TRtfToken::tkClose) {
                LeaveGroup();
                if (--depth <= 0 || m_stack.isEmpty())
                    break;
                m_st = m_stack.takeLast();
                m_formatValid = false;
                m_skipChars = 0;
                continue;
            }
            if (m_st.dest == dSkip)
                continue;
            if (m_skipChars > 0) {
                --m_skipChars; // the fallback of a preceding \u
                continue;
            }
            switch (t.kind) {
            case TRtfToken::tkText:
                Byte(uchar(t.ch));
                break;
            case TRtfToken::tkHex:
                Byte(t.param);
                break;
            case TRtfToken::tkSymbol:
                if (IsByteSymbol(t))
                    Byte(uchar(t.ch));
                else
                    Symbol(t.ch);
                break;
            case TRtfToken::tkWord:
                Word(t);
                break;
            default:
                break;
            }
        }
        DecodeBytes();
        EndParagraph(false);
        m_cursor.endEditBlock();
    }

private:
    enum TDestination { dText, dFontTable, dColorTable, dSkip };

    struct TState
    {
        TDestination dest = dText;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        int font = -1;
        double pointSize = 12.0;
        int color = 0;
        int uc = 1;
        Qt::Alignment alignment;
    };

    struct TFont
    {
        QString name;
        int codePage = 0; // 0: the document's
    };

    void LeaveGroup()
    {
        if (m_st.dest == dText)
            Flush();
        else if (m_st.dest == dFontTable && m_fontEntry >= 0 && !m_fontName.trimmed().isEmpty())
            EndFontEntry(); // an entry whose ";" is missing
    }

    void EndFontEntry()
    {
        if (m_fontEntry >= 0)
            m_fonts.insert(m_fontEntry, {m_fontName.trimmed(), m_fontEntryCodePage});
        m_fontEntry = -1;
        m_fontEntryCodePage = 0;
        m_fontName.clear();
    }

    // An escaped \, { or } is a byte of the text: in a double-byte code page it may be a trail byte.
    static bool IsByteSymbol(const TRtfToken &t)
    {
        return t.kind == TRtfToken::tkSymbol && (t.ch == '\\' || t.ch == '{' || t.ch == '}');
    }

    // The code page of the text here: the font's when its character set names one, else the document's.
    int CodePage() const
    {
        if (m_st.dest == dFontTable)
            return m_fontEntryCodePage ? m_fontEntryCodePage : m_documentCodePage;
        const int codePage = m_fonts.value(m_st.font < 0 ? m_defaultFont : m_st.font).codePage;
        return codePage ? codePage : m_documentCodePage;
    }

    // Bytes are gathered and decoded together, so that a double-byte letter's two bytes meet.
    void Byte(int byte)
    {
        if (m_st.dest != dText && m_st.dest != dFontTable) {
            Char(QChar(ushort(byte)));
            return;
        }
        const int codePage = CodePage();
        if (!m_bytes.isEmpty() && codePage != m_bytesCodePage)
            DecodeBytes();
        m_bytesCodePage = codePage;
        m_bytes += char(byte);
    }

    void DecodeBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QString text = m_decoder.Decode(m_bytesCodePage, m_bytes);
        m_bytes.clear();
        if (m_st.dest == dText) {
            AppendText(text);
            return;
        }
        for (const QChar c : text)
            Char(c);
    }

    void AppendText(const QString &text)
    {
        const QTextCharFormat &format = CurrentFormat();
        if (!m_pending.isEmpty() && format != m_pendingFormat)
            Flush();
        m_pendingFormat = format;
        m_pending += text;
    }

    void Char(QChar c)
    {
        switch (m_st.dest) {
        case dText:
            AppendText(QString(c));
            break;
        case dFontTable:
            if (c == QLatin1Char(';')) {
                EndFontEntry();
            } else {
                m_fontName += c;
            }
            break;
        case dColorTable:
            if (c == QLatin1Char(';')) {
                m_colors.append(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = m_green = m_blue = 0;
                m_colorSet = false;
            }
            break;
        case dSkip:
            break;
        }
    }

    void Symbol(char c)
    {
        switch (c) {
        case '~':
            Char(QChar(QChar::Nbsp));
            break;
        case '_':
            Char(QChar(0x2011));
            break;
        case '*':
            m_st.dest = dSkip; // an optional destination this reader does not know
            break;
        default:
            break; // \- optional hyphen, \: index entry, \| formula
        }
    }

    void Word(const TRtfToken &t)
    {
        static const QHash<QByteArray, ushort> named = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D}, {"zwnj", 0x200C},
            {"tab", '\t'}, {"cell", '\t'}, {"line", QChar::LineSeparator}};
        static const QList<QByteArray> skipped = {
            "stylesheet", "info", "pict", "header", "headerl", "headerr", "headerf", "footer", "footerl",
            "footerr", "footerf", "footnote", "fldinst", "object", "themedata", "colorschememapping",
            "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnsdecl", "datastore", "latentstyles",
            "pgdsctbl", "filetbl", "revtbl", "annotation", "atnid", "atnauthor", "bkmkstart", "bkmkend",
            "shppict", "nonshppict", "shp", "template", "userprops", "xe", "tc", "txe", "private"};
        static const QList<QByteArray> underlines = {
            "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
            "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"};

        const QByteArray &w = t.word;
        const bool on = !t.hasParam || t.param != 0;
        m_formatValid = false;

        if (m_st.dest == dColorTable) {
            if (w == "red" || w == "green" || w == "blue") {
                const int value = qBound(0, t.param, 255);
                (w == "red" ? m_red : w == "green" ? m_green : m_blue) = value;
                m_colorSet = true;
            }
            return;
        }
        if (m_st.dest == dFontTable) {
            if (w == "f") {
                m_fontEntry = t.param;
                m_fontEntryCodePage = 0;
            } else if (w == "fcharset")
                m_fontEntryCodePage = CodePageOfCharset(t.param);
            else if (w == "cpg")
                m_fontEntryCodePage = qMax(0, t.param);
            else if (w == "u")
                Unicode(t.param);
            else if (w == "uc")
                m_st.uc = qMax(0, t.param);
            return;
        }
        if (w == "fonttbl")
            m_st.dest = dFontTable;
        else if (w == "colortbl")
            m_st.dest = dColorTable;
        else if (skipped.contains(w))
            m_st.dest = dSkip;
        else if (w == "par" || w == "sect" || w == "page" || w == "row")
            EndParagraph(true);
        else if (named.contains(w))
            Char(QChar(named.value(w)));
        else if (w == "u")
            Unicode(t.param);
        else if (w == "uc")
            m_st.uc = qMax(0, t.param);
        else if (w == "deff")
            m_defaultFont = t.param;
        else if (w == "ansicpg" && t.param > 0)
            m_documentCodePage = t.param;
        else if (w == "mac")
            m_documentCodePage = 10000;
        else if (w == "pc")
            m_documentCodePage = 437;
        else if (w == "pca")
            m_documentCodePage = 850;
        else if (w == "pard")
            m_st.alignment = {};
        else if (w == "ql")
            m_st.alignment = {};
        else if (w == "qc")
            m_st.alignment = Qt::AlignHCenter;
        else if (w == "qr")
            m_st.alignment = Qt::AlignRight;
        else if (w == "qj")
            m_st.alignment = Qt::AlignJustify;
        else if (w == "plain") {
            const TState fresh;
            m_st.bold = fresh.bold;
            m_st.italic = fresh.italic;
            m_st.underline = fresh.underline;
            m_st.strike = fresh.strike;
            m_st.font = fresh.font;
            m_st.pointSize = fresh.pointSize;
            m_st.color = fresh.color;
        } else if (w == "b")
            m_st.bold = on;
        else if (w == "i")
            m_st.italic = on;
        else if (w == "ulnone")
            m_st.underline = false;
        else if (underlines.contains(w))
            m_st.underline = on;
        else if (w == "strike" || w == "striked")
            m_st.strike = on;
        else if (w == "f")
            m_st.font = t.param;
        else if (w == "fs" && t.param > 0)
            m_st.pointSize = t.param / 2.0;
        else if (w == "cf")
            m_st.color = t.param;
    }

    void Unicode(int value)
    {
        Char(QChar(ushort(value < 0 ? value + 65536 : value)));
        m_skipChars = m_st.uc;
    }

    const QTextCharFormat &CurrentFormat()
    {
        if (m_formatValid)
            return m_format;
        QTextCharFormat f;
        if (m_st.bold)
            f.setFontWeight(QFont::Bold);
        if (m_st.italic)
            f.setFontItalic(true);
        if (m_st.underline)
            f.setFontUnderline(true);
        if (m_st.strike)
            f.setFontStrikeOut(true);
        const QString family = m_fonts.value(m_st.font < 0 ? m_defaultFont : m_st.font).name;
        if (!family.isEmpty())
            f.setFontFamilies({family});
        f.setFontPointSize(m_st.pointSize);
        if (m_st.color > 0 && m_st.color < m_colors.size() && m_colors.at(m_st.color).isValid())
            f.setForeground(m_colors.at(m_st.color));
        m_format = f;
        m_formatValid = true;
        return m_format;
    }

    void Flush()
    {
        if (m_pending.isEmpty())
            return;
        m_cursor.insertText(m_pending, m_pendingFormat);
        m_pending.clear();
    }

    // The paragraph properties in force at its end belong to the paragraph.
    void EndParagraph(bool another)
    {
        Flush();
        QTextBlockFormat block = m_cursor.blockFormat();
        if (m_st.alignment)
            block.setAlignment(m_st.alignment);
        else
            block.clearProperty(QTextFormat::BlockAlignment);
        m_cursor.setBlockFormat(block);
        if (another)
            m_cursor.insertBlock(QTextBlockFormat(), CurrentFormat());
    }

    TRtfTokenizer m_tokens;
    QTextCursor m_cursor;
    QList<TState> m_stack;
    TState m_st;
    int m_skipChars = 0;
    QMap<int, TFont> m_fonts;
    int m_defaultFont = 0;
    int m_documentCodePage = 1252;
    int m_fontEntry = -1;
    int m_fontEntryCodePage = 0;
    QString m_fontName;
    QList<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    QByteArray m_bytes; // text bytes not yet decoded, all of one code page
    int m_bytesCodePage = 1252;
    TCodePageDecoder m_decoder;
    QString m_pending;
    QTextCharFormat m_pendingFormat;
    QTextCharFormat m_format;
    bool m_formatValid = false;
};

} // namespace

bool RtfToDocument(const QByteArray &rtf, QTextDocument *doc)
{
    if (!doc || rtf.size() > RtfMaxSize || !LooksLikeRtf(rtf))
        return false;
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    TRtfReader(rtf, doc).Run();
    doc->setUndoRedoEnabled(undo);
    return true;
}
