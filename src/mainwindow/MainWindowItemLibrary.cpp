#include "mainwindow/MainWindow.h"

#include "dialogs/ItemLibraryDialog.h"
#include "dialogs/Prompts.h"
#include "mainwindow/ToolWindows.h"

#include <QCoreApplication>
#include <QStatusBar>

void MainWindow::onItemLibrary()
{
    if (itemLibraryDialog) {
        ToolWindows::bringUp(itemLibraryDialog);
        return;
    }
    auto *dialog = new ItemLibraryDialog(prompts.get(), &favoritesStore, this);
    itemLibraryDialog = dialog;
    ToolWindows::makeToolWindow(dialog);
    connect(dialog, &ItemLibraryDialog::addItemIdsToCurrentBoxRequested, this,
            [this](const QList<int> &itemIds) {
                const int added = addItemsToCurrentBox(itemIds);
                if (added <= 0)
                    prompts->information(
                        this, QCoreApplication::translate("Lootwright", "提示"),
                        QCoreApplication::translate("Lootwright", "当前未选中包裹或物品已存在"));
                else
                    statusBar()->showMessage(
                        QCoreApplication::translate("Lootwright", "已添加 %1 个物品到当前包裹")
                            .arg(added),
                        2000);
            });
    connect(dialog, &ItemLibraryDialog::itemSourcesRequested, this, &MainWindow::showItemSources);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        dialog->deleteLater();
        itemLibraryDialog = nullptr;
    });
    dialog->show();
}
