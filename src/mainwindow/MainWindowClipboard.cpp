#include "mainwindow/MainWindow.h"

#include "edit/DropClipboard.h"
#include "mainwindow/Prompts.h"

#include <QClipboard>
#include <QGuiApplication>

void MainWindow::copyMonsterDrops()
{
    const DropClipboard::CopyResult result =
        DropClipboard::copyDrops(monsterDropData, selectedMonsterIds());
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
    const std::optional<int> boxId = currentBoxId();
    beginDocumentEdit();
    const EditResult result = DropClipboard::applyPaste(monsterDropData, ids, plan.drops);
    recordDocumentEdit(QStringLiteral("粘贴怪物爆率"));
    finishMonsterEdit(result, ids, boxId);
}
