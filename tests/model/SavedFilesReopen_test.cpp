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
