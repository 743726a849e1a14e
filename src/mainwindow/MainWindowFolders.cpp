#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "edit/RecentFolders.h"
#include "mainwindow/MainWindowUi.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>

namespace {

QSettings userSettings()
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"));
}

} // namespace

void MainWindow::onOpenConfigFolder()
{
    if (!maybeSaveChanges())
        return;
    const QString folder = prompts->existingDirectory(this, tr("打开配置目录"), configDir);
    if (!folder.isEmpty())
        openConfigFolder(folder);
}

void MainWindow::onOpenRecentFolder(const QString &folder)
{
    RecentFolders recent = RecentFolders::load();
    if (!recent.take(folder)) {
        recent.save();
        updateRecentMenu();
        prompts->warning(this, tr("最近打开"),
                         tr("配置目录不存在，已从最近打开列表中移除：\n%1")
                             .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    if (maybeSaveChanges())
        openConfigFolder(folder);
}

void MainWindow::onClearRecentFolders()
{
    RecentFolders().save();
    updateRecentMenu();
}

void MainWindow::openConfigFolder(const QString &folder)
{
    configDir = RecentFolders::normalized(folder);
    // Another folder starts with nothing selected.
    ViewRefresh refresh;
    refresh.monsterList = true;
    plannedRefresh = refresh;
    currentMonsterId = -1;
    document->openDirectory(configDir);
    plannedRefresh.reset();

    RecentFolders recent = RecentFolders::load();
    recent.add(configDir);
    recent.save();
    updateRecentMenu();
    updateFolderLabel();
    statusBar()->showMessage(tr("已打开配置目录：%1 个怪物掉落配置，%2 个包裹配置")
                                 .arg(document->monsters().records.size())
                                 .arg(document->boxes().boxes.size()),
                             5000);
    offerRecovery();
}

void MainWindow::updateRecentMenu()
{
    QMenu *menu = ui->menuRecent;
    menu->clear();
    const QStringList folders = RecentFolders::load().folders();
    for (const QString &folder : folders) {
        const QString shown = QDir::toNativeSeparators(folder);
        // Long paths keep both ends; "&" would be taken for a shortcut mark.
        QString text = menu->fontMetrics().elidedText(shown, Qt::ElideMiddle, 480);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = menu->addAction(text);
        action->setToolTip(shown);
        connect(action, &QAction::triggered, this, [this, folder] { onOpenRecentFolder(folder); });
    }
    if (folders.isEmpty())
        menu->addAction(tr("（无）"))->setEnabled(false);
    menu->addSeparator();
    menu->addAction(ui->actionClearRecent);
    ui->actionClearRecent->setEnabled(!folders.isEmpty());
}

void MainWindow::updateFolderLabel()
{
    QLabel *label = ui->configFolderLabel;
    if (configDir.isEmpty()) {
        label->setText(tr("未打开配置目录：请用 文件 → 打开配置目录... 或 文件 → 最近打开"));
        label->setToolTip(QString());
        return;
    }
    const QString shown = QDir::toNativeSeparators(configDir);
    // A deep path must not widen the window: its middle gives way, the tooltip has all of it.
    label->setText(
        tr("配置目录：%1").arg(label->fontMetrics().elidedText(shown, Qt::ElideMiddle, 560)));
    label->setToolTip(shown);
}

void MainWindow::restoreWindowState()
{
    keepWindowState = true;
    restoreGeometry(userSettings().value(QStringLiteral("window/geometry")).toByteArray());
    // A hidden window gets its resize event only when shown: the density follows the size now.
    updateSplitterStretch(size());
    splittersPending = true;
    if (isVisible())
        restoreSplitters();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only a window laid out at its size shares its width out among the columns as it was.
    if (splittersPending)
        restoreSplitters();
}

void MainWindow::restoreSplitters()
{
    splittersPending = false;
    QSettings settings = userSettings();
    settings.beginGroup(QStringLiteral("window"));
    for (QSplitter *splitter : {ui->mainSplitter, ui->monsterSplitter})
        splitter->restoreState(settings.value(splitter->objectName()).toByteArray());
    for (QTableView *view :
         {ui->monsterListView, ui->boxListView, ui->itemTableView, ui->summaryView})
        view->horizontalHeader()->restoreState(
            settings.value(view->objectName() + QStringLiteral("Header")).toByteArray());
}

void MainWindow::saveWindowState() const
{
    QSettings settings = userSettings();
    settings.beginGroup(QStringLiteral("window"));
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    for (QSplitter *splitter : {ui->mainSplitter, ui->monsterSplitter})
        settings.setValue(splitter->objectName(), splitter->saveState());
    for (QTableView *view :
         {ui->monsterListView, ui->boxListView, ui->itemTableView, ui->summaryView})
        settings.setValue(view->objectName() + QStringLiteral("Header"),
                          view->horizontalHeader()->saveState());
}
