#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/BoxEdits.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/MonsterListModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QUndoStack>

void MainWindow::createUndoActions()
{
    QUndoStack *undoStack = document->undoStack();
    // "撤销 统一怪物价值": the prefix, a space and the step's name; the prefix alone when empty.
    QAction *undoAction =
        undoStack->createUndoAction(this, QCoreApplication::translate("Lootwright", "撤销"));
    undoAction->setObjectName(QStringLiteral("actionUndo"));
    undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    QAction *redoAction =
        undoStack->createRedoAction(this, QCoreApplication::translate("Lootwright", "重做"));
    redoAction->setObjectName(QStringLiteral("actionRedo"));
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    QAction *first = ui->menuEdit->actions().value(0);
    ui->menuEdit->insertAction(first, undoAction);
    ui->menuEdit->insertAction(first, redoAction);
    ui->menuEdit->insertSeparator(first);
    connect(document, &ConfigDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(document, &ConfigDocument::documentsAboutToChange, this,
            &MainWindow::onDocumentsAboutToChange);
    connect(document, &ConfigDocument::documentChanged, this, &MainWindow::onDocumentChanged);
    // Queued: the edit replaces the box the item table shows, which must not happen while the
    // view is still committing its editor.
    connect(dropItemModel, &DropItemTableModel::itemIdEditRequested, this,
            &MainWindow::onItemIdEditRequested, Qt::QueuedConnection);
}

void MainWindow::onDocumentsAboutToChange()
{
    selectionBeforeChange = ViewRefresh();
    selectionBeforeChange.monsterIds = selectedMonsterIds();
    selectionBeforeChange.boxId = currentBoxId();
}

void MainWindow::onDocumentChanged(const DocumentUpdate &update)
{
    if (update.cause == DocumentUpdate::Cause::Undo)
        appendOperationLog(
            QCoreApplication::translate("Lootwright", "撤销：%1").arg(update.stepName));
    else if (update.cause == DocumentUpdate::Cause::Redo)
        appendOperationLog(
            QCoreApplication::translate("Lootwright", "重做：%1").arg(update.stepName));
    if (update.namesReloaded)
        monsterListModel->loadMonsters();
    // The title names the monster file read last; a save under another name leaves it.
    if (update.cause == DocumentUpdate::Cause::Load && update.monstersChanged)
        setWindowTitle(document->monsterFilePath().isEmpty()
                           ? QCoreApplication::translate("Lootwright", "Lootwright - 四栏布局[*]")
                           : QStringLiteral("Lootwright - %1[*]")
                                 .arg(QFileInfo(document->monsterFilePath()).fileName()));

    ViewRefresh refresh = selectionBeforeChange;
    // A change from elsewhere (undo, redo, the box manager) keeps the box even where the
    // monster no longer lists it, as an edit of its id does.
    refresh.keepUnlistedBox = true;
    if (plannedRefresh) {
        refresh = *plannedRefresh;
        plannedRefresh.reset();
    }
    refresh.monsterList = refresh.monsterList || update.recordsAddedOrRemoved ||
                          update.monstersChanged || update.namesReloaded;
    refreshViews(refresh);
}

void MainWindow::onItemIdEditRequested(int boxId, int row, int itemId)
{
    editDocuments(QCoreApplication::translate("Lootwright", "修改物品ID"), keepingBox(),
                  [&](MonsterDropData &, DropBoxContentData &boxes) {
                      BoxEdits::setItemId(boxes, boxId, row, itemId);
                  });
}

bool MainWindow::maybeSaveChanges()
{
    if (!document->isModified())
        return true;
    const int answer = prompts->choose(
        this, QCoreApplication::translate("Lootwright", "未保存的修改"),
        QCoreApplication::translate("Lootwright", "配置已修改，是否先保存？"),
        {{QCoreApplication::translate("Lootwright", "保存"), QMessageBox::AcceptRole},
         {QCoreApplication::translate("Lootwright", "不保存"), QMessageBox::DestructiveRole},
         {QCoreApplication::translate("Lootwright", "取消"), QMessageBox::RejectRole},
         {QCoreApplication::translate("Lootwright", "查看修改..."), QMessageBox::ActionRole}},
        2);
    if (answer == 0)
        return saveDocuments();
    // Looking at the changes first: nothing goes on, the user answers again afterwards.
    if (answer == 3)
        onViewChanges();
    return answer == 1;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSaveChanges()) {
        event->ignore();
        return;
    }
    if (keepWindowState)
        saveWindowState();
    // Saved, discarded or never changed: nothing for a later start to restore.
    document->discardJournal();
    event->accept();
}
