#include "mainwindow/MainWindow.h"

#include "dialogs/ItemLibraryDialog.h"
#include "dialogs/Prompts.h"
#include "edit/BoxEdits.h"
#include "edit/MonsterEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>

namespace {

// The selected rows of a view, each once, in selection order.
QList<int> selectedRows(const QTableView *view, int column)
{
    QList<int> rows;
    for (const QModelIndex &index : view->selectionModel()->selectedRows(column))
        rows.append(index.row());
    return rows;
}

} // namespace

MainWindow::ViewRefresh MainWindow::keepingBox() const
{
    // The form is left as typed: refilling it would fight the user's typing. A box whose id
    // was edited stays current although the monster still lists the old id.
    ViewRefresh refresh;
    refresh.monsterIds = selectedMonsterIds();
    refresh.boxId = currentBoxId();
    refresh.keepUnlistedBox = true;
    refresh.fillBoxForm = false;
    return refresh;
}

void MainWindow::onBoxDetailChanged()
{
    if (!currentBox)
        return;
    BoxEdits::BoxDetailInput input;
    input.boxIdText = ui->boxIdEdit->text();
    input.boxValueText = ui->boxValueSpin->text();
    input.forceBind = ui->forceBindCheck->isChecked();
    input.broadcastIdText = ui->broadcastIdSpin->text();
    const BoxEdits::BoxDetailStep step = BoxEdits::boxDetailStep(*currentBox, input);
    const int boxId = currentBox->boxId;
    const int monsterId = currentMonsterId;
    ViewRefresh refresh = keepingBox();
    // Typing a weight or broadcast id makes one step per box and field, not one per key.
    const BoxEdits::BoxDetailResult result = editDocuments(
        step.name, refresh,
        [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
            const BoxEdits::BoxDetailResult applied =
                BoxEdits::applyBoxDetail(boxes, MonsterEdits::findRecord(monsters, monsterId),
                                         DropSlots::findBox(boxes, boxId), input);
            if (applied.idChanged)
                plannedRefresh->boxId = applied.newBoxId;
            return applied;
        },
        step.mergeKey);
    appendOperationLogLines(result.logLines);
}

void MainWindow::duplicateSelectedBox()
{
    const QModelIndex index = ui->boxListView->currentIndex();
    if (!index.isValid()) {
        showEditNotice(BoxEdits::duplicateNoSelectionNotice());
        return;
    }
    const DropBoxConfig *source = monsterBoxModel->boxAt(index.row());
    if (!source)
        return;
    const int sourceId = source->boxId;
    const int monsterId = currentMonsterId;
    ViewRefresh refresh;
    refresh.monsterIds = selectedMonsterIds();
    const BoxEdits::DuplicateBoxResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "复制包裹"), refresh,
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          const BoxEdits::DuplicateBoxResult copied = BoxEdits::duplicateBox(
                              boxes, monsters, MonsterEdits::findRecord(monsters, monsterId),
                              DropSlots::findBox(boxes, sourceId));
                          plannedRefresh->boxId = copied.newBoxId;
                          return copied;
                      });
    if (result.applied)
        appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}

void MainWindow::deleteSelectedBox()
{
    const QModelIndex index = ui->boxListView->currentIndex();
    if (!index.isValid()) {
        appendOperationLog(BoxEdits::deleteNoSelectionLogLine());
        return;
    }
    const DropBoxConfig *selected = monsterBoxModel->boxAt(index.row());
    if (!selected)
        return;
    const int boxId = selected->boxId;
    const int monsterId = currentMonsterId;
    ViewRefresh refresh;
    refresh.monsterIds = selectedMonsterIds();
    const BoxEdits::DeleteBoxResult result = editDocuments(
        QCoreApplication::translate("Lootwright", "删除包裹"), refresh,
        [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
            return BoxEdits::deleteBox(boxes, MonsterEdits::findRecord(monsters, monsterId),
                                       DropSlots::findBox(boxes, boxId));
        });
    appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}

int MainWindow::addItemsToCurrentBox(const QList<int> &itemIds)
{
    const std::optional<int> boxId = currentBoxId();
    const int monsterId = currentMonsterId;
    const BoxEdits::AddItemsResult result = editDocuments(
        QCoreApplication::translate("Lootwright", "添加物品"), keepingBox(),
        [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
            return BoxEdits::addItems(boxes, MonsterEdits::findRecord(monsters, monsterId),
                                      boxId ? DropSlots::findBox(boxes, *boxId) : nullptr, itemIds);
        });
    if (result.addedCount <= 0)
        return 0;
    appendOperationLogLines(result.logLines);
    return result.addedCount;
}

void MainWindow::deleteSelectedItems()
{
    const QList<int> rows = selectedRows(ui->itemTableView, 0);
    const BoxEdits::DeleteItemsPlan plan =
        BoxEdits::planDeleteItems(document->boxes(), currentBox, rows);
    if (!plan.ok) {
        showEditNotice(plan.notice);
        return;
    }
    if (!prompts->question(this, plan.question.title, plan.question.text))
        return;
    const std::optional<int> boxId = currentBoxId();
    const int monsterId = currentMonsterId;
    const BoxEdits::DeleteItemsResult result = editDocuments(
        QCoreApplication::translate("Lootwright", "删除物品"), keepingBox(),
        [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
            return BoxEdits::deleteItems(boxes, MonsterEdits::findRecord(monsters, monsterId),
                                         boxId ? DropSlots::findBox(boxes, *boxId) : nullptr, rows);
        });
    appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}

void MainWindow::addSelectedItemsToFavorites()
{
    QStringList cells;
    for (const QModelIndex &index :
         ui->itemTableView->selectionModel()->selectedRows(DropItemTableModel::ItemIdColumn))
        cells << index.data(Qt::DisplayRole).toString();
    const QList<int> ids = BoxEdits::itemIdsFromCells(cells);
    if (ids.isEmpty())
        return;

    const BoxEdits::FavoritesMerge merge =
        BoxEdits::mergeFavorites(favoritesStore.readStored(), ids);
    if (merge.statusText.isEmpty())
        return;
    if (merge.newCount > 0) {
        showEditNotice(favoritesStore.writeStored(merge.list));
        if (itemLibraryDialog)
            itemLibraryDialog->loadFavorites();
    }
    statusBar()->showMessage(merge.statusText, 2500);
}

void MainWindow::showBoxContextMenu(const QPoint &position)
{
    const QModelIndex index = ui->boxListView->indexAt(position);
    if (!index.isValid())
        return;
    QItemSelectionModel *selection = ui->boxListView->selectionModel();
    if (!selection->isRowSelected(index.row(), index.parent()))
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    QMenu menu(QCoreApplication::translate("Lootwright", "包裹操作"), this);
    QAction *duplicate = menu.addAction(QCoreApplication::translate("Lootwright", "复制此包裹"));
    QAction *remove = menu.addAction(QCoreApplication::translate("Lootwright", "删除此包裹"));
    QAction *curve = menu.addAction(QCoreApplication::translate("Lootwright", "查看掉落曲线"));
    QAction *chosen = prompts->execMenu(menu, ui->boxListView->viewport()->mapToGlobal(position));
    if (chosen == duplicate)
        duplicateSelectedBox();
    else if (chosen == remove)
        deleteSelectedBox();
    else if (chosen == curve)
        showSelectedBoxCurve();
}

void MainWindow::showItemContextMenu(const QPoint &position)
{
    const QModelIndex index = ui->itemTableView->indexAt(position);
    if (!index.isValid())
        return;
    QItemSelectionModel *selection = ui->itemTableView->selectionModel();
    if (!selection->isRowSelected(index.row(), index.parent()))
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    QMenu menu(QCoreApplication::translate("Lootwright", "物品操作"), this);
    QAction *favorite = menu.addAction(QCoreApplication::translate("Lootwright", "加入收藏夹"));
    QAction *remove = menu.addAction(QCoreApplication::translate("Lootwright", "删除此物品"));
    // The item id column, as the favourites read it; an empty slot has no sources.
    const int itemId = index.sibling(index.row(), 1).data().toString().toInt();
    QAction *sources = menu.addAction(QCoreApplication::translate("Lootwright", "查看掉落来源"));
    sources->setEnabled(DropSlots::isUsedId(itemId));
    QAction *chosen = prompts->execMenu(menu, ui->itemTableView->viewport()->mapToGlobal(position));
    if (chosen == favorite)
        addSelectedItemsToFavorites();
    else if (chosen == remove)
        deleteSelectedItems();
    else if (chosen == sources)
        showItemSources(itemId);
}
