#include "mainwindow/MainWindow.h"

#include "dialogs/DropBoxManagerDialog.h"
#include "mainwindow/ToolWindows.h"

#include <memory>

void MainWindow::onManageBoxes()
{
    if (boxManagerDialog) {
        ToolWindows::bringUp(boxManagerDialog);
        return;
    }
    auto *dialog = new DropBoxManagerDialog(&boxContentData, &monsterDropData, prompts.get(), this);
    boxManagerDialog = dialog;
    boxManagerStale = false;
    ToolWindows::makeToolWindow(dialog);

    // The manager lists the documents as they are already.
    const auto refreshKeeping = [this](const QList<int> &monsterIds, std::optional<int> boxId) {
        ViewRefresh refresh;
        refresh.monsterList = true;
        refresh.monsterIds = monsterIds;
        refresh.boxId = boxId;
        boxManagerChanging = true;
        refreshViews(refresh);
        boxManagerChanging = false;
    };
    connect(dialog, &QDialog::accepted, this, [this, refreshKeeping] {
        if (currentConfig)
            refreshKeeping(selectedMonsterIds(), currentBoxId());
    });
    connect(dialog, &DropBoxManagerDialog::saveConfigRequested, this, &MainWindow::onSave);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        dialog->deleteLater();
        boxManagerDialog = nullptr;
    });
    // The selection before a change of the manager, found again by id after it: the change may
    // move or remove the records the window points at.
    struct Selection
    {
        QList<int> monsterIds;
        std::optional<int> boxId;
    };
    auto before = std::make_shared<Selection>();
    connect(dialog, &DropBoxManagerDialog::documentsAboutToChange, this, [this, before] {
        *before = {selectedMonsterIds(), currentBoxId()};
        beginDocumentEdit();
    });
    connect(dialog, &DropBoxManagerDialog::documentsChanged, this,
            [this, before, refreshKeeping](const QString &stepName, bool changed) {
                recordDocumentEdit(stepName);
                if (!changed)
                    return;
                refreshKeeping(before->monsterIds, before->boxId);
                boxManagerStale = false;
            });
    connect(dialog, &DropBoxManagerDialog::itemSourcesRequested, this,
            &MainWindow::showItemSources);
    dialog->show();
}
