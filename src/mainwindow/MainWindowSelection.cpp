#include "mainwindow/MainWindow.h"

#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"
#include "rates/DropRate.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

void MainWindow::onMonsterSelectionChanged()
{
    if (refreshing)
        return;
    const QModelIndex index = ui->monsterListView->currentIndex();
    if (index.isValid()) {
        currentConfig = monsterProxyModel->configAtProxyRow(index.row());
        currentMonsterId = monsterProxyModel->idAtProxyRow(index.row());
        updateMonsterDetail();
        const DropBoxContentData *boxes = currentConfig ? &document->boxes() : nullptr;
        monsterBoxModel->setMonster(currentConfig, boxes);
        summaryModel->setMonster(currentConfig, boxes);
        currentBox = nullptr;
        dropItemModel->setBox(nullptr);
    } else {
        // Nothing is selected any more (the row was filtered away or deselected). Keeping the
        // id would make the panel claim "无配置" for a monster that may well have a record.
        currentConfig = nullptr;
        currentMonsterId = -1;
        currentBox = nullptr;
        monsterBoxModel->setMonster(nullptr, nullptr);
        dropItemModel->setBox(nullptr);
        summaryModel->setMonster(nullptr, nullptr);
        updateMonsterDetail();
    }
    // No box is current now; a form still showing the last one would invite edits that
    // change nothing.
    updateBoxDetail();
    // Lay the reset views out now rather than on their deferred timers, so the change is
    // painted in one pass instead of two.
    ui->boxListView->doItemsLayout();
    ui->itemTableView->doItemsLayout();
    ui->summaryView->doItemsLayout();
}

void MainWindow::onBoxSelectionChanged()
{
    if (refreshing)
        return;
    const QModelIndex index = ui->boxListView->currentIndex();
    if (!index.isValid()) {
        currentBox = nullptr;
        dropItemModel->setBox(nullptr);
        updateBoxDetail();
        return;
    }
    currentBox = monsterBoxModel->boxAt(index.row());
    if (currentBox && currentConfig) {
        dropItemModel->setMonsterValue(currentConfig->mValue);
        dropItemModel->setBox(DropSlots::findBox(document->boxes(), currentBox->boxId));
    } else {
        dropItemModel->setBox(nullptr);
    }
    updateBoxDetail();
}

void MainWindow::updateMonsterDetail()
{
    const QString none = QStringLiteral("-");
    if (currentMonsterId < 1) {
        ui->detailMonsterId->setText(none);
        ui->detailMValue->setText(none);
        ui->detailDropType->setText(none);
        ui->detailBoxCount->setText(none);
        return;
    }
    // Edits change the first record of an id; say so when the file holds more than one.
    const int records = monsterListModel->recordCountFor(currentMonsterId);
    ui->detailMonsterId->setText(
        records > 1 ? QCoreApplication::translate("Lootwright", "%1（%2条记录，显示第一条）")
                          .arg(currentMonsterId)
                          .arg(records)
                    : QString::number(currentMonsterId));
    if (currentConfig) {
        ui->detailMValue->setText(QString::number(currentConfig->mValue));
        ui->detailDropType->setText(currentConfig->dropType != 0
                                        ? QCoreApplication::translate("Lootwright", "队伍")
                                        : QCoreApplication::translate("Lootwright", "个人"));
        ui->detailBoxCount->setText(QString::number(DropSlots::validBoxCount(*currentConfig)));
    } else {
        const QString noConfig = QCoreApplication::translate("Lootwright", "无配置");
        ui->detailMValue->setText(noConfig);
        ui->detailDropType->setText(noConfig);
        ui->detailBoxCount->setText(QStringLiteral("0"));
    }
}

void MainWindow::updateBoxDetail()
{
    // Filling the form must not count as an edit.
    disconnectBoxDetailFields();
    if (currentBox) {
        ui->boxIdEdit->setText(QString::number(currentBox->boxId));
        ui->boxValueSpin->setText(QString::number(currentBox->boxValue));
        ui->broadcastIdSpin->setText(QString::number(currentBox->notifyId));
        ui->forceBindCheck->setChecked(currentBox->forceOpenFlag != 0);
    } else {
        ui->boxIdEdit->clear();
        ui->boxValueSpin->clear();
        ui->broadcastIdSpin->clear();
        ui->forceBindCheck->setChecked(false);
    }
    // Without a box this shows "-", empties the target field and switches "应用" off, so the
    // button never offers to act on a box that is not there.
    updateDropRateDisplay();
    connectBoxDetailFields();
}

void MainWindow::updateDropRateDisplay()
{
    if (currentBox && currentConfig) {
        const double multiplier = monsterBoxModel->dropMultiplier();
        ui->dropRateValue->setText(
            DropRate::detailText(currentConfig->mValue, currentBox->boxValue, multiplier));
        ui->targetDropRateSpin->setText(
            DropRate::fieldText(currentConfig->mValue, currentBox->boxValue, multiplier));
        ui->applyDropRateButton->setEnabled(true);
    } else {
        ui->dropRateValue->setText(QStringLiteral("-"));
        ui->targetDropRateSpin->clear();
        ui->applyDropRateButton->setEnabled(false);
    }
}

QModelIndex MainWindow::proxyIndexForMonster(int monsterId) const
{
    // The list is sorted by id ascending.
    int low = 0;
    int high = monsterListModel->rowCount() - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int id = monsterListModel->idAt(middle);
        if (id == monsterId)
            return monsterProxyModel->mapFromSource(monsterListModel->index(middle, 0));
        if (id < monsterId)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return {};
}
