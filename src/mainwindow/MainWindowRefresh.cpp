#include "mainwindow/MainWindow.h"

#include "edit/MonsterEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace {

// Contiguous runs of rows as whole-row ranges, so selecting thousands of rows stays cheap.
QItemSelection rowRanges(QList<int> rows, const QAbstractItemModel *model)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QItemSelection selection;
    const int lastColumn = model->columnCount() - 1;
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
            ++last;
        selection.append(QItemSelectionRange(model->index(rows.at(first), 0),
                                             model->index(rows.at(last), lastColumn)));
        first = last + 1;
    }
    return selection;
}

} // namespace

void MainWindow::refreshViews(const ViewRefresh &refresh)
{
    const bool wasRefreshing = refreshing;
    refreshing = true;

    // Records or boxes may have moved: nothing may read a pointer taken before.
    currentConfig = nullptr;
    currentBox = nullptr;
    dropItemModel->setBox(nullptr);
    monsterBoxModel->setMonster(nullptr, nullptr);
    summaryModel->setMonster(nullptr, nullptr);
    if (refresh.monsterList) {
        monsterListModel->setDropConfig(&document->monsters());
        rebindMonsterSelection();
    }

    QItemSelectionModel *monsterSelection = ui->monsterListView->selectionModel();
    const QModelIndex current =
        currentMonsterId >= 1 ? proxyIndexForMonster(currentMonsterId) : QModelIndex();
    if (!current.isValid()) {
        monsterSelection->clear();
        currentMonsterId = -1;
    } else {
        currentConfig = MonsterEdits::findRecord(document->monsters(), currentMonsterId);
        // A reset lost the view's selection; otherwise the user's selection stays as it is.
        if (refresh.monsterList || monsterSelection->currentIndex() != current) {
            QList<int> rows;
            rows.reserve(refresh.monsterIds.size() + 1);
            for (const int id : refresh.monsterIds) {
                const QModelIndex index = proxyIndexForMonster(id);
                if (index.isValid())
                    rows.append(index.row());
            }
            rows.append(current.row());
            monsterSelection->select(rowRanges(rows, monsterProxyModel),
                                     QItemSelectionModel::ClearAndSelect);
            monsterSelection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
            ui->monsterListView->scrollTo(current);
        }
    }
    updateMonsterDetail();
    const DropBoxContentData *boxes = currentConfig ? &document->boxes() : nullptr;
    monsterBoxModel->setMonster(currentConfig, boxes);
    summaryModel->setMonster(currentConfig, boxes);

    if (!(currentConfig && refresh.boxId && selectBoxRow(*refresh.boxId))) {
        ui->boxListView->selectionModel()->clear();
        if (refresh.keepUnlistedBox && refresh.boxId)
            currentBox = DropSlots::findBox(document->boxes(), *refresh.boxId);
    }
    if (currentBox && currentConfig) {
        dropItemModel->setMonsterValue(currentConfig->mValue);
        dropItemModel->setBox(DropSlots::findBox(document->boxes(), currentBox->boxId));
    }
    if (refresh.fillBoxForm)
        updateBoxDetail();
    else
        updateDropRateDisplay();
    ui->monsterListView->viewport()->update();
    refreshing = wasRefreshing;
}

bool MainWindow::selectBoxRow(int boxId)
{
    for (int row = 0; row < monsterBoxModel->rowCount(); ++row) {
        const DropBoxConfig *box = monsterBoxModel->boxAt(row);
        if (!box || box->boxId != boxId)
            continue;
        const QModelIndex index = monsterBoxModel->index(row, 0);
        ui->boxListView->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ui->boxListView->scrollTo(index);
        currentBox = monsterBoxModel->boxAt(row);
        return true;
    }
    return false;
}

void MainWindow::dropFilteredMonster()
{
    if (currentMonsterId < 1 || proxyIndexForMonster(currentMonsterId).isValid())
        return;
    // A layout change moves no selection signal: empty the panels as for no selection.
    ui->monsterListView->selectionModel()->clear();
    refreshViews({});
}
