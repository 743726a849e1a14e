#include "dialogs/ItemLibraryViews.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSet>
#include <QTableView>
#include <QTimer>

namespace ItemLibraryViews {

QTableView *createView(QAbstractItemModel *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setShowGrid(false);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrap(false);
    view->setSortingEnabled(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(24);
    view->verticalHeader()->hide();
    QHeaderView *header = view->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Interactive);
    header->resizeSection(0, 100);
    header->resizeSection(2, 90);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    return view;
}

QComboBox *createCategoryCombo(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->addItems({QCoreApplication::translate("Lootwright", "全部"),
                     QCoreApplication::translate("Lootwright", "物品"),
                     QCoreApplication::translate("Lootwright", "装备"),
                     QCoreApplication::translate("Lootwright", "宝石")});
    return combo;
}

QTimer *createFilterTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(180);
    return timer;
}

QString categoryFilter(const QComboBox *combo)
{
    // The first entry is "全部"; told by its place, as its text depends on the language.
    return combo->currentIndex() > 0 ? combo->currentText() : QString();
}

int idAt(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    const QModelIndex idCell = index.sibling(index.row(), 0);
    bool ok = false;
    int id = idCell.data(Qt::UserRole).toInt(&ok);
    if (!ok)
        id = idCell.data(Qt::DisplayRole).toString().toInt(&ok);
    return ok && id >= 1 ? id : -1;
}

QList<int> selectedIds(const QAbstractItemView *view)
{
    // Walks the ranges; selectedRows() compares every row with every range, which crawls when
    // thousands of rows were picked one by one.
    QList<int> ids;
    const QItemSelection selection = view->selectionModel()->selection();
    const QAbstractItemModel *model = view->model();
    QSet<int> seen;
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.left() > 0)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (selection.size() > 1) {
                if (seen.contains(row))
                    continue;
                seen.insert(row);
            }
            const int id = idAt(model->index(row, 0));
            if (id >= 1)
                ids.append(id);
        }
    }
    return ids;
}

void selectRowUnder(QAbstractItemView *view, const QPoint &position)
{
    const QModelIndex index = view->indexAt(position);
    if (index.isValid() && !view->selectionModel()->isRowSelected(index.row(), index.parent()))
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
}

} // namespace ItemLibraryViews
