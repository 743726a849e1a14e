#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/DropClipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

void MainWindow::copyMonsterDrops()
{
    const DropClipboard::CopyResult result =
        DropClipboard::copyDrops(document->monsters(), selectedMonsterIds());
    if (result.ok)
        QGuiApplication::clipboard()->setText(result.text, QClipboard::Clipboard);
    showEditNotice(result.notice);
}

void MainWindow::pasteMonsterDrops()
{
    const QList<int> ids = selectedMonsterIds();
    const DropClipboard::PastePlan plan =
        DropClipboard::preparePaste(ids, QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    if (!plan.ok) {
        showEditNotice(plan.notice);
        return;
    }
    if (!prompts->question(this, plan.question.title, plan.question.text))
        return;
    runMonsterEdit(QCoreApplication::translate("Lootwright", "粘贴怪物爆率"), ids,
                   [&](MonsterDropData &monsters) {
                       return DropClipboard::applyPaste(monsters, ids, plan.drops);
                   });
}
