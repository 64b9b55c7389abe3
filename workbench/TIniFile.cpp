#include "TIniFile.h"

#include "Glossmill_Misc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

namespace {

enum class TIniEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Latin1 };

struct TIniText
{
    QStringList Lines;
    QString Eol = QStringLiteral("\n");
    TIniEncoding Encoding = TIniEncoding::Utf8;
};

enum class TLoadResult { Missing, Loaded, Failed };

// A line whose first non-blank character is "[" starts a section; the name runs to "]".
bool SectionNameOf(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return false;
    qsizetype close = t.indexOf(u']', 1);
    if (close < 0)
        close = t.size();
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// A line with "=" that is neither a comment nor a section header holds a key.
bool KeyOf(const QString &line, QString *key, QString *value = nullptr, qsizetype *eq = nullptr)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'['))
        return false;
    const qsizetype pos = line.indexOf(u'=');
    if (pos < 0)
        return false;
    *key = line.left(pos).trimmed();
    if (value)
        *value = line.mid(pos + 1).trimmed();
    if (eq)
        *eq = pos;
    return true;
}

qsizetype FindSection(const QStringList &lines, const QString &section, qsizetype from = 0)
{
    QString name;
    for (qsizetype i = from; i < lines.size(); ++i)
        if (SectionNameOf(lines[i], &name) && SameTextAZ(name, section))
            return i;
    return -1;
}

// One past the last line of the section whose header is at `header`.
qsizetype SectionEnd(const QStringList &lines, qsizetype header)
{
    QString name;
    qsizetype i = header + 1;
    while (i < lines.size() && !SectionNameOf(lines[i], &name))
        ++i;
    return i;
}

qsizetype FindKey(const QStringList &lines, qsizetype from, qsizetype to, const QString &key)
{
    QString k;
    for (qsizetype i = from; i < to; ++i)
        if (KeyOf(lines[i], &k) && SameTextAZ(k, key))
            return i;
    return -1;
}

QString Decode(const QByteArray &bytes, TIniEncoding *encoding)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *encoding = TIniEncoding::Utf8Bom;
        return QString::fromUtf8(bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool le = bytes.startsWith("\xFF\xFE");
        *encoding = le ? TIniEncoding::Utf16LE : TIniEncoding::Utf16BE;
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return decoder(bytes.mid(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) {
        *encoding = TIniEncoding::Utf8;
        return text;
    }
    // Not UTF-8: an 8-bit file, kept byte for byte.
    *encoding = TIniEncoding::Latin1;
    return QString::fromLatin1(bytes);
}

QByteArray EncodeAs(const QString &text, TIniEncoding encoding)
{
    switch (encoding) {
    case TIniEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
        QStringEncoder encoder(encoding == TIniEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE,
                               QStringConverter::Flag::WriteBom);
        return encoder(text);
    }
    case TIniEncoding::Latin1:
        return text.toLatin1();
    case TIniEncoding::Utf8:
        break;
    }
    return text.toUtf8();
}

// The file's bytes in its own encoding while the next read gives the same text back, else in UTF-8. The encoding
// is guessed from the whole file: an 8-bit file that loses its last non-UTF-8 byte, or gains text whose bytes
// form UTF-8, would read as UTF-8, and values that were never written would change.
QByteArray Encode(const QString &text, TIniEncoding encoding)
{
    const QByteArray bytes = EncodeAs(text, encoding);
    TIniEncoding next;
    return Decode(bytes, &next) == text ? bytes : text.toUtf8();
}

TLoadResult Load(const QString &fileName, TIniText *text)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return TLoadResult::Missing;
    QFile file(fileName);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return TLoadResult::Failed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return TLoadResult::Failed;
    QString all = Decode(bytes, &text->Encoding);
    const qsizetype lf = all.indexOf(u'\n');
    if (lf > 0 && all[lf - 1] == u'\r')
        text->Eol = QStringLiteral("\r\n");
    if (all.endsWith(u'\n'))
        all.chop(1);
    if (all.isEmpty())
        return TLoadResult::Loaded;
    text->Lines = all.split(u'\n');
    for (QString &line : text->Lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return TLoadResult::Loaded;
}

bool Save(const QString &fileName, const TIniText &text)
{
    QString all;
    for (const QString &line : text.Lines)
        all += line + text.Eol;
    // Written beside and renamed over, so a failure never leaves half a file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Encode(all, text.Encoding);
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

// Loads the file for a change; false when an existing file cannot be read (rewriting it would lose it).
bool LoadForWrite(const QString &fileName, TIniText *text)
{
    return Load(fileName, text) != TLoadResult::Failed;
}

bool ParseInteger(const QString &text, int *out)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const QString digits = text.mid(2);
        if (digits.size() > 8)
            return false;
        for (QChar c : digits)
            if (!c.isDigit() && !((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
                return false;
        bool ok = false;
        const quint32 v = digits.toUInt(&ok, 16);
        if (!ok)
            return false;
        *out = static_cast<qint32>(v); // eight hex digits fill all 32 bits, sign included
        return true;
    }
    qsizetype start = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+'))
        start = 1;
    if (start >= text.size())
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok)
        return false;
    *out = v;
    return true;
}

QString OneLine(const QString &value)
{
    QString v = value;
    v.remove(u'\r');
    v.remove(u'\n');
    return v;
}

} // namespace

TIniFile::TIniFile(const QString &fileName)
    : FFileName(fileName)
{
}

QString TIniFile::FileName() const
{
    return FFileName;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue,
                             int maxLength) const
{
    QString result = defaultValue;
    TIniText text;
    if (Load(FFileName, &text) == TLoadResult::Loaded) {
        const qsizetype header = FindSection(text.Lines, section);
        if (header >= 0) {
            const qsizetype line = FindKey(text.Lines, header + 1, SectionEnd(text.Lines, header), key);
            QString k;
            if (line >= 0)
                KeyOf(text.Lines[line], &k, &result);
        }
    }
    if (maxLength > 0 && result.size() > maxLength)
        result.truncate(maxLength);
    return result;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = defaultValue;
    return ParseInteger(ReadString(section, key, QString()), &value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    TIniText text;
    if (!LoadForWrite(FFileName, &text))
        return false;
    QStringList &lines = text.Lines;
    const QString v = OneLine(value);
    const qsizetype header = FindSection(lines, section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(key + QLatin1Char('=') + v);
        return Save(FFileName, text);
    }
    const qsizetype end = SectionEnd(lines, header);
    const qsizetype line = FindKey(lines, header + 1, end, key);
    if (line >= 0) {
        QString k;
        qsizetype eq = 0;
        KeyOf(lines[line], &k, nullptr, &eq);
        lines[line] = lines[line].left(eq + 1) + v;
    } else {
        // After the section's last non-blank line, so the blank lines that part sections stay between them.
        qsizetype at = end;
        while (at > header + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, key + QLatin1Char('=') + v);
    }
    return Save(FFileName, text);
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::EraseSection(const QString &section)
{
    TIniText text;
    if (!LoadForWrite(FFileName, &text))
        return false;
    bool changed = false;
    for (qsizetype header = FindSection(text.Lines, section); header >= 0;
         header = FindSection(text.Lines, section, header)) {
        text.Lines.remove(header, SectionEnd(text.Lines, header) - header);
        changed = true;
    }
    return !changed || Save(FFileName, text);
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    TIniText text;
    if (!LoadForWrite(FFileName, &text))
        return false;
    const qsizetype header = FindSection(text.Lines, section);
    if (header < 0)
        return true;
    bool changed = false;
    for (qsizetype line = FindKey(text.Lines, header + 1, SectionEnd(text.Lines, header), key); line >= 0;
         line = FindKey(text.Lines, line, SectionEnd(text.Lines, header), key)) {
        text.Lines.removeAt(line);
        changed = true;
    }
    return !changed || Save(FFileName, text);
}

QString TIniFile::WriteErrorText() const
{
    return QStringLiteral("Unable to write to ") + FFileName;
}
