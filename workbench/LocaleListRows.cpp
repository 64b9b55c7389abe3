#include "LocaleListRows.h"

#include <QListWidget>

#include "Glossmill_Misc.h"

TLocaleListRow::TLocaleListRow(const QString &text, std::unique_ptr<TLocaleDescContainer> container)
    : QListWidgetItem(text), FContainer(std::move(container))
{
}

bool TLocaleListRow::operator<(const QListWidgetItem &other) const
{
    return UpperCaseAZ(text()) < UpperCaseAZ(other.text());
}

namespace LocaleListRows {

QListWidget *MakeList(QWidget *parent, const QRect &geometry)
{
    auto *list = new QListWidget(parent);
    list->setObjectName("LBLanguages");
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(true);
    return list;
}

QString RowText(const TLocaleDesc &desc)
{
    return desc.LocaleName + " (" + desc.ValuesFolderName.mid(7, 20) + ")";
}

void Fill(QListWidget *list, const std::function<bool(const TLocaleDesc &)> &langExists)
{
    list->clear();
    // Sorting on every insert is a search per row; switching it off and back sorts the whole list once.
    const bool sorted = list->isSortingEnabled();
    list->setSortingEnabled(false);
    for (int i = 1; i <= LocaleTableCount; ++i) {
        const TLocaleDesc &desc = LocaleTable(i);
        if (langExists && langExists(desc))
            continue;
        auto container = std::make_unique<TLocaleDescContainer>();
        container->LangDesc = desc;
        list->addItem(new TLocaleListRow(RowText(desc), std::move(container)));
    }
    list->setSortingEnabled(sorted);
    if (sorted)
        list->sortItems(Qt::AscendingOrder);
    list->clearSelection();
    list->setCurrentItem(nullptr);
}

const TLocaleDescContainer *ContainerOf(const QListWidgetItem *item)
{
    auto *row = dynamic_cast<const TLocaleListRow *>(item);
    return row ? &row->Container() : nullptr;
}

QListWidgetItem *SelectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

} // namespace LocaleListRows
