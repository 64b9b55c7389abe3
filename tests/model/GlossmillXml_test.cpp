#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QStringEncoder>

#include "GlossmillXml.h"
#include "SampleProject.h"
#include "TestSupport.h"

using namespace GlossmillXml;

namespace {

QByteArray RoundTrip(const QByteArray &Bytes, bool WriteBOM = false)
{
    TXmlDocument doc;
    doc.LoadFromBytes(Bytes);
    doc.setWriteBOM(WriteBOM);
    return doc.SaveToBytes();
}

pugi::xml_node FirstNamed(TXmlDocument &Doc, const char *Name)
{
    const pugi::xml_node root = Doc.Root();
    for (pugi::xml_node n = root; n; n = NextNode(n, root))
        if (n.type() == pugi::node_element && std::strcmp(n.name(), Name) == 0)
            return n;
    return pugi::xml_node();
}

struct TLayoutCase
{
    const char *Name;
    const char *Xml;
};

const TLayoutCase LayoutCases[] = {
    {"DeclarationCommentsAndRoot",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Copyright\n     notice -->\n<resources xmlns:xliff=\"urn:x\">\n"
     "    <!-- a note -->\n    <string name=\"a\">Calendar</string>\n\n    <skip/>\n</resources>\n"},
    {"CommentGluedToRoot", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- c --><resources>\n  <string name=\"a\">x</string>\n</resources>"},
    {"SpaceBetweenTags", "<resources><string name=\"b\"><b>x</b> <i>y</i></string></resources>\n"},
    {"MixedContentAcrossLines", "<resources>\n  <string name=\"b\">one <xliff:g id=\"n\" example=\"5\">%d</xliff:g>\n   two</string>\n</resources>\n"},
    {"WindowsLineEnds", "<?xml version=\"1.0\"?>\r\n<resources>\r\n  <string name=\"a\">line\r\nnext</string>\r\n</resources>\r\n"},
    {"SpacedEmptyTags", "<menu>\n  <item\n      android:id=\"@+id/a\"\n      android:title=\"@string/t\" />\n</menu>\n"},
    {"NoDeclaration", "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\"><item android:id=\"@+id/x\" /></menu>"},
    {"CDataAndEntities", "<r><string name=\"c\"><![CDATA[<b>bold</b>]]></string><string name=\"e\">Tom &amp; Jerry &lt;3</string></r>"},
    {"NonAsciiText", "<r><string name=\"u\">Größe – 日本語 😀</string></r>\n"},
    {"CommentAfterRoot", "<r/>\n<!-- trailing -->\n"},
    {"MixedEmptyTagsAndQuotes",
     "<menu>\n  <item a=\"1\"/>\n  <item b='it&apos;s \"x\"' />\n  <item\n      c=\"2\"\n      d='3'\n/>\n  <item quantity=\"one\"></item>\n</menu>"},
};

class XmlLayout : public ::testing::TestWithParam<TLayoutCase>
{
};

} // namespace

TEST_P(XmlLayout, UntouchedDocumentIsWrittenByteForByte)
{
    const QByteArray xml(GetParam().Xml);
    EXPECT_EQ(RoundTrip(xml).toStdString(), xml.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, XmlLayout, ::testing::ValuesIn(LayoutCases),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, EntitiesAreDecodedOnReadAndEscapedOnWrite)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<r a=\"&quot;x&quot; &amp; &lt;\"><s>&amp;amp; &#65;&#x42; &gt; &apos;</s></r>");
    const pugi::xml_node s = FirstNamed(doc, "s");
    EXPECT_EQ(ReadContent(s).Text, QString("&amp; AB > '"));
    EXPECT_EQ(ReadAttribute(doc.Root().attribute("a")), QString("\"x\" & <"));
    // A second round keeps the text as it is: nothing is decoded twice nor encoded twice.
    const QByteArray once = doc.SaveToBytes();
    TXmlDocument again;
    again.LoadFromBytes(once);
    EXPECT_EQ(ReadContent(FirstNamed(again, "s")).Text, QString("&amp; AB > '"));
    EXPECT_EQ(again.SaveToBytes(), once);
}

TEST(XmlDocument, WrittenValuesStayWellFormedAndNonAsciiStaysText)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<r><s/></r>");
    pugi::xml_node s = FirstNamed(doc, "s");
    WriteContent(s, "a < b & \"c\" > d – ü", ckPlain, false);
    WriteAttribute(s.append_attribute("t"), "x\"y<z&");
    const QByteArray out = doc.SaveToBytes();
    EXPECT_EQ(out.toStdString(), "<r><s t=\"x&quot;y&lt;z&amp;\">a &lt; b &amp; \"c\" &gt; d – ü</s></r>");
    TXmlDocument back;
    ASSERT_NO_THROW(back.LoadFromBytes(out));
    EXPECT_EQ(ReadContent(FirstNamed(back, "s")).Text, QString("a < b & \"c\" > d – ü"));
}

TEST(XmlDocument, NoBreakSpaceReferenceReachesTheFileAsReference)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<r><s/><m t=\"\"/><c><![CDATA[x]]></c></r>");
    WriteContent(FirstNamed(doc, "s"), "a&#0160;&#0160;b &amp;", ckPlain, false);
    WriteAttribute(FirstNamed(doc, "m").attribute("t"), "x&#0160;&#0160;y");
    WriteContent(FirstNamed(doc, "c"), "p&#0160;q", ckCData, false);
    EXPECT_EQ(doc.SaveToBytes().toStdString(),
              "<r><s>a&#0160;&#0160;b &amp;amp;</s><m t=\"x&#0160;&#0160;y\"/><c><![CDATA[p]]>&#0160;<![CDATA[q]]></c></r>");
    // In memory the text reads back as it was written.
    EXPECT_EQ(ReadContent(FirstNamed(doc, "s")).Text, QString("a&#0160;&#0160;b &amp;"));
}

TEST(XmlDocument, ByteOrderMarkFollowsTheSetting)
{
    const QByteArray xml("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>");
    EXPECT_EQ(RoundTrip(xml, true), QByteArray("\xEF\xBB\xBF") + xml);
    EXPECT_EQ(RoundTrip(QByteArray("\xEF\xBB\xBF") + xml, false), xml);
}

struct TEncodingCase
{
    const char *Name;
    QStringConverter::Encoding Encoding;
    bool Bom;
    const char *Declared;
    const char *Expected; // what Encoding() reports
};

class XmlEncoding : public ::testing::TestWithParam<TEncodingCase>
{
};

TEST_P(XmlEncoding, DetectedOnLoadAndKeptOnSave)
{
    const TEncodingCase &c = GetParam();
    const QString text = QString("<?xml version=\"1.0\" encoding=\"%1\"?>\n<r><s name=\"a\">Grüße 日本</s></r>\n").arg(c.Declared);
    QStringEncoder encoder(c.Encoding, c.Bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    const QByteArray bytes = encoder.encode(text);
    TXmlDocument doc;
    doc.LoadFromBytes(bytes);
    EXPECT_EQ(doc.Encoding(), QString(c.Expected));
    EXPECT_EQ(ReadContent(FirstNamed(doc, "s")).Text, QString("Grüße 日本"));
    const QByteArray saved = doc.SaveToBytes();
    QStringEncoder withBom(c.Encoding, QStringConverter::Flag::WriteBom);
    const bool utf16 = c.Encoding == QStringConverter::Utf16LE || c.Encoding == QStringConverter::Utf16BE;
    EXPECT_EQ(saved, utf16 ? withBom.encode(text) : bytes);
}

INSTANTIATE_TEST_SUITE_P(Encodings, XmlEncoding,
                         ::testing::Values(TEncodingCase{"Utf8", QStringConverter::Utf8, false, "utf-8", "utf-8"},
                                           TEncodingCase{"Utf16LeBom", QStringConverter::Utf16LE, true, "UTF-16", "UTF-16"},
                                           TEncodingCase{"Utf16BeBom", QStringConverter::Utf16BE, true, "UTF-16", "UTF-16"},
                                           TEncodingCase{"Utf16LeNoBom", QStringConverter::Utf16LE, false, "UTF-16", "UTF-16"},
                                           TEncodingCase{"Utf16BeNoBom", QStringConverter::Utf16BE, false, "UTF-16", "UTF-16"}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, Latin1FileKeepsItsEncodingAndEscapesWhatItCannotHold)
{
    const QByteArray bytes = QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>Gr") + char(0xFC) + "n</r>";
    TXmlDocument doc;
    doc.LoadFromBytes(bytes);
    EXPECT_EQ(ReadContent(doc.Root()).Text, QString("Grün"));
    EXPECT_EQ(doc.SaveToBytes(), bytes);
    WriteContent(doc.Root(), "Grün 日", ckPlain, false);
    EXPECT_EQ(doc.SaveToBytes(), QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>Gr") + char(0xFC) + "n &#26085;</r>");
}

TEST(XmlDocument, EncodingWithoutDeclarationIsTheDetectedOne)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<menu/>");
    EXPECT_EQ(doc.Encoding(), QString("UTF-8"));
    doc.setEncoding("utf-8");
    EXPECT_EQ(doc.SaveToBytes().toStdString(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<menu/>");
}

TEST(XmlDocument, PrologCommentGoesRightBeforeTheRootOnItsOwnLine)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<!-- header -->\n<resources>\n</resources>\n");
    doc.AddPrologComment("state");
    EXPECT_EQ(doc.SaveToBytes().toStdString(),
              "<?xml version=\"1.0\"?>\n<!-- header -->\n<!--state-->\n<resources>\n</resources>\n");
    const std::vector<pugi::xml_node> prolog = doc.Prolog();
    ASSERT_EQ(prolog.size(), 3u);
    EXPECT_EQ(prolog[0].type(), pugi::node_declaration);
    EXPECT_STREQ(prolog[2].value(), "state");
}

struct TBadInput
{
    const char *Name;
    QByteArray Bytes;
};

class XmlHostileInput : public ::testing::TestWithParam<TBadInput>
{
};

TEST_P(XmlHostileInput, IsRefusedWithAnError)
{
    TXmlDocument doc;
    EXPECT_THROW(doc.LoadFromBytes(GetParam().Bytes), EXmlError);
}

INSTANTIATE_TEST_SUITE_P(Inputs, XmlHostileInput,
                         ::testing::Values(TBadInput{"Empty", QByteArray()},
                                           TBadInput{"OnlyWhitespace", QByteArray(" \n")},
                                           TBadInput{"PlainText", QByteArray("hello world")},
                                           TBadInput{"Binary", QByteArray("\x7F" "ELF\x02\x01\x01\x00\x00<r>", 13)},
                                           TBadInput{"Truncated", QByteArray("<?xml version=\"1.0\"?><resources><string name=\"a\">x</str")},
                                           TBadInput{"Unclosed", QByteArray("<resources><string name=\"a\">x")},
                                           TBadInput{"Mismatch", QByteArray("<a><b></a></b>")},
                                           TBadInput{"TwoRoots", QByteArray("<a/><b/>")},
                                           TBadInput{"TextAfterRoot", QByteArray("<a/>tail")},
                                           TBadInput{"InvalidUtf8", QByteArray("<a>\xC3\x28</a>")},
                                           TBadInput{"OddUtf16", QByteArray("\xFF\xFE<\0a\0/\0>", 7)},
                                           TBadInput{"UnknownEncoding", QByteArray("<?xml version=\"1.0\" encoding=\"x-nothing\"?><a/>")}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, UnreadableFileLeavesTheDocumentAlone)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<keep/>");
    QTemporaryDir dir;
    EXPECT_THROW(doc.LoadFromFile(dir.path() + "/missing.xml"), EXmlError);
    EXPECT_THROW(doc.LoadFromFile(dir.path()), EXmlError); // a folder
    EXPECT_STREQ(doc.Root().name(), "keep");
}

TEST(XmlDocument, DeepNestingLoadsAndSavesWithoutRecursion)
{
    const int depth = 100000;
    QByteArray xml;
    xml.reserve(depth * 8);
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    xml += "x";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    TXmlDocument doc;
    ASSERT_NO_THROW(doc.LoadFromBytes(xml));
    EXPECT_EQ(doc.SaveToBytes(), xml);
    EXPECT_EQ(DeleteEqualElements(doc.Root(), {FirstNamed(doc, "a").first_child()}), 1);
    TXmlDocument copy;
    copy.Assign(doc);
    EXPECT_EQ(copy.SaveToBytes(), QByteArray("<a />"));
}

TEST(XmlDocument, FileRoundTripAndWriteFailure)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/strings.xml";
    ASSERT_TRUE(TestSupport::WriteFile(path, "<resources>\n  <string name=\"a\">x</string>\n</resources>\n"));
    TXmlDocument doc;
    doc.LoadFromFile(path);
    doc.SaveToFile(dir.path() + "/copy.xml");
    EXPECT_EQ(TestSupport::ReadFile(dir.path() + "/copy.xml"), TestSupport::ReadFile(path));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.xml"));
    EXPECT_THROW(doc.SaveToFile(dir.path() + "/folder.xml"), EXmlError);
}

struct TReadCase
{
    const char *Name;
    const char *Xml;
    const char *Text;
    tContentKind Kind;
};

class XmlReadContent : public ::testing::TestWithParam<TReadCase>
{
};

TEST_P(XmlReadContent, GivesTextAndForm)
{
    TXmlDocument doc;
    doc.LoadFromBytes(QByteArray("<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">") + GetParam().Xml + "</resources>");
    const TXmlContent content = ReadContent(FirstNamed(doc, "string"));
    EXPECT_EQ(content.Text, QString::fromUtf8(GetParam().Text));
    EXPECT_EQ(content.Kind, GetParam().Kind);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, XmlReadContent,
    ::testing::Values(TReadCase{"Empty", "<string name=\"a\"/>", "", ckPlain},
                      TReadCase{"Plain", "<string name=\"a\">  Hello\n</string>", "  Hello\n", ckPlain},
                      TReadCase{"Entities", "<string name=\"a\">A &amp; B</string>", "A & B", ckPlain},
                      TReadCase{"EscapedMarkup", "<string name=\"a\">&lt;b&gt;bold&lt;/b&gt;</string>", "<b>bold</b>", ckEscapedMarkup},
                      TReadCase{"CData", "<string name=\"a\"> <![CDATA[<b>bold</b>]]></string>", " <b>bold</b>", ckCData},
                      TReadCase{"Xliff", "<string name=\"a\"><xliff:g id=\"count\">%d</xliff:g> files</string>",
                                "<xliff:g id=\"count\">%d</xliff:g> files", ckMarkup},
                      TReadCase{"MarkupKeepsEntities", "<string name=\"a\"><b>Tom &amp; Jerry</b> <a href=\"x?a=1&amp;b=2\">go</a></string>",
                                "<b>Tom &amp; Jerry</b> <a href=\"x?a=1&amp;b=2\">go</a>", ckMarkup}),
    [](const auto &Info) { return std::string(Info.param.Name); });

struct TWriteCase
{
    const char *Name;
    const char *Text;
    tContentKind Kind;
    bool Android;
    const char *Written; // the element as written
};

class XmlWriteContent : public ::testing::TestWithParam<TWriteCase>
{
};

TEST_P(XmlWriteContent, KeepsTheFormAndStaysWellFormed)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<string name=\"a\">old</string>");
    WriteContent(doc.Root(), QString::fromUtf8(GetParam().Text), GetParam().Kind, GetParam().Android);
    const QByteArray out = doc.SaveToBytes();
    EXPECT_EQ(out.toStdString(), std::string(GetParam().Written));
    TXmlDocument back;
    EXPECT_NO_THROW(back.LoadFromBytes(out));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, XmlWriteContent,
    ::testing::Values(
        TWriteCase{"Plain", "Hello", ckPlain, false, "<string name=\"a\">Hello</string>"},
        TWriteCase{"Empty", "", ckPlain, false, "<string name=\"a\" />"},
        TWriteCase{"MarkupStaysMarkup", "<xliff:g id=\"n\">%d</xliff:g> Dateien", ckMarkup, false,
                   "<string name=\"a\"><xliff:g id=\"n\">%d</xliff:g> Dateien</string>"},
        TWriteCase{"BrokenMarkupIsEscaped", "<b>bold", ckMarkup, false, "<string name=\"a\">&lt;b&gt;bold</string>"},
        TWriteCase{"DuplicateAttributeIsEscaped", "<b x=\"1\" x=\"2\">y</b>", ckMarkup, false,
                   "<string name=\"a\">&lt;b x=\"1\" x=\"2\"&gt;y&lt;/b&gt;</string>"},
        TWriteCase{"PlainBecomesMarkupWhenWellFormed", "<b>bold</b> text", ckPlain, false, "<string name=\"a\"><b>bold</b> text</string>"},
        TWriteCase{"PlainComparisonStaysText", "a < b", ckPlain, false, "<string name=\"a\">a &lt; b</string>"},
        TWriteCase{"EscapedStaysEscaped", "<b>bold</b>", ckEscapedMarkup, false, "<string name=\"a\">&lt;b&gt;bold&lt;/b&gt;</string>"},
        TWriteCase{"CDataStaysCData", " <b>x</b>\n", ckCData, false, "<string name=\"a\"> <![CDATA[<b>x</b>]]>\n</string>"},
        TWriteCase{"CDataHoldingItsEnd", "a]]>b", ckCData, false, "<string name=\"a\"><![CDATA[a]]]]><![CDATA[>b]]></string>"},
        TWriteCase{"ApostropheGetsBackslash", "Don't", ckPlain, true, "<string name=\"a\">Don\\'t</string>"},
        TWriteCase{"EscapedApostropheStays", "Don\\'t", ckPlain, true, "<string name=\"a\">Don\\'t</string>"},
        TWriteCase{"QuotedApostropheStays", "\"Don't\"", ckPlain, true, "<string name=\"a\">\"Don't\"</string>"},
        TWriteCase{"ApostropheAfterQuotes", "\"a\" b's", ckPlain, true, "<string name=\"a\">\"a\" b\\'s</string>"},
        TWriteCase{"ApostropheInMarkupText", "<b>it's</b> \"<i>x's</i>\"", ckMarkup, true,
                   "<string name=\"a\"><b>it\\'s</b> \"<i>x's</i>\"</string>"},
        TWriteCase{"ApostropheInAttributeStays", "<xliff:g example=\"Bob's\">%s</xliff:g>", ckMarkup, true,
                   "<string name=\"a\"><xliff:g example=\"Bob's\">%s</xliff:g></string>"},
        TWriteCase{"DoubleBackslashDoesNotEscape", "a\\\\'b", ckPlain, true, "<string name=\"a\">a\\\\\\'b</string>"},
        TWriteCase{"MenuTextUntouched", "Don't", ckPlain, false, "<string name=\"a\">Don't</string>"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, AppendedElementsAreIndentedLikeTheirSiblings)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<resources>\n    <string name=\"a\">x</string>\n</resources>\n");
    AppendChildElement(doc.Root(), "string").append_attribute("name") = "b";
    EXPECT_EQ(doc.SaveToBytes().toStdString(),
              "<resources>\n    <string name=\"a\">x</string>\n    <string name=\"b\" />\n</resources>\n");
    TXmlDocument empty;
    empty.LoadFromBytes("<resources/>");
    AppendChildElement(empty.Root(), "string");
    EXPECT_EQ(empty.SaveToBytes().toStdString(), "<resources>\n  <string/>\n</resources>");
}

TEST(XmlDocument, DeleteEqualElementsRemovesEveryCopyBelowTheStart)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<r><s n=\"a\">x</s><g><s n=\"a\">x</s><s n=\"a\">y</s></g><s n=\"b\">x</s><s n=\"a\">x</s></r>");
    TXmlDocument target;
    target.LoadFromBytes("<s n=\"a\">x</s>");
    EXPECT_EQ(DeleteEqualElements(doc.Root(), {target.Root()}), 3);
    EXPECT_EQ(doc.SaveToBytes().toStdString(), "<r><g><s n=\"a\">y</s></g><s n=\"b\">x</s></r>");
    EXPECT_EQ(DeleteEqualElements(doc.Root(), {doc.Root()}), 0);
}

TEST(XmlDocument, UsedPrefixesGetDeclared)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<resources><string name=\"a\"><xliff:g id=\"x\">%s</xliff:g><my:b/></string></resources>");
    DeclareUsedPrefixes(doc, {{"my", "urn:my"}});
    const QHash<QString, QString> declared = NamespaceDeclarations(doc.Root());
    EXPECT_EQ(declared.value("xliff"), QString("urn:oasis:names:tc:xliff:document:1.2"));
    EXPECT_EQ(declared.value("my"), QString("urn:my"));
    const QByteArray once = doc.SaveToBytes();
    DeclareUsedPrefixes(doc, {});
    EXPECT_EQ(doc.SaveToBytes(), once);
}

// Read from written text, the prefixes come as a walk of the tree meets them.
TEST(XmlDocument, PrefixesOfWrittenTextAreThoseOfTheTree)
{
    for (const char *xml : {"<r/>", "<a:r b:x='1' xmlns:c=\"urn:c\"><c:s d:y=\"&gt;'\" e:z='\"'/><!-- <f:t/> --><![CDATA[<g:u/>]]><?h:pi i:x?><j:v>t &lt;k:w/&gt;</j:v></a:r>",
                            "<x xmlns:p=\"urn:p\"><p:y xmlns:q='urn:q' q:a='1'><q:z/>text</p:y><p:y/></x>"}) {
        TXmlDocument doc;
        doc.LoadFromBytes(xml);
        const TPrefixUse tree = PrefixesIn(doc.Root());
        const std::string text = doc.SaveToString().toStdString();
        const TPrefixUse written = PrefixesInText(text);
        EXPECT_EQ(written.Used, tree.Used) << xml;
        EXPECT_EQ(written.Declared, tree.Declared) << xml;
        EXPECT_EQ(written.DeclaredBelow, tree.DeclaredBelow) << xml;
    }
}

TEST(XmlDocument, NamesSplitIntoPrefixAndLocalName)
{
    TXmlDocument doc;
    doc.LoadFromBytes("<item android:id=\"@+id/a\" title=\"t\" android:title=\"u\"/>");
    const pugi::xml_attribute id = FindAttribute(doc.Root(), "id");
    EXPECT_EQ(LocalName(id), QString("id"));
    EXPECT_EQ(Prefix(id), QString("android"));
    EXPECT_STREQ(FindAttribute(doc.Root(), "title").value(), "t");
    EXPECT_FALSE(FindAttribute(doc.Root(), "android:id"));
    EXPECT_EQ(LocalName(doc.Root()), QString("item"));
    EXPECT_TRUE(Prefix(doc.Root()).isEmpty());
}

// The XML files of every res folder of every project below `projects`.
QStringList ResourceFilesOfProjects(const QString &projects)
{
    QStringList files;
    for (const QString &project : QDir(projects).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir res(projects + "/" + project + "/res");
        for (const QString &folder : res.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString &file : QDir(res.filePath(folder)).entryList({"*.xml"}, QDir::Files))
                files << res.filePath(folder) + "/" + file;
    }
    return files;
}

// The bytes with every line end made like the first one.
QByteArray WithTheFirstLineEnd(QByteArray bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    if (lf > 0 && bytes[lf - 1] == '\r')
        return bytes.replace("\r\n", "\n").replace("\n", "\r\n");
    return bytes.replace("\r\n", "\n");
}

// A file of mixed line ends (as an item-state comment, always written with CR LF, makes in a file of LF ends) comes
// back with its first line end throughout when `mixedLineEnds` is set.
void ExpectWrittenBackByteForByte(const QStringList &files, bool mixedLineEnds)
{
    for (const QString &file : files) {
        const QByteArray read = TestSupport::ReadFile(file);
        TXmlDocument doc;
        ASSERT_NO_THROW(doc.LoadFromBytes(read)) << file.toStdString();
        const QByteArray out = doc.SaveToBytes();
        const QByteArray bytes = mixedLineEnds ? WithTheFirstLineEnd(read) : read;
        if (out != bytes) {
            qsizetype at = 0;
            while (at < out.size() && at < bytes.size() && out[at] == bytes[at])
                ++at;
            ADD_FAILURE() << file.toStdString() << " differs at " << at << ":\n  file: " << bytes.mid(at - 40, 100).toStdString()
                          << "\n  written: " << out.mid(at - 40, 100).toStdString();
        }
    }
}

TEST(XmlDocument, EveryFileOfTheExampleAndTheSampleProjectIsWrittenBackByteForByte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SampleProject::Write(dir.path() + "/sample"));
    const QStringList files = ResourceFilesOfProjects(QStringLiteral(GLOSSMILL_SOURCE_DIR "/examples"))
        + ResourceFilesOfProjects(dir.path());
    ASSERT_GT(files.size(), 70);
    ExpectWrittenBackByteForByte(files, true);
}

TEST(CorpusXmlDocument, EveryCorpusFileIsWrittenBackByteForByte)
{
    GLOSSMILL_REQUIRE_CORPUS();
    const QStringList files = ResourceFilesOfProjects(TestSupport::CorpusDir());
    ASSERT_GT(files.size(), 100);
    ExpectWrittenBackByteForByte(files, false);
}

// What a save writes, a load reads back with the same content, whatever the declaration names.
struct TRereadCase
{
    const char *Name;
    QByteArray Bytes; // a file whose root holds the text "Grüße"
    bool Unchanged;   // written back byte for byte when untouched
};

class XmlReread : public ::testing::TestWithParam<TRereadCase>
{
};

TEST_P(XmlReread, WhatIsWrittenReadsBack)
{
    TXmlDocument doc;
    doc.LoadFromBytes(GetParam().Bytes);
    ASSERT_EQ(ReadContent(doc.Root()).Text, QString("Grüße"));
    const QByteArray untouched = doc.SaveToBytes();
    WriteContent(doc.Root(), "Grüße – 日", ckPlain, false);
    const QByteArray edited = doc.SaveToBytes();
    for (const QByteArray &written : {untouched, edited}) {
        TXmlDocument again;
        ASSERT_NO_THROW(again.LoadFromBytes(written)) << written.toStdString();
        EXPECT_EQ(ReadContent(again.Root()).Text, QString(written == untouched ? "Grüße" : "Grüße – 日"));
    }
    // A file whose declaration no codec knows was read by its byte-order mark, and is written back as it was.
    if (GetParam().Unchanged)
        EXPECT_EQ(untouched, GetParam().Bytes);
}

const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray Greeting = "<r>Gr\xC3\xBC\xC3\x9F" "e</r>";

INSTANTIATE_TEST_SUITE_P(
    Declarations, XmlReread,
    ::testing::Values(
        TRereadCase{"BomAndUnknownName", Bom + "<?xml version=\"1.0\" encoding=\"x-nothing\"?>" + Greeting, true},
        TRereadCase{"BomAndStrayByteOrderMarkInTheName", Bom + "<?xml version=\"1.0\" encoding=\"u" + Bom + "tf-8\"?>" + Greeting, false},
        TRereadCase{"Utf16AndUnknownName",
                    QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)
                        .encode(QString::fromUtf8("<?xml version=\"1.0\" encoding=\"x-nothing\"?>" + Greeting)),
                    true},
        TRereadCase{"BomAndCodePage", Bom + "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + Greeting, false},
        TRereadCase{"Utf8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + Greeting, true}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// An 8-bit file keeps as characters what its encoding holds; only the rest becomes character references.
struct TCodePageCase
{
    const char *Name;
    const char *Codec;
    const char *Text;    // held by the code page
    const char *Foreign; // not held: written as references
    const char *References;
};

class XmlCodePage : public ::testing::TestWithParam<TCodePageCase>
{
};

TEST_P(XmlCodePage, HeldCharactersStayText)
{
    const TCodePageCase &c = GetParam();
    QStringEncoder encoder(c.Codec);
    const QByteArray head = QByteArray("<?xml version=\"1.0\" encoding=\"") + c.Codec + "\"?>\n<r>";
    const QByteArray file = head + encoder.encode(QString::fromUtf8(c.Text)) + "</r>\n";
    TXmlDocument doc;
    doc.LoadFromBytes(file);
    ASSERT_EQ(ReadContent(doc.Root()).Text, QString::fromUtf8(c.Text));
    EXPECT_EQ(doc.SaveToBytes(), file);
    WriteContent(doc.Root(), QString::fromUtf8(c.Text) + QString::fromUtf8(c.Foreign), ckPlain, false);
    EXPECT_EQ(doc.SaveToBytes(), head + encoder.encode(QString::fromUtf8(c.Text)) + c.References + "</r>\n");
}

INSTANTIATE_TEST_SUITE_P(CodePages, XmlCodePage,
                         ::testing::Values(TCodePageCase{"Cyrillic", "windows-1251", "Календарь №1 €", "日", "&#26085;"},
                                           TCodePageCase{"Greek", "ISO-8859-7", "Ημερολόγιο", "ж", "&#1078;"},
                                           TCodePageCase{"Koi8", "KOI8-R", "Календарь", "ü", "&#252;"}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

// References to the entities a file declares stay references; nothing is expanded, external entities least of all.
TEST(XmlDocument, ReferencesToDeclaredEntitiesStayReferences)
{
    const QByteArray file = "<?xml version=\"1.0\"?>\n<!DOCTYPE resources [\n  <!ENTITY app \"Etar\">\n"
                            "  <!ENTITY % param \"p\">\n  <!ENTITY secret SYSTEM \"/etc/passwd\">\n  <!-- <!ENTITY inComment \"x\"> -->\n]>\n"
                            "<resources>\n  <string name=\"a\">&app; Kalender</string>\n  <item title=\"&app; &amp; &secret;\"/>\n"
                            "  <string name=\"b\">&amp;param; &amp;inComment;</string>\n</resources>\n";
    TXmlDocument doc;
    doc.LoadFromBytes(file);
    TestSupport::ExpectText(doc.SaveToBytes(), file);
    const pugi::xml_node a = FirstNamed(doc, "string");
    EXPECT_EQ(ReadContent(a).Text, QString("&app; Kalender"));
    EXPECT_EQ(ReadAttribute(FirstNamed(doc, "item").attribute("title")), QString("&app; & &secret;"));

    WriteContent(a, "&app; Kalender & &unknown; &app", ckPlain, false);
    WriteAttribute(FirstNamed(doc, "item").attribute("title"), "&secret;&app;");
    const QByteArray saved = doc.SaveToBytes();
    EXPECT_TRUE(saved.contains("<string name=\"a\">&app; Kalender &amp; &amp;unknown; &amp;app</string>")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("<item title=\"&secret;&app;\"/>")) << saved.toStdString();
    // A parameter entity or a declaration inside a comment declares nothing a text may use.
    EXPECT_EQ(ReadContent(FirstNamed(doc, "string").next_sibling("string")).Text, QString("&param; &inComment;"));
    EXPECT_TRUE(saved.contains(">&amp;param; &amp;inComment;<")) << saved.toStdString();
}

TEST(XmlDocument, TakeDoctypeKeepsTheDeclarationsOnlyTheTargetHas)
{
    TXmlDocument language, rebuilt, plain;
    language.LoadFromBytes("<!DOCTYPE resources [<!ENTITY app \"Etar DE\">]>\n<resources/>");
    rebuilt.LoadFromBytes("<?xml version=\"1.0\"?>\n<!-- license -->\n<!DOCTYPE resources [<!ENTITY app \"Etar\"><!ENTITY web 'https://x.org/?a=\">'>]>\n<resources/>");
    rebuilt.TakeDoctype(language);
    EXPECT_EQ(rebuilt.SaveToBytes().toStdString(),
              "<?xml version=\"1.0\"?>\n<!-- license -->\n<!DOCTYPE resources [<!ENTITY app \"Etar DE\"><!ENTITY web 'https://x.org/?a=\">'>]>\n<resources/>");
    plain.LoadFromBytes("<?xml version=\"1.0\"?>\n<!-- license -->\n<resources/>");
    plain.TakeDoctype(language);
    EXPECT_EQ(plain.SaveToBytes().toStdString(),
              "<?xml version=\"1.0\"?>\n<!-- license -->\n<!DOCTYPE resources [<!ENTITY app \"Etar DE\">]>\n<resources/>");
    TXmlDocument none;
    none.LoadFromBytes("<resources/>");
    plain.TakeDoctype(none);
    EXPECT_TRUE(plain.SaveToBytes().contains("Etar DE"));
}

// What the writer puts into the file for a value written into a document: markup characters as entities, control
// characters and characters the encoding cannot hold as character references, "&#0160;" as itself.
struct TWrittenValueCase
{
    const char *Name;
    QByteArray Head;      // the file up to the element's content; the element is <s t="">, or <s t=''>
    const char *Text;     // written as the element's text (UTF-8)
    const char *Value;    // written as the attribute's value (UTF-8)
    QByteArray Expected;  // the whole file written, in its encoding
};

class XmlWrittenValue : public ::testing::TestWithParam<TWrittenValueCase>
{
};

TEST_P(XmlWrittenValue, ReachesTheFileInTheFilesForm)
{
    const TWrittenValueCase &c = GetParam();
    TXmlDocument doc;
    doc.LoadFromBytes(c.Head + "</s></r>\n");
    pugi::xml_node s = FirstNamed(doc, "s");
    WriteContent(s, QString::fromUtf8(c.Text), ckPlain, false);
    WriteAttribute(s.attribute("t"), QString::fromUtf8(c.Value));
    const QByteArray written = doc.SaveToBytes();
    TestSupport::ExpectText(written, c.Expected);
    // What a save writes reads back as what was written; "&#0160;" as the character it stands for.
    const auto reread = [](const char *Utf8) { return QString::fromUtf8(Utf8).replace("&#0160;", QChar(0xA0)); };
    TXmlDocument again;
    ASSERT_NO_THROW(again.LoadFromBytes(written));
    EXPECT_EQ(ReadContent(FirstNamed(again, "s")).Text, reread(c.Text));
    EXPECT_EQ(ReadAttribute(FirstNamed(again, "s").attribute("t")), reread(c.Value));
}

const QByteArray Latin1Head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r><s t=\"\">";

INSTANTIATE_TEST_SUITE_P(
    Values, XmlWrittenValue,
    ::testing::Values(
        TWrittenValueCase{"ControlCharacters", "<r><s t=\"\">", "a\tb\nc\rd\x01" "e\x1F", "a\tb\nc\rd\x01",
                          "<r><s t=\"a&#9;b&#10;c&#13;d&#1;\">a\tb\nc&#13;d&#1;e&#31;</s></r>\n"},
        TWrittenValueCase{"MarkupCharacters", "<r><s t=\"\">", "<a href=\"x\">'&'</a", "<'&\">",
                          "<r><s t=\"&lt;'&amp;&quot;>\">&lt;a href=\"x\"&gt;'&amp;'&lt;/a</s></r>\n"},
        TWrittenValueCase{"SingleQuotedAttribute", "<r><s t=''>", "it's", "it's \"q\" &amp; <",
                          "<r><s t='it&apos;s \"q\" &amp;amp; &lt;'>it's</s></r>\n"},
        TWrittenValueCase{"NoBreakSpaceReferences", "<r><s t=\"\">", "&#0160;é&#0160;&#0160;&lt;&#0160;", "&#0160;x&#0160;",
                          "<r><s t=\"&#0160;x&#0160;\">&#0160;é&#0160;&#0160;&amp;lt;&#0160;</s></r>\n"},
        TWrittenValueCase{"Utf8KeepsEveryCharacter", "<r><s t=\"\">", "\xEF\xBF\xBD \xEF\xB7\x91 日本 😀", "ü 😀 \xEF\xBF\xBF",
                          "<r><s t=\"ü 😀 \xEF\xBF\xBF\">\xEF\xBF\xBD \xEF\xB7\x91 日本 😀</s></r>\n"},
        TWrittenValueCase{"Latin1ReferencesWhatItCannotHold", Latin1Head, "Grüße € 😀 &#0160;ÿ", "ä日😀&#0160;",
                          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r><s t=\"\xE4&#26085;&#128512;&#0160;\">Gr\xFC\xDF"
                          "e &#8364; &#128512; &#0160;\xFF</s></r>\n"},
        TWrittenValueCase{"AsciiReferencesAllButAscii", "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<r><s t=\"\">", "Grüße <x>",
                          "é&", "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<r><s t=\"&#233;&amp;\">Gr&#252;&#223;e &lt;x&gt;</s></r>\n"},
        TWrittenValueCase{"CodePageReferencesWhatItCannotHold", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<r><s t=\"\">",
                          "Ключ № € – ü 日 &#0160;", "ё ü",
                          "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<r><s t=\"\xB8 &#252;\">\xCA\xEB\xFE\xF7 \xB9 \x88 \x96 "
                          "&#252; &#26085; &#0160;</s></r>\n"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, WindowsLineEndsStayInWhatIsWrittenAndAdded)
{
    const QByteArray file = "<?xml version=\"1.0\"?>\r\n<!-- one\r\n     two -->\r\n<resources>\r\n"
                            "    <string name=\"a\">x</string>\r\n    <string name=\"c\"><![CDATA[p\r\nq]]></string>\r\n</resources>\r\n";
    TXmlDocument doc;
    doc.LoadFromBytes(file);
    TestSupport::ExpectText(doc.SaveToBytes(), file);
    WriteContent(FirstNamed(doc, "string"), "line\nnext\r\nlast", ckPlain, false);
    AppendChildElement(doc.Root(), "string").append_attribute("name") = "b";
    TestSupport::ExpectText(doc.SaveToBytes(),
                            "<?xml version=\"1.0\"?>\r\n<!-- one\r\n     two -->\r\n<resources>\r\n"
                            "    <string name=\"a\">line\r\nnext&#13;\r\nlast</string>\r\n"
                            "    <string name=\"c\"><![CDATA[p\r\nq]]></string>\r\n    <string name=\"b\" />\r\n</resources>\r\n");
}

// New and emptied elements close as most of the file's "/>" do: with a space before it or without.
TEST(XmlDocument, EmptyElementsCloseAsMostOfTheFilesDo)
{
    TXmlDocument tight, spaced;
    tight.LoadFromBytes("<r>\n  <a/>\n  <b x=\"1\"/>\n  <c />\n  <s>x</s>\n</r>\n");
    spaced.LoadFromBytes("<r>\n  <a />\n  <b x=\"1\"/>\n  <c />\n  <s>x</s>\n</r>\n");
    for (TXmlDocument *doc : {&tight, &spaced}) {
        FirstNamed(*doc, "s").remove_children();
        AppendChildElement(doc->Root(), "n");
    }
    TestSupport::ExpectText(tight.SaveToBytes(), "<r>\n  <a/>\n  <b x=\"1\"/>\n  <c />\n  <s/>\n  <n/>\n</r>\n");
    TestSupport::ExpectText(spaced.SaveToBytes(), "<r>\n  <a />\n  <b x=\"1\"/>\n  <c />\n  <s />\n  <n />\n</r>\n");
}

// Where a file's element is said to be written as it stands, writing it in the style asked gives the very same text:
// a claim is never wrong. The number of claims checked.
int ExpectClaimsOfWrittenAsItStandsHold(const QStringList &Files)
{
    int claimed = 0;
    for (const QString &file : Files) {
        TXmlDocument doc;
        doc.LoadFromFile(file, nullptr, false, true);
        // The texts first: reading the layout lets the file's text go.
        std::vector<std::pair<pugi::xml_node, std::string>> elements;
        for (pugi::xml_node e = doc.Root().first_child(); e; e = e.next_sibling())
            if (e.type() == pugi::node_element)
                elements.emplace_back(e, std::string(doc.SourceText(e)));
        for (const auto &[e, source] : elements)
            for (const bool spaced : {false, true}) {
                TXmlDocument::TStyle style = doc.Style();
                style.SpaceBeforeSlash = spaced;
                if (source.empty() || !WrittenAsItStands(source, style, doc.SpaceBeforeSlash()))
                    continue;
                ++claimed;
                EXPECT_EQ(doc.NodeText(e, style), source) << file.toStdString();
            }
    }
    return claimed;
}

// One odd thing each: a blank before ">", spacing and quotes a layout keeps, references in text and attributes, ">" in
// text, both forms of empty elements, comments, CDATA, a processing instruction, entities declared or not, blanks in
// an attribute's value, prefixes, a blank in an end tag.
TEST(XmlDocument, ElementsClaimedToBeWrittenAsTheyStandAreSo)
{
    QTemporaryDir dir;
    const QString made = dir.path() + "/made.xml";
    ASSERT_TRUE(TestSupport::WriteFile(made, "<!DOCTYPE r [<!ENTITY e \"E\">]>\n<r>\n"
                                             "<p>One &amp; &lt;two&gt;</p>\n"
                                             "<p><i q=\"one\" >x</i></p>\n"
                                             "<p><i  q='one'\n   x=\"&quot;\">t</i></p>\n"
                                             "<p>&quot;x</p>\n<p>x&apos;</p>\n<p>a > b</p>\n"
                                             "<p><i q=\"&gt;\"/></p>\n<p><i q='&apos;\"'/></p>\n<p><i q=\"&apos;\"/></p>\n"
                                             "<p><i/></p>\n<p><i /></p>\n<p><i></i></p>\n<p><i> </i>\t</p>\n"
                                             "<p><!-- c --><![CDATA[<x>]]></p>\n<p><?pi x?></p>\n"
                                             "<p>&#65;</p>\n<p>&e;</p>\n<p>&f;</p>\n<p>&amp;e;</p>\n"
                                             "<p><i q=\"a\tb\">t</i></p>\n"
                                             "<p><x:i xmlns:x=\"urn:x\" x:q=\"1\">é 日本</x:i></p>\n"
                                             "<p><i>x</i ></p>\n"
                                             "</r>\n"));
    QTemporaryDir sample;
    ASSERT_TRUE(SampleProject::Write(sample.path() + "/sample"));
    EXPECT_GT(ExpectClaimsOfWrittenAsItStandsHold(QStringList{made} + ResourceFilesOfProjects(sample.path())), 20);
}

TEST(CorpusXmlDocument, ElementsClaimedToBeWrittenAsTheyStandAreSo)
{
    GLOSSMILL_REQUIRE_CORPUS();
    EXPECT_GT(ExpectClaimsOfWrittenAsItStandsHold(ResourceFilesOfProjects(TestSupport::CorpusDir())), 1000);
}

// Every "/>" counts once wherever it stands (across the check's blocks of bytes, after text of other scripts, near
// the end): of as many of each form, the spaced one is the usual; one more makes a form the usual one.
TEST(XmlDocument, EmptyElementFormsAreCountedWhereverTheyStand)
{
    for (int pad = 0; pad < 40; ++pad)
        for (int after = 0; after < 20; ++after)
            for (const char *between : {"", "é", "日本", "x\ty"})
                for (const bool tightMore : {false, true}) {
                    QByteArray xml = "<r><s>x</s>" + QByteArray(pad, ' ');
                    for (int i = 0; i < 2; ++i)
                        xml += QByteArray("<a />") + between + "<b/>" + between;
                    xml += tightMore ? "<b/>" : "";
                    xml += "</r>" + QByteArray(after, '\n');
                    TXmlDocument doc;
                    doc.LoadFromBytes(xml);
                    FirstNamed(doc, "s").remove_children();
                    const QByteArray written = doc.SaveToBytes();
                    ASSERT_TRUE(written.startsWith(tightMore ? "<r><s/>" : "<r><s />"))
                        << pad << " " << after << " " << between << ": " << written.toStdString();
                }
}

// Text is checked as UTF-8 wherever a sequence stands: at the start, across any position, at the very end.
struct TTextCheckCase
{
    const char *Name;
    QByteArray Inner; // put between "<r>" and "</r>", after 0 to 16 bytes of padding
    bool Valid;
};

class XmlTextCheck : public ::testing::TestWithParam<TTextCheckCase>
{
};

TEST_P(XmlTextCheck, AcceptsOnlyWellFormedUtf8AndAllowedControls)
{
    for (int pad = 0; pad <= 16; ++pad) {
        const QByteArray file = "<r>" + QByteArray(pad, 'x') + GetParam().Inner + "</r>";
        TXmlDocument doc;
        if (GetParam().Valid) {
            ASSERT_NO_THROW(doc.LoadFromBytes(file)) << pad;
            EXPECT_EQ(doc.SaveToBytes(), file) << pad;
        } else {
            EXPECT_THROW(doc.LoadFromBytes(file), EXmlError) << pad;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, XmlTextCheck,
    ::testing::Values(TTextCheckCase{"TwoBytes", "\xC3\xA9", true}, TTextCheckCase{"ThreeBytes", "\xE6\x97\xA5", true},
                      TTextCheckCase{"FourBytes", "\xF0\x9F\x98\x80", true},
                      TTextCheckCase{"Mixed", "a\xC3\xA9\tb\xE6\x97\xA5\n\xF0\x9F\x98\x80\n\xEF\xBF\xBFz", true},
                      TTextCheckCase{"Delete", "\x7F", true}, TTextCheckCase{"Control", QByteArray("\x01", 1), false},
                      TTextCheckCase{"Nul", QByteArray("\0", 1), false}, TTextCheckCase{"Escape", "\x1B", false},
                      TTextCheckCase{"LoneContinuation", "\x80", false}, TTextCheckCase{"OverlongTwo", "\xC0\xAF", false},
                      TTextCheckCase{"OverlongThree", "\xE0\x80\xAF", false}, TTextCheckCase{"OverlongFour", "\xF0\x80\x80\xAF", false},
                      TTextCheckCase{"Surrogate", "\xED\xA0\x80", false}, TTextCheckCase{"BeyondUnicode", "\xF4\x90\x80\x80", false},
                      TTextCheckCase{"NoLeadByte", "\xF8\x88\x80\x80\x80", false}, TTextCheckCase{"ShortSequence", "\xE6\x97", false},
                      TTextCheckCase{"ContinuationMissing", "\xC3\x28", false}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(XmlDocument, TruncatedSequenceAtTheEndIsRefused)
{
    for (const QByteArray &end : {QByteArray("\xC3"), QByteArray("\xE6\x97"), QByteArray("\xF0\x9F\x98")}) {
        TXmlDocument doc;
        EXPECT_THROW(doc.LoadFromBytes("<r/>" + end), EXmlError) << end.toHex().toStdString();
    }
}

// The layout of tags is found past whatever may look like a tag inside comments, sections, instructions, attribute
// values and doctypes.
const TLayoutCase MarkupAroundTags[] = {
    {"CommentsHoldingTags", "<r>\n<!-- <a  x='1'/> --><b  y='2'\n/><!--<c>--><d\tz=\"3\"></d>\n</r>"},
    {"SectionsHoldingTags", "<r><s><![CDATA[<a  x='1'/>]]></s><b  y='2'/><![CDATA[ /> ]]><e  /></r>"},
    {"InstructionsHoldingTags", "<?xml version=\"1.0\"?>\n<?pi <a  x='1'/> ?>\n<r><?x '\"?><b  y='2' /></r>"},
    {"ValuesHoldingTags", "<r><a x=\"'/> &lt;b  y='2'/>\"  z='\"/>'/><c w=\">>\"\n/></r>"},
    {"DoctypeHoldingQuotes", "<!DOCTYPE r [\n<!-- it's -->\n<!ENTITY e \"<a  x='1'/>\">\n]>\n<r><b  y='2'\n/><c/><d /></r>"},
    {"TextHoldingSlashes", "<r>a /&gt; b<c/>  /&gt;<d  e='1'/></r>\n"},
    {"EmptyTagsAtTheEnd", "<r><a></a><b></b><c\n/></r>"},
};

class XmlLayoutAroundMarkup : public ::testing::TestWithParam<TLayoutCase>
{
};

TEST_P(XmlLayoutAroundMarkup, UntouchedDocumentIsWrittenByteForByte)
{
    const QByteArray xml(GetParam().Xml);
    TestSupport::ExpectText(RoundTrip(xml), xml);
    TXmlDocument fromFile;
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/f.xml", xml));
    fromFile.LoadFromFile(dir.path() + "/f.xml");
    TestSupport::ExpectText(fromFile.SaveToBytes(), xml);
}

INSTANTIATE_TEST_SUITE_P(Files, XmlLayoutAroundMarkup, ::testing::ValuesIn(MarkupAroundTags),
                         [](const auto &Info) { return std::string(Info.param.Name); });

// Cut anywhere, a file is loaded or refused with an error; nothing is read beyond its end.
TEST(XmlDocument, EveryCutOfAFileLoadsOrIsRefused)
{
    const QByteArray file = "<?xml version=\"1.0\"?>\n<!-- c -->\n<r a='1'  b=\"2\"><s/><t x=\"/>\" /><u\n/><v></v>"
                            "<![CDATA[ <w/> ]]><?p q?>\xC3\xA9\xE6\x97\xA5</r>\n";
    QTemporaryDir dir;
    for (qsizetype size = 0; size <= file.size(); ++size) {
        const QByteArray cut = file.left(size);
        TXmlDocument doc;
        try {
            doc.LoadFromBytes(cut);
            EXPECT_TRUE(cut.endsWith("</r>") || cut.endsWith("</r>\n")) << "loaded: " << cut.toStdString();
        } catch (const EXmlError &) {
        }
        ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/cut.xml", cut));
        try {
            doc.LoadFromFile(dir.path() + "/cut.xml");
        } catch (const EXmlError &) {
        }
    }
}

// A deferred document is built when first used, and not after a load or Clear.
TEST(XmlDocument, ADeferredDocumentIsBuiltWhenFirstUsed)
{
    int builds = 0;
    TXmlDocument doc;
    doc.Defer([&builds](TXmlDocument &Doc) {
        ++builds;
        Doc.LoadFromBytes("<r><a/></r>");
    });
    EXPECT_TRUE(doc.Deferred());
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(doc.SaveToString(), QString("<r><a/></r>"));
    EXPECT_TRUE(doc.Root());
    EXPECT_EQ(builds, 1);
    EXPECT_FALSE(doc.Deferred());

    // A load or Clear takes the place of what was deferred.
    doc.Defer([&builds](TXmlDocument &) { ++builds; });
    doc.LoadFromBytes("<s/>");
    EXPECT_EQ(doc.SaveToString(), QString("<s/>"));
    doc.Defer([&builds](TXmlDocument &) { ++builds; });
    doc.Clear();
    EXPECT_FALSE(doc.Root());
    EXPECT_EQ(builds, 1);
}
