#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/DropRateEdits.h"
#include "edit/MonsterEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

void MainWindow::onApplyTargetDropRate()
{
    const double multiplier = monsterBoxModel->dropMultiplier();
    const int monsterId = currentMonsterId;
    const std::optional<int> boxId = currentBoxId();
    const QString target = ui->targetDropRateSpin->text();
    // The box in use becomes current, and fills the form and the item table.
    ViewRefresh refresh;
    refresh.monsterIds = selectedMonsterIds();
    refresh.keepUnlistedBox = true;
    const DropRateEdits::TargetRateResult result = editDocuments(
        QCoreApplication::translate("Lootwright", "设置目标爆率"), refresh,
        [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
            const DropRateEdits::TargetRateResult applied = DropRateEdits::applyTargetRate(
                monsters, MonsterEdits::findRecord(monsters, monsterId), boxes,
                boxId ? DropSlots::findBox(boxes, *boxId) : nullptr, target, multiplier);
            plannedRefresh->boxId = applied.inUseBoxId;
            return applied;
        });
    // A refused target changed nothing; the typed target stays in the field.
    if (result.applied)
        appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}

void MainWindow::unifyMonsterValue()
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    const std::optional<int> value =
        prompts->getInt(this, DropRateEdits::unifyInputTitle(), DropRateEdits::unifyInputLabel(),
                        DropRateEdits::unifyInputInitial, DropRateEdits::unifyInputMinimum,
                        DropRateEdits::unifyInputMaximum, 1);
    if (!value)
        return;
    ViewRefresh refresh;
    refresh.monsterList = true;
    refresh.monsterIds = ids;
    refresh.boxId = currentBoxId();
    const DropRateEdits::UnifyResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "统一怪物价值"), refresh,
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          return DropRateEdits::unifyMonsterValue(monsters, boxes, ids, *value);
                      });
    if (result.applied)
        appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}
