#include "Glossmill_types.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVariant>

namespace {

// Roles beside those of the item list rows, which use the first user roles.
const int TreeNodeRole = Qt::UserRole + 8;
const int TreeSelectedImageRole = Qt::UserRole + 9;
const int TreeExpandedImageRole = Qt::UserRole + 10;

[[noreturn]] void AbstractCall(const char *Operation)
{
    throw EAbstractCall(std::string("abstract call: ") + Operation);
}

} // namespace

TTransNode *NodeOfTreeItem(const QTreeWidgetItem *TreeItem)
{
    if (!TreeItem)
        return nullptr;
    return reinterpret_cast<TTransNode *>(TreeItem->data(0, TreeNodeRole).value<quintptr>());
}

void SetTreeItemNode(QTreeWidgetItem *TreeItem, TTransNode *Node)
{
    if (!TreeItem)
        return;
    TreeItem->setData(0, TreeNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(Node)));
    if (Node)
        ++Node->FTimesAttached;
}

int TreeItemImageIndex(const QTreeWidgetItem *TreeItem)
{
    return RowImageIndex(TreeItem);
}

int TreeItemSelectedIndex(const QTreeWidgetItem *TreeItem)
{
    const QVariant index = TreeItem ? TreeItem->data(0, TreeSelectedImageRole) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

int TreeItemExpandedIndex(const QTreeWidgetItem *TreeItem)
{
    const QVariant index = TreeItem ? TreeItem->data(0, TreeExpandedImageRole) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

void SetTreeItemImages(QTreeWidgetItem *TreeItem, int Image, int Selected, int Expanded)
{
    if (!TreeItem)
        return;
    SetRowImageIndex(TreeItem, Image);
    TreeItem->setData(0, TreeSelectedImageRole, Selected);
    TreeItem->setData(0, TreeExpandedImageRole, Expanded);
}

void TTransNode::SetTreeImages(QTreeWidget *Tree, int Index)
{
    if (!Tree)
        return;
    // The tree is built by appending, so the node just attached is usually the tree's last one; when it carries this
    // object and no other node can, there is nothing to search.
    if (FTimesAttached == 1) {
        QTreeWidgetItem *last = Tree->topLevelItemCount() ? Tree->topLevelItem(Tree->topLevelItemCount() - 1) : nullptr;
        while (last && last->childCount())
            last = last->child(last->childCount() - 1);
        if (last && NodeOfTreeItem(last) == this) {
            SetTreeItemImages(last, Index, Index, Index);
            return;
        }
    }
    for (QTreeWidgetItemIterator it(Tree); *it; ++it)
        if (NodeOfTreeItem(*it) == this) {
            SetTreeItemImages(*it, Index, Index, Index);
            return;
        }
}

QString TTransLangNode::GetTreeText()
{
    return LocaleDesc.LocaleName;
}

void TTransLangNode::SetTreeIcon(QTreeWidget *Tree)
{
    SetTreeImages(Tree, 1);
}

QString TTransLangNode::GetBaseInfo()
{
    AbstractCall("TTransLangNode.GetBaseInfo");
}

bool TTransLangNode::SaveFile(const QString &)
{
    AbstractCall("TTransLangNode.SaveFile");
}

void TTransLangNode::AddAllToListView()
{
}

bool TTransLangNode::NeedSave()
{
    AbstractCall("TTransLangNode.NeedSave");
}

QString TTransResTypeNode::GetTreeText()
{
    switch (ResType) {
    case rtAndroid_menu:
        return QStringLiteral("menu");
    case rtAndroid_values:
        return QStringLiteral("values");
    default:
        return QStringLiteral("?");
    }
}

void TTransResTypeNode::SetTreeIcon(QTreeWidget *Tree)
{
    SetTreeImages(Tree, ResType == rtAndroid_menu ? 3 : 2);
}

QString TTransResTypeNode::GetBaseInfo()
{
    switch (ResType) {
    case rtAndroid_menu:
        return QStringLiteral("Menus");
    case rtAndroid_values:
        return QStringLiteral("Values (strings)");
    default:
        return QStringLiteral("?");
    }
}

bool TTransResTypeNode::SaveFile(const QString &)
{
    AbstractCall("TTransResTypeNode.SaveFile");
}

void TTransResTypeNode::AddAllToListView()
{
}

bool TTransResTypeNode::NeedSave()
{
    AbstractCall("TTransResTypeNode.NeedSave");
}
