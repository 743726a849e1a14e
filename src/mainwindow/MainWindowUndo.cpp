#include "mainwindow/MainWindow.h"

#include "mainwindow/DocumentEditCommand.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Prompts.h"
#include "models/DropItemTableModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QUndoStack>
#include <algorithm>

void MainWindow::createUndoActions()
{
    undoStack = new QUndoStack(this);
    // Each step keeps only what it changed, but a batch edit of a large file still keeps tens
    // of megabytes: the oldest steps go beyond this many.
    undoStack->setUndoLimit(100);
    // "撤销 统一怪物价值": the prefix, a space and the step's name; the prefix alone when empty.
    QAction *undoAction = undoStack->createUndoAction(this, QStringLiteral("撤销"));
    undoAction->setObjectName(QStringLiteral("actionUndo"));
    undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    QAction *redoAction = undoStack->createRedoAction(this, QStringLiteral("重做"));
    redoAction->setObjectName(QStringLiteral("actionRedo"));
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    QAction *first = ui->menuEdit->actions().value(0);
    ui->menuEdit->insertAction(first, undoAction);
    ui->menuEdit->insertAction(first, redoAction);
    ui->menuEdit->insertSeparator(first);
    connect(undoStack, &QUndoStack::cleanChanged, this, &MainWindow::updateModifiedMark);
    connect(dropItemModel, &DropItemTableModel::itemIdEdited, this, &MainWindow::onItemIdEdited);
}

void MainWindow::beginDocumentEdit()
{
    // Always taken anew: one left by an edit that changed nothing may predate an undo or load.
    editBaseline.emplace(monsterDropData, boxContentData);
}

void MainWindow::recordDocumentEdit(const QString &name, const QString &mergeKey)
{
    if (!editBaseline)
        return;
    DocumentChange change = DocumentChange::between(*editBaseline, monsterDropData, boxContentData);
    editBaseline.reset();
    pushDocumentChange(name, std::move(change), mergeKey);
}

void MainWindow::pushDocumentChange(const QString &name, DocumentChange change,
                                    const QString &mergeKey)
{
    if (change.isEmpty())
        return;
    undoStack->push(new DocumentEditCommand(
        name, std::move(change),
        [this](const DocumentChange &step, bool undo, const QString &stepName) {
            replayDocumentChange(step, undo, stepName);
        },
        mergeKey));
}

void MainWindow::replayDocumentChange(const DocumentChange &change, bool undo, const QString &name)
{
    const QList<int> monsterIds = selectedMonsterIds();
    const std::optional<int> boxId = currentBoxId();
    editBaseline.reset();
    // No event runs between the replay and the refresh, so nothing reads the pointers into
    // the lists before refreshViews drops them.
    if (undo)
        change.revert(monsterDropData, boxContentData);
    else
        change.apply(monsterDropData, boxContentData);
    appendOperationLog((undo ? QStringLiteral("撤销：%1") : QStringLiteral("重做：%1")).arg(name));
    ViewRefresh refresh;
    refresh.monsterList = change.touchesMonsters();
    refresh.monsterIds = monsterIds;
    refresh.boxId = boxId;
    refresh.keepUnlistedBox = true;
    refreshViews(refresh);
}

void MainWindow::onItemIdEdited(int row, int previousItemId)
{
    // Written straight into the box by the item table: the box before is the box now with the
    // old id in that slot.
    const DropBoxConfig *box = dropItemModel->box();
    const qsizetype index = box ? box - boxContentData.boxes.constData() : -1;
    if (index < 0 || index >= boxContentData.boxes.size() || row < 0 || row >= box->items.size())
        return;
    DropBoxConfig before = *box;
    before.items[row].itemId = previousItemId;
    pushDocumentChange(QStringLiteral("修改物品ID"),
                       DocumentChange::boxReplaced(index, before, *box));
}

bool MainWindow::changedSinceSave(bool boxes) const
{
    const int clean = undoStack->cleanIndex();
    if (clean < 0)
        return true;
    const int from = std::min(clean, undoStack->index());
    const int to = std::max(clean, undoStack->index());
    for (int i = from; i < to; ++i) {
        const auto *step = static_cast<const DocumentEditCommand *>(undoStack->command(i));
        const DocumentChange &change = step->documentChange();
        if (boxes ? change.touchesBoxes() : change.touchesMonsters())
            return true;
    }
    return false;
}

void MainWindow::clearUndoAfterLoad(bool monstersReplaced, bool boxesReplaced)
{
    keptMonsterChanges = !monstersReplaced && (keptMonsterChanges || changedSinceSave(false));
    keptBoxChanges = !boxesReplaced && (keptBoxChanges || changedSinceSave(true));
    editBaseline.reset();
    undoStack->clear();
    updateModifiedMark();
}

void MainWindow::markSaved(bool monstersWritten, bool boxesWritten)
{
    // Save As writes only the monster file: box changes since the last save stay unsaved.
    keptMonsterChanges = !monstersWritten && (keptMonsterChanges || changedSinceSave(false));
    keptBoxChanges = !boxesWritten && (keptBoxChanges || changedSinceSave(true));
    undoStack->setClean();
    updateModifiedMark();
}

void MainWindow::updateModifiedMark()
{
    setWindowModified(!undoStack->isClean() || keptMonsterChanges || keptBoxChanges);
}

bool MainWindow::maybeSaveChanges()
{
    if (!isWindowModified())
        return true;
    const int answer = prompts->choose(this, QStringLiteral("未保存的修改"),
                                       QStringLiteral("配置已修改，是否先保存？"),
                                       {{QStringLiteral("保存"), QMessageBox::AcceptRole},
                                        {QStringLiteral("不保存"), QMessageBox::DestructiveRole},
                                        {QStringLiteral("取消"), QMessageBox::RejectRole}},
                                       2);
    if (answer == 0)
        return saveDocuments();
    return answer == 1;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (maybeSaveChanges())
        event->accept();
    else
        event->ignore();
}
