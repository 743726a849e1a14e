#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "mainwindow/MainWindowUi.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QPushButton *barButton(QWidget *bar, const QString &name, const QString &text, const char *keys)
{
    auto *button = new QPushButton(text, bar);
    button->setObjectName(name);
    // The texts stay as they are; the keys are on the button and in its tip.
    button->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    button->setToolTip(QString::fromLatin1(keys));
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

void MainWindow::connectDiskChanges()
{
    connect(document, &ConfigDocument::reloadedFromDisk, this, &MainWindow::onReloadedFromDisk);
    connect(document, &ConfigDocument::fileChangedOnDisk, this, &MainWindow::onFileChangedOnDisk);
    // Saved, or other files: what the bar says no longer holds.
    connect(document, &ConfigDocument::filesChanged, this, &MainWindow::hideDiskChangeBar);
    connect(document, &ConfigDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            hideDiskChangeBar();
    });
    connect(document, &ConfigDocument::documentChanged, this, [this](const DocumentUpdate &update) {
        if (update.cause != DocumentUpdate::Cause::Load || filesChangedOnDisk.isEmpty())
            return;
        if (update.monstersChanged)
            filesChangedOnDisk.removeAll(DropFilePair::File::Monsters);
        if (update.boxesChanged)
            filesChangedOnDisk.removeAll(DropFilePair::File::Boxes);
        if (filesChangedOnDisk.isEmpty())
            hideDiskChangeBar();
    });
}

void MainWindow::onReloadedFromDisk(const QString &path)
{
    appendOperationLog(
        QCoreApplication::translate("Lootwright", "文件已被其他程序修改，已重新加载：%1")
            .arg(path));
    statusBar()->showMessage(
        QCoreApplication::translate("Lootwright", "已重新加载 %1（其他程序修改了它）")
            .arg(QFileInfo(path).fileName()),
        5000);
}

void MainWindow::onFileChangedOnDisk(DropFilePair::File file)
{
    if (!filesChangedOnDisk.contains(file))
        filesChangedOnDisk.append(file);
    if (!diskChangeBar) {
        // Made on first use: most sessions never need it.
        diskChangeBar = new QFrame(ui->centralWidget);
        diskChangeBar->setObjectName(QStringLiteral("diskChangeBar"));
        diskChangeBar->setFrameShape(QFrame::StyledPanel);
        diskChangeBar->setStyleSheet(QStringLiteral(
            "QFrame#diskChangeBar { background: #fff4d6; border: 1px solid #e0b040; }"));
        auto *layout = new QHBoxLayout(diskChangeBar);
        layout->setContentsMargins(8, 4, 8, 4);
        diskChangeLabel = new QLabel(diskChangeBar);
        diskChangeLabel->setObjectName(QStringLiteral("diskChangeLabel"));
        diskChangeLabel->setWordWrap(true);
        QPushButton *reload =
            barButton(diskChangeBar, QStringLiteral("reloadFromDiskButton"),
                      QCoreApplication::translate("Lootwright", "从磁盘重新加载"), "Alt+R");
        QPushButton *keep =
            barButton(diskChangeBar, QStringLiteral("keepMyChangesButton"),
                      QCoreApplication::translate("Lootwright", "保留我的修改"), "Alt+K");
        layout->addWidget(diskChangeLabel, 1);
        layout->addWidget(reload);
        layout->addWidget(keep);
        ui->mainLayout->insertWidget(1, diskChangeBar);
        // Right after the tool buttons in the tab chain, above the views it speaks of.
        QWidget::setTabOrder(ui->exportConfigButton, reload);
        QWidget::setTabOrder(reload, keep);
        connect(reload, &QPushButton::clicked, this, &MainWindow::onReloadChangedFiles);
        // The check before the next save still asks.
        connect(keep, &QPushButton::clicked, this, &MainWindow::hideDiskChangeBar);
    }
    QStringList names;
    bool unsaved = false;
    for (DropFilePair::File changed : std::as_const(filesChangedOnDisk)) {
        names << QFileInfo(document->filePath(changed)).fileName();
        unsaved = unsaved || document->isModified(changed);
    }
    // Without unsaved changes the file came here because it did not read (half written).
    diskChangeLabel->setText(
        QCoreApplication::translate("Lootwright", "%1 已被其他程序修改%2")
            .arg(names.join(QCoreApplication::translate("Lootwright", "、")),
                 unsaved ? QCoreApplication::translate("Lootwright", "，而这里有未保存的修改。")
                         : QCoreApplication::translate("Lootwright", "，但无法读取。")));
    diskChangeBar->show();
}

void MainWindow::onReloadChangedFiles()
{
    const QList<DropFilePair::File> changed = filesChangedOnDisk;
    QStringList losing;
    for (DropFilePair::File file : changed) {
        if (document->isModified(file))
            losing << QFileInfo(document->filePath(file)).fileName();
    }
    if (!losing.isEmpty() &&
        prompts->choose(
            this, QCoreApplication::translate("Lootwright", "从磁盘重新加载"),
            QCoreApplication::translate("Lootwright", "重新加载将丢弃 %1 未保存的修改，是否继续？")
                .arg(losing.join(QCoreApplication::translate("Lootwright", "、"))),
            {{QCoreApplication::translate("Lootwright", "重新加载"), QMessageBox::DestructiveRole},
             {QCoreApplication::translate("Lootwright", "取消"), QMessageBox::RejectRole}},
            1) != 0)
        return;
    hideDiskChangeBar();
    for (DropFilePair::File file : changed) {
        const QString path = document->filePath(file);
        QString error;
        if (!document->reloadFromDisk(file, error)) {
            prompts->critical(
                this, QCoreApplication::translate("Lootwright", "加载失败"),
                (file == DropFilePair::File::Boxes
                     ? QCoreApplication::translate("Lootwright", "无法加载包裹配置：\n%1")
                     : QCoreApplication::translate("Lootwright", "无法加载怪物配置：\n%1"))
                    .arg(error));
            continue;
        }
        appendOperationLog(
            QCoreApplication::translate("Lootwright", "从磁盘重新加载：%1").arg(path));
    }
}

void MainWindow::hideDiskChangeBar()
{
    filesChangedOnDisk.clear();
    if (diskChangeBar)
        diskChangeBar->hide();
}

bool MainWindow::confirmOverwriteChangedFiles(const ConfigDocument::SaveTargets &targets)
{
    const QList<DropFilePair::File> changed = document->changedOnDisk(targets);
    if (changed.isEmpty())
        return true;
    QStringList paths;
    for (DropFilePair::File file : changed)
        paths << (file == DropFilePair::File::Boxes ? targets.boxPath : targets.monsterPath);
    return prompts->choose(
               this, QCoreApplication::translate("Lootwright", "文件已被修改"),
               QCoreApplication::translate("Lootwright",
                                           "以下文件在上次读取或保存之后已被其他程序修改：\n%1\n\n"
                                           "覆盖将丢失其他程序所做的修改。")
                   .arg(paths.join(QLatin1Char('\n'))),
               {{QCoreApplication::translate("Lootwright", "覆盖"), QMessageBox::DestructiveRole},
                {QCoreApplication::translate("Lootwright", "取消"), QMessageBox::RejectRole}},
               1) == 0;
}

void MainWindow::offerRecovery()
{
    const ConfigDocument::RecoveryOffer offer = document->recoveryOffer();
    if (offer.journalPath.isEmpty())
        return;
    const QString title = QCoreApplication::translate("Lootwright", "恢复未保存的修改");
    if (!offer.changedFiles.isEmpty()) {
        prompts->choose(
            this, title,
            QCoreApplication::translate(
                "Lootwright", "上次编辑未正常结束，留下 %1 项未保存的修改；但以下文件在那之后"
                              "已被修改，这些修改无法恢复，只能丢弃：\n%2")
                .arg(offer.steps)
                .arg(offer.changedFiles.join(QLatin1Char('\n'))),
            {{QCoreApplication::translate("Lootwright", "丢弃"), QMessageBox::AcceptRole}}, 0);
        document->discardRecovery();
        appendOperationLog(
            QCoreApplication::translate("Lootwright", "丢弃上次未保存的修改：%1 项（文件已被修改）")
                .arg(offer.steps));
        return;
    }
    QString text = QCoreApplication::translate("Lootwright",
                                               "上次编辑未正常结束，留下 %1 项未保存的修改。\n\n"
                                               "恢复：重新应用这些修改（不写入文件，可以撤销）。\n"
                                               "丢弃：删除这些修改。")
                       .arg(offer.steps);
    if (offer.damaged)
        text += QCoreApplication::translate("Lootwright",
                                            "\n\n恢复日志的末尾已损坏，只能恢复损坏之前的修改。");
    // Closing the box restores: nothing is written, and the changes can still be undone.
    const int answer = prompts->choose(
        this, title, text,
        {{QCoreApplication::translate("Lootwright", "恢复"), QMessageBox::AcceptRole},
         {QCoreApplication::translate("Lootwright", "丢弃"), QMessageBox::DestructiveRole}},
        0);
    if (answer == 1) {
        document->discardRecovery();
        appendOperationLog(QCoreApplication::translate("Lootwright", "丢弃上次未保存的修改：%1 项")
                               .arg(offer.steps));
        return;
    }
    const ConfigDocument::RecoveryResult result = document->restoreRecovery();
    appendOperationLog(QCoreApplication::translate("Lootwright", "恢复上次未保存的修改：%1 项")
                           .arg(result.restored));
    if (result.stopped)
        prompts->warning(this, title,
                         QCoreApplication::translate(
                             "Lootwright", "有一项修改与文件现在的内容不符，恢复在此停止；"
                                           "已恢复之前的 %1 项修改。")
                             .arg(result.restored));
    else if (result.damaged)
        prompts->information(this, title,
                             QCoreApplication::translate(
                                 "Lootwright", "恢复日志的末尾已损坏：已恢复损坏之前的 %1 项修改。")
                                 .arg(result.restored));
}
