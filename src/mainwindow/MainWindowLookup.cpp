#include "mainwindow/MainWindow.h"

#include "data/ConfigCheck.h"
#include "data/NameResolver.h"
#include "dialogs/ConfigCheckDialog.h"
#include "dialogs/DropBoxManagerDialog.h"
#include "dialogs/ItemSourcesDialog.h"
#include "dialogs/Prompts.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/ToolWindows.h"
#include "models/MonsterBoxListModel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

void MainWindow::showItemSources(int itemId)
{
    if (!DropSlots::isUsedId(itemId))
        return;
    if (!itemSourcesDialog) {
        itemSourcesDialog = new ItemSourcesDialog(
            document, [this] { return monsterBoxModel->dropMultiplier(); }, this);
        // On top like the box manager and the item library it is opened from, never behind them.
        ToolWindows::makeToolWindow(itemSourcesDialog);
        connect(itemSourcesDialog, &ItemSourcesDialog::itemRequested, this,
                &MainWindow::showItemSources);
        connect(itemSourcesDialog, &ItemSourcesDialog::sourceActivated, this,
                [this](int monsterId, int boxId) { goToFinding(monsterId, boxId); });
    }
    itemSourcesDialog->showItem(itemId);
    ToolWindows::bringUp(itemSourcesDialog);
}

void MainWindow::onCheckConfig()
{
    if (!configCheckDialog) {
        configCheckDialog = new ConfigCheckDialog(
            document, [this] { return monsterBoxModel->dropMultiplier(); }, this);
        ToolWindows::makeToolWindow(configCheckDialog);
        connect(configCheckDialog, &ConfigCheckDialog::findingActivated, this,
                &MainWindow::goToFinding);
    }
    configCheckDialog->recheck();
    ToolWindows::bringUp(configCheckDialog);
}

void MainWindow::showSummaryContextMenu(const QPoint &position)
{
    const QModelIndex index = ui->summaryView->indexAt(position);
    // Separator rows hold no item.
    const int itemId = index.sibling(index.row(), 1).data().toInt();
    if (!index.isValid() || !DropSlots::isUsedId(itemId))
        return;
    QMenu menu(QCoreApplication::translate("Lootwright", "汇总操作"), this);
    QAction *sources = menu.addAction(QCoreApplication::translate("Lootwright", "查看掉落来源"));
    if (prompts->execMenu(menu, ui->summaryView->viewport()->mapToGlobal(position)) == sources)
        showItemSources(itemId);
}

bool MainWindow::goToMonsterAndBox(int monsterId, std::optional<int> boxId)
{
    if (!proxyIndexForMonster(monsterId).isValid() &&
        (!ui->monsterSearchEdit->text().isEmpty() || ui->filterDropOnlyBtn->isChecked())) {
        // Asked for by name: the filter that hides it gives way.
        ui->monsterSearchEdit->clear();
        ui->filterDropOnlyBtn->setChecked(false);
    }
    if (!proxyIndexForMonster(monsterId).isValid()) {
        statusBar()->showMessage(QCoreApplication::translate(
                                     "Lootwright", "怪物[%1] 不在怪物列表中（怪物表中没有该怪物）")
                                     .arg(monsterId),
                                 2500);
        return false;
    }
    currentMonsterId = monsterId;
    ViewRefresh refresh;
    refresh.boxId = boxId;
    refreshViews(refresh);
    ToolWindows::bringUp(this);
    return true;
}

void MainWindow::goToFinding(int monsterId, int boxId)
{
    const std::optional<int> box =
        DropSlots::isUsedId(boxId) ? std::optional<int>(boxId) : std::nullopt;
    if (monsterId < 1 && box)
        monsterId = ConfigCheck::firstMonsterNaming(document->monsters(), boxId);
    if (monsterId >= 1) {
        goToMonsterAndBox(monsterId, box);
        return;
    }
    if (box)
        statusBar()->showMessage(
            QCoreApplication::translate("Lootwright",
                                        "包裹[%1] 没有被任何怪物引用，无法在主窗口中选中")
                .arg(boxId),
            2500);
}
