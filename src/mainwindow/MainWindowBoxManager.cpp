#include "mainwindow/MainWindow.h"

#include "dialogs/DropBoxManagerDialog.h"
#include "mainwindow/ToolWindows.h"

void MainWindow::onManageBoxes()
{
    if (boxManagerDialog) {
        ToolWindows::bringUp(boxManagerDialog);
        return;
    }
    auto *dialog = new DropBoxManagerDialog(document, prompts.get(), this);
    boxManagerDialog = dialog;
    ToolWindows::makeToolWindow(dialog);
    connect(dialog, &DropBoxManagerDialog::saveConfigRequested, this, &MainWindow::onSave);
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    connect(dialog, &DropBoxManagerDialog::itemSourcesRequested, this,
            &MainWindow::showItemSources);
    dialog->show();
}
