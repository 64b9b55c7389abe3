#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

#include "NodeFixture.h"

using namespace GlossmillXml;

namespace {

struct TStateCase
{
    const char *Name;
    const char *Default; // the default text of "a"; nullptr: the default file has no "a"
    const char *Translation;
    tTransState State;
};

class LanguageItemState : public ::testing::TestWithParam<TStateCase>
{
};

QByteArray StringXml(const char *Name, const char *Text)
{
    return QByteArray("  <string name=\"") + Name + "\">" + Text + "</string>\n";
}

} // namespace

TEST_P(LanguageItemState, FollowsTheComparisonWithTheDefaultText)
{
    const TStateCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("z", "Zed") + (c.Default ? StringXml("a", c.Default) : QByteArray())),
                             ValuesXml(StringXml("a", c.Translation))));
    ASSERT_TRUE(project.LangParsed);
    const TTranslateItem *a = project.Item("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->FTranslateState, c.State);
    EXPECT_EQ(a->FBaseValue, QString(c.Default ? c.Default : ""));
    EXPECT_EQ(a->FTranslatedValue, QString(c.Translation));
    // Written into the rebuilt document when the default has it; dropped when it has nowhere to go, and either way the
    // rebuilt file needs no save.
    EXPECT_FALSE(a->Changed);
    const bool inWork = project.WorkFile().contains("name=\"a\"");
    EXPECT_EQ(inWork, c.Default != nullptr && c.State != tsDontTranslate);
    EXPECT_FALSE(project.Lang->NeedSave());
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageItemState,
                         ::testing::Values(TStateCase{"Empty", "Hello", "", tsDontTranslate},
                                           TStateCase{"EqualToDefault", "Hello", "Hello", tsNeedBetter},
                                           TStateCase{"DiffersInCaseOnly", "Hello", "hello", tsTranslated},
                                           TStateCase{"Translated", "Hello", "Hallo", tsTranslated},
                                           TStateCase{"NotInDefault", nullptr, "Hallo", tsTranslated},
                                           TStateCase{"NotInDefaultAndEmpty", nullptr, "", tsDontTranslate}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileLoading, DefaultFileItems)
{
    TNodePair values;
    ASSERT_TRUE(values.Open(ValuesXml(StringXml("a", "  Hi \n") + StringXml("b", "") + "  <plurals name=\"p\"><item quantity=\"one\">x</item></plurals>\n"
                                      + "  <group><string name=\"deep\">Deep</string></group>\n  <String name=\"upper\">No</String>\n"
                                      + "  <string>no name</string>\n"),
                            nullptr));
    const auto &items = values.Base->TransItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->ID, QString("a"));
    EXPECT_EQ(items[0]->FBaseValue, QString("Hi"));
    EXPECT_EQ(items[0]->FTranslatedValue, QString("Hi"));
    EXPECT_EQ(items[0]->PrevTranslateValue(), QString("Hi"));
    EXPECT_EQ(items[0]->WhSpaceHeader, QString("  "));
    EXPECT_EQ(items[0]->WhSpaceTrailer, QString(" \n"));
    EXPECT_EQ(items[0]->FTranslateState, tsTranslated);
    EXPECT_TRUE(items[0]->Changed);
    EXPECT_EQ(items[1]->FTranslateState, tsUnknown);
    EXPECT_FALSE(items[1]->Changed);
    EXPECT_EQ(items[2]->ID, QString("deep"));
    EXPECT_TRUE(values.Base->TempWorkFileName.isEmpty());

    TNodePair menu;
    ASSERT_TRUE(menu.Open("<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                          "  <item android:id=\"@+id/one\" android:title=\" One\" />\n"
                          "  <group><item android:id=\"@+id/two\" /></group>\n"
                          "  <item android:title=\"no id\" />\n  <item android:id=\"\" android:title=\"empty id\" />\n</menu>\n",
                          nullptr, true));
    const auto &entries = menu.Base->TransItems();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]->ID, QString("@+id/one"));
    EXPECT_EQ(entries[0]->FTranslatedValue, QString("One"));
    EXPECT_EQ(entries[0]->WhSpaceHeader, QString(" "));
    EXPECT_EQ(entries[0]->FTranslateState, tsUnknown);
    EXPECT_FALSE(entries[0]->Changed);
    EXPECT_EQ(entries[1]->ID, QString("@+id/two"));
    EXPECT_TRUE(entries[1]->FTranslatedValue.isEmpty());
}

TEST(ResourceFileLoading, WhitespaceAroundATranslationIsKeptThroughTheRebuild)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "Word")), ValuesXml(StringXml("a", "  Wort \n"))));
    const TTranslateItem *a = project.Item("a");
    EXPECT_EQ(a->FTranslatedValue, QString("Wort"));
    EXPECT_EQ(a->WhSpaceHeader, QString("  "));
    EXPECT_EQ(a->WhSpaceTrailer, QString(" \n"));
    EXPECT_TRUE(project.WorkFile().contains("<string name=\"a\">  Wort \n</string>"));
}

struct TCommentCase
{
    const char *Name;
    const char *Prolog; // comments before the root
    tTransState A, B;
    const char *TranslationB;
};

class StateComment : public ::testing::TestWithParam<TCommentCase>
{
};

TEST_P(StateComment, SetsTheListedStates)
{
    const TCommentCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A") + StringXml("b", "B") + StringXml("m", "M")),
                             ValuesXml(StringXml("a", "a") + StringXml("b", "b"), QByteArray("<?xml version=\"1.0\"?>\n") + c.Prolog)));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslateState, c.A);
    EXPECT_EQ(project.Item("b")->FTranslateState, c.B);
    EXPECT_EQ(project.Item("b")->FTranslatedValue, QString(c.TranslationB));
    EXPECT_EQ(project.Item("m")->FTranslateState, tsDontTranslate); // added later: never from the comment
}

INSTANTIATE_TEST_SUITE_P(
    Comments, StateComment,
    ::testing::Values(
        TCommentCase{"None", "", tsTranslated, tsTranslated, "b"},
        TCommentCase{"Written", "<!--Glossmill - item states storage;a=2;b=3;\r\n-->\n", tsFinalTrnaslation, tsNeedBetter, "b"},
        TCommentCase{"DontTranslateEmpties", "<!--Glossmill - item states storage;b=4;-->\n", tsTranslated, tsDontTranslate, ""},
        TCommentCase{"UnknownIdAndMissingItem", "<!--Glossmill - item states storage;x=2;m=2;b=3;-->\n", tsTranslated, tsNeedBetter, "b"},
        TCommentCase{"NotANumberIsSkipped", "<!--Glossmill - item states storage;a=x;b=3;-->\n", tsTranslated, tsNeedBetter, "b"},
        TCommentCase{"OutOfRangeIsSkipped", "<!--Glossmill - item states storage;a=7;b=-1;-->\n", tsTranslated, tsTranslated, "b"},
        TCommentCase{"FirstOfTwoDecides", "<!--Glossmill - item states storage;a=3;a=2;-->\n", tsNeedBetter, tsTranslated, "b"},
        TCommentCase{"NumberByNameInAnyCase", "<!--Glossmill - item states storage;A=2;a=3;-->\n", tsFinalTrnaslation, tsTranslated, "b"},
        TCommentCase{"SpacesAroundEqualsMakeItIneffective", "<!--Glossmill - item states storage;a = 2;b=3;-->\n", tsTranslated, tsNeedBetter, "b"},
        TCommentCase{"QuotedEntry", "<!--Glossmill - item states storage;\"a=2\";b=3-->\n", tsFinalTrnaslation, tsNeedBetter, "b"},
        TCommentCase{"TextBeforeTheMarker", "<!--xx Glossmill - item states storage;a=2;-->\n", tsFinalTrnaslation, tsTranslated, "b"},
        TCommentCase{"OnlyTheFirstMarkerComment",
                     "<!-- header -->\n<!--Glossmill - item states storage;a=2;-->\n<!--Glossmill - item states storage;b=3;-->\n",
                     tsFinalTrnaslation, tsTranslated, "b"},
        TCommentCase{"LineBreaksInside", "<!--Glossmill - item states storage;a=\n2;b=3;\r\n-->\n", tsFinalTrnaslation, tsNeedBetter, "b"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileLoading, DefaultFileTakesNoStatesFromAComment)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A"), "<!--Glossmill - item states storage;a=2;-->\n"), nullptr));
    EXPECT_EQ(project.Base->GetItemByID("a")->FTranslateState, tsTranslated);
}

TEST(ResourceFileLoading, MenuLanguageFile)
{
    const QByteArray base = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                            "    <item\n        android:id=\"@+id/one\"\n        android:title=\"One\" />\n"
                            "    <item android:id=\"@+id/two\" android:title=\"Two\" />\n"
                            "    <item android:id=\"@+id/three\" android:title=\"Three\" />\n</menu>\n";
    const QByteArray lang = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                            "    <item android:id=\"@+id/one\" android:title=\"Eins\" />\n"
                            "    <item android:id=\"@+id/two\" android:title=\"\" />\n</menu>\n";
    TNodePair project;
    ASSERT_TRUE(project.Open(base, lang, true));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("@+id/one")->FTranslateState, tsTranslated);
    EXPECT_EQ(project.Item("@+id/two")->FTranslateState, tsDontTranslate);
    EXPECT_EQ(project.Item("@+id/three")->FTranslateState, tsBaseNotPresent);
    EXPECT_EQ(project.Item("@+id/three")->FBaseValue, QString("Three"));
    // The default's layout with the language's titles; an untranslated item and a missing one keep the default's
    // title, since an empty one is a blank entry in the app's menu.
    EXPECT_EQ(project.WorkFile().toStdString(),
              "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
              "    <item\n        android:id=\"@+id/one\"\n        android:title=\"Eins\" />\n"
              "    <item android:id=\"@+id/two\" android:title=\"Two\" />\n"
              "    <item android:id=\"@+id/three\" android:title=\"Three\" />\n</menu>\n");
    EXPECT_TRUE(project.Item("@+id/three")->FTranslatedValue.isEmpty());
}

TEST(ResourceFileLoading, RebuildFollowsTheDefaultFileAndLeavesTheLanguageFileAlone)
{
    const QByteArray base = ValuesXml("  <!-- app name -->\n" + StringXml("app", "App") + StringXml("gone", "Gone")
                                          + "  <string name=\"fixed\" translatable=\"false\">Etar</string>\n" + StringXml("last", "Last"),
                                      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Copyright -->\n");
    const QByteArray lang = ValuesXml(StringXml("last", "Letzte") + StringXml("app", "Anwendung") + StringXml("extra", "Extra"));
    TNodePair project;
    ASSERT_TRUE(project.Open(base, lang));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.LangFile(), lang);
    EXPECT_EQ(project.Lang->TempWorkFileName, project.WorkPath());
    EXPECT_TRUE(project.WorkPath().endsWith("/values-de/strings.tmp"));
    EXPECT_EQ(project.WorkFile().toStdString(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Copyright -->\n"
              "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
              "  <!-- app name -->\n  <string name=\"app\">Anwendung</string>\n  <string name=\"last\">Letzte</string>\n</resources>\n");
    // In memory the do-not-translate strings keep their elements.
    EXPECT_TRUE(project.Lang->XmlFile.SaveToString().contains("name=\"gone\""));
    EXPECT_EQ(project.Item("gone")->FTranslateState, tsDontTranslate);
    EXPECT_TRUE(project.Item("gone")->FTranslatedValue.isEmpty());
    EXPECT_FALSE(project.Lang->CanUndo());
}

TEST(ResourceFileLoading, MissingLanguageFileIsRebuiltFromTheDefault)
{
    TNodePair project;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(project.LangPath()).path()));
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A")), nullptr));
    EXPECT_EQ(project.LangLoad, lrfNotExists);
    EXPECT_TRUE(project.Lang->ResourceFileName == project.LangPath()); // set by the caller, untouched
    EXPECT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslateState, tsDontTranslate);
    EXPECT_TRUE(QFileInfo::exists(project.WorkPath()));
}

TEST(ResourceFileLoading, LoadResults)
{
    QTemporaryDir dir;
    TTransResourceFileNode_Value node;
    node.ResourceFileName = "kept";
    EXPECT_EQ(node.LoadResFile(dir.path() + "/none.xml"), lrfNotExists);
    EXPECT_EQ(node.ResourceFileName, QString("kept"));
    EXPECT_EQ(node.LoadResFile(dir.path()), lrfError); // a folder is no file, and no missing one either
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/bad.xml", "<resources><string name=\"a\">x</resources>"));
    EXPECT_EQ(node.LoadResFile(dir.path() + "/bad.xml"), lrfError);
    EXPECT_EQ(node.ResourceFileName, dir.path() + "/bad.xml");
    EXPECT_FALSE(node.Parse());
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/good.xml", ValuesXml(StringXml("a", "x"))));
    EXPECT_EQ(node.LoadResFile(dir.path() + "/good.xml"), lrfOK);
    EXPECT_TRUE(node.Parse());
    EXPECT_EQ(node.TransItems().size(), 1u);
}

TEST(ResourceFileLoading, LanguageFileWithoutDefaultFailsToParse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/strings.xml", ValuesXml(StringXml("a", "x"))));
    TTransResourceFileNode_Value node;
    node.LocaleDesc.LocaleName = "German";
    ASSERT_EQ(node.LoadResFile(dir.path() + "/strings.xml"), lrfOK);
    EXPECT_FALSE(node.Parse());
}

TEST(ResourceFileLoading, UnwritableWorkFileLeavesTheLanguageDocumentInPlace)
{
    TNodePair project;
    ASSERT_TRUE(TestSupport::WriteFile(project.DefaultPath(), ValuesXml(StringXml("a", "A"))));
    ASSERT_TRUE(QDir().mkpath(project.WorkPath())); // a folder where the work file would go
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A") + StringXml("b", "B")), ValuesXml(StringXml("a", "Eins"))));
    EXPECT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Lang->TempWorkFileName, project.WorkPath());
    // Not rebuilt: the language's own document with the missing string appended like its siblings.
    EXPECT_EQ(project.Lang->XmlFile.SaveToString().toStdString(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
              "  <string name=\"a\">Eins</string>\n  <string name=\"b\" />\n</resources>\n");
}

TEST(ResourceFileLoading, WorkFileKeepsTheLanguageFilesEncoding)
{
    TNodePair project;
    const QString text = QString::fromUtf8(ValuesXml(StringXml("a", "Grüße"), "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"));
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "Greetings")), QByteArray(utf16.encode(text))));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, QString("Grüße"));
    const QByteArray work = project.WorkFile();
    ASSERT_TRUE(work.startsWith("\xFF\xFE"));
    TXmlDocument doc;
    doc.LoadFromBytes(work);
    EXPECT_EQ(doc.Encoding(), QString("UTF-16"));
}

// Markup inside strings: read with its markup, written back in the form it had.
struct TMarkupCase
{
    const char *Name;
    const char *Default;
    const char *Language;
    const char *Text;    // the item's translation
    const char *Written; // the string in the work file
};

class MarkupStrings : public ::testing::TestWithParam<TMarkupCase>
{
};

TEST_P(MarkupStrings, SurviveLoadAndRebuild)
{
    const TMarkupCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", c.Default)), ValuesXml(StringXml("a", c.Language))));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, QString::fromUtf8(c.Text));
    EXPECT_EQ(project.Item("a")->FTranslateState, tsTranslated);
    EXPECT_TRUE(project.WorkFile().contains(QByteArray("<string name=\"a\">") + c.Written + "</string>")) << project.WorkFile().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, MarkupStrings,
    ::testing::Values(
        TMarkupCase{"Xliff", "<xliff:g id=\"count\">%d</xliff:g> files", "<xliff:g id=\"count\">%d</xliff:g> Dateien",
                    "<xliff:g id=\"count\">%d</xliff:g> Dateien", "<xliff:g id=\"count\">%d</xliff:g> Dateien"},
        TMarkupCase{"SpaceBetweenTags", "<b>x</b> <i>y</i>", "<b>a</b> <i>b</i>", "<b>a</b> <i>b</i>", "<b>a</b> <i>b</i>"},
        TMarkupCase{"Link", "Go <a href=\"https://x.org/?a=1&amp;b=2\">here</a>", "Geh <a href=\"https://x.org/?a=1&amp;b=2\">hier</a>",
                    "Geh <a href=\"https://x.org/?a=1&amp;b=2\">hier</a>", "Geh <a href=\"https://x.org/?a=1&amp;b=2\">hier</a>"},
        TMarkupCase{"CData", "<![CDATA[<b>Bold</b>]]>", "<![CDATA[<b>Fett</b>]]>", "<b>Fett</b>", "<![CDATA[<b>Fett</b>]]>"},
        TMarkupCase{"EscapedMarkup", "&lt;b&gt;Bold&lt;/b&gt;", "&lt;b&gt;Fett&lt;/b&gt;", "<b>Fett</b>", "&lt;b&gt;Fett&lt;/b&gt;"},
        TMarkupCase{"EntitiesInText", "Tom &amp; Jerry", "Tom &amp; Jerry &lt;3", "Tom & Jerry <3", "Tom &amp; Jerry &lt;3"},
        TMarkupCase{"MarkupOnlyInTheTranslation", "Hello", "<em>Hallo</em>", "<em>Hallo</em>", "<em>Hallo</em>"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileLoading, PrefixesUsedByTranslationsStayDeclared)
{
    TNodePair project;
    ASSERT_TRUE(project.Open("<resources>\n  <string name=\"a\">%d files</string>\n</resources>\n",
                             "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
                             "  <string name=\"a\"><xliff:g id=\"n\">%d</xliff:g> Dateien</string>\n</resources>\n"));
    ASSERT_TRUE(project.LangParsed);
    TXmlDocument work;
    ASSERT_NO_THROW(work.LoadFromBytes(project.WorkFile()));
    EXPECT_EQ(NamespaceDeclarations(work.Root()).value("xliff"), QString("urn:oasis:names:tc:xliff:document:1.2"));
}

TEST(ResourceFileLoading, TranslatedPluralsAndArraysReplaceTheDefaultOnes)
{
    const QByteArray base = ValuesXml("  <plurals name=\"n\">\n    <item quantity=\"one\">1 file</item>\n"
                                      "    <item quantity=\"other\"><xliff:g id=\"c\">%d</xliff:g> files</item>\n  </plurals>\n"
                                      "  <string-array name=\"days\">\n    <item>Mon</item>\n  </string-array>\n"
                                      "  <integer-array name=\"sizes\"><item>1</item></integer-array>\n"
                                      "  <array name=\"untranslated\"><item>x</item></array>\n");
    const QByteArray lang = ValuesXml("  <string-array name=\"days\"><item>Mo</item></string-array>\n"
                                      "  <plurals name=\"n\">\n        <item quantity=\"one\">1 Datei</item>\n"
                                      "        <item quantity=\"other\"><xliff:g id=\"c\">%d</xliff:g> Dateien</item>\n        <item quantity=\"few\"></item>\n  </plurals>\n"
                                      "  <integer-array name=\"sizes\"><item>2</item></integer-array>\n"
                                      "  <plurals name=\"only_here\"><item quantity=\"one\">x</item></plurals>\n");
    TNodePair project;
    ASSERT_TRUE(project.Open(base, lang));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.WorkFile().toStdString(),
              ValuesXml("  <plurals name=\"n\">\n        <item quantity=\"one\">1 Datei</item>\n"
                        "        <item quantity=\"other\"><xliff:g id=\"c\">%d</xliff:g> Dateien</item>\n        <item quantity=\"few\"></item>\n  </plurals>\n"
                        "  <string-array name=\"days\"><item>Mo</item></string-array>\n"
                        "  <integer-array name=\"sizes\"><item>2</item></integer-array>\n"
                        "  <array name=\"untranslated\"><item>x</item></array>\n")
                  .toStdString());
}

struct THostileCase
{
    const char *Name;
    QByteArray Bytes;
};

class HostileLanguageFile : public ::testing::TestWithParam<THostileCase>
{
};

TEST_P(HostileLanguageFile, GivesAnErrorNeverACrash)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A")), GetParam().Bytes));
    EXPECT_EQ(project.LangLoad, lrfError);
    EXPECT_FALSE(project.LangParsed);
    EXPECT_EQ(project.LangFile(), GetParam().Bytes);
    // Nothing that a save could write over the file.
    EXPECT_FALSE(project.Lang->XmlFile.Root());
}

INSTANTIATE_TEST_SUITE_P(Files, HostileLanguageFile,
                         ::testing::Values(THostileCase{"Empty", QByteArray()},
                                           THostileCase{"Binary", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
                                           THostileCase{"Truncated", ValuesXml(StringXml("a", "Eins")).left(60)},
                                           THostileCase{"NotXml", QByteArray("app_name = Kalender\n")},
                                           THostileCase{"UnclosedDeep", QByteArray("<resources>").repeated(1) + QByteArray("<a>").repeated(100000)}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileLoading, DeeplyNestedValidFileLoadsWithoutRecursion)
{
    const int depth = 100000;
    const QByteArray lang = "<resources>" + QByteArray("<g>").repeated(depth) + "<string name=\"a\">Tief</string>"
                            + QByteArray("</g>").repeated(depth) + "</resources>";
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "Deep")), lang));
    EXPECT_EQ(project.LangLoad, lrfOK);
    EXPECT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, QString("Tief"));
    // Saved as the default's structure; the deep copy in memory is walked without recursion as well.
    EXPECT_TRUE(project.Lang->SaveFile(QString()));
}

TEST(ResourceFileLoading, HundredMegabyteFileLoads)
{
    const QByteArray text = QByteArray("Lorem ipsum dolor sit amet – ").repeated(1700); // about 50 KB
    QByteArray body;
    body.reserve(2000 * (text.size() + 40));
    for (int i = 0; i < 2000; ++i)
        body += "  <string name=\"s" + QByteArray::number(i) + "\">" + text + "</string>\n";
    ASSERT_GT(body.size(), 100 * 1000 * 1000);
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("s0", "x")), ValuesXml(body)));
    EXPECT_EQ(project.LangLoad, lrfOK);
    EXPECT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Lang->TransItems().size(), 2000u);
}

// References to entities that the language file declares are written back as references through the rebuild.
struct TEntityCase
{
    const char *Name;
    QByteArray DefaultProlog, LanguageProlog;
    QByteArray WorkProlog; // what the work file holds before its root element
};

class EntityReferences : public ::testing::TestWithParam<TEntityCase>
{
};

TEST_P(EntityReferences, SurviveTheRebuild)
{
    const TEntityCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open("<?xml version=\"1.0\"?>\n" + c.DefaultProlog + "<resources>\n" + StringXml("a", "&app; Calendar") + "</resources>\n",
                             "<?xml version=\"1.0\"?>\n" + c.LanguageProlog + "<resources>\n" + StringXml("a", "&app; Kalender") + "</resources>\n"));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, QString("&app; Kalender"));
    const QByteArray expected = "<?xml version=\"1.0\"?>\n" + c.WorkProlog + "<resources>\n" + StringXml("a", "&app; Kalender") + "</resources>\n";
    TestSupport::ExpectText(project.WorkFile(), expected);
    project.Item("a")->setTranslateValue("&app; Termine");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    TestSupport::ExpectText(project.LangFile(), QByteArray(expected).replace("Kalender", "Termine"));
}

INSTANTIATE_TEST_SUITE_P(
    Doctypes, EntityReferences,
    ::testing::Values(
        TEntityCase{"BothDeclare", "<!DOCTYPE resources [<!ENTITY app \"Etar\">]>\n", "<!DOCTYPE resources [<!ENTITY app \"Etar\">]>\n",
                    "<!DOCTYPE resources [<!ENTITY app \"Etar\">]>\n"},
        TEntityCase{"OnlyTheLanguageDeclares", "<!-- license -->\n", "<!DOCTYPE resources [<!ENTITY app \"Etar\">]>\n",
                    "<!-- license -->\n<!DOCTYPE resources [<!ENTITY app \"Etar\">]>\n"},
        TEntityCase{"TheLanguagesValueWins", "<!DOCTYPE resources [<!ENTITY app \"Etar\"><!ENTITY web \"x.org\">]>\n",
                    "<!DOCTYPE resources [<!ENTITY app \"Etar DE\">]>\n",
                    "<!DOCTYPE resources [<!ENTITY app \"Etar DE\"><!ENTITY web \"x.org\">]>\n"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// A language file in an odd encoding goes through the rebuild and a save, and opens again with the same texts.
struct TLanguageEncodingCase
{
    const char *Name;
    QByteArray Head;  // byte-order mark and declaration
    const char *Codec; // how the text after Head is encoded
};

class LanguageFileEncoding : public ::testing::TestWithParam<TLanguageEncodingCase>
{
};

TEST_P(LanguageFileEncoding, SavedFileOpensAgainWithItsCharactersAsText)
{
    const TLanguageEncodingCase &c = GetParam();
    const QString text = QString::fromUtf8("Календарь");
    QStringEncoder encoder(c.Codec);
    const QByteArray body = encoder.encode(QString::fromUtf8("\n<resources>\n  <string name=\"a\">") + text + "</string>\n</resources>\n");
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "Calendar")), c.Head + body));
    ASSERT_TRUE(project.LangParsed);
    project.Item("a")->setTranslateValue(text + "!");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    const QByteArray saved = project.LangFile();
    EXPECT_FALSE(saved.contains("&#")) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QByteArray(encoder.encode(text + "!")))) << saved.toStdString();
    ASSERT_TRUE(project.OpenLanguage());
    EXPECT_EQ(project.LangLoad, lrfOK);
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, text + "!");
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LanguageFileEncoding,
    ::testing::Values(
        TLanguageEncodingCase{"Windows1251", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>", "windows-1251"},
        TLanguageEncodingCase{"ByteOrderMarkAndUnknownName", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"x-nothing\"?>", "UTF-8"},
        TLanguageEncodingCase{"ByteOrderMarkAndStrayMarkInTheName",
                              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"u\xEF\xBB\xBFtf-8\"?>", "UTF-8"}),
    [](const auto &Info) { return std::string(Info.param.Name); });
