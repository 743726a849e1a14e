#include "mainwindow/MainWindow.h"

#include "dialogs/ItemLibraryDialog.h"
#include "edit/BoxEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Prompts.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"

#include <QAction>
#include <QCheckBox>
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

void MainWindow::refreshKeepingBox()
{
    // The form is left as typed: refilling it would fight the user's typing. A box whose id
    // was edited stays current although the monster still lists the old id.
    ViewRefresh refresh;
    refresh.boxId = currentBoxId();
    refresh.keepUnlistedBox = true;
    refresh.fillBoxForm = false;
    refreshViews(refresh);
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
    const int boxId = currentBox->boxId;
    beginDocumentEdit();
    const BoxEdits::BoxDetailResult result =
        BoxEdits::applyBoxDetail(boxContentData, currentConfig, currentBox, input);
    // Typing a weight or broadcast id makes one step per box and field, not one per key.
    if (result.idChanged)
        recordDocumentEdit(QStringLiteral("修改包裹ID"));
    else if (result.weightChanged)
        recordDocumentEdit(QStringLiteral("修改包裹权值"), QStringLiteral("weight:%1").arg(boxId));
    else if (result.forceBindChanged)
        recordDocumentEdit(QStringLiteral("修改拾取绑定"));
    else
        recordDocumentEdit(QStringLiteral("修改广播ID"), QStringLiteral("notify:%1").arg(boxId));
    if (!result.applied)
        return;
    appendOperationLogLines(result.logLines);
    refreshKeepingBox();
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
    beginDocumentEdit();
    const BoxEdits::DuplicateBoxResult result =
        BoxEdits::duplicateBox(boxContentData, monsterDropData, currentConfig, source);
    recordDocumentEdit(QStringLiteral("复制包裹"));
    if (!result.applied) {
        showEditNotice(result.notice);
        return;
    }
    appendOperationLogLines(result.logLines);
    ViewRefresh refresh;
    refresh.boxId = result.newBoxId;
    refreshViews(refresh);
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
    beginDocumentEdit();
    const BoxEdits::DeleteBoxResult result =
        BoxEdits::deleteBox(boxContentData, currentConfig, selected);
    recordDocumentEdit(QStringLiteral("删除包裹"));
    appendOperationLogLines(result.logLines);
    refreshViews({});
    showEditNotice(result.notice);
}

int MainWindow::addItemsToCurrentBox(const QList<int> &itemIds)
{
    beginDocumentEdit();
    const BoxEdits::AddItemsResult result =
        BoxEdits::addItems(boxContentData, currentConfig, currentBox, itemIds);
    recordDocumentEdit(QStringLiteral("添加物品"));
    if (result.addedCount <= 0)
        return 0;
    appendOperationLogLines(result.logLines);
    refreshKeepingBox();
    return result.addedCount;
}

void MainWindow::deleteSelectedItems()
{
    const QList<int> rows = selectedRows(ui->itemTableView, 0);
    const BoxEdits::DeleteItemsPlan plan =
        BoxEdits::planDeleteItems(boxContentData, currentBox, rows);
    if (!plan.ok) {
        showEditNotice(plan.notice);
        return;
    }
    if (!prompts->question(this, plan.question.title, plan.question.text))
        return;
    beginDocumentEdit();
    const BoxEdits::DeleteItemsResult result =
        BoxEdits::deleteItems(boxContentData, currentConfig, currentBox, rows);
    recordDocumentEdit(QStringLiteral("删除物品"));
    refreshKeepingBox();
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

    QMenu menu(QStringLiteral("包裹操作"), this);
    QAction *duplicate = menu.addAction(QStringLiteral("复制此包裹"));
    QAction *remove = menu.addAction(QStringLiteral("删除此包裹"));
    QAction *curve = menu.addAction(QStringLiteral("查看掉落曲线"));
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

    QMenu menu(QStringLiteral("物品操作"), this);
    QAction *favorite = menu.addAction(QStringLiteral("加入收藏夹"));
    QAction *remove = menu.addAction(QStringLiteral("删除此物品"));
    // The item id column, as the favourites read it; an empty slot has no sources.
    const int itemId = index.sibling(index.row(), 1).data().toString().toInt();
    QAction *sources = menu.addAction(QStringLiteral("查看掉落来源"));
    sources->setEnabled(DropSlots::isUsedId(itemId));
    QAction *chosen = prompts->execMenu(menu, ui->itemTableView->viewport()->mapToGlobal(position));
    if (chosen == favorite)
        addSelectedItemsToFavorites();
    else if (chosen == remove)
        deleteSelectedItems();
    else if (chosen == sources)
        showItemSources(itemId);
}
