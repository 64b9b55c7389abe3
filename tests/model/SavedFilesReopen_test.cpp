// What opening and saving write must open again, in Glossmill and in Android's build, and carry what was typed:
// each case writes the files, then reads what reached the disk.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "NodeFixture.h"
#include "TestSupport.h"

namespace {

QByteArray StringXml(const char *Name, const char *Text)
{
    return QByteArray("  <string name=\"") + Name + "\">" + Text + "</string>\n";
}

// A language file as a new session opens it, from what is on disk now.
struct TReopened
{
    std::unique_ptr<TTransResourceFileNode> Base, Lang;
    tLoadResFileResult Load = lrfError;
    bool Parsed = false;

    explicit TReopened(const TNodePair &Saved)
    {
        Base = TNodePair::NewNode(Saved.Menu);
        if (Base->LoadResFile(Saved.DefaultPath()) != lrfOK || !Base->Parse())
            return;
        Lang = TNodePair::NewNode(Saved.Menu);
        Lang->LocaleDesc.LocaleName = "German";
        Lang->LocaleDesc.LocaleCode = "de";
        Lang->ResourceFileName = Saved.LangPath();
        Lang->setBaseTemplate(Base.get());
        Load = Lang->LoadResFile(Saved.LangPath());
        Parsed = Lang->Parse();
    }
    bool Opened() const { return Load == lrfOK && Parsed; }
    QString Text(const char *ID) const
    {
        const TTranslateItem *item = Lang ? Lang->GetItemByID(ID) : nullptr;
        return item ? item->FTranslatedValue : QStringLiteral("<no item>");
    }
};

} // namespace

// A default file whose root is a string itself (well-formed, though Android wants "resources") is still a file of one
// string: the translation reaches the work file and every save, as for any other string.
TEST(SavedFilesReopen, RootThatIsAStringTakesTheTranslation)
{
    for (const QByteArray &language : {QByteArray("<string name=\"a\">Eins</string>\n"),
                                       ValuesXml(StringXml("a", "Eins"))}) {
        TNodePair project;
        ASSERT_TRUE(project.Open("<string name=\"a\">A</string>\n", language));
        ASSERT_TRUE(project.LangParsed);
        EXPECT_EQ(project.WorkFile().toStdString(), "<string name=\"a\">Eins</string>\n");
        Edit(*project.Lang, project.Item("a"), "Zwei");
        ASSERT_TRUE(project.Lang->SaveFile(QString()));
        EXPECT_EQ(project.LangFile().toStdString(), "<string name=\"a\">Zwei</string>\n");
        const TReopened again(project);
        ASSERT_TRUE(again.Opened());
        EXPECT_EQ(again.Text("a").toStdString(), "Zwei");
    }
}

namespace {

const QByteArray DefaultMenu = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                               "  <item android:id=\"@+id/open\" android:title=\"@string/open\" />\n"
                               "  <item android:id=\"@+id/copy\" android:title=\"Copy link\" />\n"
                               "</menu>\n";

} // namespace

// Left untranslated, a menu item shows the default's title, as a values string left out of its file shows the
// default's text: the title is written as the default has it, a reference staying a reference.
TEST(SavedFilesReopen, UntranslatedMenuItemsKeepTheDefaultTitle)
{
    TNodePair project;
    // A copy of the default, emptied and marked as "Add Language" does with the recommended option.
    ASSERT_TRUE(project.Open(DefaultMenu, DefaultMenu, true));
    for (const auto &item : project.Lang->TransItems()) {
        item->setTranslateValue(QString());
        item->FTranslateState = tsDontTranslate;
    }
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    // The prolog keeps the emptied state comment of the copy's first rebuild.
    EXPECT_TRUE(project.LangFile().endsWith(DefaultMenu)) << project.LangFile().toStdString();
    // The list still shows the empty translation.
    EXPECT_EQ(project.Item("@+id/open")->FTranslatedValue.toStdString(), "");
    EXPECT_EQ(project.Item("@+id/open")->FTranslateState, tsDontTranslate);

    // Read again, a title equal to the default's is the default text needing a better translation.
    const TReopened again(project);
    ASSERT_TRUE(again.Opened());
    EXPECT_EQ(again.Text("@+id/open").toStdString(), "@string/open");
    EXPECT_EQ(again.Lang->GetItemByID("@+id/open")->FTranslateState, tsNeedBetter);
}

TEST(SavedFilesReopen, EmptyMenuTitlesTakeTheDefaultOnesAndTranslationsStay)
{
    // The language's file has the first item with an empty title; the second one it lacks.
    TNodePair lacking;
    ASSERT_TRUE(lacking.Open(DefaultMenu,
                             "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                             "  <item android:id=\"@+id/open\" android:title=\"\" />\n"
                             "</menu>\n",
                             true));
    ASSERT_TRUE(lacking.LangParsed);
    EXPECT_EQ(lacking.Item("@+id/copy")->FTranslateState, tsBaseNotPresent);
    ASSERT_TRUE(lacking.Lang->SaveFile(QString()));
    EXPECT_TRUE(lacking.LangFile().contains("android:title=\"@string/open\"")) << lacking.LangFile().toStdString();
    EXPECT_TRUE(lacking.LangFile().contains("android:title=\"Copy link\"")) << lacking.LangFile().toStdString();
    EXPECT_TRUE(lacking.Item("@+id/copy")->FTranslatedValue.isEmpty());

    TNodePair project;
    ASSERT_TRUE(project.Open(DefaultMenu,
                             "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                             "  <item android:id=\"@+id/open\" android:title=\"\" />\n"
                             "  <item android:id=\"@+id/copy\" android:title=\"Link kopieren\" />\n"
                             "</menu>\n",
                             true));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_TRUE(project.WorkFile().contains("android:title=\"@string/open\"")) << project.WorkFile().toStdString();
    EXPECT_TRUE(project.WorkFile().contains("android:title=\"Link kopieren\"")) << project.WorkFile().toStdString();
    // Marked by the translator: the same.
    project.Lang->EnableDisablUndoMode(true);
    Mark(*project.Lang, project.Item("@+id/copy"), tsDontTranslate);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains("android:title=\"Copy link\"")) << project.LangFile().toStdString();
}

namespace {

// Runs aapt on a project of the default values file and the saved language file, or of the saved menu alone;
// Output gets what it printed, and the dump of the string values when it built. False when it did not build.
bool AaptBuilds(const TNodePair &Saved, QString &Output)
{
    QTemporaryDir dir;
    const QString res = dir.path() + "/res";
    const QString folder = Saved.Menu ? "/menu-de/" : "/values-de/";
    if (!TestSupport::WriteFile(dir.path() + "/AndroidManifest.xml", "<manifest package=\"org.example.check\"/>\n")
        || !TestSupport::WriteFile(res + folder + Saved.FileName, TestSupport::ReadFile(Saved.LangPath()))
        || (!Saved.Menu && !TestSupport::WriteFile(res + "/values/" + Saved.FileName, TestSupport::ReadFile(Saved.DefaultPath()))))
        return false;
    QProcess aapt;
    aapt.setProcessChannelMode(QProcess::MergedChannels);
    aapt.start("aapt", {"package", "-f", "-M", dir.path() + "/AndroidManifest.xml", "-S", res, "-F", dir.path() + "/out.apk"});
    aapt.waitForFinished(60000);
    Output = QString::fromUtf8(aapt.readAll());
    if (aapt.exitStatus() != QProcess::NormalExit || aapt.exitCode() != 0)
        return false;
    aapt.start("aapt", {"dump", "--values", "resources", dir.path() + "/out.apk"});
    aapt.waitForFinished(60000);
    Output += QString::fromUtf8(aapt.readAll());
    return true;
}

struct TReferenceCase
{
    const char *Name;
    const char *Typed;
    const char *Written;     // the string's text in the saved values file
    const char *MenuWritten; // the title in the saved menu (unescaped), which keeps its apostrophes and leading blanks
    const char *Shown;       // a text: what the app shows; empty for a reference
    bool Builds;             // a reference that resolves in the values project
};

void PrintTo(const TReferenceCase &Case, std::ostream *Out)
{
    *Out << Case.Name;
}

class ReferenceMarks : public ::testing::TestWithParam<TReferenceCase>
{
};

} // namespace

// A translation that begins with "@" or "?" is a reference to the build; unless it is one, its first character is
// written escaped, as an apostrophe is, so that the app shows it as typed and the build does not fail.
TEST_P(ReferenceMarks, OnlyRealReferencesStayReferences)
{
    const TReferenceCase &c = GetParam();
    const bool aapt = !QStandardPaths::findExecutable("aapt").isEmpty();
    for (const bool menu : {false, true}) {
        SCOPED_TRACE(menu ? "menu" : "values");
        TNodePair project;
        if (menu)
            ASSERT_TRUE(project.Open("<menu><item id=\"@+id/a\" title=\"A\" /></menu>\n",
                                     "<menu><item id=\"@+id/a\" title=\"Eins\" /></menu>\n", true));
        else
            ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A") + StringXml("other", "Other")),
                                     ValuesXml(StringXml("a", "Eins") + StringXml("other", "Andere"))));
        TTranslateItem *item = project.Item(menu ? "@+id/a" : "a");
        Edit(*project.Lang, item, QString::fromUtf8(c.Typed));
        ASSERT_TRUE(project.Lang->SaveFile(QString()));
        const QString written = QString::fromUtf8(menu ? c.MenuWritten : c.Written);
        if (!menu)
            EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">" + written.toUtf8() + "</string>"))
                << project.LangFile().toStdString();
        // Shown after reopening as the file has it, backslash and all.
        const TReopened again(project);
        ASSERT_TRUE(again.Opened());
        EXPECT_EQ(again.Text(menu ? "@+id/a" : "a").toStdString(), written.trimmed().toStdString());

        if (!aapt || (!*c.Shown && (menu || !c.Builds)))
            continue;
        QString output;
        EXPECT_TRUE(AaptBuilds(project, output)) << output.toStdString();
        if (!menu && *c.Shown)
            EXPECT_TRUE(output.contains("(string16) \"" + QString::fromUtf8(c.Shown) + "\"")) << output.toStdString();
    }
    if (!aapt)
        GTEST_SKIP() << "aapt is not installed: the files were not built";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReferenceMarks,
    ::testing::Values(TReferenceCase{"AtWord", "@Home", "\\@Home", "\\@Home", "@Home", false},
                      TReferenceCase{"QuestionAndSpace", "? Warum", "\\? Warum", "\\? Warum", "? Warum", false},
                      TReferenceCase{"MarkAlone", "@", "\\@", "\\@", "@", false},
                      TReferenceCase{"TypeWithoutName", "@string/", "\\@string/", "\\@string/", "@string/", false},
                      TReferenceCase{"AfterBlank", " @Home", " \\@Home", " @Home", "@Home", false},
                      TReferenceCase{"WithApostrophe", "@l'Home", "\\@l\\'Home", "\\@l'Home", "@l'Home", false},
                      TReferenceCase{"InMarkup", "<xliff:g id=\"n\">@Home</xliff:g>", "<xliff:g id=\"n\">\\@Home</xliff:g>",
                                     "<xliff:g id=\"n\">@Home</xliff:g>", "@Home", false},
                      TReferenceCase{"AlreadyEscaped", "\\@Home", "\\@Home", "\\@Home", "@Home", false},
                      TReferenceCase{"Quoted", "\"@Home\"", "\"@Home\"", "\"@Home\"", "@Home", false},
                      TReferenceCase{"Inside", "Mail @Home", "Mail @Home", "Mail @Home", "Mail @Home", false},
                      TReferenceCase{"StringReference", "@string/other", "@string/other", "@string/other", "", true},
                      TReferenceCase{"Null", "@null", "@null", "@null", "", true},
                      TReferenceCase{"NewId", "@+id/x", "@+id/x", "@+id/x", "", true},
                      TReferenceCase{"OtherPackage", "@android:string/ok", "@android:string/ok", "@android:string/ok", "", false},
                      TReferenceCase{"Attribute", "?attr/colorAccent", "?attr/colorAccent", "?attr/colorAccent", "", false},
                      TReferenceCase{"AttributeByName", "?colorAccent", "?colorAccent", "?colorAccent", "", false}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// A text read from a language file goes the same way into the work file.
TEST(SavedFilesReopen, ReferenceMarksOfTextsReadFromTheFileAreEscaped)
{
    TNodePair values;
    ASSERT_TRUE(values.Open(ValuesXml(StringXml("a", "@string/b") + StringXml("b", "B") + StringXml("c", "C")),
                            ValuesXml(StringXml("a", "@string/b") + StringXml("b", "@Home") + StringXml("c", "<![CDATA[?]]>"))));
    ASSERT_TRUE(values.LangParsed);
    EXPECT_TRUE(values.WorkFile().contains("<string name=\"a\">@string/b</string>")) << values.WorkFile().toStdString();
    EXPECT_TRUE(values.WorkFile().contains("<string name=\"b\">\\@Home</string>")) << values.WorkFile().toStdString();
    EXPECT_TRUE(values.WorkFile().contains("<string name=\"c\"><![CDATA[\\?]]></string>")) << values.WorkFile().toStdString();

    TNodePair menu;
    ASSERT_TRUE(menu.Open("<menu><item id=\"@+id/a\" title=\"A\" /></menu>\n", "<menu><item id=\"@+id/a\" title=\"@Home\" /></menu>\n", true));
    ASSERT_TRUE(menu.LangParsed);
    EXPECT_TRUE(menu.WorkFile().contains("title=\"\\@Home\"")) << menu.WorkFile().toStdString();
}

namespace {

struct TTypedCase
{
    const char *Name;
    const char *Default;  // the string's text in both files before the edit
    const char *Typed;
    const char *Written;  // the string's text in the saved file
};

void PrintTo(const TTypedCase &Case, std::ostream *Out)
{
    *Out << Case.Name;
}

class TypedMarkup : public ::testing::TestWithParam<TTypedCase>
{
};

} // namespace

// What is typed is saved as typed: as markup where it is XML, else escaped as text.
TEST_P(TypedMarkup, IsSavedAsTyped)
{
    const TTypedCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", c.Default)), ValuesXml(StringXml("a", c.Default))));
    Edit(*project.Lang, project.Item("a"), QString::fromUtf8(c.Typed));
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains(QByteArray("<string name=\"a\">") + c.Written + "</string>"))
        << project.LangFile().toStdString();
    const TReopened again(project);
    ASSERT_TRUE(again.Opened());
    EXPECT_EQ(again.Text("a").toStdString(), c.Typed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedMarkup,
    ::testing::Values(TTypedCase{"LessThanAtTheEnd", "A <b>x</b>", "Z<", "Z&lt;"},
                      TTypedCase{"LessThanAfterMarkup", "A <b>x</b>", "<b>Z</b><", "&lt;b&gt;Z&lt;/b&gt;&lt;"},
                      TTypedCase{"LessThanInPlainText", "A", "<b>Z</b> <", "&lt;b&gt;Z&lt;/b&gt; &lt;"},
                      TTypedCase{"Markup", "A <b>x</b>", "<b>Z</b> <i>y</i>", "<b>Z</b> <i>y</i>"},
                      TTypedCase{"ControlCharacterInCData", "<![CDATA[<b>x</b>]]>", "a\x02<b>", "<![CDATA[a]]>&#2;<![CDATA[<b>]]>"},
                      TTypedCase{"CarriageReturnInCData", "<![CDATA[<b>x</b>]]>", "a\rb", "<![CDATA[a]]>&#13;<![CDATA[b]]>"},
                      TTypedCase{"DoubleHyphenInAComment", "A <b>x</b>", "<!-- a--b -->x", "&lt;!-- a--b --&gt;x"},
                      TTypedCase{"HyphenEndingAComment", "A <b>x</b>", "<!--a--->x", "&lt;!--a---&gt;x"},
                      TTypedCase{"ControlCharacterInAComment", "A <b>x</b>", "<!--\x01-->x", "&lt;!--&#1;--&gt;x"},
                      TTypedCase{"Comment", "A <b>x</b>", "<!-- a-b -->x", "<!-- a-b -->x"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

namespace {

// Well-formed with its namespaces, as Android's build reads it; the problem found, or empty.
QString NamespaceProblem(const QByteArray &Bytes)
{
    QXmlStreamReader reader(Bytes);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

} // namespace

// Markup whose prefix its own string declares keeps it declared wherever it goes, edited or not.
TEST(SavedFilesReopen, MarkupKeepsThePrefixesItsStringDeclares)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("ns", "A") + StringXml("b", "B")),
                             "<resources>\n  <string name=\"ns\" xmlns:u=\"urn:u\"><u:b>fett</u:b></string>\n"
                             "  <group xmlns:v=\"urn:v\"><string name=\"b\"><v:i>kursiv</v:i></string></group>\n</resources>\n"));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(NamespaceProblem(project.WorkFile()).toStdString(), "") << project.WorkFile().toStdString();
    Edit(*project.Lang, project.Item("ns"), "<u:b>dick</u:b>");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_EQ(NamespaceProblem(project.LangFile()).toStdString(), "") << project.LangFile().toStdString();
    const TReopened again(project);
    ASSERT_TRUE(again.Opened());
    EXPECT_EQ(again.Text("ns").toStdString(), "<u:b>dick</u:b>");
    EXPECT_EQ(again.Text("b").toStdString(), "<v:i>kursiv</v:i>");
    if (QStandardPaths::findExecutable("aapt").isEmpty())
        GTEST_SKIP() << "aapt is not installed: the file was not built";
    QString output;
    EXPECT_TRUE(AaptBuilds(project, output)) << output.toStdString();
}

namespace {

struct TOddFileCase
{
    const char *Name;
    QByteArray Default;
    QByteArray Language;
    bool Opens; // else refused as unreadable, as malformed XML is
};

void PrintTo(const TOddFileCase &Case, std::ostream *Out)
{
    *Out << Case.Name;
}

class OddFiles : public ::testing::TestWithParam<TOddFileCase>
{
};

const QByteArray PlainDefault = ValuesXml(StringXml("a", "A") + "  <plurals name=\"p\"><item quantity=\"one\">One</item></plurals>\n");

TOddFileCase Language(const char *Name, const QByteArray &Body, bool Opens)
{
    return {Name, PlainDefault, "<resources xmlns:tools=\"http://schemas.android.com/tools\">\n" + Body + "</resources>\n", Opens};
}

} // namespace

// A file either does not open at all, or what opening and saving it write opens again.
TEST_P(OddFiles, OpenAsUnreadableOrSaveWhatOpensAgain)
{
    const TOddFileCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(c.Default, c.Language));
    if (!c.Opens) {
        EXPECT_EQ(project.LangLoad, lrfError);
        EXPECT_FALSE(project.LangParsed);
        return;
    }
    ASSERT_EQ(project.LangLoad, lrfOK);
    ASSERT_TRUE(project.LangParsed);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    const TReopened again(project);
    EXPECT_EQ(again.Load, lrfOK) << project.LangFile().toStdString();
    EXPECT_TRUE(again.Parsed);
    EXPECT_EQ(again.Text("a").toStdString(), project.Item("a")->FTranslatedValue.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OddFiles,
    ::testing::Values(
        // A string's own text is read as text (U+FFFD in place of what names no character) and written anew.
        Language("SurrogateInAString", StringXml("a", "X&#xD800;Y"), true),
        Language("BeyondUnicodeInAString", StringXml("a", "&#x110000;"), true),
        Language("DecimalSurrogate", StringXml("a", "&#57343;"), true),
        Language("ZeroInAString", StringXml("a", "X&#0;Y"), false),
        Language("EmptyReference", StringXml("a", "X&#x;Y"), false),
        Language("SurrogateInAPlural", StringXml("a", "X") + "  <plurals name=\"p\"><item quantity=\"one\">&#xDFFF;</item></plurals>\n", false),
        Language("SurrogateInAnAttribute", "  <string name=\"a\" tools:note=\"&#xD800;\">X</string>\n", false),
        Language("SurrogateInAStringOfAnArray", StringXml("a", "X") + "  <string-array name=\"s\"><string name=\"b\">&#xD800;</string></string-array>\n", false),
        Language("SurrogateInAComment", "  <!-- &#xD800; -->\n" + StringXml("a", "X"), true),
        Language("SurrogateInCData", StringXml("a", "<![CDATA[&#xD800;]]>"), true),
        Language("LastCharacters", StringXml("a", "&#x10FFFF;&#xFFFD;&#65;"), true),
        // U+FDD0 stands for "&#0160;" inside the writer: only a string's text may take it so.
        Language("NoncharacterOfTheWriterInAName", "  <string name=\"a\xEF\xB7\x90\">X</string>\n" + StringXml("a", "X"), false),
        Language("NoncharacterReferenceInAPlural", StringXml("a", "X") + "  <plurals name=\"p\"><item quantity=\"one\">&#xFDD0;</item></plurals>\n", false),
        Language("UpperCaseXReference", StringXml("a", "&#XD800;"), true),
        TOddFileCase{"QuoteInTheDeclaration", PlainDefault,
                     "<?xml version='1.0' encoding='ut\"f-8'?>\n<resources>" + StringXml("a", "X") + "</resources>\n", true},
        TOddFileCase{"LookAlikeDeclarationBehindAByteOrderMark",
                     "\xEF\xBB\xBF<?xmlfoo encoding=\"x\"?>\n" + ValuesXml(StringXml("a", "A"), ""), ValuesXml(StringXml("a", "X")), true},
        TOddFileCase{"LookAlikeDeclaration", PlainDefault,
                     "<?xmlfoo encoding=\"x\"?>\n<resources>" + StringXml("a", "X") + "</resources>\n", true},
        TOddFileCase{"AttributeEndingInEncoding",
                     "<?xml version=\"1.0\" xencoding=\"ISO-8859-1\" encoding=\"utf-8\"?>\n" + ValuesXml(StringXml("a", "A"), ""),
                     ValuesXml(StringXml("a", "Gr\xC3\xBC\xC3\x9F")), true},
        TOddFileCase{"UpperCaseDeclaration", PlainDefault,
                     "<?XML version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<resources>" + StringXml("a", "Gr\xFC\xDF") + "</resources>\n", true}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// The same for a menu: its items' titles are read as text, anything else stays as it stands.
TEST(SavedFilesReopen, MenuReferencesToNoCharacterOutsideTitlesAreRefused)
{
    for (const auto &[menu, opens] : {std::pair<QByteArray, bool>{"<menu><item id=\"@+id/a\" title=\"X&#xD800;\" /></menu>", true},
                                      {"<menu><item id=\"@+id/a\" title=\"X\" icon=\"&#xD800;\" /></menu>", false},
                                      {"<menu><item id=\"@+id/a\" title=\"X&#0;Y\" /></menu>", false},
                                      {"<menu><item id=\"@+id/a&#xFDD0;\" title=\"X\" /></menu>", false}}) {
        TNodePair project;
        ASSERT_TRUE(project.Open("<menu><item id=\"@+id/a\" title=\"A\" /></menu>", menu, true));
        EXPECT_EQ(project.LangLoad == lrfOK && project.LangParsed, opens) << menu.toStdString();
        if (!opens)
            continue;
        ASSERT_TRUE(project.Lang->SaveFile(QString()));
        EXPECT_TRUE(TReopened(project).Opened()) << project.LangFile().toStdString();
    }
}

// A default string inside a plural that the language has without it: the do-not-translate item it gives has no place
// in the rebuilt file, and needs none.
TEST(SavedFilesReopen, UntranslatedStringWithoutAPlaceOpens)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("s", "S") + "  <plurals name=\"p\"><item quantity=\"one\">One <string name=\"s\">S</string></item></plurals>\n"),
                             ValuesXml(StringXml("s", "Es") + "  <plurals name=\"p\"><item quantity=\"one\">Eins</item></plurals>\n")));
    EXPECT_TRUE(project.LangParsed);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    const TReopened again(project);
    ASSERT_TRUE(again.Opened()) << project.LangFile().toStdString();
    EXPECT_EQ(again.Text("s").toStdString(), "Es");
}

// A menu item with two ids is saved by its first and read by the other: a translation that has no place fails the
// open rather than be written into a file that the next open refuses.
TEST(SavedFilesReopen, MenuItemWithTwoIdsOpensOnlyWhereItsSaveOpensAgain)
{
    TNodePair project;
    ASSERT_TRUE(project.Open("<menu xmlns:a=\"urn:a\" xmlns:b=\"urn:b\"><item a:id=\"@+id/x\" b:id=\"@+id/a\" title=\"A\" /></menu>",
                             "<menu><item id=\"@+id/a\" label=\"B\" /></menu>", true));
    if (!project.LangParsed)
        return;
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(TReopened(project).Opened()) << project.LangFile().toStdString();
}
