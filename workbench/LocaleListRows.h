#pragma once
#include <QListWidgetItem>
#include <QString>
#include <functional>
#include <memory>

#include "Glossmill_LocaleConst.h"

class QListWidget;
class QRect;
class QWidget;

// A row of a sorted locale list box: it owns the container with its copy of the locale record and sorts by its
// text with the letters a to z folded, whatever the list control's own collation would be.
class TLocaleListRow : public QListWidgetItem
{
public:
    TLocaleListRow(const QString &text, std::unique_ptr<TLocaleDescContainer> container);

    const TLocaleDescContainer &Container() const { return *FContainer; }
    bool operator<(const QListWidgetItem &other) const override;

private:
    std::unique_ptr<TLocaleDescContainer> FContainer;
};

namespace LocaleListRows {

// The sorted, single-selection list box "LBLanguages" of the locale dialogs.
QListWidget *MakeList(QWidget *parent, const QRect &geometry);

// "Afrikaans (Namibia) (af-rNA)": the display name and the folder's qualifier.
QString RowText(const TLocaleDesc &desc);

// Empties `list` (freeing every row's container) and adds one row per table row for which `langExists` is
// false, or for every row when `langExists` is empty. The list sorts itself; nothing is selected afterwards.
void Fill(QListWidget *list, const std::function<bool(const TLocaleDesc &)> &langExists);

// The row's container when `item` is a locale row, else nullptr.
const TLocaleDescContainer *ContainerOf(const QListWidgetItem *item);

// The selected row of `list`, or nullptr when no row is selected (a current row alone does not count).
QListWidgetItem *SelectedRow(const QListWidget *list);

} // namespace LocaleListRows
