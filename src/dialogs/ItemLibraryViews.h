#pragma once

#include <QList>

class QAbstractItemModel;
class QAbstractItemView;
class QComboBox;
class QModelIndex;
class QPoint;
class QTableView;
class QTimer;
class QObject;
class QWidget;

// The item library table as the tool windows show it: id, name, category over the library
// proxy. Fixed row heights and no content-sized columns keep it quick with every item listed.
namespace ItemLibraryViews {

// Whole rows, extended selection, read-only, alternating colours, no grid or frame, no sorting
// or word wrap, fixed 24 px rows without a row header; id 100 px, name stretched, category
// 90 px; a custom context menu.
QTableView *createView(QAbstractItemModel *model, QWidget *parent);
// "全部", "物品", "装备", "宝石".
QComboBox *createCategoryCombo(QWidget *parent);
// The single-shot 180 ms timer that holds back the filter while the user types.
QTimer *createFilterTimer(QObject *parent);
// The combo's text, empty for "全部".
QString categoryFilter(const QComboBox *combo);

// The id of a row: column 0's Qt::UserRole value, else its text as a number; -1 below 1.
int idAt(const QModelIndex &index);
// The ids of the selected rows, in selection order, each row once.
QList<int> selectedIds(const QAbstractItemView *view);
// Right-clicking a row outside the selection selects that row alone.
void selectRowUnder(QAbstractItemView *view, const QPoint &position);

} // namespace ItemLibraryViews
