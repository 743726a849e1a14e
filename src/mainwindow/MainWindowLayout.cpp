#include "mainwindow/MainWindow.h"

#include "dialogs/ConfigCheckDialog.h"
#include "dialogs/ItemSourcesDialog.h"
#include "mainwindow/MainWindowUi.h"
#include "models/DropItemTableModel.h"
#include "models/DropSummaryModel.h"
#include "models/MonsterBoxListModel.h"
#include "models/MonsterFilterProxyModel.h"
#include "models/MonsterListModel.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Light theme; %1 to %11 are the density-dependent pixel sizes.
const char styleSheetTemplate[] = R"(
QWidget {
    font-family: "SF Pro Text", "SF Pro Display", "Helvetica Neue", "Segoe UI", "Microsoft YaHei";
    font-size: %1px;
    color: #1C1C1E;
}
QMainWindow, QDialog {
    background-color: #F5F5F7;
}
QGroupBox {
    margin-top: 18px;
    padding-top: 10px;
    background-color: #FFFFFF;
    border: 1px solid #D1D1D6;
    border-radius: 10px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 12px;
    padding: 0 8px;
    color: #1C1C1E;
    font-size: %2px;
    font-weight: 600;
}
QFrame#monsterDetailFrame {
    background-color: #FFFFFF;
    border: 1px solid #D1D1D6;
    border-radius: 10px;
}
QTableView {
    font-size: %3px;
    background-color: #FFFFFF;
    alternate-background-color: #F9F9FB;
    selection-background-color: #E8F4F8;
    selection-color: #DC143C;
    gridline-color: #E5E5EA;
    border: 1px solid #D1D1D6;
    border-radius: 8px;
}
QTableView::item {
    padding: 4px 6px;
    border: none;
}
QTableView::item:selected {
    background-color: #E8F4F8;
    color: #DC143C;
}
QHeaderView::section {
    background-color: #F2F2F7;
    color: #1C1C1E;
    padding: %4px %5px;
    border: none;
    border-bottom: 1px solid #D1D1D6;
    font-weight: 600;
}
QLineEdit, QSpinBox, QDoubleSpinBox, QComboBox, QTextEdit, QPlainTextEdit {
    background-color: #FFFFFF;
    border: 1px solid #D1D1D6;
    border-radius: 8px;
    padding: %6px %7px;
    min-height: %8px;
    selection-background-color: #D7EBFF;
    selection-color: #1C1C1E;
}
QLineEdit:focus, QSpinBox:focus, QDoubleSpinBox:focus, QComboBox:focus, QTextEdit:focus, QPlainTextEdit:focus {
    border: 1px solid #007AFF;
}
QComboBox::drop-down {
    border: none;
    width: 24px;
}
QComboBox::down-arrow {
    width: 0;
    height: 0;
    border-left: 5px solid transparent;
    border-right: 5px solid transparent;
    border-top: 6px solid #8E8E93;
}
QPushButton {
    background-color: #FFFFFF;
    color: #1C1C1E;
    border: 1px solid #D1D1D6;
    border-radius: 8px;
    padding: %9px %10px;
    min-height: %11px;
    font-weight: 600;
}
QPushButton:hover {
    background-color: #F2F2F7;
    border-color: #C7C7CC;
}
QPushButton:pressed {
    background-color: #E5E5EA;
    border-color: #C7C7CC;
}
QPushButton:checked {
    background-color: #007AFF;
    color: #FFFFFF;
    border-color: #007AFF;
}
QPushButton:disabled {
    background-color: #F2F2F7;
    color: #8E8E93;
    border-color: #E5E5EA;
}
QCheckBox {
    spacing: 8px;
    color: #1C1C1E;
}
QCheckBox::indicator {
    width: 18px;
    height: 18px;
    border-radius: 4px;
}
QCheckBox::indicator:unchecked {
    border: 1px solid #D1D1D6;
    background-color: #FFFFFF;
}
QCheckBox::indicator:checked {
    border: 1px solid #007AFF;
    background-color: #007AFF;
}
QMenuBar {
    background-color: #FFFFFF;
    border-bottom: 1px solid #D1D1D6;
}
QMenuBar::item {
    padding: 6px 10px;
    margin: 2px 4px;
    border-radius: 8px;
    color: #1C1C1E;
}
QMenuBar::item:selected {
    background-color: #E5E5EA;
    color: #007AFF;
}
QMenu {
    background-color: #FFFFFF;
    border: 1px solid #D1D1D6;
    border-radius: 10px;
    padding: 6px 0;
}
QMenu::item {
    padding: 8px 18px;
    color: #1C1C1E;
}
QMenu::item:selected {
    background-color: #E5E5EA;
    color: #007AFF;
}
QStatusBar {
    background-color: #FFFFFF;
    border-top: 1px solid #D1D1D6;
    color: #3A3A3C;
}
QSplitter::handle {
    background-color: #E5E5EA;
    border-radius: 2px;
}
QSplitter::handle:hover {
    background-color: #D1D1D6;
}
QScrollBar:vertical {
    background: transparent;
    width: 10px;
    margin: 2px;
}
QScrollBar::handle:vertical {
    background: #C7C7CC;
    border-radius: 5px;
    min-height: 30px;
}
QScrollBar::handle:vertical:hover {
    background: #8E8E93;
}
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical {
    height: 0;
}
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical {
    background: transparent;
}
QScrollBar:horizontal {
    background: transparent;
    height: 10px;
    margin: 2px;
}
QScrollBar::handle:horizontal {
    background: #C7C7CC;
    border-radius: 5px;
    min-width: 30px;
}
QScrollBar::handle:horizontal:hover {
    background: #8E8E93;
}
QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {
    width: 0;
}
QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {
    background: transparent;
}
QToolTip {
    background-color: #1C1C1E;
    color: #FFFFFF;
    border: none;
    padding: 6px 8px;
    border-radius: 6px;
}
QLabel {
    color: #3A3A3C;
}
QLabel#dropRateValue, QLabel#detailMonsterId, QLabel#detailMValue, QLabel#detailDropType, QLabel#detailBoxCount {
    color: #007AFF;
    font-weight: 600;
}
)";

// Pixel sizes per density level (compact, normal, large) for %1 to %11.
const int styleValues[11][3] = {
    {11, 12, 13}, // QWidget font-size
    {13, 14, 15}, // group box title font-size
    {10, 11, 12}, // table font-size
    {6, 8, 10},   // header section vertical padding
    {10, 12, 14}, // header section horizontal padding
    {5, 6, 7},    // input vertical padding
    {8, 10, 12},  // input horizontal padding
    {26, 30, 34}, // input min-height
    {6, 7, 8},    // button vertical padding
    {12, 14, 16}, // button horizontal padding
    {28, 32, 36}, // button min-height
};

// Replaces %1 to %11 in one pass, so "%1" never matches the start of "%10".
QString styleSheetForLevel(int level)
{
    const QString source = QString::fromUtf8(styleSheetTemplate);
    QString result;
    result.reserve(source.size());
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        if (c == QLatin1Char('%') && i + 1 < source.size() && source.at(i + 1).isDigit()) {
            qsizetype end = i + 1;
            int number = 0;
            while (end < source.size() && source.at(end).isDigit() && number < 10)
                number = number * 10 + source.at(end++).digitValue();
            if (number >= 1 && number <= 11) {
                result += QString::number(styleValues[number - 1][level]);
                i = end - 1;
                continue;
            }
        }
        result += c;
    }
    return result;
}

void setLayoutMargins(QLayout *layout, int margin)
{
    if (layout)
        layout->setContentsMargins(margin, margin, margin, margin);
}

} // namespace

void MainWindow::createModels()
{
    monsterListModel = new MonsterListModel(this);
    monsterProxyModel = new MonsterFilterProxyModel(this);
    monsterProxyModel->setSourceModel(monsterListModel);
    ui->monsterListView->setModel(monsterProxyModel);
    QHeaderView *monsterHeader = ui->monsterListView->horizontalHeader();
    monsterHeader->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    monsterHeader->setSectionResizeMode(1, QHeaderView::Stretch);
    monsterHeader->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ui->monsterListView->verticalHeader()->hide();

    monsterBoxModel = new MonsterBoxListModel(this);
    ui->boxListView->setModel(monsterBoxModel);
    ui->boxListView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->boxListView->verticalHeader()->hide();

    dropItemModel = new DropItemTableModel(this);
    ui->itemTableView->setModel(dropItemModel);
    ui->itemTableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->itemTableView->verticalHeader()->hide();
    ui->itemTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->itemTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);

    summaryModel = new DropSummaryModel(this);
    ui->summaryView->setModel(summaryModel);
    ui->summaryView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->summaryView->verticalHeader()->hide();

    ui->mainSplitter->setStretchFactor(0, 1);
    ui->mainSplitter->setStretchFactor(1, 1);
    ui->mainSplitter->setStretchFactor(2, 1);
    ui->mainSplitter->setStretchFactor(3, 1);
    ui->monsterSplitter->setStretchFactor(0, 4);
    ui->monsterSplitter->setStretchFactor(1, 1);
    // Starting widths at 1280 px: the log buttons fix the item column's minimum, and the box
    // list needs about 316 px for its four titles; later width changes are shared out by the
    // stretch factors.
    ui->mainSplitter->setSizes({250, 316, 396, 280});
}

void MainWindow::connectSignals()
{
    connect(ui->loadConfigButton, &QPushButton::clicked, this, [this] {
        if (configDir.isEmpty())
            onOpenConfigFolder();
        else if (maybeSaveChanges())
            autoLoadConfig();
    });
    connect(ui->saveConfigButton, &QPushButton::clicked, this, &MainWindow::onSave);
    connect(ui->exportConfigButton, &QPushButton::clicked, this, &MainWindow::onExportDropRateHtml);
    connect(ui->monsterListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::onMonsterSelectionChanged);
    connect(ui->boxListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::onBoxSelectionChanged);
    connect(ui->monsterSearchEdit, &QLineEdit::textChanged, this,
            &MainWindow::onMonsterSearchTextChanged);
    connect(ui->filterDropOnlyBtn, &QPushButton::toggled, this,
            &MainWindow::onFilterDropOnlyToggled);
    ui->monsterListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->monsterListView, &QWidget::customContextMenuRequested, this,
            &MainWindow::showMonsterContextMenu);
    connect(ui->itemManagerButton, &QPushButton::clicked, this, &MainWindow::onItemLibrary);
    connect(ui->boxManagerButton, &QPushButton::clicked, this, &MainWindow::onManageBoxes);
    connect(ui->clearOperationLogButton, &QPushButton::clicked, this,
            &MainWindow::onClearOperationLog);
    connect(ui->copyOperationLogButton, &QPushButton::clicked, this,
            &MainWindow::onCopyOperationLog);
    connectBoxDetailFields();
    connect(ui->applyDropRateButton, &QPushButton::clicked, this,
            &MainWindow::onApplyTargetDropRate);
    ui->boxListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->boxListView, &QWidget::customContextMenuRequested, this,
            &MainWindow::showBoxContextMenu);
    ui->itemTableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->itemTableView, &QWidget::customContextMenuRequested, this,
            &MainWindow::showItemContextMenu);

    // Menu bar.
    connect(ui->actionOpenMonster, &QAction::triggered, this, &MainWindow::onOpenMonsterConfig);
    connect(ui->actionOpenBox, &QAction::triggered, this, &MainWindow::onOpenBoxConfig);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::onSave);
    connect(ui->actionSaveAs, &QAction::triggered, this, &MainWindow::onSaveAs);
    connect(ui->actionExportHtml, &QAction::triggered, this, &MainWindow::onExportDropRateHtml);
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionEditMonster, &QAction::triggered, this, &MainWindow::onEditSelectedMonsters);
    // Reverse lookup from the summary, and the configuration check.
    ui->summaryView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->summaryView, &QWidget::customContextMenuRequested, this,
            &MainWindow::showSummaryContextMenu);
    connect(ui->actionCheckConfig, &QAction::triggered, this, &MainWindow::onCheckConfig);
    connect(ui->actionManageBoxes, &QAction::triggered, this, &MainWindow::onManageBoxes);
    connect(ui->actionItemLibrary, &QAction::triggered, this, &MainWindow::onItemLibrary);
    connect(ui->actionOpenFolder, &QAction::triggered, this, &MainWindow::onOpenConfigFolder);
    connect(ui->actionClearRecent, &QAction::triggered, this, &MainWindow::onClearRecentFolders);
}

void MainWindow::connectBoxDetailFields()
{
    connect(ui->boxIdEdit, &QLineEdit::editingFinished, this, &MainWindow::onBoxDetailChanged);
    connect(ui->boxValueSpin, &QLineEdit::textChanged, this, &MainWindow::onBoxDetailChanged);
    connect(ui->forceBindCheck, &QCheckBox::stateChanged, this, &MainWindow::onBoxDetailChanged);
    connect(ui->broadcastIdSpin, &QLineEdit::textChanged, this, &MainWindow::onBoxDetailChanged);
}

void MainWindow::disconnectBoxDetailFields()
{
    disconnect(ui->boxIdEdit, &QLineEdit::editingFinished, this, &MainWindow::onBoxDetailChanged);
    disconnect(ui->boxValueSpin, &QLineEdit::textChanged, this, &MainWindow::onBoxDetailChanged);
    disconnect(ui->forceBindCheck, &QCheckBox::stateChanged, this, &MainWindow::onBoxDetailChanged);
    disconnect(ui->broadcastIdSpin, &QLineEdit::textChanged, this, &MainWindow::onBoxDetailChanged);
}

void MainWindow::rebindMonsterSelection()
{
    QItemSelectionModel *selection = ui->monsterListView->selectionModel();
    disconnect(selection, &QItemSelectionModel::currentRowChanged, this,
               &MainWindow::onMonsterSelectionChanged);
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::onMonsterSelectionChanged);
}

void MainWindow::onMonsterSearchTextChanged(const QString &text)
{
    monsterProxyModel->setFilterText(text);
    dropFilteredMonster();
}

void MainWindow::onFilterDropOnlyToggled(bool checked)
{
    monsterProxyModel->setOnlyWithDrops(checked);
    dropFilteredMonster();
    ui->filterDropOnlyBtn->setText(checked
                                       ? QCoreApplication::translate("Lootwright", "显示全部")
                                       : QCoreApplication::translate("Lootwright", "只显示有掉落"));
}

void MainWindow::onDropMultiplierChanged(double value)
{
    monsterBoxModel->setDropMultiplier(value);
    dropItemModel->setDropMultiplier(value);
    summaryModel->setDropMultiplier(value);
    // The tool windows show rates with the window's multiplier.
    if (itemSourcesDialog && itemSourcesDialog->isVisible() && itemSourcesDialog->itemId() >= 1)
        itemSourcesDialog->showItem(itemSourcesDialog->itemId());
    if (configCheckDialog && configCheckDialog->isVisible())
        configCheckDialog->recheck();
}

int MainWindow::densityForSize(const QSize &size)
{
    if (size.width() < 1280 || size.height() < 720)
        return 0;
    if (size.width() < 1920)
        return 1;
    return size.height() >= 1080 ? 2 : 1;
}

void MainWindow::applyStyleSheet(int level, bool force)
{
    if (!force && styleApplied && level == densityLevel)
        return;
    styleApplied = true;
    densityLevel = level;
    setStyleSheet(styleSheetForLevel(level));
    applyDensityMetrics(level);
    applyTableStyle(level);
}

void MainWindow::applyDensityMetrics(int level)
{
    const auto pick = [level](int compact, int normal, int large) {
        return level == 0 ? compact : level == 1 ? normal : large;
    };

    setLayoutMargins(ui->mainLayout, pick(6, 10, 12));

    const int spacing = pick(6, 8, 10);
    for (QBoxLayout *layout :
         {static_cast<QBoxLayout *>(ui->mainLayout), static_cast<QBoxLayout *>(ui->monsterLayout),
          static_cast<QBoxLayout *>(ui->boxLayout), static_cast<QBoxLayout *>(ui->itemLayout),
          static_cast<QBoxLayout *>(ui->summaryLayout),
          static_cast<QBoxLayout *>(ui->operationLogLayout),
          static_cast<QBoxLayout *>(ui->monsterFilterLayout),
          static_cast<QBoxLayout *>(ui->operationLogToolbarLayout),
          static_cast<QBoxLayout *>(ui->targetDropRateLayout)}) {
        if (layout)
            layout->setSpacing(spacing);
    }

    const int groupMargin = pick(6, 8, 10);
    for (QLayout *layout :
         {static_cast<QLayout *>(ui->monsterLayout), static_cast<QLayout *>(ui->boxLayout),
          static_cast<QLayout *>(ui->itemLayout), static_cast<QLayout *>(ui->summaryLayout),
          static_cast<QLayout *>(ui->operationLogLayout)})
        setLayoutMargins(layout, groupMargin);

    const int formSpacing = pick(6, 8, 10);
    for (QFormLayout *form : {ui->monsterDetailLayout, ui->boxDetailLayout}) {
        if (!form)
            continue;
        setLayoutMargins(form, formSpacing);
        form->setHorizontalSpacing(formSpacing);
        form->setVerticalSpacing(formSpacing);
    }

    const int handleWidth = pick(5, 6, 8);
    for (QSplitter *splitter : {ui->mainSplitter, ui->monsterSplitter}) {
        if (splitter)
            splitter->setHandleWidth(handleWidth);
    }

    if (ui->filterDropOnlyBtn)
        ui->filterDropOnlyBtn->setMinimumWidth(pick(100, 110, 120));
    for (QPushButton *button : {ui->itemManagerButton, ui->boxManagerButton}) {
        if (button)
            button->setMinimumWidth(pick(80, 90, 100));
    }
}

void MainWindow::applyTableStyle(int level)
{
    const int rowHeight = level == 0 ? 22 : level == 1 ? 24 : 28;
    for (QTableView *view :
         {ui->monsterListView, ui->boxListView, ui->itemTableView, ui->summaryView}) {
        if (!view)
            continue;
        view->setFrameShape(QFrame::NoFrame);
        view->setShowGrid(false);
        view->setAlternatingRowColors(true);
        QHeaderView *header = view->horizontalHeader();
        header->setHighlightSections(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QHeaderView *rows = view->verticalHeader();
        // Minimum first: a default below the old minimum would be refused.
        rows->setMinimumSectionSize(rowHeight);
        rows->setDefaultSectionSize(rowHeight);
    }
}

void MainWindow::updateSplitterStretch(const QSize &size)
{
    applyStyleSheet(densityForSize(size), false);
    const int itemStretch = size.width() < 1280 ? 2 : 1;
    ui->mainSplitter->setStretchFactor(0, 1);
    ui->mainSplitter->setStretchFactor(1, 1);
    ui->mainSplitter->setStretchFactor(2, itemStretch);
    ui->mainSplitter->setStretchFactor(3, 1);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    updateSplitterStretch(event->size());
}
