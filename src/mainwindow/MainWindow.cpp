#include "mainwindow/MainWindow.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>

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
    ui->setupUi(this);
    createModels();
    connectSignals();
    ui->operationLogEdit->document()->setMaximumBlockCount(2000);
    // Nothing is selected yet: empty rate, apply button off.
    updateDropRateDisplay();
    applyStyleSheet(densityForSize(size()), true);
    updateSplitterStretch(size());
    setWindowTitle(QStringLiteral("Lootwright - 四栏布局"));
    autoLoadConfig();
}

// The widgets and models are children of the window and are deleted after this body, when the
// window's own members are already gone; a line edit losing focus on the way out would still
// call a slot here. So every connection from a child to the window is cut first.
MainWindow::~MainWindow()
{
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        QObject::disconnect(child, nullptr, this, nullptr);
}
