#include "mainwindow/MainWindow.h"

#include "data/NameResolver.h"
#include "dialogs/DropChanceChartView.h"
#include "dialogs/KillSimulationDialog.h"
#include "dialogs/Prompts.h"
#include "edit/LogLabels.h"
#include "export/CsvDropRateExport.h"
#include "mainwindow/MainWindowUi.h"
#include "models/MonsterBoxListModel.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QRandomGenerator>

void MainWindow::createOddsActions()
{
    auto *exportCsv = new QAction(QCoreApplication::translate("Lootwright", "导出CSV..."), this);
    exportCsv->setObjectName(QStringLiteral("actionExportCsv"));
    const QList<QAction *> fileActions = ui->menuFile->actions();
    const qsizetype html = fileActions.indexOf(ui->actionExportHtml);
    ui->menuFile->insertAction(fileActions.value(html + 1), exportCsv);
    connect(exportCsv, &QAction::triggered, this, &MainWindow::onExportDropRateCsv);

    auto *simulate = new QAction(QCoreApplication::translate("Lootwright", "模拟击杀"), this);
    simulate->setObjectName(QStringLiteral("actionSimulateKills"));
    ui->menuTools->addAction(simulate);
    connect(simulate, &QAction::triggered, this, &MainWindow::onSimulateKills);
}

void MainWindow::onExportDropRateCsv()
{
    const std::optional<ExportTarget> target =
        askExportTarget(QCoreApplication::translate("Lootwright", "导出CSV"),
                        QCoreApplication::translate("Lootwright", "导出CSV是否包含爆率列？"),
                        QCoreApplication::translate("Lootwright", "导出爆率表到CSV"),
                        QCoreApplication::translate("Lootwright", "CSV 文件 (*.csv)"));
    if (!target)
        return;
    showExportOutcome(CsvDropRateExport::exportToFile(
        CsvDropRateExport::withCsvSuffix(target->fileName), monsterDocument(), boxDocument(),
        NameResolver::instance(), monsterBoxModel->dropMultiplier(), target->showRates));
}

void MainWindow::onSimulateKills()
{
    const MonsterDropConfig *record =
        MonsterEdits::findRecord(monsterDocument(), selectedMonsterId());
    if (!record) {
        prompts->information(
            this, QCoreApplication::translate("Lootwright", "提示"),
            QCoreApplication::translate("Lootwright", "请先选择一个有掉落配置的怪物"));
        return;
    }
    auto *dialog =
        new KillSimulationDialog(*record, boxDocument(), monsterBoxModel->dropMultiplier(),
                                 QRandomGenerator::global()->generate64(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainWindow::showSelectedBoxCurve()
{
    const MonsterDropConfig *record =
        MonsterEdits::findRecord(monsterDocument(), selectedMonsterId());
    const DropBoxConfig *box = selectedBox();
    if (!record || !box)
        return;
    DropChanceChartView::Curve curve;
    curve.name = QCoreApplication::translate("Lootwright", "包裹[%1]").arg(box->boxId);
    curve.odds.addBoxRoll(record->mValue, box->boxValue, monsterBoxModel->dropMultiplier());
    DropChanceChartView::showWindow(
        this,
        QCoreApplication::translate("Lootwright", "掉落曲线 - %1 %2")
            .arg(LogLabels::monsterLabel(record->monsterId), curve.name),
        {curve});
}
