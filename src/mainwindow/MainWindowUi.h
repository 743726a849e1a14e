#pragma once

class QAction;
class QCheckBox;
class QFormLayout;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableView;
class QVBoxLayout;
class QWidget;

// The main window's widgets. Every object is a child of the window and goes with it.
struct MainWindowUi
{
    QAction *actionOpenMonster = nullptr;
    QAction *actionOpenBox = nullptr;
    QAction *actionManageBoxes = nullptr;
    QAction *actionItemLibrary = nullptr;
    QAction *actionSave = nullptr;
    QAction *actionSaveAs = nullptr;
    QAction *actionExportHtml = nullptr;
    QAction *actionExit = nullptr;
    QAction *actionEditMonster = nullptr;

    QMenuBar *menuBar = nullptr;
    QMenu *menuFile = nullptr;
    QMenu *menuEdit = nullptr;
    QMenu *menuTools = nullptr;

    QWidget *centralWidget = nullptr;
    QVBoxLayout *mainLayout = nullptr;

    QHBoxLayout *toolbarLayout = nullptr;
    QPushButton *loadConfigButton = nullptr;
    QPushButton *saveConfigButton = nullptr;
    QPushButton *exportConfigButton = nullptr;

    QSplitter *mainSplitter = nullptr;

    // Column 1: monsters.
    QGroupBox *monsterGroup = nullptr;
    QVBoxLayout *monsterLayout = nullptr;
    QHBoxLayout *monsterFilterLayout = nullptr;
    QLineEdit *monsterSearchEdit = nullptr;
    QPushButton *filterDropOnlyBtn = nullptr;
    QSplitter *monsterSplitter = nullptr;
    QTableView *monsterListView = nullptr;
    QFrame *monsterDetailFrame = nullptr;
    QFormLayout *monsterDetailLayout = nullptr;
    QLabel *labelMonsterId = nullptr;
    QLabel *detailMonsterId = nullptr;
    QLabel *labelMValue = nullptr;
    QLabel *detailMValue = nullptr;
    QLabel *labelDropType = nullptr;
    QLabel *detailDropType = nullptr;
    QLabel *labelBoxCount = nullptr;
    QLabel *detailBoxCount = nullptr;

    // Column 2: boxes of the selected monster.
    QGroupBox *boxGroup = nullptr;
    QVBoxLayout *boxLayout = nullptr;
    QTableView *boxListView = nullptr;
    QGroupBox *boxDetailGroup = nullptr;
    QFormLayout *boxDetailLayout = nullptr;
    QLabel *boxIdLabel = nullptr;
    QLineEdit *boxIdEdit = nullptr;
    QLabel *boxValueLabel = nullptr;
    QLineEdit *boxValueSpin = nullptr;
    QLabel *forceBindLabel = nullptr;
    QCheckBox *forceBindCheck = nullptr;
    QLabel *broadcastIdLabel = nullptr;
    QLineEdit *broadcastIdSpin = nullptr;
    QLabel *dropRateLabel = nullptr;
    QLabel *dropRateValue = nullptr;
    QLabel *targetDropRateLabel = nullptr;
    QHBoxLayout *targetDropRateLayout = nullptr;
    QLineEdit *targetDropRateSpin = nullptr;
    QPushButton *applyDropRateButton = nullptr;

    // Column 3: items of the selected box and the operation log.
    QGroupBox *itemGroup = nullptr;
    QVBoxLayout *itemLayout = nullptr;
    QTableView *itemTableView = nullptr;
    QGroupBox *operationLogGroup = nullptr;
    QVBoxLayout *operationLogLayout = nullptr;
    QHBoxLayout *operationLogToolbarLayout = nullptr;
    QPushButton *clearOperationLogButton = nullptr;
    QPushButton *copyOperationLogButton = nullptr;
    QPushButton *itemManagerButton = nullptr;
    QPushButton *boxManagerButton = nullptr;
    QPlainTextEdit *operationLogEdit = nullptr;

    // Column 4: every drop of the selected monster.
    QGroupBox *summaryGroup = nullptr;
    QVBoxLayout *summaryLayout = nullptr;
    QTableView *summaryView = nullptr;

    QStatusBar *statusBar = nullptr;

    // Tools menu: the configuration check.
    QAction *actionCheckConfig = nullptr;

    // Configuration folders: open one, the recent ones (filled by the window), the open one.
    QAction *actionOpenFolder = nullptr;
    QMenu *menuRecent = nullptr;
    QAction *actionClearRecent = nullptr;
    QLabel *configFolderLabel = nullptr;

    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);
};
