#include "mainwindow/MainWindowUi.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpacerItem>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *object, const char *name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QAction *createAction(QMainWindow *window, const char *name)
{
    return named(new QAction(window), name);
}

QFormLayout *createFormLayout(QWidget *parent, const char *name)
{
    auto *layout = named(new QFormLayout(parent), name);
    layout->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    layout->setRowWrapPolicy(QFormLayout::DontWrapRows);
    layout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    return layout;
}

QLabel *addFormRow(QFormLayout *form, int row, QWidget *parent, const char *labelName,
                   QWidget *field)
{
    auto *label = named(new QLabel(parent), labelName);
    form->setWidget(row, QFormLayout::LabelRole, label);
    form->setWidget(row, QFormLayout::FieldRole, field);
    return label;
}

QSpacerItem *horizontalSpacer()
{
    return new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

} // namespace

void MainWindowUi::setupUi(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(1280, 960);

    actionOpenMonster = createAction(window, "actionOpenMonster");
    actionOpenBox = createAction(window, "actionOpenBox");
    actionManageBoxes = createAction(window, "actionManageBoxes");
    actionItemLibrary = createAction(window, "actionItemLibrary");
    actionSave = createAction(window, "actionSave");
    actionSaveAs = createAction(window, "actionSaveAs");
    actionExportHtml = createAction(window, "actionExportHtml");
    actionExit = createAction(window, "actionExit");
    actionEditMonster = createAction(window, "actionEditMonster");

    centralWidget = named(new QWidget(window), "centralWidget");
    mainLayout = named(new QVBoxLayout(centralWidget), "mainLayout");
    mainLayout->setSpacing(6);
    mainLayout->setContentsMargins(6, 6, 6, 6);

    toolbarLayout = named(new QHBoxLayout(), "toolbarLayout");
    toolbarLayout->setSpacing(8);
    loadConfigButton = named(new QPushButton(centralWidget), "loadConfigButton");
    saveConfigButton = named(new QPushButton(centralWidget), "saveConfigButton");
    exportConfigButton = named(new QPushButton(centralWidget), "exportConfigButton");
    for (QPushButton *button : {loadConfigButton, saveConfigButton, exportConfigButton}) {
        button->setMinimumHeight(36);
        toolbarLayout->addWidget(button);
    }
    toolbarLayout->addItem(horizontalSpacer());
    mainLayout->addLayout(toolbarLayout);

    mainSplitter = named(new QSplitter(centralWidget), "mainSplitter");
    mainSplitter->setOrientation(Qt::Horizontal);
    mainSplitter->setHandleWidth(6);
    mainSplitter->setChildrenCollapsible(false);
    mainSplitter->setOpaqueResize(true);
    mainLayout->addWidget(mainSplitter);

    // Column 1: monster list, search, detail panel.
    monsterGroup = named(new QGroupBox(mainSplitter), "monsterGroup");
    monsterLayout = named(new QVBoxLayout(monsterGroup), "monsterLayout");
    monsterLayout->setSpacing(4);
    monsterLayout->setContentsMargins(6, 6, 6, 6);
    monsterFilterLayout = named(new QHBoxLayout(), "monsterFilterLayout");
    monsterFilterLayout->setSpacing(6);
    monsterSearchEdit = named(new QLineEdit(monsterGroup), "monsterSearchEdit");
    filterDropOnlyBtn = named(new QPushButton(monsterGroup), "filterDropOnlyBtn");
    filterDropOnlyBtn->setCheckable(true);
    monsterFilterLayout->addWidget(monsterSearchEdit);
    monsterFilterLayout->addWidget(filterDropOnlyBtn);
    monsterLayout->addLayout(monsterFilterLayout);

    monsterSplitter = named(new QSplitter(monsterGroup), "monsterSplitter");
    monsterSplitter->setOrientation(Qt::Vertical);
    monsterSplitter->setHandleWidth(6);
    monsterSplitter->setOpaqueResize(true);
    monsterListView = named(new QTableView(monsterSplitter), "monsterListView");
    monsterListView->setAlternatingRowColors(true);
    monsterListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    monsterListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    monsterSplitter->addWidget(monsterListView);
    monsterDetailFrame = named(new QFrame(monsterSplitter), "monsterDetailFrame");
    monsterDetailFrame->setFrameShape(QFrame::StyledPanel);
    monsterSplitter->addWidget(monsterDetailFrame);
    monsterDetailLayout = createFormLayout(monsterDetailFrame, "monsterDetailLayout");
    detailMonsterId = named(new QLabel(monsterDetailFrame), "detailMonsterId");
    detailMValue = named(new QLabel(monsterDetailFrame), "detailMValue");
    detailDropType = named(new QLabel(monsterDetailFrame), "detailDropType");
    detailBoxCount = named(new QLabel(monsterDetailFrame), "detailBoxCount");
    labelMonsterId =
        addFormRow(monsterDetailLayout, 0, monsterDetailFrame, "labelMonsterId", detailMonsterId);
    labelMValue =
        addFormRow(monsterDetailLayout, 1, monsterDetailFrame, "labelMValue", detailMValue);
    labelDropType =
        addFormRow(monsterDetailLayout, 2, monsterDetailFrame, "labelDropType", detailDropType);
    labelBoxCount =
        addFormRow(monsterDetailLayout, 3, monsterDetailFrame, "labelBoxCount", detailBoxCount);
    monsterLayout->addWidget(monsterSplitter);
    mainSplitter->addWidget(monsterGroup);

    // Column 2: boxes of the selected monster and the box detail form.
    boxGroup = named(new QGroupBox(mainSplitter), "boxGroup");
    boxLayout = named(new QVBoxLayout(boxGroup), "boxLayout");
    boxLayout->setSpacing(6);
    boxLayout->setContentsMargins(6, 6, 6, 6);
    boxListView = named(new QTableView(boxGroup), "boxListView");
    boxListView->setAlternatingRowColors(true);
    boxListView->setSelectionMode(QAbstractItemView::SingleSelection);
    boxListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    boxLayout->addWidget(boxListView, 4);
    boxDetailGroup = named(new QGroupBox(boxGroup), "boxDetailGroup");
    boxDetailLayout = createFormLayout(boxDetailGroup, "boxDetailLayout");
    boxIdEdit = named(new QLineEdit(boxDetailGroup), "boxIdEdit");
    boxValueSpin = named(new QLineEdit(boxDetailGroup), "boxValueSpin");
    forceBindCheck = named(new QCheckBox(boxDetailGroup), "forceBindCheck");
    broadcastIdSpin = named(new QLineEdit(boxDetailGroup), "broadcastIdSpin");
    dropRateValue = named(new QLabel(boxDetailGroup), "dropRateValue");
    boxIdLabel = addFormRow(boxDetailLayout, 0, boxDetailGroup, "boxIdLabel", boxIdEdit);
    boxValueLabel = addFormRow(boxDetailLayout, 1, boxDetailGroup, "boxValueLabel", boxValueSpin);
    forceBindLabel =
        addFormRow(boxDetailLayout, 2, boxDetailGroup, "forceBindLabel", forceBindCheck);
    broadcastIdLabel =
        addFormRow(boxDetailLayout, 3, boxDetailGroup, "broadcastIdLabel", broadcastIdSpin);
    dropRateLabel = addFormRow(boxDetailLayout, 4, boxDetailGroup, "dropRateLabel", dropRateValue);
    targetDropRateLabel = named(new QLabel(boxDetailGroup), "targetDropRateLabel");
    targetDropRateLayout = named(new QHBoxLayout(), "targetDropRateLayout");
    targetDropRateLayout->setSpacing(6);
    targetDropRateSpin = named(new QLineEdit(boxDetailGroup), "targetDropRateSpin");
    applyDropRateButton = named(new QPushButton(boxDetailGroup), "applyDropRateButton");
    targetDropRateLayout->addWidget(targetDropRateSpin);
    targetDropRateLayout->addWidget(applyDropRateButton);
    boxDetailLayout->setWidget(5, QFormLayout::LabelRole, targetDropRateLabel);
    boxDetailLayout->setLayout(5, QFormLayout::FieldRole, targetDropRateLayout);
    boxLayout->addWidget(boxDetailGroup, 1);
    mainSplitter->addWidget(boxGroup);

    // Column 3: items of the selected box and the operation log.
    itemGroup = named(new QGroupBox(mainSplitter), "itemGroup");
    itemLayout = named(new QVBoxLayout(itemGroup), "itemLayout");
    itemLayout->setSpacing(6);
    itemLayout->setContentsMargins(6, 6, 6, 6);
    itemTableView = named(new QTableView(itemGroup), "itemTableView");
    itemTableView->setAlternatingRowColors(true);
    itemTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    itemTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    itemLayout->addWidget(itemTableView, 3);
    operationLogGroup = named(new QGroupBox(itemGroup), "operationLogGroup");
    operationLogLayout = named(new QVBoxLayout(operationLogGroup), "operationLogLayout");
    operationLogLayout->setSpacing(6);
    operationLogLayout->setContentsMargins(6, 6, 6, 6);
    operationLogToolbarLayout = named(new QHBoxLayout(), "operationLogToolbarLayout");
    operationLogToolbarLayout->setSpacing(6);
    clearOperationLogButton = named(new QPushButton(operationLogGroup), "clearOperationLogButton");
    copyOperationLogButton = named(new QPushButton(operationLogGroup), "copyOperationLogButton");
    itemManagerButton = named(new QPushButton(operationLogGroup), "itemManagerButton");
    boxManagerButton = named(new QPushButton(operationLogGroup), "boxManagerButton");
    operationLogToolbarLayout->addWidget(clearOperationLogButton);
    operationLogToolbarLayout->addWidget(copyOperationLogButton);
    operationLogToolbarLayout->addItem(horizontalSpacer());
    operationLogToolbarLayout->addWidget(itemManagerButton);
    operationLogToolbarLayout->addWidget(boxManagerButton);
    operationLogLayout->addLayout(operationLogToolbarLayout);
    operationLogEdit = named(new QPlainTextEdit(operationLogGroup), "operationLogEdit");
    operationLogEdit->setReadOnly(true);
    operationLogLayout->addWidget(operationLogEdit);
    itemLayout->addWidget(operationLogGroup, 2);
    mainSplitter->addWidget(itemGroup);

    // Column 4: every drop of the selected monster.
    summaryGroup = named(new QGroupBox(mainSplitter), "summaryGroup");
    summaryLayout = named(new QVBoxLayout(summaryGroup), "summaryLayout");
    summaryLayout->setSpacing(6);
    summaryLayout->setContentsMargins(6, 6, 6, 6);
    summaryView = named(new QTableView(summaryGroup), "summaryView");
    summaryView->setAlternatingRowColors(true);
    summaryLayout->addWidget(summaryView);
    mainSplitter->addWidget(summaryGroup);

    window->setCentralWidget(centralWidget);

    // The menu bar exposes the file operations that have no button of their own.
    menuBar = named(new QMenuBar(window), "menuBar");
    menuFile = named(new QMenu(menuBar), "menuFile");
    menuEdit = named(new QMenu(menuBar), "menuEdit");
    menuTools = named(new QMenu(menuBar), "menuTools");
    actionOpenFolder = createAction(window, "actionOpenFolder");
    actionOpenFolder->setShortcut(QKeySequence::Open);
    menuRecent = named(new QMenu(menuFile), "menuRecent");
    menuRecent->setToolTipsVisible(true);
    actionClearRecent = createAction(window, "actionClearRecent");
    menuFile->addAction(actionOpenFolder);
    menuFile->addMenu(menuRecent);
    menuFile->addSeparator();
    menuFile->addAction(actionOpenMonster);
    menuFile->addAction(actionOpenBox);
    menuFile->addSeparator();
    menuFile->addAction(actionSave);
    menuFile->addAction(actionSaveAs);
    menuFile->addSeparator();
    menuFile->addAction(actionExportHtml);
    menuFile->addSeparator();
    menuFile->addAction(actionExit);
    menuEdit->addAction(actionEditMonster);
    menuTools->addAction(actionManageBoxes);
    menuTools->addAction(actionItemLibrary);
    actionCheckConfig = createAction(window, "actionCheckConfig");
    menuTools->addSeparator();
    menuTools->addAction(actionCheckConfig);
    menuBar->addMenu(menuFile);
    menuBar->addMenu(menuEdit);
    menuBar->addMenu(menuTools);
    window->setMenuBar(menuBar);

    statusBar = named(new QStatusBar(window), "statusBar");
    window->setStatusBar(statusBar);
    configFolderLabel = named(new QLabel(statusBar), "configFolderLabel");
    statusBar->addPermanentWidget(configFolderLabel);

    retranslateUi(window);
}

void MainWindowUi::retranslateUi(QMainWindow *window)
{
    window->setWindowTitle(QStringLiteral("Lootwright"));

    actionOpenMonster->setText(QCoreApplication::translate("Lootwright", "打开怪物掉落配置..."));
    actionOpenBox->setText(QCoreApplication::translate("Lootwright", "打开包裹内容配置..."));
    actionManageBoxes->setText(QCoreApplication::translate("Lootwright", "包裹管理器..."));
    actionItemLibrary->setText(QCoreApplication::translate("Lootwright", "物品库管理器..."));
    actionSave->setText(QCoreApplication::translate("Lootwright", "保存"));
    actionSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    actionSaveAs->setText(QCoreApplication::translate("Lootwright", "另存为..."));
    actionExportHtml->setText(QCoreApplication::translate("Lootwright", "导出爆率表到HTML..."));
    actionExit->setText(QCoreApplication::translate("Lootwright", "退出"));
    actionEditMonster->setText(QCoreApplication::translate("Lootwright", "编辑怪物属性..."));
    actionEditMonster->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));

    menuFile->setTitle(QCoreApplication::translate("Lootwright", "文件"));
    menuEdit->setTitle(QCoreApplication::translate("Lootwright", "编辑"));
    menuTools->setTitle(QCoreApplication::translate("Lootwright", "工具"));
    actionCheckConfig->setText(QCoreApplication::translate("Lootwright", "检查配置"));
    actionOpenFolder->setText(QCoreApplication::translate("MainWindow", "打开配置目录..."));
    menuRecent->setTitle(QCoreApplication::translate("MainWindow", "最近打开"));
    actionClearRecent->setText(QCoreApplication::translate("MainWindow", "清除列表"));

    loadConfigButton->setText(QCoreApplication::translate("Lootwright", "加载爆率"));
    loadConfigButton->setToolTip(
        QCoreApplication::translate("Lootwright", "自动加载程序目录下的配置文件"));
    saveConfigButton->setText(QCoreApplication::translate("Lootwright", "保存爆率"));
    saveConfigButton->setToolTip(QCoreApplication::translate("Lootwright", "保存当前的爆率配置"));
    exportConfigButton->setText(QCoreApplication::translate("Lootwright", "导出爆率"));
    exportConfigButton->setToolTip(
        QCoreApplication::translate("Lootwright", "导出爆率表到HTML文件"));

    monsterGroup->setTitle(QCoreApplication::translate("Lootwright", "怪物列表"));
    monsterSearchEdit->setPlaceholderText(
        QCoreApplication::translate("Lootwright", "搜索怪物ID或名称..."));
    filterDropOnlyBtn->setText(QCoreApplication::translate("Lootwright", "只显示有掉落"));
    labelMonsterId->setText(QCoreApplication::translate("Lootwright", "怪物ID:"));
    detailMonsterId->setText(QStringLiteral("-"));
    labelMValue->setText(QCoreApplication::translate("Lootwright", "怪物价值:"));
    detailMValue->setText(QStringLiteral("-"));
    labelDropType->setText(QCoreApplication::translate("Lootwright", "掉落类型:"));
    detailDropType->setText(QStringLiteral("-"));
    labelBoxCount->setText(QCoreApplication::translate("Lootwright", "包裹数量:"));
    detailBoxCount->setText(QStringLiteral("-"));

    boxGroup->setTitle(QCoreApplication::translate("Lootwright", "包裹列表"));
    boxDetailGroup->setTitle(QCoreApplication::translate("Lootwright", "包裹详情"));
    boxIdLabel->setText(QCoreApplication::translate("Lootwright", "包裹ID:"));
    boxValueLabel->setText(QCoreApplication::translate("Lootwright", "包裹价值:"));
    boxValueSpin->setPlaceholderText(QStringLiteral("0-999999999"));
    forceBindLabel->setText(QCoreApplication::translate("Lootwright", "是否绑定:"));
    forceBindCheck->setText(QCoreApplication::translate("Lootwright", "强制绑定"));
    broadcastIdLabel->setText(QCoreApplication::translate("Lootwright", "掉落广播编号:"));
    broadcastIdSpin->setPlaceholderText(
        QCoreApplication::translate("Lootwright", "-1(无) 或广播ID"));
    dropRateLabel->setText(QCoreApplication::translate("Lootwright", "当前爆率(%):"));
    dropRateValue->setText(QStringLiteral("-"));
    targetDropRateLabel->setText(QCoreApplication::translate("Lootwright", "目标爆率(%):"));
    targetDropRateSpin->setPlaceholderText(QStringLiteral("0.0000-100.0000"));
    applyDropRateButton->setText(QCoreApplication::translate("Lootwright", "应用"));
    applyDropRateButton->setToolTip(
        QCoreApplication::translate("Lootwright", "根据目标爆率自动计算并修改包裹权值"));

    itemGroup->setTitle(QCoreApplication::translate("Lootwright", "物品详情"));
    operationLogGroup->setTitle(QCoreApplication::translate("Lootwright", "操作日志"));
    clearOperationLogButton->setText(QCoreApplication::translate("Lootwright", "清空日志"));
    copyOperationLogButton->setText(QCoreApplication::translate("Lootwright", "复制日志"));
    itemManagerButton->setText(QCoreApplication::translate("Lootwright", "物品管理器"));
    itemManagerButton->setToolTip(
        QCoreApplication::translate("Lootwright", "打开物品库管理器（含收藏夹）"));
    boxManagerButton->setText(QCoreApplication::translate("Lootwright", "包裹管理器"));
    boxManagerButton->setToolTip(QCoreApplication::translate("Lootwright", "打开包裹管理器"));
    operationLogEdit->setPlaceholderText(QCoreApplication::translate(
        "Lootwright", "这里会记录对爆率配置的修改操作，例如：对怪物ID/名称的爆率进行了什么变更。"));

    summaryGroup->setTitle(QCoreApplication::translate("Lootwright", "全掉落汇总"));
}
