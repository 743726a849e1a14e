#include "mainwindow/MainWindow.h"

#include "dialogs/Prompts.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(std::make_unique<DialogPrompts>(),
                 QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("config")),
                 parent)
{
}

MainWindow::MainWindow(std::unique_ptr<Prompts> prompts, const QString &configDir, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<MainWindowUi>()), prompts(std::move(prompts)),
      configDir(configDir), clock([] { return QDateTime::currentDateTime(); })
{
    // The document is the window's child: it outlives every view but goes with the window.
    document = new ConfigDocument(this);
    ui->setupUi(this);
    createModels();
    connectSignals();
    createUndoActions();
    createChangesAction();
    createOddsActions();
    connectDiskChanges();
    createLanguageMenu();
    ui->operationLogEdit->document()->setMaximumBlockCount(2000);
    // Nothing is selected yet: empty rate, apply button off.
    updateDropRateDisplay();
    applyStyleSheet(densityForSize(size()), true);
    updateSplitterStretch(size());
    setWindowTitle(QCoreApplication::translate("Lootwright", "Lootwright - 四栏布局[*]"));
    updateRecentMenu();
    updateFolderLabel();
    autoLoadConfig();
    // Asked once the window is up, over it.
    QTimer::singleShot(0, this, &MainWindow::offerRecovery);
}

// The widgets and models are children of the window; the base class deletes them only after
// the window's own members, the documents included, are gone. Before that: every connection
// from a child to the window is cut (a line edit losing focus on the way out would call a
// slot), and the views go while the documents they show through the models still exist (hiding
// a view lays it out again, which reads the models).
MainWindow::~MainWindow()
{
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        QObject::disconnect(child, nullptr, this, nullptr);
    delete takeCentralWidget();
    currentConfig = nullptr;
    currentBox = nullptr;
    dropItemModel->setBox(nullptr);
    monsterBoxModel->setMonster(nullptr, nullptr);
    summaryModel->setMonster(nullptr, nullptr);
}
