#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "RtfText.h"
#include "TestSupport.h"
#include "WordPadFixtures.h"

void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QStringList BlockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

// What the notepad shows of a character, as one comparable text.
QString Attributes(const QTextCharFormat &f, const QFont &defaultFont)
{
    QStringList a;
    if (f.fontWeight() >= QFont::DemiBold)
        a << "b";
    if (f.fontItalic())
        a << "i";
    if (f.fontUnderline())
        a << "u";
    if (f.fontStrikeOut())
        a << "s";
    double size = defaultFont.pointSizeF();
    if (f.hasProperty(QTextFormat::FontPointSize))
        size = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize))
        size = f.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    a << QString::number(size) + "pt";
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        a << f.foreground().color().name();
    const QStringList families = f.fontFamilies().toStringList();
    a << (families.isEmpty() ? defaultFont.family() : families.first());
    return a.join(' ');
}

// One line per paragraph: alignment, then runs of equal attributes.
QStringList Describe(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const Qt::Alignment h = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        QString line = h & Qt::AlignJustify ? "justify" : h & Qt::AlignHCenter ? "center" : h & Qt::AlignRight ? "right" : "left";
        for (auto it = block.begin(); !it.atEnd(); ++it)
            line += " [" + Attributes(it.fragment().charFormat(), doc.defaultFont()) + "]" + it.fragment().text();
        lines << line;
    }
    return lines;
}

QTextCharFormat Plain() { return {}; }
QTextCharFormat Bold() { QTextCharFormat f; f.setFontWeight(QFont::Bold); return f; }
QTextCharFormat Italic() { QTextCharFormat f; f.setFontItalic(true); return f; }
QTextCharFormat Underline() { QTextCharFormat f; f.setFontUnderline(true); return f; }
QTextCharFormat Strike() { QTextCharFormat f; f.setFontStrikeOut(true); return f; }
QTextCharFormat Sized(double pt) { QTextCharFormat f; f.setFontPointSize(pt); return f; }
QTextCharFormat Coloured(QColor c) { QTextCharFormat f; f.setForeground(c); return f; }
QTextCharFormat Family(const QString &family) { QTextCharFormat f; f.setFontFamilies({family}); return f; }

struct TRoundTripCase
{
    const char *name;
    std::function<void(QTextDocument &)> build;
};

void Paragraphs(QTextDocument &doc, const QStringList &texts)
{
    QTextCursor c(&doc);
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0)
            c.insertBlock();
        c.insertText(texts.at(i));
    }
}

void Runs(QTextDocument &doc, const QList<QPair<QString, QTextCharFormat>> &runs)
{
    QTextCursor c(&doc);
    for (const auto &run : runs)
        c.insertText(run.first, run.second);
}

void Aligned(QTextDocument &doc, const QList<QPair<QString, Qt::Alignment>> &paragraphs)
{
    QTextCursor c(&doc);
    for (int i = 0; i < paragraphs.size(); ++i) {
        QTextBlockFormat block;
        block.setAlignment(paragraphs.at(i).second);
        if (i > 0)
            c.insertBlock(block);
        else
            c.setBlockFormat(block);
        c.insertText(paragraphs.at(i).first);
    }
}

const TRoundTripCase kRoundTrips[] = {
    {"Empty", [](QTextDocument &) {}},
    {"PlainLine", [](QTextDocument &d) { Paragraphs(d, {"Remember to check the plurals."}); }},
    {"ParagraphsWithEmptyOnes", [](QTextDocument &d) { Paragraphs(d, {"first", "", "third", ""}); }},
    {"SpacesKept", [](QTextDocument &d) { Paragraphs(d, {"  two leading", "double  inside", "trailing  "}); }},
    {"TabsAndLineBreaks", [](QTextDocument &d) { Paragraphs(d, {QString("a\tb") + QChar(QChar::LineSeparator) + "c"}); }},
    {"BracesAndBackslashes", [](QTextDocument &d) { Paragraphs(d, {"{\\rtf1 \\par}", "C:\\res\\values-de\\", "}{", "\\'e9 \\u233?"}); }},
    {"Latin1AndCp1252", [](QTextDocument &d) { Paragraphs(d, {QString::fromUtf8("Grüße, façade, naïve, €5, „quoted“ – dash")}); }},
    {"NonLatinScripts", [](QTextDocument &d) { Paragraphs(d, {QString::fromUtf8("Ελληνικά Русский 日本語 עברית العربية")}); }},
    {"NonBmp", [](QTextDocument &d) { Paragraphs(d, {QString::fromUtf8("emoji 😀 clef 𝄞 end"), QString::fromUtf8("𠜎9")}); }},
    {"DigitAfterEscape", [](QTextDocument &d) { Paragraphs(d, {QString::fromUtf8("é1 ü- ä?x ß ")}); }},
    {"Bold", [](QTextDocument &d) { Runs(d, {{"plain ", Plain()}, {"bold", Bold()}, {" plain", Plain()}}); }},
    {"Italic", [](QTextDocument &d) { Runs(d, {{"an ", Plain()}, {"italic", Italic()}, {" word", Plain()}}); }},
    {"Underline", [](QTextDocument &d) { Runs(d, {{"under", Underline()}, {"lined", Plain()}}); }},
    {"Strike", [](QTextDocument &d) { Runs(d, {{"struck", Strike()}, {" out", Plain()}}); }},
    {"FontSizes", [](QTextDocument &d) { Runs(d, {{"small", Sized(8)}, {"big", Sized(20)}, {"half", Sized(10.5)}}); }},
    {"TextColours", [](QTextDocument &d) {
         Runs(d, {{"red", Coloured(Qt::red)}, {"blue", Coloured(QColor(0, 120, 215))}, {"red again", Coloured(Qt::red)}, {"auto", Plain()}});
     }},
    {"FontFamily", [](QTextDocument &d) { Runs(d, {{"serif", Family("DejaVu Serif")}, {" mono", Family("DejaVu Sans Mono")}}); }},
    {"CombinedFormats", [](QTextDocument &d) {
         QTextCharFormat f = Bold();
         f.setFontItalic(true);
         f.setFontUnderline(true);
         f.setFontStrikeOut(true);
         f.setFontPointSize(14);
         f.setForeground(QColor(10, 200, 30));
         Runs(d, {{QString::fromUtf8("all {of} them ✓"), f}});
     }},
    {"Alignments", [](QTextDocument &d) {
         Aligned(d, {{"left", Qt::AlignLeft}, {"centre", Qt::AlignHCenter}, {"right", Qt::AlignRight}, {"justified", Qt::AlignJustify}});
     }},
    {"PastedHtml", [](QTextDocument &d) {
         d.setHtml("<p align=center><b>Title</b></p><p><span style='font-size:16px; color:#336699'>sized</span> "
                   "<i>and</i> <s>gone</s></p>");
     }},
};

class RtfRoundTrip : public ::testing::TestWithParam<TRoundTripCase>
{
};

TEST_P(RtfRoundTrip, ReadsBackWhatItWrote)
{
    QTextDocument original;
    GetParam().build(original);
    const QByteArray rtf = DocumentToRtf(&original);

    for (const char c : rtf)
        ASSERT_TRUE(uchar(c) < 0x80) << "RTF must be 7-bit:\n" << rtf.constData();
    ASSERT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.constData();

    QTextDocument back;
    ASSERT_TRUE(RtfToDocument(rtf, &back)) << rtf.constData();
    EXPECT_EQ(BlockTexts(back), BlockTexts(original)) << rtf.constData();
    EXPECT_EQ(Describe(back).join('\n').toStdString(), Describe(original).join('\n').toStdString()) << rtf.constData();

    // A second pass must not drift.
    EXPECT_EQ(DocumentToRtf(&back), rtf);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RtfReader, ReadsWordProcessorRtf)
{
    // The shape of what office programs write: tables with extras, unknown destinations, code-page bytes,
    // \u with fallbacks of other lengths, fields, and a final \par.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f1\\fswiss\\fcharset0 Arial{\\*\\falt Helvetica};}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0 Normal;}{\\*\\cs10 Default Paragraph Font;}}\r\n"
        "{\\*\\generator Writer 7.4;}{\\info{\\title Notes}{\\author Someone}}\r\n"
        "\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\qc\\f1\\fs28 Caf\\'e9 \\'80 price\\par\r\n"
        "\\pard\\ql\\f0\\fs24 Normal {\\b bold} and {\\i\\cf2 red italic}\\b0 .\\par\r\n"
        "{\\uc2\\u8212\\'97\\'97 dash}, \\u-10179?\\u-8704? smile, \\ldblquote q\\rdblquote\\par\r\n"
        "{\\field{\\*\\fldinst{HYPERLINK \"http://example.org\"}}{\\fldrslt{\\ul link}}} after\\par\r\n"
        "{\\*\\bkmkstart b1}line\\line two\\tab tab{\\*\\bkmkend b1}\\par\r\n"
        "{\\pict\\wmetafile8\\picw100 0a0b0c0d}pic gone\\par\r\n"
        "}";
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument(rtf, &doc));
    const QStringList blocks = BlockTexts(doc);
    ASSERT_GE(blocks.size(), 6) << doc.toPlainText().toStdString();
    EXPECT_EQ(blocks.at(0), QString::fromUtf8("Café € price"));
    EXPECT_EQ(blocks.at(1), "Normal bold and red italic.");
    EXPECT_EQ(blocks.at(2), QString::fromUtf8("— dash, 😀 smile, “q”"));
    EXPECT_EQ(blocks.at(3), "link after");
    EXPECT_EQ(blocks.at(4), QString("line") + QChar(QChar::LineSeparator) + "two\ttab");
    EXPECT_EQ(blocks.at(5), "pic gone");

    const QStringList described = Describe(doc);
    EXPECT_TRUE(described.at(0).startsWith("center [14pt Arial]")) << described.at(0).toStdString();
    EXPECT_TRUE(described.at(1).contains("[b 12pt Times New Roman]bold")) << described.at(1).toStdString();
    EXPECT_TRUE(described.at(1).contains("[i 12pt #ff0000 Times New Roman]red italic")) << described.at(1).toStdString();
    EXPECT_TRUE(described.at(3).contains("[u 12pt Times New Roman]link")) << described.at(3).toStdString();
}

class WordPadFiles : public ::testing::TestWithParam<TWordPadFixture>
{
};

TEST_P(WordPadFiles, ReadInTheirCodePages)
{
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument(GetParam().rtf, &doc));
    EXPECT_EQ(BlockTexts(doc), GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WordPadFiles, ::testing::ValuesIn(kWordPadFixtures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RtfReader, FontNamesInTheirCodePages)
{
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Caf\\'e9;}"
                              "{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
                              "{\\f2\\fcharset129 \\'b8\\'bc\\'c0\\'ba \\'b0\\'ed\\'b5\\'f1}}"
                              "\\f0 a\\f1 b\\f2 c}",
                              &doc));
    const QStringList described = Describe(doc);
    ASSERT_EQ(described.size(), 1);
    EXPECT_EQ(described.at(0), QString::fromUtf8("left [12pt Café]a [12pt ＭＳ 明朝]b [12pt 맑은 고딕]c"));
}

TEST(RtfReader, UnicodeEscapesSkipTheirCodePageFallback)
{
    // \uc counts bytes: a double-byte fallback is two, whether written as \'hh or as a plain trail byte.
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0"
                              "\\uc2\\u12354\\'82\\'a0\\u12486\\'83e\\u-143\\'81\\'40x{\\uc1\\u1055?}y}",
                              &doc));
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("あテｱxПy"));
}

// `runs` runs of text, every other one bold: "{\rtf1 {\b x}y{\b x}y...}".
QByteArray RunsOfTheirOwnFormat(int runs)
{
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < runs / 2; ++i)
        rtf += "{\\b x}y";
    return rtf + "}";
}

TEST(RtfReader, RunsGoIntoTheDocumentAsOneChange)
{
    // Each change makes a laid-out document lay its paragraph out again: run by run, reading grew with the
    // square of the runs.
    QTextDocument doc;
    doc.documentLayout();
    int changes = 0;
    QObject::connect(&doc, &QTextDocument::contentsChange, [&changes](int, int, int) { ++changes; });
    ASSERT_TRUE(RtfToDocument(RunsOfTheirOwnFormat(400), &doc));
    EXPECT_EQ(doc.toPlainText(), QString("xy").repeated(200));
    // Clearing the document reports a change or two; the new text comes as one.
    EXPECT_LT(changes, 10) << "not one change per run of text";
}

TEST(RtfReader, LargeRichNotepadReadsWithItsFormats)
{
    const QByteArray rtf = RunsOfTheirOwnFormat(60000);
    ASSERT_GT(rtf.size(), 200 * 1024);
    QTextDocument doc;
    doc.documentLayout();
    ASSERT_TRUE(RtfToDocument(rtf, &doc));
    EXPECT_EQ(doc.toPlainText(), QString("xy").repeated(30000));
    int boldRuns = 0;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().fontWeight() == QFont::Bold) {
            EXPECT_EQ(it.fragment().text(), "x");
            ++boldRuns;
        }
    EXPECT_EQ(boldRuns, 30000);
}

TEST(RtfReader, RejectsWhatIsNotRtfAndLeavesTheDocument)
{
    const QByteArray bad[] = {"", "plain text", "<html>{\\rtf1 x}</html>", "{\\rtf1 unclosed {\\b group}",
                              "{\\rtf1 x}}}", "}{\\rtf1 x}"};
    for (const QByteArray &rtf : bad) {
        QTextDocument doc;
        doc.setPlainText("kept");
        EXPECT_FALSE(RtfToDocument(rtf, &doc)) << rtf.constData();
        EXPECT_EQ(doc.toPlainText(), "kept") << rtf.constData();
    }
}

TEST(RtfReader, ReplacesContentAndClearsUndo)
{
    QTextDocument doc;
    doc.setPlainText("old");
    QTextCursor(&doc).insertText("typed ");
    ASSERT_TRUE(doc.isUndoAvailable());
    ASSERT_TRUE(RtfToDocument("{\\rtf1 new}", &doc));
    EXPECT_EQ(doc.toPlainText(), "new");
    EXPECT_FALSE(doc.isUndoAvailable());
}

TEST(RtfWriter, UnrtfReadsTheText)
{
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed";

    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("Glossmill notes ", Plain());
    c.insertText("bold part", Bold());
    c.insertBlock();
    c.insertText("braces {kept} and back\\slash", Italic());
    c.insertBlock();
    c.insertText(QString::fromUtf8("Grüße café"), Coloured(Qt::red));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("notes.rtf");
    ASSERT_TRUE(TestSupport::WriteFile(path, DocumentToRtf(&doc)));

    QProcess p;
    p.start(unrtf, {"--text", path});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    // Its text mode passes Windows-1252 bytes through as they are.
    const QString out = QString::fromLatin1(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Glossmill notes bold part")) << out.toStdString();
    EXPECT_TRUE(out.contains("braces {kept} and back\\slash")) << out.toStdString();
    EXPECT_TRUE(out.contains(QString::fromUtf8("Grüße café"))) << out.toStdString();
}

// What the notepad writes, as other programs must read it: one paragraph a line, every script, formatting,
// characters that RTF escapes, and letters right after \u escapes.
const QStringList kOtherReaderLines = {
    "Notes: bold, {braces} and back\\slash, red",
    QString::fromUtf8("Grüße, façade, naïve, €5, „quoted“ – dash"),
    QString::fromUtf8("Привет, мир!"),
    QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy."),
    QString::fromUtf8("Καλημέρα κόσμε, Ωραία!"),
    QString::fromUtf8("こんにちは、世界！ソフト表示"),
    QString::fromUtf8("Ж1 ЖЖ? Ж-2 Жx end"),
    QString::fromUtf8("emoji 😀 clef 𝄞 end"),
};

QByteArray WrittenForOtherReaders()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("Notes: ", Plain());
    c.insertText("bold", Bold());
    c.insertText(", {braces} and back\\slash", Italic());
    c.insertText(", red", Coloured(Qt::red));
    for (int i = 1; i < kOtherReaderLines.size(); ++i) {
        c.insertBlock();
        c.insertText(kOtherReaderLines.at(i), i % 2 ? Plain() : Underline());
    }
    return DocumentToRtf(&doc);
}

// The output of `program`, empty (and a test failure) when it does not run to a good end.
QByteArray RunTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    const bool finished = p.waitForFinished(300000);
    EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << program.toStdString() << ": " << p.readAllStandardError().constData();
    return finished ? p.readAllStandardOutput() : QByteArray();
}

QStringList Lines(QString text)
{
    text.replace(QChar::LineSeparator, '\n').replace(QChar::ParagraphSeparator, '\n').remove('\r');
    text.replace(QChar::Nbsp, ' ');
    QStringList lines = text.split('\n');
    for (QString &line : lines)
        line = line.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A program that reads RTF, and how its text is had from it.
struct TOtherReader
{
    const char *name;
    const char *program;
    std::function<QString(const QString &program, const QString &rtf, const QString &work)> text;
};

const TOtherReader kOtherReaders[] = {
    {"unrtf", "unrtf",
     [](const QString &program, const QString &rtf, const QString &) {
         const QByteArray html = RunTool(program, {"--html", rtf});
         QTextDocument doc;
         doc.setHtml(QString::fromUtf8(html));
         return doc.toPlainText();
     }},
    {"LibreOffice", "soffice",
     [](const QString &program, const QString &rtf, const QString &work) {
         RunTool(program, {"--headless", "--norestore", "-env:UserInstallation=file://" + work + "/profile",
                           "--convert-to", "txt:Text (encoded):UTF8", "--outdir", work + "/out", rtf});
         QString text = QString::fromUtf8(TestSupport::ReadFile(work + "/out/" + QFileInfo(rtf).completeBaseName() + ".txt"));
         if (text.startsWith(QChar(0xFEFF)))
             text.remove(0, 1);
         return text;
     }},
};

void PrintTo(const TOtherReader &reader, std::ostream *os)
{
    *os << reader.name;
}

class OtherReaders : public ::testing::TestWithParam<TOtherReader>
{
};

TEST_P(OtherReaders, ReadTheSameText)
{
    const QString program = QStandardPaths::findExecutable(GetParam().program);
    if (program.isEmpty())
        GTEST_SKIP() << GetParam().program << " is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("notes.rtf");
    ASSERT_TRUE(TestSupport::WriteFile(path, WrittenForOtherReaders()));
    EXPECT_EQ(Lines(GetParam().text(program, path, dir.path())), kOtherReaderLines);
}

INSTANTIATE_TEST_SUITE_P(Programs, OtherReaders, ::testing::ValuesIn(kOtherReaders),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
