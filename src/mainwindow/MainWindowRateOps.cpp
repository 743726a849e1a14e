#include "mainwindow/MainWindow.h"

#include "edit/DropRateEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Prompts.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

void MainWindow::onApplyTargetDropRate()
{
    const double multiplier = monsterBoxModel ? monsterBoxModel->dropMultiplier() : 1.0;
    beginDocumentEdit();
    const DropRateEdits::TargetRateResult result =
        DropRateEdits::applyTargetRate(monsterDropData, currentConfig, boxContentData, currentBox,
                                       ui->targetDropRateSpin->text(), multiplier);
    recordDocumentEdit(QStringLiteral("设置目标爆率"));
    if (!result.applied) {
        // Refused before any change; the typed target stays in the field.
        showEditNotice(result.notice);
        return;
    }

    appendOperationLogLines(result.logLines);
    // The box in use becomes current, and fills the form and the item table.
    ViewRefresh refresh;
    refresh.boxId = result.inUseBoxId;
    refresh.keepUnlistedBox = true;
    refreshViews(refresh);
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
    const std::optional<int> boxId = currentBoxId();
    beginDocumentEdit();
    const DropRateEdits::UnifyResult result =
        DropRateEdits::unifyMonsterValue(monsterDropData, boxContentData, ids, *value);
    recordDocumentEdit(QStringLiteral("统一怪物价值"));
    if (!result.applied) {
        showEditNotice(result.notice);
        return;
    }
    finishMonsterEdit(result, ids, boxId);
}
