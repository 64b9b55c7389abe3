#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "RtfText.h"
#include "TestSupport.h"

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

} // namespace
