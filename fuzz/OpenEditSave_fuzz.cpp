// Opens a default and a language file as a project does, edits, saves and opens the saved file again: a save that
// reports success must leave a file that opens, and each edited text must read back as the writer's rules give it.
//
// Input: a flags byte (1: menu files, 2: whitespace not kept, 4: a byte-order mark written), then the default file, the
// language file and the edits, NUL between them. An edit is a byte that picks the item and the action (low bits the
// item, the top two bits: text, do not translate, final, needs better) and, for a text, its UTF-8.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "ModelSettings.h"

namespace {

// The whole file, for a report.
QByteArray TestBytes(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool LocalIs(const char *Name, const char *Local)
{
    const char *colon = std::strchr(Name, ':');
    return std::strcmp(colon ? colon + 1 : Name, Local) == 0;
}

// Files in which saving has to guess: values strings inside other strings (each is written as well as the one around
// it), menu items with two ids or titles (written into the first, read from another). Their texts are not judged.
bool Guesswork(const QByteArray &File)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(File.constData(), size_t(File.size())))
        return true;
    for (pugi::xml_node n = doc.first_child(); n; n = GlossmillXml::NextNode(n, doc)) {
        if (n.type() != pugi::node_element)
            continue;
        if (LocalIs(n.name(), "string") && n.attribute("name"))
            for (pugi::xml_node up = n.parent(); up; up = up.parent())
                if (up.type() == pugi::node_element && LocalIs(up.name(), "string"))
                    return true;
        if (LocalIs(n.name(), "item")) {
            int ids = 0, titles = 0;
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
                ids += LocalIs(a.name(), "id");
                titles += LocalIs(a.name(), "title");
            }
            if (ids > 1 || titles > 1)
                return true;
        }
    }
    return false;
}

struct TSettings : TModelSettingsProvider
{
    bool Keep = true, Bom = false;
    bool ReplaceWhiteSpaces() const override { return false; }
    bool DoNotWriteBOM() const override { return !Bom; }
    bool KeepWhiteSpaces() const override { return Keep; }
};

[[noreturn]] void Fail(const char *What, const QString &Detail)
{
    std::fprintf(stderr, "FAULT: %s\n%s\n", What, Detail.toUtf8().constData());
    std::abort();
}

bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The core that reading gives a text: without its whitespace at both ends, unless it is nothing but whitespace.
QString Core(const QString &Text)
{
    qsizetype from = 0, to = Text.size();
    while (from < to && IsSpace(Text[from]))
        ++from;
    while (to > from && IsSpace(Text[to - 1]))
        --to;
    return from == to ? Text : Text.mid(from, to - from);
}

// The writer's rules for the build, written down once more so that the check does not lean on the code it checks:
// an apostrophe outside double quotes and not escaped gets a backslash; so does an "@" or "?" that would make the
// build read the text as a reference.
QString EscapeApostrophes(const QString &Text, bool &InQuotes)
{
    QString out;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == u'\\') {
            out += c;
            if (i + 1 < Text.size())
                out += Text[++i];
            continue;
        }
        if (c == u'"')
            InQuotes = !InQuotes;
        else if (c == u'\'' && !InQuotes)
            out += u'\\';
        out += c;
    }
    return out;
}

bool NameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'-';
}

bool IsReference(const QString &t)
{
    if (t == "@null" || t == "@empty")
        return true;
    if (t.size() < 2 || (t[0] != u'@' && t[0] != u'?'))
        return false;
    qsizetype i = 1;
    if (t[0] == u'@' && t[i] == u'+')
        ++i;
    if (i < t.size() && t[i] == u'*')
        ++i;
    auto run = [&](qsizetype k) {
        while (k < t.size() && NameChar(t[k]))
            ++k;
        return k;
    };
    qsizetype end = run(i);
    if (end < t.size() && t[end] == u':') {
        if (end == i)
            return false;
        i = end + 1;
        end = run(i);
    }
    if (end < t.size() && t[end] == u'/') {
        if (end == i)
            return false;
        i = end + 1;
        end = run(i);
    } else if (t[0] == u'@') {
        return false;
    }
    return end == t.size() && end > i;
}

// The position of the mark to escape in Text (after its leading whitespace with SkipSpace), -1 for none.
qsizetype MarkToEscape(const QString &Text, bool SkipSpace)
{
    qsizetype from = 0, to = Text.size();
    if (SkipSpace) {
        while (from < to && IsSpace(Text[from]))
            ++from;
        while (to > from && IsSpace(Text[to - 1]))
            --to;
    }
    if (from == to || (Text[from] != u'@' && Text[from] != u'?'))
        return -1;
    return IsReference(Text.mid(from, to - from)) ? -1 : from;
}

QString EscapeMark(QString Text, bool SkipSpace)
{
    const qsizetype at = MarkToEscape(Text, SkipSpace);
    if (at >= 0)
        Text.insert(at, u'\\');
    return Text;
}

// "&#0160;" in a text reaches the file as that reference, and so does U+FDD0, which stands for it inside the writer:
// both read back as the no-break space.
QString WithSentinelAsReference(QString Text)
{
    return Text.replace(QChar(0xFDD0), QChar(0xA0)).replace(QStringLiteral("&#0160;"), QChar(0xA0));
}

// The content as an XML parser sees it, with the writer's escapes put into its texts; false when Markup is not XML.
bool Events(const QString &Markup, bool Escape, QStringList &Out)
{
    QXmlStreamReader reader(QStringLiteral("<r>") + Markup + QStringLiteral("</r>"));
    reader.setNamespaceProcessing(false);
    QString text;
    QStringList events;
    std::vector<qsizetype> texts; // indexes in events of the text runs, in order
    auto flush = [&] {
        if (!text.isEmpty()) {
            texts.push_back(events.size());
            events << QStringLiteral("T") + text;
        }
        text.clear();
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            flush();
            QString e = QStringLiteral("<") + reader.qualifiedName().toString();
            for (const QXmlStreamAttribute &a : reader.attributes())
                e += QStringLiteral(" ") + a.qualifiedName().toString() + QStringLiteral("=") + a.value().toString();
            for (const QXmlStreamNamespaceDeclaration &d : reader.namespaceDeclarations())
                e += QStringLiteral(" xmlns:") + d.prefix().toString() + QStringLiteral("=") + d.namespaceUri().toString();
            events << e;
            break;
        }
        case QXmlStreamReader::EndElement:
            flush();
            events << QStringLiteral("/") + reader.qualifiedName().toString();
            break;
        case QXmlStreamReader::Characters:
            text += reader.text();
            break;
        case QXmlStreamReader::Comment:
            flush();
            events << QStringLiteral("!") + reader.text().toString();
            break;
        case QXmlStreamReader::ProcessingInstruction:
            flush();
            events << QStringLiteral("?") + reader.processingInstructionTarget().toString() + QStringLiteral(" ")
                    + reader.processingInstructionData().toString();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return false;
    // Without the wrapper; its whitespace at both ends goes, as reading splits it off.
    events.removeFirst();
    events.removeLast();
    for (qsizetype &k : texts)
        --k;
    if (Escape) {
        bool inQuotes = false;
        QString all;
        qsizetype first = -1;
        for (const qsizetype k : texts) {
            const QString value = EscapeApostrophes(events[k].mid(1), inQuotes);
            all += value;
            if (first < 0 && !Core(value).isEmpty() && !IsSpace(Core(value)[0]))
                first = k;
            events[k] = QStringLiteral("T") + value;
        }
        if (first >= 0 && MarkToEscape(all, true) >= 0) {
            QString value = events[first].mid(1);
            value = EscapeMark(value, true);
            events[first] = QStringLiteral("T") + value;
        }
    }
    if (!events.isEmpty() && events.first().startsWith(u'T')) {
        const QString t = events.first().mid(1);
        qsizetype i = 0;
        while (i < t.size() && IsSpace(t[i]))
            ++i;
        events.first() = QStringLiteral("T") + t.mid(i);
        if (events.first() == QStringLiteral("T"))
            events.removeFirst();
    }
    if (!events.isEmpty() && events.last().startsWith(u'T')) {
        QString t = events.last().mid(1);
        while (!t.isEmpty() && IsSpace(t.back()))
            t.chop(1);
        events.last() = QStringLiteral("T") + t;
        if (events.last() == QStringLiteral("T"))
            events.removeLast();
    }
    Out = events;
    return true;
}

// Control characters (which XML holds only as references that a second parser refuses) as characters of a private use
// area, in a text and in the references to them.
QChar ControlStandIn(uint c)
{
    return QChar(char16_t(0xE000 + c));
}

bool IsControl(uint c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// A reference at Text[i] ("&#...;"), its length and value; 0 when there is none.
qsizetype CharacterReference(const QString &Text, qsizetype i, uint &Value)
{
    if (i + 2 >= Text.size() || Text[i] != u'&' || Text[i + 1] != u'#')
        return 0;
    qsizetype j = i + 2;
    const bool hex = Text[j] == u'x';
    if (hex)
        ++j;
    const qsizetype digits = j;
    Value = 0;
    while (j < Text.size() && j - digits < 8) {
        const int d = hex ? QString("0123456789abcdef").indexOf(Text[j].toLower()) : QString("0123456789").indexOf(Text[j]);
        if (d < 0)
            break;
        Value = Value * (hex ? 16 : 10) + uint(d);
        ++j;
    }
    return j > digits && j < Text.size() && Text[j] == u';' ? j - i + 1 : 0;
}

// What a typed text is to pugixml, in the terms of a strict parser: a bare "&" and "]]>" in text are text; control
// characters stand in as above.
QString AsPugixmlReadsIt(const QString &Text)
{
    QString out;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        uint value = 0;
        if (IsControl(c.unicode())) {
            out += ControlStandIn(c.unicode());
        } else if (Text.mid(i, 9) == QStringLiteral("<![CDATA[")) {
            const qsizetype close = Text.indexOf(QStringLiteral("]]>"), i + 9);
            const qsizetype to = close < 0 ? Text.size() : close + 3;
            for (qsizetype k = i; k < to; ++k)
                out += IsControl(Text[k].unicode()) ? ControlStandIn(Text[k].unicode()) : Text[k];
            i = to - 1;
        } else if (Text.mid(i, 4) == QStringLiteral("<!--") || Text.mid(i, 2) == QStringLiteral("<?")) {
            const bool comment = Text[i + 1] == u'!';
            const qsizetype close = Text.indexOf(comment ? QStringLiteral("-->") : QStringLiteral("?>"), i + 2);
            const qsizetype to = close < 0 ? Text.size() : close + (comment ? 3 : 2);
            out += Text.mid(i, to - i);
            i = to - 1;
        } else if (c == u'<' && i + 1 < Text.size()
                   && (Text[i + 1].isLetter() || Text[i + 1] == u'_' || Text[i + 1] == u':' || Text[i + 1].unicode() >= 0x80)) {
            // A start tag: pugixml takes a "<" in an attribute value for text, as it does a bare "&".
            QChar quote;
            for (; i < Text.size(); ++i) {
                const QChar t = Text[i];
                uint v = 0;
                if (!quote.isNull() && t == u'<') {
                    out += QStringLiteral("&lt;");
                } else if (!quote.isNull() && t == u'&' && !CharacterReference(Text, i, v)
                           && !QRegularExpression(QStringLiteral("^&(amp|lt|gt|quot|apos);")).match(Text.mid(i, 6)).hasMatch()) {
                    out += QStringLiteral("&amp;");
                } else {
                    out += IsControl(t.unicode()) ? ControlStandIn(t.unicode()) : t;
                }
                if (quote.isNull() && (t == u'"' || t == u'\''))
                    quote = t;
                else if (!quote.isNull() && t == quote)
                    quote = QChar();
                else if (quote.isNull() && t == u'>')
                    break;
            }
        } else if (Text.mid(i, 3) == QStringLiteral("]]>")) {
            out += QStringLiteral("]]&gt;");
            i += 2;
        } else if (const qsizetype n = CharacterReference(Text, i, value)) {
            out += IsControl(value) ? QString(ControlStandIn(value)) : Text.mid(i, n);
            i += n - 1;
        } else if (c == u'&') {
            qsizetype j = i + 1;
            while (j < Text.size() && (Text[j].isLetterOrNumber() || Text[j] == u'_'))
                ++j;
            const QString name = Text.mid(i + 1, j - i - 1);
            if (j < Text.size() && Text[j] == u';' && QStringList{"amp", "lt", "gt", "quot", "apos"}.contains(name)) {
                out += Text.mid(i, j - i + 1);
                i = j;
            } else {
                out += QStringLiteral("&amp;");
            }
        } else {
            out += c;
        }
    }
    return out;
}

// What pugixml makes of a text as element content, written by pugixml: for the texts the strict parser refuses
// (names it does not know). With Escape, the writer's escapes go into its texts. Empty when pugixml refuses it, or when
// it ends in "<", which pugixml drops.
QString PugixmlForm(const QString &Text, bool Escape)
{
    const QByteArray utf8 = Text.toUtf8();
    pugi::xml_document doc;
    if (utf8.endsWith('<')
        || !doc.load_buffer(utf8.constData(), size_t(utf8.size()),
                            pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_fragment | pugi::parse_comments | pugi::parse_pi,
                            pugi::encoding_utf8))
        return QString();
    if (Escape) {
        bool inQuotes = false, first = true;
        QString all;
        std::vector<pugi::xml_node> texts;
        for (pugi::xml_node n = doc.first_child(); n; n = GlossmillXml::NextNode(n, doc))
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
                const QString value = EscapeApostrophes(QString::fromUtf8(n.value()), inQuotes);
                n.set_value(value.toUtf8().constData());
                all += value;
                texts.push_back(n);
            }
        for (pugi::xml_node n : texts)
            if (first && !Core(QString::fromUtf8(n.value())).isEmpty() && !IsSpace(Core(QString::fromUtf8(n.value()))[0])) {
                first = false;
                if (MarkToEscape(all, true) >= 0)
                    n.set_value(EscapeMark(QString::fromUtf8(n.value()), true).toUtf8().constData());
            }
    }
    struct TOut : pugi::xml_writer
    {
        std::string Text;
        void write(const void *Data, size_t Size) override { Text.append(static_cast<const char *>(Data), Size); }
    } out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return Core(QString::fromStdString(out.Text));
}

QString AsciiOnly(QString Text)
{
    for (QChar &c : Text)
        if (c.unicode() >= 0x80)
            c = u'Q';
    return Text;
}

// What was read back, in the same terms.
QString ReadBackAsMarkup(const QString &Text)
{
    QString out;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        uint value = 0;
        if (const qsizetype n = CharacterReference(Text, i, value); n && IsControl(value)) {
            out += ControlStandIn(value);
            i += n - 1;
        } else {
            out += Text[i];
        }
    }
    return out;
}

class TFuzzProject
{
public:
    TFuzzProject()
    {
        // Scratch files in memory where there is a place for them.
        const QString scratch = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        FRoot = scratch + QStringLiteral("/glossmill-fuzz-") + QString::number(QCoreApplication::applicationPid());
    }
    ~TFuzzProject() { QDir(FRoot).removeRecursively(); }

    int Run(const uint8_t *Data, size_t Size);

private:
    QString FRoot;
};

std::unique_ptr<TTransResourceFileNode> OpenLanguage(TTransResourceFileNode *Base, bool Menu, const QString &Path,
                                                     bool &Opened)
{
    auto node = CreateResourceFileNode(Menu ? rtAndroid_menu : rtAndroid_values);
    node->LocaleDesc.LocaleName = QStringLiteral("German");
    node->LocaleDesc.LocaleCode = QStringLiteral("de");
    node->ResourceFileName = Path;
    node->setBaseTemplate(Base);
    const tLoadResFileResult load = node->LoadResFile(Path);
    Opened = node->Parse() && load == lrfOK;
    return node;
}

int TFuzzProject::Run(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const unsigned flags = Data[0];
    const bool menu = flags & 1;
    TSettings settings;
    settings.Keep = !(flags & 2);
    settings.Bom = flags & 4;
    ModelSettings::SetProvider(&settings);
    struct TReset
    {
        ~TReset() { ModelSettings::SetProvider(nullptr); }
    } reset;

    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(Data) + 1, qsizetype(Size - 1)).split('\0');
    if (parts.size() < 2)
        return 0;
    QDir(FRoot).removeRecursively();
    const QString kind = menu ? QStringLiteral("menu") : QStringLiteral("values");
    const QString name = menu ? QStringLiteral("main.xml") : QStringLiteral("strings.xml");
    const QString defaultPath = FRoot + "/res/" + kind + "/" + name;
    const QString langPath = FRoot + "/res/" + kind + "-de/" + name;
    const QString againPath = FRoot + "/res/" + kind + "-fr/" + name;
    QDir().mkpath(FRoot + "/res/" + kind);
    QDir().mkpath(FRoot + "/res/" + kind + "-de");
    QDir().mkpath(FRoot + "/res/" + kind + "-fr");
    {
        QFile d(defaultPath), l(langPath);
        if (!d.open(QIODevice::WriteOnly) || d.write(parts[0]) != parts[0].size() || !l.open(QIODevice::WriteOnly)
            || l.write(parts[1]) != parts[1].size())
            return 0;
    }

    auto base = CreateResourceFileNode(menu ? rtAndroid_menu : rtAndroid_values);
    if (base->LoadResFile(defaultPath) != lrfOK || !base->Parse())
        return 0;
    bool opened = false;
    auto lang = OpenLanguage(base.get(), menu, langPath, opened);
    if (!opened)
        return 0;

    // What opening wrote, the work file, opens as a language file of its own.
    if (!lang->TempWorkFileName.isEmpty() && QFile::exists(lang->TempWorkFileName)) {
        QFile::remove(againPath);
        QFile::copy(lang->TempWorkFileName, againPath);
        bool workOpened = false;
        auto work = OpenLanguage(base.get(), menu, againPath, workOpened);
        if (!workOpened)
            Fail("the work file does not open", QString::fromUtf8(TestBytes(againPath)));
    }

    // Only the listed items can be edited, as in the window.
    std::vector<TTranslateItem *> listed;
    for (const auto &item : lang->TransItems())
        if (!item->FBaseValue.isEmpty())
            listed.push_back(item.get());
    lang->EnableDisablUndoMode(true);
    std::map<TTranslateItem *, int> edited;
    for (qsizetype p = 2; p < parts.size() && !listed.empty(); ++p) {
        if (parts[p].isEmpty())
            continue;
        const uint8_t pick = uint8_t(parts[p][0]);
        TTranslateItem *item = listed[(pick & 0x3F) % listed.size()];
        switch (pick >> 6) {
        case 0:
            item->setTranslateValue(QString::fromUtf8(parts[p].mid(1)));
            break;
        case 1:
            item->setTranslateState(tsDontTranslate);
            break;
        case 2:
            item->setTranslateState(tsFinalTrnaslation);
            break;
        default:
            item->setTranslateState(tsNeedBetter);
            break;
        }
        if (item->UndoAffected()) {
            item->ResetUndoFlag();
            lang->AddToUndoList(item);
        }
        edited[item] = 1;
    }

    // What the check expects of each edited item, taken before the save.
    struct TExpected
    {
        QString ID, Text, Markup;
        bool Empty = false;
    };
    std::vector<TExpected> expected;
    // A values text typed as markup with a string element in it makes that element a place that saving writes
    // another item into, as it writes every string element: the texts are then not the ones typed.
    bool nested = Guesswork(parts[0]) || Guesswork(parts[1]);
    for (const auto &[item, unused] : edited)
        nested = nested || (!menu && item->FTranslatedValue.get().contains(u'<') && item->FTranslatedValue.get().contains(QStringLiteral("string")));
    for (const auto &[item, unused] : edited) {
        if (nested)
            break;
        int same = 0;
        for (const auto &other : lang->TransItems())
            same += other->ID == item->ID;
        int sameBase = 0;
        for (const auto &other : base->TransItems())
            sameBase += other->ID == item->ID;
        if (same != 1 || sameBase != 1)
            continue;
        TExpected e;
        e.ID = item->ID;
        // U+FDD0 is a no-break space reference in a text, but stays itself in a name: markup with it is not judged.
        if (item->FTranslatedValue.get().contains(QChar(0xFDD0)) && item->FTranslatedValue.get().contains(u'<'))
            continue;
        const QString written = WithSentinelAsReference(item->GetFinalValueToSave(settings.Keep));
        const bool untranslated = item->FTranslateState == tsDontTranslate || (menu && item->FTranslateState == tsBaseNotPresent);
        if (untranslated && item->FTranslatedValue.isEmpty()) {
            if (!menu) {
                e.Empty = true;
            } else {
                const TTranslateItem *b = base->GetItemByID(item->ID);
                e.Text = Core(EscapeMark(WithSentinelAsReference(b->GetFinalValueToSave(settings.Keep)), false));
            }
        } else if (menu) {
            e.Text = Core(EscapeMark(written, false));
        } else if (lang->ContentKindOf(item) == ckCData) {
            bool inQuotes = false;
            e.Text = EscapeMark(EscapeApostrophes(Core(written), inQuotes), false);
        } else {
            bool inQuotes = false;
            e.Text = Core(EscapeMark(EscapeApostrophes(written, inQuotes), true));
            if (lang->ContentKindOf(item) != ckEscapedMarkup && written.contains(u'<'))
                e.Markup = AsPugixmlReadsIt(written);
        }
        expected.push_back(e);
    }

    if (!lang->SaveFile(QString()))
        return 0;
    lang->DeleteTempXMFile();

    bool again = false;
    auto reopened = OpenLanguage(base.get(), menu, langPath, again);
    if (!again)
        Fail("the saved file does not open", QString::fromUtf8(TestBytes(langPath)));
    if (Guesswork(TestBytes(langPath)))
        expected.clear();
    for (const TExpected &e : expected) {
        const TTranslateItem *item = reopened->GetItemByID(e.ID);
        const QString read = item ? item->FTranslatedValue : QStringLiteral("<no item>");
        if (e.Empty) {
            if (!read.isEmpty())
                Fail("a string left untranslated reads back with a text",
                     e.ID + ": " + read + "\nfile:\n" + QString::fromUtf8(TestBytes(langPath)));
            continue;
        }
        if (read == e.Text)
            continue;
        QStringList typed, back;
        if (!e.Markup.isEmpty() && Events(e.Markup, true, typed) && Events(ReadBackAsMarkup(read), false, back) && typed == back)
            continue;
        // The second parser knows fewer name characters than pugixml: compared again with every character beyond ASCII
        // as one letter, and, where it still refuses the names, as pugixml reads and writes both.
        if (!e.Markup.isEmpty() && Events(AsciiOnly(e.Markup), true, typed) && Events(AsciiOnly(ReadBackAsMarkup(read)), false, back)
            && typed == back)
            continue;
        if (!e.Markup.isEmpty() && !Events(AsciiOnly(e.Markup), true, typed) && !PugixmlForm(e.Markup, true).isEmpty()
            && PugixmlForm(e.Markup, true) == PugixmlForm(ReadBackAsMarkup(read), false))
            continue;
        Fail("an edited text does not read back",
             e.ID + "\nexpected: " + e.Text + "\nread:     " + read + "\nmarkup:   " + typed.join(u'|') + "\nback:     "
                 + back.join(u'|') + "\nfile:\n" + QString::fromUtf8(TestBytes(langPath)));
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static TFuzzProject project;
    return project.Run(Data, Size);
}
