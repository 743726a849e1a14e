#include "mainwindow/MainWindow.h"

#include "data/ConfigCheck.h"
#include "dialogs/DropChangesDialog.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/ToolWindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

void MainWindow::createChangesAction()
{
    auto *action = new QAction(QCoreApplication::translate("Lootwright", "查看修改..."), this);
    action->setObjectName(QStringLiteral("actionViewChanges"));
    ui->menuFile->insertAction(ui->actionExportHtml, action);
    connect(action, &QAction::triggered, this, &MainWindow::onViewChanges);
}

void MainWindow::onViewChanges()
{
    if (!changesDialog) {
        changesDialog = new DropChangesDialog(prompts.get(), this);
        ToolWindows::makeToolWindow(changesDialog);
        connect(changesDialog, &DropChangesDialog::goToRequested, this, &MainWindow::goToFinding);
    }
    changesDialog->followDocument(document);
    ToolWindows::bringUp(changesDialog);
}
