#pragma once

#include "data/DropBoxContentParser.h"
#include "data/DropConfig.h"
#include "data/MonsterDropParser.h"
#include "edit/MonsterEdits.h"

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
class QPoint;
class QResizeEvent;
struct EditNotice;
struct EditResult;
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

    // The ids of the selected monster rows (column 0, selection order, ids of 1 or more).
    QList<int> selectedMonsterIds() const;
    // Adds item ids to the selected box; returns the number added (0: no box, or all present).
    int addItemsToCurrentBox(const QList<int> &itemIds);
    // Edits the monsters through the monster edit dialog.
    void editMonsters(const QList<int> &ids);

    // Runs the monster edit dialog: the number of monsters edited and, for a single monster,
    // what it is pre-filled with; returns the accepted values or nothing when cancelled.
    using MonsterEditRunner = std::function<std::optional<MonsterEdits::MonsterEditValues>(
        int editCount, const std::optional<MonsterEdits::MonsterEditPrefill> &prefill)>;
    void setMonsterEditRunner(MonsterEditRunner runner);

public Q_SLOTS:
    void onOpenMonsterConfig();
    void onOpenBoxConfig();
    void onSave();
    void onSaveAs();
    void onExportDropRateHtml();
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

    // Monster operations, on the selected monster rows.
    void showMonsterContextMenu(const QPoint &position);
    void changeMonsterValue();
    void changeDropType();
    void clearMonsterBoxes();
    void setHasDrop();
    void setNoDrop();
    void onEditSelectedMonsters();
    void copyMonsterDrops();
    void pasteMonsterDrops();
    void unifyMonsterValue();
    void onApplyTargetDropRate();

    // Box and item operations, on the selected box.
    void showBoxContextMenu(const QPoint &position);
    void showItemContextMenu(const QPoint &position);
    void duplicateSelectedBox();
    void deleteSelectedBox();
    void deleteSelectedItems();
    void addSelectedItemsToFavorites();

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

    // After an edit: shows its notice, appends its log lines.
    void showEditNotice(const EditNotice &notice);
    // Has-drop and no-drop: refuse without eligible monsters, ask, apply, refresh.
    void runEligibleMonsterEdit(MonsterEdits::Eligibility (*eligibilityOf)(const MonsterDropData &,
                                                                           const QList<int> &),
                                EditResult (*apply)(MonsterDropData &, const QList<int> &));
    void appendOperationLogLines(const QStringList &lines);
    // The monster side after a monster edit: the list model is reset, currentConfig and
    // currentBox are resolved again by id (the box read from `boxId`, noted before the edit),
    // and the rows of `monsterIds` are selected again.
    void refreshMonsterSide(const QList<int> &monsterIds, std::optional<int> boxId);
    void finishMonsterEdit(const EditResult &result, const QList<int> &monsterIds,
                           std::optional<int> boxId);
    // The box list, item table and summary after a change of the current box's contents; the
    // current box stays current.
    void refreshItemSide();
    // Selects the first box list row whose box has this id; false when the list has none.
    // Quietly: without running onBoxSelectionChanged (the form keeps what the user typed).
    bool selectBoxRowById(int boxId);
    bool selectBoxRowQuietly(int boxId);
    std::optional<int> currentBoxId() const;

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

    MonsterEditRunner monsterEditRunner;

    bool styleApplied = false;
    int densityLevel = 1;
};
