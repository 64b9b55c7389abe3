#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "Glossmill_Misc.h"
#include "ModelSettings.h"
#include "NodeFixture.h"

namespace {

QByteArray StringXml(const char *Name, const char *Text)
{
    return QByteArray("  <string name=\"") + Name + "\">" + Text + "</string>\n";
}

// A language file saved once, so that later saves write it directly.
struct TSavedProject : TNodePair
{
    explicit TSavedProject(const QByteArray &Default, const QByteArray &Language, const QByteArray &Prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n")
    {
        Open(ValuesXml(Default), ValuesXml(Language, Prolog));
        Lang->EnableDisablUndoMode(true);
    }
};

// Every rename fails from the given call on (counting from 1).
int g_renameCalls = 0;
int g_failFrom = 0;
bool FailingRename(const QString &From, const QString &To)
{
    ++g_renameCalls;
    if (g_failFrom && g_renameCalls >= g_failFrom)
        return false;
    return MoveFileNoReplace(From, To);
}

struct TRenameFailure
{
    explicit TRenameFailure(int FailFrom)
    {
        g_renameCalls = 0;
        g_failFrom = FailFrom;
        TTransResourceFileNode::RenameFile = FailingRename;
    }
    ~TRenameFailure() { TTransResourceFileNode::RenameFile = MoveFileNoReplace; }
    void Heal() { g_failFrom = 0; }
};

} // namespace

TEST(ResourceFileSaving, StatesTextListsFinalAndNeedBetterInItemOrder)
{
    TSavedProject project(StringXml("z", "Z") + StringXml("app_name", "App") + StringXml("title", "T") + StringXml("x", "X"),
                          StringXml("title", "Titel") + StringXml("app_name", "Anwendung") + StringXml("x", "Ix") + StringXml("z", "Zett"));
    TTransResourceFileNode &node = *project.Lang;
    EXPECT_TRUE(node.GetItemStatesText().isEmpty());
    Mark(node, project.Item("app_name"), tsFinalTrnaslation);
    Mark(node, project.Item("title"), tsNeedBetter);
    Mark(node, project.Item("x"), tsDontTranslate);
    EXPECT_EQ(node.GetItemStatesText(), QString("Glossmill - item states storage;title=3;app_name=2;\r\n"));
    EXPECT_EQ(node.GetItemStateEntry(project.Item("z")), QString());
    EXPECT_EQ(node.GetItemStateEntry(project.Item("app_name")), QString("app_name=2;"));
}

struct TCommentCase
{
    const char *Name;
    const char *Prolog;
    bool Mark;
    const char *Expected; // the file up to the root element
};

class StateCommentSaving : public ::testing::TestWithParam<TCommentCase>
{
};

TEST_P(StateCommentSaving, PlacesTheComment)
{
    const TCommentCase &c = GetParam();
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"), c.Prolog);
    if (c.Mark)
        Mark(*project.Lang, project.Item("a"), tsFinalTrnaslation);
    else
        Edit(*project.Lang, project.Item("a"), "Uno");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    const QByteArray file = project.LangFile();
    EXPECT_EQ(file.left(file.indexOf("<resources")).toStdString(), std::string(c.Expected));
}

// The rebuilt file carries the default's prolog; the language's state comment is placed in it on every save.
INSTANTIATE_TEST_SUITE_P(
    Prologs, StateCommentSaving,
    ::testing::Values(TCommentCase{"NothingMarkedNoComment", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", false,
                                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"},
                      TCommentCase{"MarkedGetsComment", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", true,
                                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!--Glossmill - item states storage;a=2;\r\n-->\n"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileSaving, CommentIsRewrittenInPlaceOrAddedAfterOthers)
{
    // A default file with a header comment and two marker comments of its own.
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(StringXml("a", "A") + StringXml("b", "B"), "<!-- header -->\n"),
                             ValuesXml(StringXml("a", "Eins") + StringXml("b", "Zwei"))));
    TTransResourceFileNode &node = *project.Lang;
    Mark(node, project.Item("b"), tsNeedBetter);
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().startsWith(
        "<?xml version=\"1.0\"?>\n<!-- header -->\n<!--Glossmill - item states storage;b=3;\r\n-->\n<resources"))
        << project.LangFile().toStdString();
    // Nothing marked any more: the comment stays, empty.
    Edit(node, project.Item("b"), "");
    Edit(node, project.Item("b"), "Zwo");
    Mark(node, project.Item("b"), tsTranslated);
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().startsWith("<?xml version=\"1.0\"?>\n<!-- header -->\n<!---->\n<resources"))
        << project.LangFile().toStdString();

    // Every marker comment takes the text. (A rebuilt file has none left: the default's own save emptied them.)
    QTemporaryDir dir;
    ASSERT_TRUE(TestSupport::WriteFile(dir.path() + "/strings.xml",
                                       ValuesXml(StringXml("a", "Eins"), "<!--Glossmill - item states storage;-->\n<!--Glossmill - item states storage;x=1-->\n")));
    TTransResourceFileNode_Value lang;
    lang.LocaleDesc.LocaleName = "German";
    ASSERT_EQ(lang.LoadResFile(dir.path() + "/strings.xml"), lrfOK);
    lang.Parse(); // no default file: no rebuild, but the items are there
    ASSERT_TRUE(lang.GetItemByID("a"));
    Mark(lang, lang.GetItemByID("a"), tsFinalTrnaslation);
    ASSERT_TRUE(lang.SaveFile(dir.path() + "/out.xml"));
    EXPECT_EQ(TestSupport::ReadFile(dir.path() + "/out.xml").count("<!--Glossmill - item states storage;a=2;\r\n-->"), 2);
}

TEST(ResourceFileSaving, DoNotTranslateStringsStayOutOfTheFileButInMemory)
{
    TSavedProject project(StringXml("a", "A") + StringXml("b", "B"), StringXml("a", "Eins") + StringXml("b", "Zwei"));
    TTransResourceFileNode &node = *project.Lang;
    Mark(node, project.Item("a"), tsDontTranslate);
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_FALSE(project.LangFile().contains("name=\"a\""));
    EXPECT_TRUE(node.XmlFile.SaveToString().contains("<string name=\"a\" />"));
    EXPECT_TRUE(node.ScrapXmlNodeContainer.empty());
    // Changed as well: updated in memory, still left out; and left out again at the next save.
    Edit(node, project.Item("b"), "Zwo");
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_FALSE(project.LangFile().contains("name=\"a\""));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"b\">Zwo</string>"));
}

// Strings of one name: the k-th of them in the language file belongs to the k-th of them in the default file.
struct TSameNameCase
{
    const char *Name;
    QByteArray Default, Language;
    int Edit;         // which string named "p" gets the new text "Neu" (-1: none)
    QByteArray Saved; // the strings of the saved file, in order
    int Listed;       // how many items named "p" have a default text, so that the list shows them
};

class StringsOfOneName : public ::testing::TestWithParam<TSameNameCase>
{
};

TEST_P(StringsOfOneName, EachEditReachesItsOwnString)
{
    const TSameNameCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml(c.Default), ValuesXml(c.Language)));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_FALSE(project.Lang->NeedSave());
    std::vector<TTranslateItem *> items;
    for (const auto &item : project.Lang->TransItems())
        if (item->ID == "p")
            items.push_back(item.get());
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](TTranslateItem *i) { return !i->FBaseValue.isEmpty(); }), c.Listed);
    if (c.Edit >= 0) {
        ASSERT_LT(size_t(c.Edit), items.size());
        Edit(*project.Lang, items[size_t(c.Edit)], "Neu");
    }
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_FALSE(project.Lang->NeedSave());
    TestSupport::ExpectText(project.LangFile(), ValuesXml(c.Saved));

    // Read back, the same texts stand at the same places.
    ASSERT_TRUE(project.OpenLanguage());
    ASSERT_TRUE(project.LangParsed);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    TestSupport::ExpectText(project.LangFile(), ValuesXml(c.Saved));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsOfOneName,
    ::testing::Values(
        TSameNameCase{"ProductVariants",
                      "  <string name=\"p\" product=\"tablet\">T</string>\n  <string name=\"p\" product=\"default\">D</string>\n",
                      "  <string name=\"p\" product=\"tablet\">Tablette</string>\n  <string name=\"p\" product=\"default\">Standard</string>\n",
                      1, "  <string name=\"p\" product=\"tablet\">Tablette</string>\n  <string name=\"p\" product=\"default\">Neu</string>\n", 2},
        TSameNameCase{"SameNameTwiceInBoth", StringXml("p", "A") + StringXml("p", "A2"), StringXml("p", "Eins") + StringXml("p", "Zwei"),
                      1, StringXml("p", "Eins") + StringXml("p", "Neu"), 2},
        TSameNameCase{"SameNameTwiceUntouched", StringXml("p", "A") + StringXml("p", "A2"), StringXml("p", "Eins") + StringXml("p", "Zwei"),
                      -1, StringXml("p", "Eins") + StringXml("p", "Zwei"), 2},
        // The default has the name once: a second one is dropped like a string the default lacks, and not listed.
        TSameNameCase{"OneMoreThanTheDefault", StringXml("p", "A"), StringXml("p", "Eins") + StringXml("p", "Zwei"), 0,
                      StringXml("p", "Neu"), 1},
        // The language lacks the second variant: it is left out, not filled with the default's text.
        TSameNameCase{"SecondVariantMissing",
                      "  <string name=\"p\" product=\"tablet\">T</string>\n  <string name=\"p\" product=\"default\">D</string>\n",
                      "  <string name=\"p\" product=\"tablet\">Tablette</string>\n", -1,
                      "  <string name=\"p\" product=\"tablet\">Tablette</string>\n", 2}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileSaving, MenuTitlesAreWrittenForEveryMatchedItem)
{
    const QByteArray menu = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                            "  <item android:id=\"@+id/a\" android:title=\"A\" />\n"
                            "  <item android:id=\"@+id/b\" />\n"
                            "  <item android:title=\"no id\"><menu><item android:id=\"@+id/c\" android:title=\"C\" /></menu></item>\n</menu>\n";
    TNodePair project;
    ASSERT_TRUE(project.Open(menu,
                             "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                             "  <item android:id=\"@+id/a\" android:title=\"Ah\" />\n  <item android:id=\"@+id/c\" android:title=\"Ce\" />\n</menu>\n",
                             true));
    ASSERT_TRUE(project.LangParsed);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_EQ(project.LangFile().toStdString(),
              "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
              "  <item android:id=\"@+id/a\" android:title=\"Ah\" />\n"
              "  <item android:id=\"@+id/b\" />\n"
              "  <item android:title=\"no id\"><menu><item android:id=\"@+id/c\" android:title=\"Ce\" /></menu></item>\n</menu>\n");
    EXPECT_FALSE(project.Item("@+id/a")->Changed);
    EXPECT_FALSE(project.Item("@+id/b")->Changed); // no title to take it, so nothing left to save
}

TEST(ResourceFileSaving, FirstSaveGoesThroughWorkAndBackupFilesLaterOnesDirect)
{
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    TTransResourceFileNode &node = *project.Lang;
    ASSERT_TRUE(QFileInfo::exists(project.WorkPath()));
    Edit(node, project.Item("a"), "Uno");
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_TRUE(node.TempWorkFileName.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(project.WorkPath()));
    EXPECT_FALSE(QFileInfo::exists(project.BackupPath()));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">Uno</string>"));
    EXPECT_FALSE(node.CanUndo());
    EXPECT_FALSE(node.NeedSave());
    EXPECT_EQ(node.SourceFileStamp / 1000000, QFileInfo(project.LangPath()).lastModified().toMSecsSinceEpoch());
    Edit(node, project.Item("a"), "Ein");
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_FALSE(QFileInfo::exists(project.WorkPath()));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">Ein</string>"));
}

TEST(ResourceFileSaving, MarkupCharactersAreEscapedAndDecodedOnceEachWay)
{
    TSavedProject project(StringXml("a", "A") + StringXml("m", "<b>B</b>"), StringXml("a", "Eins") + StringXml("m", "<b>Fett</b>"));
    TTransResourceFileNode &node = *project.Lang;
    Edit(node, project.Item("a"), "Tom & Jerry <3 \"x\" > y");
    Edit(node, project.Item("m"), "<b>Fett");
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">Tom &amp; Jerry &lt;3 \"x\" &gt; y</string>"));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"m\">&lt;b&gt;Fett</string>"));
    const QByteArray first = project.LangFile();

    ASSERT_TRUE(project.OpenLanguage()); // a new node reads the saved file
    ASSERT_TRUE(project.LangParsed);
    EXPECT_EQ(project.Item("a")->FTranslatedValue, QString("Tom & Jerry <3 \"x\" > y"));
    EXPECT_EQ(project.Item("m")->FTranslatedValue, QString("<b>Fett"));
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_EQ(project.LangFile(), first);
}

TEST(ResourceFileSaving, NoBreakSpaceReferencesReachTheFileAsReferences)
{
    TScopedSettings settings;
    settings.Replace = true;
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    Edit(*project.Lang, project.Item("a"), "a  b   c");
    ASSERT_EQ(project.Item("a")->FTranslatedValue, QString("a&#0160;&#0160;b&#0160;&#0160; c"));
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">a&#0160;&#0160;b&#0160;&#0160; c</string>"));
}

struct TEscapeCase
{
    const char *Name;
    const char *Typed;
    const char *Written;
};

class AndroidEscaping : public ::testing::TestWithParam<TEscapeCase>
{
};

TEST_P(AndroidEscaping, ApostrophesGetTheBackslashTheBuildWants)
{
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    Edit(*project.Lang, project.Item("a"), QString::fromUtf8(GetParam().Typed));
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains(QByteArray("<string name=\"a\">") + GetParam().Written + "</string>"))
        << project.LangFile().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, AndroidEscaping,
                         ::testing::Values(TEscapeCase{"Bare", "l'heure", "l\\'heure"},
                                           TEscapeCase{"AlreadyEscaped", "l\\'heure", "l\\'heure"},
                                           TEscapeCase{"InsideQuotes", "\"l'heure\"", "\"l'heure\""},
                                           TEscapeCase{"AfterQuotes", "\"a\" l'b", "\"a\" l\\'b"},
                                           TEscapeCase{"EscapedQuoteDoesNotOpen", "\\\"l'b", "\\\"l\\'b"},
                                           TEscapeCase{"InMarkup", "<b>l'heure</b>", "<b>l\\'heure</b>"},
                                           TEscapeCase{"NoApostrophe", "Heure \\n \"x\"", "Heure \\n \"x\""}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileSaving, MenuTitlesKeepTheirApostrophes)
{
    TNodePair project;
    ASSERT_TRUE(project.Open("<menu><item id=\"a\" title=\"A\" /></menu>", "<menu><item id=\"a\" title=\"l'A\" /></menu>", true));
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().contains("title=\"l'A\""));
}

TEST(ResourceFileSaving, ByteOrderMarkAndWhitespaceFollowTheSettings)
{
    TScopedSettings settings;
    settings.NoBOM = false;
    settings.Keep = false;
    TSavedProject project(StringXml("a", "A"), StringXml("a", "  Eins\n"));
    Edit(*project.Lang, project.Item("a"), "Uno");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().startsWith("\xEF\xBB\xBF<?xml"));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">Uno</string>"));
    settings.NoBOM = true;
    settings.Keep = true;
    Edit(*project.Lang, project.Item("a"), "Un");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_TRUE(project.LangFile().startsWith("<?xml"));
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">  Un\n</string>"));
}

TEST(ResourceFileSaving, FailedWriteKeepsHistoryAndTheNeedToSave)
{
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    TTransResourceFileNode &node = *project.Lang;
    Edit(node, project.Item("a"), "Uno");
    ASSERT_TRUE(node.SaveFile(QString()));
    Edit(node, project.Item("a"), "Ein");
    ASSERT_TRUE(QFile::remove(project.LangPath()));
    ASSERT_TRUE(QDir().mkpath(project.LangPath())); // a folder in the file's place
    EXPECT_FALSE(node.SaveFile(QString()));
    EXPECT_TRUE(node.CanUndo());
    EXPECT_TRUE(node.NeedSave());
    EXPECT_TRUE(node.ScrapXmlNodeContainer.empty());
}

TEST(ResourceFileSaving, StaleBackupFailsTheFirstSaveAndTheWorkFileIsKept)
{
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    TTransResourceFileNode &node = *project.Lang;
    const QByteArray original = project.LangFile();
    ASSERT_TRUE(TestSupport::WriteFile(project.BackupPath(), "stale"));
    Edit(node, project.Item("a"), "Uno");
    EXPECT_FALSE(node.SaveFile(QString()));
    EXPECT_EQ(project.LangFile(), original);
    EXPECT_EQ(node.TempWorkFileName, project.WorkPath());
    EXPECT_TRUE(project.WorkFile().contains("Uno"));
    EXPECT_TRUE(node.NeedSave());
    EXPECT_TRUE(node.CanUndo());
    // The work file holds the only copy of the edit: neither a clean-up nor a reload nor the release removes it.
    node.DeleteTempXMFile();
    EXPECT_TRUE(project.WorkFile().contains("Uno"));
    EXPECT_FALSE(QFileInfo::exists(project.BackupPath())); // the stale backup was no copy of this node's content
    ASSERT_EQ(node.LoadResFile(project.LangPath()), lrfOK);
    EXPECT_FALSE(node.Parse());
    EXPECT_TRUE(project.WorkFile().contains("Uno"));
    EXPECT_FALSE(node.SaveFile(QString()));
    EXPECT_TRUE(project.WorkFile().contains("Uno"));
    project.Lang.reset();
    EXPECT_TRUE(TestSupport::ReadFile(project.WorkPath()).contains("Uno"));
}

TEST(ResourceFileSaving, FailedSecondRenameKeepsBothCopiesAndASaveLaterCompletes)
{
    TSavedProject project(StringXml("a", "A"), StringXml("a", "Eins"));
    TTransResourceFileNode &node = *project.Lang;
    const QByteArray original = project.LangFile();
    Edit(node, project.Item("a"), "Uno");
    TRenameFailure failure(2);
    EXPECT_FALSE(node.SaveFile(QString()));
    EXPECT_FALSE(QFileInfo::exists(project.LangPath()));
    EXPECT_EQ(TestSupport::ReadFile(project.BackupPath()), original);
    EXPECT_TRUE(project.WorkFile().contains("Uno"));
    node.DeleteTempXMFile();
    EXPECT_TRUE(QFileInfo::exists(project.BackupPath()));
    EXPECT_TRUE(QFileInfo::exists(project.WorkPath()));

    failure.Heal();
    Edit(node, project.Item("a"), "Un");
    ASSERT_TRUE(node.SaveFile(QString()));
    node.DeleteTempXMFile();
    EXPECT_TRUE(project.LangFile().contains("<string name=\"a\">Un</string>"));
    EXPECT_FALSE(QFileInfo::exists(project.BackupPath()));
    EXPECT_FALSE(QFileInfo::exists(project.WorkPath()));
    EXPECT_TRUE(node.TempWorkFileName.isEmpty());
}

TEST(ResourceFileSaving, FindNodeByNodeAndDeleteRemovesEveryEqualElementBelow)
{
    TTransResourceFileNode_Value node;
    node.XmlFile.LoadFromBytes("<r><s n=\"a\"/><g><s n=\"a\"/><s n=\"b\"/></g><s n=\"a\"/></r>");
    TXmlDocument target;
    target.LoadFromBytes("<s n=\"a\"/>");
    EXPECT_FALSE(node.FindNodeByNodeAndDelete(node.XmlFile.Root(), target.Root()));
    EXPECT_EQ(node.XmlFile.SaveToString(), QString("<r><g><s n=\"b\"/></g></r>"));
    EXPECT_TRUE(node.FindNodeByNodeAndDelete(node.XmlFile.Root(), node.XmlFile.Root()));
    EXPECT_FALSE(node.FindNodeByNodeAndDelete(pugi::xml_node(), target.Root()));
    EXPECT_FALSE(node.FindNodeByNodeAndDelete(node.XmlFile.Root(), pugi::xml_node()));
}

TEST(ResourceFileSaving, DefaultFileRecordsNoScrap)
{
    TTransResourceFileNode_Value node;
    node.XmlFile.LoadFromBytes("<r/>");
    node.AddXMLNodeToScrap(node.XmlFile.Root());
    EXPECT_TRUE(node.ScrapXmlNodeContainer.empty());
    node.LocaleDesc.LocaleName = "German";
    node.AddXMLNodeToScrap(node.XmlFile.Root());
    EXPECT_EQ(node.ScrapXmlNodeContainer.size(), 1u);
}

TEST(ResourceFileSaving, DocumentWithoutRootWritesNothing)
{
    QTemporaryDir dir;
    TTransResourceFileNode_Value node;
    node.ResourceFileName = dir.path() + "/strings.xml";
    EXPECT_TRUE(node.SaveFile(QString()));
    EXPECT_FALSE(QFileInfo::exists(node.ResourceFileName));
}

// Once saved, a file needs no save until something changes, also when some of its items have no place in it.
struct TSettledCase
{
    const char *Name;
    bool Menu;
    QByteArray Default, Language;
    const char *Edited; // a listed item to edit
};

class SavedFileIsSettled : public ::testing::TestWithParam<TSettledCase>
{
};

TEST_P(SavedFileIsSettled, NeedsNoSave)
{
    const TSettledCase &c = GetParam();
    TNodePair project;
    ASSERT_TRUE(project.Open(c.Default, c.Language, c.Menu));
    ASSERT_TRUE(project.LangParsed);
    EXPECT_FALSE(project.Lang->NeedSave()) << "after opening";
    ASSERT_TRUE(project.Item(c.Edited));
    Edit(*project.Lang, project.Item(c.Edited), "Neu");
    EXPECT_TRUE(project.Lang->NeedSave());
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_FALSE(project.Lang->NeedSave()) << "after the first save";
    Edit(*project.Lang, project.Item(c.Edited), "Neuer");
    ASSERT_TRUE(project.Lang->SaveFile(QString()));
    EXPECT_FALSE(project.Lang->NeedSave()) << "after a later save";
    ASSERT_TRUE(project.OpenLanguage());
    EXPECT_FALSE(project.Lang->NeedSave()) << "after opening again";
    EXPECT_EQ(project.Item(c.Edited)->FTranslatedValue, QString("Neuer"));
}

const QByteArray QueueMenu = "<menu xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                             "  <item android:id=\"@+id/queue\" android:icon=\"@drawable/ic_queue\" />\n"
                             "  <item android:id=\"@+id/play\" android:title=\"Play\" />\n</menu>\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SavedFileIsSettled,
    ::testing::Values(TSettledCase{"MenuItemWithoutTitle", true, QueueMenu, QueueMenu, "@+id/play"},
                      TSettledCase{"StringTheDefaultLacks", false, ValuesXml(StringXml("a", "A")),
                                   ValuesXml(StringXml("a", "Eins") + StringXml("extra", "Nur hier")), "a"},
                      TSettledCase{"SecondStringOfOneName", false, ValuesXml(StringXml("a", "A")),
                                   ValuesXml(StringXml("a", "Eins") + StringXml("a", "Zwei")), "a"}),
    [](const auto &Info) { return std::string(Info.param.Name); });

// Marks of identifiers that a plain entry of the state comment cannot carry read back exactly.
TEST(ResourceFileSaving, EveryIdentifierKeepsItsMarkAndTheCommentStaysWellFormed)
{
    const QStringList ids = {"a--b", "a---b", "--", "end-", "-start", "with space", "semi;colon", "\"quoted", "amp&#45;&amp;", "plain"};
    QByteArray body;
    for (const QString &id : ids)
        body += "  <string name=\"" + id.toUtf8().replace("&", "&amp;").replace("\"", "&quot;") + "\">x</string>\n";
    TSavedProject project(body, QByteArray(body).replace(">x<", ">y<"));
    for (qsizetype i = 0; i < ids.size(); ++i)
        Mark(*project.Lang, project.Lang->GetItemByID(ids[i]), i % 2 ? tsNeedBetter : tsFinalTrnaslation);
    ASSERT_TRUE(project.Lang->SaveFile(QString()));

    const QByteArray file = project.LangFile();
    QXmlStreamReader reader(file);
    while (!reader.atEnd())
        reader.readNext();
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << file.toStdString();
    const qsizetype start = file.indexOf("<!--") + 4;
    EXPECT_FALSE(file.mid(start, file.indexOf("-->", start) - start).contains("--")) << file.toStdString();

    ASSERT_TRUE(project.OpenLanguage());
    for (qsizetype i = 0; i < ids.size(); ++i)
        EXPECT_EQ(project.Lang->GetItemByID(ids[i])->FTranslateState, i % 2 ? tsNeedBetter : tsFinalTrnaslation) << ids[i].toStdString();
}

TEST(ResourceFileSaving, StateCommentsWrittenEarlierReadAsBefore)
{
    // An identifier holding "--" was written with a blank inside, which ends an entry: it never matched, and does not.
    TSavedProject project(StringXml("a--b", "A") + StringXml("plain", "P"), StringXml("a--b", "Eins") + StringXml("plain", "Zwei"),
                          "<?xml version=\"1.0\"?>\n<!--Glossmill - item states storage;a- -b=2;plain=3;\r\n-->\n");
    EXPECT_EQ(project.Item("a--b")->FTranslateState, tsTranslated);
    EXPECT_EQ(project.Item("plain")->FTranslateState, tsNeedBetter);
}
