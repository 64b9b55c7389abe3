#include <gtest/gtest.h>

#include <QTreeWidget>

#include "Glossmill_types.h"

namespace {

struct TResTypeCase
{
    const char *Name;
    tResourceType Type;
    const char *Text;
    const char *Info;
    int Image;
};

class ResTypeNode : public ::testing::TestWithParam<TResTypeCase>
{
};

// Hangs Node under a root item of Tree and returns its tree item.
QTreeWidgetItem *Attach(QTreeWidget &Tree, TTransNode *Node)
{
    if (!Tree.topLevelItemCount())
        Tree.addTopLevelItem(new QTreeWidgetItem(QStringList{"project"}));
    auto *item = new QTreeWidgetItem(QStringList{Node->GetTreeText()});
    SetTreeItemNode(item, Node);
    Tree.topLevelItem(0)->addChild(item);
    return item;
}

} // namespace

TEST_P(ResTypeNode, TextDescriptionAndImage)
{
    TTransResTypeNode node;
    node.ResType = GetParam().Type;
    EXPECT_EQ(node.GetTreeText(), QString(GetParam().Text));
    EXPECT_EQ(node.GetBaseInfo(), QString(GetParam().Info));
    QTreeWidget tree;
    QTreeWidgetItem *item = Attach(tree, &node);
    node.SetTreeIcon(&tree);
    EXPECT_EQ(TreeItemImageIndex(item), GetParam().Image);
    EXPECT_EQ(TreeItemSelectedIndex(item), GetParam().Image);
    EXPECT_EQ(TreeItemExpandedIndex(item), GetParam().Image);
}

INSTANTIATE_TEST_SUITE_P(Types, ResTypeNode,
                         ::testing::Values(TResTypeCase{"Menu", rtAndroid_menu, "menu", "Menus", 3},
                                           TResTypeCase{"Values", rtAndroid_values, "values", "Values (strings)", 2},
                                           TResTypeCase{"LeftAtGroupNode", rtGroupNode, "?", "?", 2}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

TEST(TransNodes, FreshResTypeNodeIsAGroupNode)
{
    TTransResTypeNode node;
    EXPECT_EQ(node.ResType, rtGroupNode);
}

TEST(TransNodes, LanguageNodeShowsItsLocaleName)
{
    TTransLangNode node;
    EXPECT_FALSE(node.FNeedSave);
    EXPECT_TRUE(node.GetTreeText().isEmpty());
    node.LocaleDesc = LocaleTable(2);
    EXPECT_EQ(node.GetTreeText(), QString("Afrikaans (Namibia)"));
    QTreeWidget tree;
    QTreeWidgetItem *item = Attach(tree, &node);
    node.SetTreeIcon(&tree);
    EXPECT_EQ(TreeItemImageIndex(item), 1);
}

TEST(TransNodes, AbstractSlotsRaiseTheAbstractCallError)
{
    TTransLangNode lang;
    EXPECT_THROW(lang.GetBaseInfo(), EAbstractCall);
    EXPECT_THROW(lang.SaveFile(QString()), EAbstractCall);
    EXPECT_THROW(lang.NeedSave(), EAbstractCall);
    EXPECT_NO_THROW(lang.AddAllToListView());
    TTransResTypeNode type;
    EXPECT_THROW(type.SaveFile(QString()), EAbstractCall);
    EXPECT_THROW(type.NeedSave(), EAbstractCall);
    EXPECT_NO_THROW(type.AddAllToListView());
}

TEST(TransNodes, SetTreeIconChangesNothingBeforeTheNodeIsInTheTree)
{
    TTransLangNode lang, other;
    QTreeWidget tree;
    QTreeWidgetItem *item = Attach(tree, &other);
    lang.SetTreeIcon(&tree);
    lang.SetTreeIcon(nullptr);
    EXPECT_EQ(TreeItemImageIndex(item), -1);
    EXPECT_EQ(TreeItemImageIndex(tree.topLevelItem(0)), -1);
}

TEST(TransNodes, SetTreeIconMarksOnlyTheFirstItemCarryingTheNode)
{
    TTransResourceFileNode_Value node;
    QTreeWidget tree;
    QTreeWidgetItem *first = Attach(tree, &node);
    QTreeWidgetItem *second = Attach(tree, &node);
    node.SetTreeIcon(&tree);
    EXPECT_EQ(TreeItemImageIndex(first), 4);
    EXPECT_EQ(TreeItemImageIndex(second), -1);
}

TEST(TransNodes, SetTreeIconFindsItsNodeWhereverItStands)
{
    TTransLangNode lang, later;
    QTreeWidget tree;
    QTreeWidgetItem *item = Attach(tree, &lang);
    QTreeWidgetItem *last = Attach(tree, &later);
    lang.SetTreeIcon(&tree);
    EXPECT_EQ(TreeItemImageIndex(item), 1);
    EXPECT_EQ(TreeItemImageIndex(last), -1);
    // Attached again to the tree's last node after leaving the first: the last node is now the only one.
    SetTreeItemNode(item, nullptr);
    SetTreeItemNode(last, &lang);
    SetTreeItemImages(item, -1, -1, -1);
    lang.SetTreeIcon(&tree);
    EXPECT_EQ(TreeItemImageIndex(last), 1);
    EXPECT_EQ(TreeItemImageIndex(item), -1);
}

TEST(TransNodes, ResourceFileNodesShowFileNameImageFourAndInheritedDescription)
{
    TTransResourceFileNode_Value values;
    TTransResourceFileNode_Menu menu;
    values.ResType = rtAndroid_values;
    menu.ResType = rtAndroid_menu;
    values.ResourceFileName = "/p/res/values-de/strings.xml";
    menu.ResourceFileName = "/p/res/menu-de/main.xml";
    EXPECT_EQ(values.GetTreeText(), QString("strings.xml"));
    EXPECT_EQ(menu.GetTreeText(), QString("main.xml"));
    EXPECT_EQ(values.GetBaseInfo(), QString("Values (strings)"));
    EXPECT_EQ(menu.GetBaseInfo(), QString("Menus"));
    QTreeWidget tree;
    QTreeWidgetItem *a = Attach(tree, &values);
    QTreeWidgetItem *b = Attach(tree, &menu);
    values.SetTreeIcon(&tree);
    menu.SetTreeIcon(&tree);
    for (QTreeWidgetItem *item : {a, b}) {
        EXPECT_EQ(TreeItemImageIndex(item), 4);
        EXPECT_EQ(TreeItemSelectedIndex(item), 4);
        EXPECT_EQ(TreeItemExpandedIndex(item), 4);
    }
    EXPECT_EQ(NodeOfTreeItem(a), &values);
    EXPECT_EQ(NodeOfTreeItem(tree.topLevelItem(0)), nullptr);
}
