#include "mainwindow/MainWindow.h"

#include "edit/LogLabels.h"
#include "mainwindow/MainWindowUi.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>

void MainWindow::appendOperationLog(const QString &message)
{
    if (message.trimmed().isEmpty())
        return;
    ui->operationLogEdit->appendPlainText(LogLabels::logLine(clock(), message));
    QScrollBar *scrollBar = ui->operationLogEdit->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}

void MainWindow::setClock(std::function<QDateTime()> newClock)
{
    clock = std::move(newClock);
}

void MainWindow::onClearOperationLog()
{
    ui->operationLogEdit->clear();
    statusBar()->showMessage(QCoreApplication::translate("Lootwright", "已清空操作日志"), 1500);
}

void MainWindow::onCopyOperationLog()
{
    QGuiApplication::clipboard()->setText(ui->operationLogEdit->toPlainText());
    statusBar()->showMessage(QCoreApplication::translate("Lootwright", "已复制操作日志到剪贴板"),
                             1500);
}
