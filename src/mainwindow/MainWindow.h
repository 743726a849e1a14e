#pragma once

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/MonsterDropParser.h"

#include <QDateTime>
#include <QMainWindow>
#include <QModelIndex>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class DropItemTableModel;
class DropSummaryModel;
class MonsterBoxListModel;
class MonsterFilterProxyModel;
class MonsterListModel;
class Prompts;
class QResizeEvent;
struct MainWindowUi;

// The four-column editor window: monsters, their boxes, the box items with the operation log,
// and a summary of all drops of the selected monster.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Real dialogs and the "config" directory beside the executable.
    explicit MainWindow(QWidget *parent = nullptr);
    // Tests and benchmarks inject the prompts and the configuration directory.
    MainWindow(std::unique_ptr<Prompts> prompts, const QString &configDir,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Reloads the name tables and both drop files from the configuration directory; the load
    // button runs it again at any time.
    void autoLoadConfig();

    // Operation log.
    void appendOperationLog(const QString &message);
    static QString monsterLabel(int monsterId);
    static QString formatIdList(const QList<int> &ids, int limit);
    // The time source of the log's time stamps (tests fix it).
    void setClock(std::function<QDateTime()> clock);

    static int densityForSize(const QSize &size);

    // Read-only views of the window's state, for tests and tool windows.
    const QString &configDirectory() const { return configDir; }
    const MonsterDropData &monsterDocument() const { return monsterDropData; }
    const DropBoxContentData &boxDocument() const { return boxContentData; }
    const QString &monsterFilePath() const { return currentMonsterFile; }
    const QString &boxFilePath() const { return currentBoxFile; }
    const MonsterDropConfig *selectedConfig() const { return currentConfig; }
    int selectedMonsterId() const { return currentMonsterId; }
    const DropBoxConfig *selectedBox() const { return currentBox; }
    int currentDensityLevel() const { return densityLevel; }

public Q_SLOTS:
    void onOpenMonsterConfig();
    void onOpenBoxConfig();
    void onSave();
    void onSaveAs();
    void onMonsterSelectionChanged();
    void onBoxSelectionChanged();
    void onDropMultiplierChanged(double value);
    void onMonsterSearchTextChanged(const QString &text);
    void onFilterDropOnlyToggled(bool checked);
    void onManageBoxes();
    void onItemLibrary();
    void onBoxDetailChanged();
    void onClearOperationLog();
    void onCopyOperationLog();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Layout and wiring.
    void createModels();
    void connectSignals();
    void connectBoxDetailFields();
    void disconnectBoxDetailFields();
    void rebindMonsterSelection();
    void applyStyleSheet(int level, bool force);
    void applyDensityMetrics(int level);
    void applyTableStyle(int level);
    void updateSplitterStretch(const QSize &size);

    // Selection and detail panels.
    void updateMonsterDetail();
    void updateBoxDetail();
    void updateDropRateDisplay();
    QModelIndex proxyIndexForMonster(int monsterId) const;
    // After a document was replaced: drops every pointer into it and selects the monster and
    // box with these ids again where they still exist.
    void reselectAfterLoad(int monsterId, std::optional<int> boxId);

    std::unique_ptr<MainWindowUi> ui;
    std::unique_ptr<Prompts> prompts;
    QString configDir;
    std::function<QDateTime()> clock;

    DropBoxContentData boxContentData;
    MonsterDropData monsterDropData;
    DropBoxContentParser boxParser{100};
    MonsterDropParser monsterParser{20};
    QString currentMonsterFile;
    QString currentBoxFile;

    MonsterListModel *monsterListModel = nullptr;
    MonsterFilterProxyModel *monsterProxyModel = nullptr;
    MonsterBoxListModel *monsterBoxModel = nullptr;
    DropItemTableModel *dropItemModel = nullptr;
    DropSummaryModel *summaryModel = nullptr;

    MonsterDropConfig *currentConfig = nullptr;
    int currentMonsterId = -1;
    DropBoxConfig *currentBox = nullptr;

    bool styleApplied = false;
    int densityLevel = 1;
};
