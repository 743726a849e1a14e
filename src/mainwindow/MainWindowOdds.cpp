#include "mainwindow/MainWindow.h"

#include "data/NameResolver.h"
#include "dialogs/DropChanceChartView.h"
#include "dialogs/KillSimulationDialog.h"
#include "export/CsvDropRateExport.h"
#include "mainwindow/MainWindowUi.h"
#include "dialogs/Prompts.h"
#include "models/MonsterBoxListModel.h"
#include "rates/DropRate.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QRandomGenerator>

namespace {

const MonsterDropConfig *recordOf(const MonsterDropData &monsters, int monsterId)
{
    for (const MonsterDropConfig &record : monsters.records) {
        if (record.monsterId == monsterId)
            return &record;
    }
    return nullptr;
}

QString monsterText(int monsterId)
{
    const QString name = NameResolver::instance().monsterName(monsterId);
    return name.isEmpty() ? QStringLiteral("怪物[%1]").arg(monsterId)
                          : QStringLiteral("怪物[%1:%2]").arg(QString::number(monsterId), name);
}

} // namespace

void MainWindow::createOddsActions()
{
    auto *exportCsv = new QAction(QStringLiteral("导出CSV..."), this);
    exportCsv->setObjectName(QStringLiteral("actionExportCsv"));
    const QList<QAction *> fileActions = ui->menuFile->actions();
    const qsizetype html = fileActions.indexOf(ui->actionExportHtml);
    ui->menuFile->insertAction(fileActions.value(html + 1), exportCsv);
    connect(exportCsv, &QAction::triggered, this, &MainWindow::onExportDropRateCsv);

    auto *simulate = new QAction(QStringLiteral("模拟击杀"), this);
    simulate->setObjectName(QStringLiteral("actionSimulateKills"));
    ui->menuTools->addAction(simulate);
    connect(simulate, &QAction::triggered, this, &MainWindow::onSimulateKills);
}

void MainWindow::onExportDropRateCsv()
{
    namespace Export = HtmlDropRateExport;
    if (!Export::hasDocuments(monsterDocument(), boxDocument())) {
        prompts->information(this, Export::noticeTitle, Export::nothingLoadedText);
        return;
    }
    const QList<Prompts::Choice> buttons{
        {QStringLiteral("显示爆率"), QMessageBox::AcceptRole},
        {QStringLiteral("不显示爆率"), QMessageBox::DestructiveRole},
        {QStringLiteral("取消"), QMessageBox::RejectRole},
    };
    const int cancelIndex = 2;
    const int choice =
        prompts->choose(this, QStringLiteral("导出CSV"), QStringLiteral("导出CSV是否包含爆率列？"),
                        buttons, cancelIndex);
    if (choice < 0 || choice == cancelIndex)
        return;
    const QString chosen = prompts->saveFileName(this, QStringLiteral("导出爆率表到CSV"), QString(),
                                                 QStringLiteral("CSV 文件 (*.csv)"));
    if (chosen.isEmpty())
        return;
    const Export::Outcome outcome = CsvDropRateExport::exportToFile(
        CsvDropRateExport::withCsvSuffix(chosen), monsterDocument(), boxDocument(),
        NameResolver::instance(), monsterBoxModel->dropMultiplier(), choice == 0);
    if (outcome.kind == Export::Outcome::Critical)
        prompts->critical(this, outcome.title, outcome.text);
    else
        prompts->information(this, outcome.title, outcome.text);
}

void MainWindow::onSimulateKills()
{
    const MonsterDropConfig *record = recordOf(monsterDocument(), selectedMonsterId());
    if (!record) {
        prompts->information(this, QStringLiteral("提示"),
                             QStringLiteral("请先选择一个有掉落配置的怪物"));
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
    const MonsterDropConfig *record = recordOf(monsterDocument(), selectedMonsterId());
    const DropBoxConfig *box = selectedBox();
    if (!record || !box)
        return;
    DropChanceChartView::Curve curve;
    curve.name = QStringLiteral("包裹[%1]").arg(box->boxId);
    if (DropRate::hasRate(box->boxValue))
        curve.odds.addRoll(
            DropRate::fraction(record->mValue, box->boxValue, monsterBoxModel->dropMultiplier()));
    else
        curve.odds.addUnratedRoll();
    DropChanceChartView::showWindow(
        this, QStringLiteral("掉落曲线 - %1 %2").arg(monsterText(record->monsterId), curve.name),
        {curve});
}
