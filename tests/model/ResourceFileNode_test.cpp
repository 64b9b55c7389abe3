#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QThread>
#include <QTreeWidget>

#include "NodeFixture.h"

namespace {

QStringList RowIDs(QTreeWidget &LV)
{
    QStringList ids;
    for (int i = 0; i < LV.topLevelItemCount(); ++i)
        ids << LV.topLevelItem(i)->text(1);
    return ids;
}

// The language's strings end in every state; "nobase" has no default text.
struct TFilterProject : TNodePair
{
    TFilterProject()
    {
        Open(ValuesXml("  <string name=\"fin\">Final</string>\n  <string name=\"need\">Same</string>\n"
                       "  <string name=\"dont\">Empty</string>\n  <string name=\"tr\">Text</string>\n"
                       "  <string name=\"nobase\"></string>\n  <string name=\"missing\">Missing</string>\n"),
             ValuesXml("  <string name=\"fin\">Endgültig</string>\n  <string name=\"need\">Same</string>\n"
                       "  <string name=\"dont\"></string>\n  <string name=\"tr\">Text übersetzt</string>\n"
                       "  <string name=\"nobase\">Kein Standard</string>\n",
                       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!--Glossmill - item states storage;fin=2;\r\n-->\n"));
    }
};

struct TFilterCase
{
    const char *Name;
    tTransState Filter;
    QStringList Rows;
};

class ListFilter : public ::testing::TestWithParam<TFilterCase>
{
};

} // namespace

TEST_P(ListFilter, ShowsItemsWithDefaultTextThatPassTheFilter)
{
    TFilterProject project;
    ASSERT_TRUE(project.LangParsed);
    QTreeWidget lv;
    lv.setColumnCount(4);
    project.Lang->LV = &lv;
    project.Lang->setActiveFilter(GetParam().Filter);
    project.Lang->AddAllToListView();
    EXPECT_EQ(RowIDs(lv), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ListFilter,
    ::testing::Values(TFilterCase{"Unknown", tsUnknown, {"fin", "need", "dont", "tr", "missing"}},
                      TFilterCase{"AllButDontTranslate", tsBaseNotPresent, {"fin", "need", "tr"}},
                      TFilterCase{"Final", tsFinalTrnaslation, {"fin"}},
                      TFilterCase{"NeedBetter", tsNeedBetter, {"need"}},
                      TFilterCase{"DontTranslate", tsDontTranslate, {"dont", "missing"}},
                      TFilterCase{"Translated", tsTranslated, {"tr"}}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(ResourceFileNode, RowsShowTrimmedTextsAndCarryTheirItems)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">  Hello \n</string>"), ValuesXml("<string name=\"a\">\tHallo  </string>")));
    QTreeWidget lv;
    lv.setColumnCount(4);
    lv.addTopLevelItem(new QTreeWidgetItem(QStringList{"old"}));
    project.Lang->LV = &lv;
    project.Lang->AddAllToListView();
    ASSERT_EQ(lv.topLevelItemCount(), 1);
    QTreeWidgetItem *row = lv.topLevelItem(0);
    EXPECT_TRUE(row->text(0).isEmpty());
    EXPECT_EQ(row->text(1), QString("a"));
    EXPECT_EQ(row->text(2), QString("Hello"));
    EXPECT_EQ(row->text(LVTranslationColumn), QString("Hallo"));
    EXPECT_EQ(ItemOfRow(row), project.Item("a"));
    EXPECT_EQ(RowImageIndex(row), project.Item("a")->GetStateIconIDX());
    EXPECT_EQ(project.Item("a")->WhSpaceHeader, QString("\t"));
}

TEST(ResourceFileNode, RowsShowTheStateImageOfTheirList)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string>"), ValuesXml("<string name=\"a\">a0</string>")));
    QTreeWidget lv;
    lv.setColumnCount(4);
    QList<QIcon> images;
    for (int i = 0; i < 6; ++i) {
        QPixmap pix(4, 4);
        pix.fill(QColor(40 * i, 0, 0));
        images << QIcon(pix);
    }
    SetListImages(&lv, images);
    project.Lang->LV = &lv;
    project.Lang->AddAllToListView();
    project.Lang->AddItemToListView("x", "t", "d", nullptr);
    ASSERT_EQ(lv.topLevelItemCount(), 2);
    const int state = project.Item("a")->GetStateIconIDX();
    EXPECT_EQ(lv.topLevelItem(0)->icon(0).cacheKey(), images[state].cacheKey());
    EXPECT_EQ(lv.topLevelItem(1)->icon(0).cacheKey(), images[0].cacheKey());
}

TEST(ResourceFileNode, FreshNodeIsAnEmptyDefaultFile)
{
    TTransResourceFileNode_Value node;
    EXPECT_TRUE(node.IsBase());
    EXPECT_EQ(node.LocaleDesc.LocaleName, QString("default"));
    EXPECT_EQ(node.ActiveFilter(), tsUnknown);
    EXPECT_EQ(node.BaseTemplate(), nullptr);
    EXPECT_TRUE(node.TransItems().empty());
    EXPECT_FALSE(node.XmlFile.Root());
    EXPECT_EQ(node.SourceFileStamp, 0);
    EXPECT_FALSE(node.NeedSave());
    node.LocaleDesc.LocaleName = "Default";
    EXPECT_FALSE(node.IsBase());
}

TEST(ResourceFileNode, GetItemByIDFindsTheFirstOfTwo)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">One</string><string name=\"a\">Two</string>"), nullptr));
    ASSERT_EQ(project.Base->TransItems().size(), 2u);
    EXPECT_EQ(project.Base->GetItemByID("a"), project.Base->TransItems()[0].get());
    EXPECT_EQ(project.Base->GetItemByID("A"), nullptr);
    EXPECT_EQ(project.Base->GetItemByID(""), nullptr);
}

TEST(ResourceFileNode, UndoAndRedoStepThroughEditsOfAllItems)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string><string name=\"b\">B</string>"),
                             ValuesXml("<string name=\"a\">a0</string><string name=\"b\">b0</string>")));
    TTransResourceFileNode &node = *project.Lang;
    EXPECT_FALSE(node.CanUndo());
    node.EnableDisablUndoMode(true);
    TTranslateItem *a = project.Item("a");
    TTranslateItem *b = project.Item("b");
    auto edit = [&](TTranslateItem *Item, const QString &Text) {
        Item->setTranslateValue(Text);
        if (Item->UndoAffected()) {
            Item->ResetUndoFlag();
            node.AddToUndoList(Item);
        }
    };
    edit(a, "a1");
    edit(a, "a2");
    edit(b, "b1");
    edit(a, "a3");
    ASSERT_EQ(node.UndoList.size(), 4u);
    const char *expected[][2] = {{"a2", "b1"}, {"a2", "b0"}, {"a1", "b0"}, {"a0", "b0"}};
    for (const auto &step : expected) {
        node.DoUndo();
        EXPECT_EQ(a->TranslateValue(), QString(step[0]));
        EXPECT_EQ(b->TranslateValue(), QString(step[1]));
    }
    EXPECT_FALSE(node.CanUndo());
    node.DoUndo(); // nothing left
    EXPECT_EQ(node.RedoList.size(), 4u);
    node.DoRedo();
    EXPECT_EQ(a->TranslateValue(), QString("a1"));
    EXPECT_EQ(node.RedoList.size(), 3u);
    EXPECT_EQ(node.UndoList.size(), 1u);
    edit(b, "b9");
    EXPECT_FALSE(node.CanRedo());
    EXPECT_TRUE(node.CanUndo());

    QTreeWidget lv;
    lv.setColumnCount(4);
    node.LV = &lv;
    node.AddAllToListView();
    node.DoUndo();
    node.RepainAllAfterUndoOrRedo(&lv);
    EXPECT_EQ(lv.topLevelItem(1)->text(LVTranslationColumn), QString("b0"));
    EXPECT_FALSE(b->RepaintAfterUndoOrRedo);
}

TEST(ResourceFileNode, ClearingItemsEmptiesTheHistoryFirst)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string>"), ValuesXml("<string name=\"a\">a0</string>")));
    TTransResourceFileNode &node = *project.Lang;
    node.EnableDisablUndoMode(true);
    TTranslateItem *a = project.Item("a");
    for (const char *text : {"a1", "a2"}) {
        a->setTranslateValue(text);
        a->ResetUndoFlag();
        node.AddToUndoList(a);
    }
    node.DoUndo();
    ASSERT_TRUE(node.CanUndo());
    ASSERT_TRUE(node.CanRedo());
    node.ClearItems();
    EXPECT_FALSE(node.CanUndo());
    EXPECT_FALSE(node.CanRedo());
    // Undo, redo and their clearing have nothing left to reach.
    node.DoUndo();
    node.DoRedo();
    node.ClearUndo();
    // A reload that finds the file broken leaves no history either.
    ASSERT_TRUE(TestSupport::WriteFile(project.LangPath(), "<resources>"));
    EXPECT_EQ(node.LoadResFile(project.LangPath()), lrfError);
    EXPECT_FALSE(node.Parse());
    EXPECT_FALSE(node.CanUndo());
}

TEST(ResourceFileNode, SavingEmptiesBothHistoriesAndTheirSnapshots)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string>"), ValuesXml("<string name=\"a\">a0</string>")));
    TTransResourceFileNode &node = *project.Lang;
    node.EnableDisablUndoMode(true);
    TTranslateItem *a = project.Item("a");
    for (const char *text : {"a1", "a2", "a3"}) {
        a->setTranslateValue(text);
        a->ResetUndoFlag();
        node.AddToUndoList(a);
    }
    node.DoUndo();
    ASSERT_TRUE(node.SaveFile(QString()));
    EXPECT_FALSE(node.CanUndo());
    EXPECT_FALSE(node.CanRedo());
    EXPECT_TRUE(a->UndoList.empty());
    EXPECT_TRUE(a->RedoList.empty());
}

// NeedSave answers from a count the items keep: after every way an item can change, it says what a look at every
// item says, and never false while one is unsaved.
TEST(ResourceFileNode, NeedSaveFollowsEveryChangeOfItsItems)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string><string name=\"b\">B</string><string name=\"c\">C</string>"),
                             ValuesXml("<string name=\"a\">a0</string><string name=\"b\">b0</string>")));
    TTransResourceFileNode &node = *project.Lang;
    auto anyChanged = [&] {
        for (const auto &item : node.TransItems())
            if (item->Changed)
                return true;
        return false;
    };
    auto expectFollows = [&](const char *Step) {
        EXPECT_EQ(node.NeedSave(), anyChanged()) << Step;
    };
    expectFollows("rebuilt");
    EXPECT_FALSE(node.NeedSave());
    node.EnableDisablUndoMode(true);
    TTranslateItem *a = project.Item("a");
    TTranslateItem *b = project.Item("b");
    TTranslateItem *c = project.Item("c");
    Edit(node, a, "a1");
    expectFollows("value writer");
    EXPECT_TRUE(node.NeedSave());
    ASSERT_TRUE(node.SaveFile(QString()));
    node.DeleteTempXMFile();
    expectFollows("saved");
    Mark(node, b, tsFinalTrnaslation);
    expectFollows("state writer");
    c->CopyFromBase();
    expectFollows("copied from the default");
    node.DoUndo();
    node.DoUndo();
    expectFollows("undone");
    node.DoRedo();
    expectFollows("redone");
    b->Changed = false;
    c->Changed = false;
    expectFollows("flags cleared by hand");
    EXPECT_FALSE(node.NeedSave());
    c->Changed = true;
    c->Changed = true;
    expectFollows("flag set twice");
    TTranslateItem copy;
    copy.Assign(*c);
    expectFollows("copied into an item of no file");
    // A save that fails keeps what it could not write unsaved.
    a->setTranslateValue("a2");
    ASSERT_TRUE(TestSupport::WriteFile(project.LangPath() + ".x", "x"));
    QFile::remove(project.LangPath());
    ASSERT_TRUE(QDir().mkpath(project.LangPath()));
    EXPECT_FALSE(node.SaveFile(QString()));
    expectFollows("failed save");
    EXPECT_TRUE(node.NeedSave());
    node.ClearItems();
    expectFollows("items cleared");
    EXPECT_FALSE(node.NeedSave());
}

TEST(ResourceFileNode, TimeStampsReportOnlyLaterChanges)
{
    TNodePair project;
    ASSERT_TRUE(project.Open(ValuesXml("<string name=\"a\">A</string>"), ValuesXml("<string name=\"a\">B</string>")));
    TTransResourceFileNode &lang = *project.Lang;
    TTransResourceFileNode &base = *project.Base;
    // Parsing took both stamps: the language file's at its rebuild, the default's when it wrote the work file.
    ASSERT_NE(lang.SourceFileStamp, 0);
    ASSERT_NE(base.SourceFileStamp, 0);
    EXPECT_FALSE(lang.CheckFileTimeChanged());
    EXPECT_FALSE(lang.CheckBaseFileTimeChanged());

    QFile file(project.DefaultPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::fromMSecsSinceEpoch(base.SourceFileStamp / 1000000 + 10000), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(lang.CheckBaseFileTimeChanged());
    EXPECT_TRUE(base.CheckFileTimeChanged());
    EXPECT_FALSE(base.CheckBaseFileTimeChanged()); // a default file never asks
    lang.RememberBaseFileTime();
    EXPECT_FALSE(lang.CheckBaseFileTimeChanged());

    TTransResourceFileNode_Value fresh;
    fresh.ResourceFileName = project.LangPath();
    EXPECT_FALSE(fresh.CheckFileTimeChanged()); // never remembered
    fresh.RememberFileTime();
    EXPECT_FALSE(fresh.CheckFileTimeChanged()); // equal time
    ASSERT_TRUE(QFile::remove(project.LangPath()));
    EXPECT_FALSE(fresh.CheckFileTimeChanged()); // gone
    const qint64 kept = fresh.SourceFileStamp;
    fresh.RememberFileTime();
    EXPECT_EQ(fresh.SourceFileStamp, kept);
}

TEST(ResourceFileNode, DeleteTempXMFileRemovesWorkAndBackupNamedAfterTheFile)
{
    QTemporaryDir dir;
    const QString stem = dir.path() + "/res.old/values/strings";
    ASSERT_TRUE(TestSupport::WriteFile(stem + ".tmp", "w"));
    ASSERT_TRUE(TestSupport::WriteFile(stem + ".bck", "b"));
    ASSERT_TRUE(TestSupport::WriteFile(stem + ".xml", "x"));
    {
        TTransResourceFileNode_Value node;
        node.ResourceFileName = stem + ".xml";
        node.TempWorkFileName = dir.path() + "/other.tmp";
        node.DeleteTempXMFile();
        EXPECT_FALSE(QFileInfo::exists(stem + ".tmp"));
        EXPECT_FALSE(QFileInfo::exists(stem + ".bck"));
        EXPECT_TRUE(QFileInfo::exists(stem + ".xml"));
        node.DeleteTempXMFile(); // nothing left: no failure
    }
    // A default file deletes nothing when it is released; a language file does.
    ASSERT_TRUE(TestSupport::WriteFile(stem + ".tmp", "w"));
    {
        TTransResourceFileNode_Value base;
        base.ResourceFileName = stem + ".xml";
    }
    EXPECT_TRUE(QFileInfo::exists(stem + ".tmp"));
    {
        TTransResourceFileNode_Value lang;
        lang.LocaleDesc.LocaleName = "German";
        lang.ResourceFileName = stem + ".xml";
    }
    EXPECT_FALSE(QFileInfo::exists(stem + ".tmp"));
}
