#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/EditResult.h"
#include "edit/LogLabels.h"
#include "edit/MonsterEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <algorithm>

QList<int> MainWindow::selectedMonsterIds() const
{
    // Walks the selection ranges once; QItemSelectionModel::selectedRows tests every row against
    // every range, which is quadratic for a selection made of many single rows.
    QList<int> ids;
    const QItemSelection selection = ui->monsterListView->selectionModel()->selection();
    const bool manyRanges = selection.size() > 1;
    QSet<int> seenRows;
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.left() > 0)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (manyRanges) {
                if (seenRows.contains(row))
                    continue;
                seenRows.insert(row);
            }
            const int id = monsterProxyModel->idAtProxyRow(row);
            if (id >= 1)
                ids.append(id);
        }
    }
    return ids;
}

void MainWindow::showEditNotice(const EditNotice &notice)
{
    showNotice(*prompts, this, notice);
}

void MainWindow::appendOperationLogLines(const QStringList &lines)
{
    if (lines.size() <= 1) {
        for (const QString &line : lines)
            appendOperationLog(line);
        return;
    }
    // A batch edit of thousands of monsters: one append and one scroll for all its lines, and
    // only as many lines as the log keeps (the older ones would be dropped at once anyway).
    QPlainTextEdit *log = ui->operationLogEdit;
    const int limit = log->document()->maximumBlockCount();
    const QDateTime time = clock();
    QStringList kept;
    for (qsizetype i = lines.size() - 1; i >= 0 && (limit <= 0 || kept.size() < limit); --i) {
        if (!lines.at(i).trimmed().isEmpty())
            kept.append(LogLabels::logLine(time, lines.at(i)));
    }
    if (kept.isEmpty())
        return;
    std::reverse(kept.begin(), kept.end());
    log->appendPlainText(kept.join(QLatin1Char('\n')));
    QScrollBar *scrollBar = log->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}

std::optional<int> MainWindow::currentBoxId() const
{
    return currentBox ? std::optional<int>(currentBox->boxId) : std::nullopt;
}

void MainWindow::showMonsterContextMenu(const QPoint &position)
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty())
        return;

    QMenu menu(QCoreApplication::translate("Lootwright", "怪物操作"), this);
    QAction *changeValue =
        menu.addAction(QCoreApplication::translate("Lootwright", "修改怪物价值"));
    QAction *changeType =
        menu.addAction(QCoreApplication::translate("Lootwright", "修改怪物掉落类型"));
    QAction *clearBoxes = menu.addAction(QCoreApplication::translate("Lootwright", "清空怪物掉包"));
    QAction *copyDrops = menu.addAction(QCoreApplication::translate("Lootwright", "复制怪物爆率"));
    QAction *pasteDrops = menu.addAction(QCoreApplication::translate("Lootwright", "粘贴怪物爆率"));
    QAction *unify = menu.addAction(QCoreApplication::translate("Lootwright", "统一怪物价值"));
    QAction *hasDrop = menu.addAction(QCoreApplication::translate("Lootwright", "设置为有掉落"));
    QAction *noDrop = menu.addAction(QCoreApplication::translate("Lootwright", "设置为无掉落"));
    // The menu bar's entry (Ctrl+E), here too for the mouse.
    QAction *editAttributes = menu.addAction(ui->actionEditMonster->text());
    pasteDrops->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    copyDrops->setEnabled(ids.size() <= 1);

    QAction *chosen =
        prompts->execMenu(menu, ui->monsterListView->viewport()->mapToGlobal(position));
    if (!chosen)
        return;
    if (chosen == changeValue)
        changeMonsterValue();
    else if (chosen == changeType)
        changeDropType();
    else if (chosen == clearBoxes)
        clearMonsterBoxes();
    else if (chosen == copyDrops)
        copyMonsterDrops();
    else if (chosen == pasteDrops)
        pasteMonsterDrops();
    else if (chosen == unify)
        unifyMonsterValue();
    else if (chosen == hasDrop)
        setHasDrop();
    else if (chosen == noDrop)
        setNoDrop();
    else if (chosen == editAttributes)
        onEditSelectedMonsters();
}

void MainWindow::changeMonsterValue()
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    const std::optional<int> value =
        prompts->getInt(this, MonsterEdits::changeValueTitle(), MonsterEdits::changeValueLabel(),
                        MonsterEdits::initialMonsterValue(document->monsters(), ids), 0, 999999, 1);
    if (!value)
        return;
    runMonsterEdit(QCoreApplication::translate("Lootwright", "修改怪物价值"), ids,
                   [&](MonsterDropData &monsters) {
                       return MonsterEdits::changeMonsterValue(monsters, ids, *value);
                   });
}

void MainWindow::changeDropType()
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    // Any type other than 0 is a team drop, as the detail panel shows it; the input offers
    // only the two choices.
    const int current = MonsterEdits::initialDropType(document->monsters(), ids) == 0 ? 0 : 1;
    const std::optional<QString> choice = prompts->getItem(
        this, MonsterEdits::changeDropTypeTitle(), MonsterEdits::changeDropTypeLabel(),
        MonsterEdits::dropTypeChoices(), current, false);
    if (!choice)
        return;
    runMonsterEdit(QCoreApplication::translate("Lootwright", "修改怪物掉落类型"), ids,
                   [&](MonsterDropData &monsters) {
                       return MonsterEdits::changeDropType(monsters, ids, *choice);
                   });
}

void MainWindow::clearMonsterBoxes()
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    const EditQuestion question = MonsterEdits::clearBoxesQuestion(ids);
    if (!prompts->question(this, question.title, question.text))
        return;
    runMonsterEdit(
        QCoreApplication::translate("Lootwright", "清空怪物掉包"), ids,
        [&](MonsterDropData &monsters) { return MonsterEdits::clearMonsterBoxes(monsters, ids); });
}

void MainWindow::setHasDrop()
{
    runEligibleMonsterEdit(&MonsterEdits::setHasDropEligibility, &MonsterEdits::setHasDrop,
                           QCoreApplication::translate("Lootwright", "设置为有掉落"));
}

void MainWindow::setNoDrop()
{
    runEligibleMonsterEdit(&MonsterEdits::setNoDropEligibility, &MonsterEdits::setNoDrop,
                           QCoreApplication::translate("Lootwright", "设置为无掉落"));
}

void MainWindow::runEligibleMonsterEdit(
    MonsterEdits::Eligibility (*eligibilityOf)(const MonsterDropData &, const QList<int> &),
    EditResult (*apply)(MonsterDropData &, const QList<int> &), const QString &stepName)
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    const MonsterEdits::Eligibility eligibility = eligibilityOf(document->monsters(), ids);
    if (eligibility.eligibleCount == 0) {
        showEditNotice(eligibility.nothingToDo);
        return;
    }
    if (!prompts->question(this, eligibility.question.title, eligibility.question.text))
        return;
    runMonsterEdit(stepName, ids, [&](MonsterDropData &monsters) { return apply(monsters, ids); });
}

void MainWindow::onEditSelectedMonsters()
{
    const QList<int> ids = selectedMonsterIds();
    if (ids.isEmpty()) {
        showEditNotice(MonsterEdits::noSelectionNotice());
        return;
    }
    editMonsters(ids);
}

void MainWindow::editMonsters(const QList<int> &ids)
{
    if (ids.isEmpty())
        return;
    std::optional<MonsterEdits::MonsterEditPrefill> prefill;
    if (ids.size() == 1)
        prefill = MonsterEdits::editPrefill(document->monsters(), ids.first());
    const std::optional<MonsterEdits::MonsterEditValues> values =
        prompts->editMonsterAttributes(this, int(ids.size()), prefill);
    if (!values)
        return;
    runMonsterEdit(QCoreApplication::translate("Lootwright", "编辑怪物属性"), ids,
                   [&](MonsterDropData &monsters) {
                       return MonsterEdits::applyMonsterEdit(monsters, ids, *values);
                   });
}

void MainWindow::runMonsterEdit(const QString &name, const QList<int> &ids,
                                const std::function<EditResult(MonsterDropData &)> &edit)
{
    ViewRefresh refresh;
    refresh.monsterList = true;
    refresh.monsterIds = ids;
    refresh.boxId = currentBoxId();
    const EditResult result =
        editDocuments(name, refresh, [&](MonsterDropData &monsters, DropBoxContentData &) {
            return edit(monsters);
        });
    appendOperationLogLines(result.logLines);
    showEditNotice(result.notice);
}
